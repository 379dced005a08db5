// The reconstruction filters of the resampler, in single precision, and their table.
#include <cmath>
#include <numbers>

#include "photos/resample.h"

namespace tarmel::photos {
namespace {

float Box(float x) {
    return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float Triangle(float x) {
    const float t = std::fabs(x);
    return t < 1.0f ? 1.0f - t : 0.0f;
}

float Hermite(float x) {
    const float t = std::fabs(x);
    return t < 1.0f ? (2.0f * t - 3.0f) * t * t + 1.0f : 0.0f;
}

float Bell(float x) {
    const float t = std::fabs(x);
    if (t < 0.5f) return 0.75f - t * t;
    if (t < 1.5f) {
        const float u = t - 1.5f;
        return 0.5f * (u * u);
    }
    return 0.0f;
}

float BSpline(float x) {
    const float t = std::fabs(x);
    if (t < 1.0f) return 0.5f * t * t * t - t * t + 2.0f / 3.0f;
    if (t < 2.0f) {
        const float u = 2.0f - t;
        return u * u * u / 6.0f;
    }
    return 0.0f;
}

float Sinc(float u) {
    if (u == 0.0f) return 1.0f;
    const float a = std::numbers::pi_v<float> * u;
    return std::sin(a) / a;
}

float Lanczos3(float x) {
    const float t = std::fabs(x);
    return t < 3.0f ? Sinc(t) * Sinc(t / 3.0f) : 0.0f;
}

// Mitchell-Netravali with b = c = 1/3.
float Mitchell(float x) {
    const float t = std::fabs(x);
    if (t < 1.0f) return (7.0f * t * t * t - 12.0f * t * t + 16.0f / 3.0f) / 6.0f;
    if (t < 2.0f) {
        return (-7.0f / 3.0f * t * t * t + 12.0f * t * t - 20.0f * t + 32.0f / 3.0f) / 6.0f;
    }
    return 0.0f;
}

}  // namespace

const std::array<FilterEntry, 7> kFilterTable = {{
    {"Box", Box, 0.5f},
    {"Triangle", Triangle, 1.0f},
    {"Hermite", Hermite, 1.0f},
    {"Bell", Bell, 1.5f},
    {"B-Spline", BSpline, 2.0f},
    {"Lanczos3", Lanczos3, 3.0f},
    {"Mitchell", Mitchell, 2.0f},
}};

const FilterEntry* FindFilter(std::string_view name) {
    for (const FilterEntry& entry : kFilterTable) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

}  // namespace tarmel::photos
