// Tests of the resampler: the filter values, the contributor lists (scale rule, mirrored and
// clamped edges), the error and empty cases, the picture-level results, and the fast resampler
// giving the reference's bytes.
#include "photos/resample.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "photos/resample_contributors.h"

namespace tarmel::photos {
namespace {

using Resampler = std::string (*)(const Bitmap&, Bitmap&, FilterFunction, float);

struct NamedResampler {
    const char* name;
    Resampler run;
};
const NamedResampler kResamplers[] = {{"reference", ResampleReference}, {"fast", ResampleBitmap}};

const FilterEntry& Filter(std::string_view name) {
    const FilterEntry* entry = FindFilter(name);
    EXPECT_NE(entry, nullptr) << name;
    return *entry;
}

// A random picture; `padding` extra bytes at the end of every row, filled with noise too, so a
// resampler that reads them or ignores the stride shows it.
Bitmap RandomBitmap(int width, int height, int padding, std::mt19937& random) {
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.stride = std::ptrdiff_t(width) * 3 + padding;
    bitmap.bytes.resize(size_t(bitmap.stride) * size_t(height));
    std::uniform_int_distribution<int> byte(0, 255);
    for (std::uint8_t& b : bitmap.bytes) b = std::uint8_t(byte(random));
    return bitmap;
}

// Runs `run` on `source` with target width x height; fails the test on an error.
Bitmap Resampled(const NamedResampler& resampler, const Bitmap& source, int width, int height,
                 const FilterEntry& filter) {
    Bitmap destination;
    destination.width = width;
    destination.height = height;
    EXPECT_EQ(resampler.run(source, destination, filter.filter, filter.support), "")
        << resampler.name;
    return destination;
}

TEST(ResampleFilters, TableOrderAndValuesAtKnownPoints) {
    const std::vector<std::string_view> names = {"Box",      "Triangle", "Hermite", "Bell",
                                                 "B-Spline", "Lanczos3", "Mitchell"};
    const std::vector<float> supports = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    ASSERT_EQ(kFilterTable.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(kFilterTable[i].name, names[i]);
        EXPECT_EQ(kFilterTable[i].support, supports[i]) << names[i];
    }

    struct Case {
        std::string_view filter;
        float x;
        float expected;
    };
    const double pi = 3.14159265358979323846;
    const Case cases[] = {
        {"Box", 0.0f, 1.0f},
        {"Box", 0.5f, 1.0f},  // the right edge belongs to it
        {"Box", -0.5f, 0.0f},
        {"Box", 0.75f, 0.0f},
        {"Triangle", 0.25f, 0.75f},
        {"Triangle", -0.5f, 0.5f},
        {"Triangle", 1.0f, 0.0f},
        {"Hermite", 0.5f, 0.5f},
        {"Hermite", 0.25f, 0.84375f},
        {"Hermite", -1.0f, 0.0f},
        {"Bell", 0.0f, 0.75f},
        {"Bell", 0.5f, 0.5f},
        {"Bell", -1.0f, 0.125f},
        {"Bell", 1.5f, 0.0f},
        {"B-Spline", 0.0f, 2.0f / 3},
        {"B-Spline", 1.0f, 1.0f / 6},
        {"B-Spline", -1.5f, 1.0f / 48},
        {"B-Spline", 2.0f, 0.0f},
        {"Lanczos3", 0.0f, 1.0f},
        {"Lanczos3", 0.5f, float(6 / (pi * pi))},
        {"Lanczos3", -1.5f, float(-4 / (3 * pi * pi))},
        {"Lanczos3", 3.0f, 0.0f},
        {"Mitchell", 0.0f, 8.0f / 9},
        {"Mitchell", 1.0f, 1.0f / 18},
        {"Mitchell", -0.5f, 0.5347222f},
        {"Mitchell", 1.5f, -0.0347222f},
        {"Mitchell", 2.0f, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(Filter(c.filter).filter(c.x), c.expected, 2e-6) << c.filter << " at " << c.x;
    }
}

TEST(ResampleContributors, OneColumnSourceToFiveUsesScaleFive) {
    // s = 5: output i is centred on i / 5; position 1 mirrors back onto column 0.
    const Contributors columns = BuildContributors(1, 5, Filter("Triangle").filter, 1.0f);
    const std::vector<std::vector<std::pair<int, float>>> expected = {
        {{0, 1.0f}},
        {{0, 0.8f}, {0, 0.2f}},
        {{0, 0.6f}, {0, 0.4f}},
        {{0, 0.4f}, {0, 0.6f}},
        {{0, 0.2f}, {0, 0.8f}},
    };
    ASSERT_EQ(columns.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const auto list = columns.of(i);
        ASSERT_EQ(list.size(), expected[size_t(i)].size()) << "output " << i;
        for (size_t n = 0; n < list.size(); ++n) {
            EXPECT_EQ(list[n].index, expected[size_t(i)][n].first);
            EXPECT_FLOAT_EQ(list[n].weight, expected[size_t(i)][n].second) << "output " << i;
        }
    }
}

TEST(ResampleContributors, EdgesMirrorIntoTheSource) {
    // Lanczos3 at the same size: weight 0 at distance 3 is left out; -1 reads 1, 5 reads 4.
    struct Case {
        int output;
        std::vector<int> indices;
    };
    const Contributors columns = BuildContributors(5, 5, Filter("Lanczos3").filter, 3.0f);
    const Case cases[] = {{0, {2, 1, 0, 1, 2}}, {1, {1, 0, 1, 2, 3}}, {4, {2, 3, 4, 4, 3}}};
    for (const Case& c : cases) {
        std::vector<int> indices;
        for (const Contributor& entry : columns.of(c.output)) indices.push_back(entry.index);
        EXPECT_EQ(indices, c.indices) << "output " << c.output;
        EXPECT_EQ(columns.of(c.output)[2].weight, 1.0f);  // j = c
    }
}

TEST(ResampleContributors, NarrowSourcesStayInRange) {
    // With a source narrower than the filter's reach one mirror does not bring every position
    // back; each index must still name a source pixel.
    struct Case {
        int source;
        int target;
        std::string_view filter;
    };
    const Case cases[] = {{1, 7, "Lanczos3"},  {2, 9, "Lanczos3"}, {2, 1, "Lanczos3"},
                          {3, 40, "Lanczos3"}, {2, 2, "Mitchell"}, {1, 1, "B-Spline"},
                          {7, 1, "Lanczos3"},  {7, 2, "Bell"}};
    for (const Case& c : cases) {
        const FilterEntry& filter = Filter(c.filter);
        const Contributors list =
            BuildContributors(c.source, c.target, filter.filter, filter.support);
        ASSERT_EQ(list.size(), c.target);
        for (const Contributor& entry : list.entries) {
            EXPECT_GE(entry.index, 0) << c.source << " -> " << c.target << " " << c.filter;
            EXPECT_LT(entry.index, c.source) << c.source << " -> " << c.target << " " << c.filter;
            EXPECT_NE(entry.weight, 0.0f);
        }
    }
}

TEST(Resample, SourceWithoutPixelsIsAnErrorAndWritesNothing) {
    struct Case {
        int width;
        int height;
    };
    const Case cases[] = {{0, 4}, {4, 0}, {0, 0}, {-1, 3}};
    for (const NamedResampler& resampler : kResamplers) {
        for (const Case& c : cases) {
            Bitmap source;
            source.width = c.width;
            source.height = c.height;
            Bitmap destination(2, 2);
            destination.bytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
            const Bitmap before = destination;
            const FilterEntry& filter = Filter("Triangle");
            EXPECT_EQ(resampler.run(source, destination, filter.filter, filter.support),
                      "Source bitmap too small")
                << resampler.name << " " << c.width << "x" << c.height;
            EXPECT_EQ(destination.width, before.width);
            EXPECT_EQ(destination.height, before.height);
            EXPECT_EQ(destination.bytes, before.bytes);
        }
    }
}

TEST(Resample, TargetWithoutPixelsGivesAnEmptyPicture) {
    std::mt19937 random(7);
    const Bitmap source = RandomBitmap(5, 4, 0, random);
    struct Case {
        int width;
        int height;
    };
    const Case cases[] = {{0, 3}, {3, 0}, {0, 0}, {-2, 3}};
    for (const NamedResampler& resampler : kResamplers) {
        for (const Case& c : cases) {
            const Bitmap result =
                Resampled(resampler, source, c.width, c.height, Filter("Lanczos3"));
            EXPECT_TRUE(result.empty()) << resampler.name;
            EXPECT_TRUE(result.bytes.empty()) << resampler.name;
        }
    }
}

TEST(Resample, HandComputedPictures) {
    // One row each; values are one channel repeated over blue, green and red.
    struct Case {
        const char* what;
        std::vector<std::uint8_t> source;
        std::string_view filter;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        // s = (5 - 1) / (2 - 1) = 4: the ends sample the ends exactly, linear in between.
        {"two to five", {0, 200}, "Triangle", {0, 50, 100, 150, 200}},
        // s = 5: every position mirrors onto the single column.
        {"one to five", {90}, "Triangle", {90, 90, 90, 90, 90}},
        // s = 1 / 5 for a one-pixel target: weights (1 - |j| / 5) / 5 sum to 1 over j = -4..4.
        {"five to one", {80, 80, 80, 80, 80}, "Triangle", {80}},
        // s = 2: 0.5 * 11 + 0.5 * 12 = 11.5 and 0.5 * 12 + 0.5 * 13 = 12.5 both round to 12.
        {"halves to even", {11, 12, 13}, "Triangle", {11, 12, 12, 12, 13}},
    };
    for (const NamedResampler& resampler : kResamplers) {
        for (const Case& c : cases) {
            Bitmap source(int(c.source.size()), 1);
            for (size_t x = 0; x < c.source.size(); ++x) {
                for (int channel = 0; channel < 3; ++channel) {
                    source.pixel(int(x), 0)[channel] = c.source[x];
                }
            }
            const Bitmap result =
                Resampled(resampler, source, int(c.expected.size()), 1, Filter(c.filter));
            std::vector<std::uint8_t> expected;
            for (std::uint8_t v : c.expected) expected.insert(expected.end(), 3, v);
            EXPECT_EQ(result.bytes, expected) << resampler.name << ": " << c.what;
        }
    }
}

TEST(Resample, SameSizeLanczos3LeavesThePictureUnchanged) {
    std::mt19937 random(11);
    struct Case {
        int width;
        int height;
        int padding;
    };
    const Case cases[] = {{37, 23, 0}, {64, 48, 5}, {3, 7, 1}, {1, 9, 2}};
    for (const NamedResampler& resampler : kResamplers) {
        for (const Case& c : cases) {
            const Bitmap source = RandomBitmap(c.width, c.height, c.padding, random);
            const Bitmap result =
                Resampled(resampler, source, c.width, c.height, Filter("Lanczos3"));
            ASSERT_EQ(result.width, c.width);
            ASSERT_EQ(result.height, c.height);
            for (int y = 0; y < c.height; ++y) {
                const std::vector<std::uint8_t> expected(source.row(y),
                                                         source.row(y) + 3 * c.width);
                const std::vector<std::uint8_t> actual(result.row(y), result.row(y) + 3 * c.width);
                EXPECT_EQ(actual, expected) << resampler.name << " row " << y;
            }
        }
    }
}

TEST(Resample, LanczosOvershootAtASharpEdgeIsClamped) {
    // A black half and a white half, enlarged: the lobes ring above 255 on the white side and
    // below 0 on the black side. Clamped, the white side stays bright and the black side dark;
    // a wrap-around would turn the overshoot into dark bytes and the undershoot into bright ones.
    struct Case {
        const char* what;
        bool vertical_edge;
    };
    const Case cases[] = {{"edge across the row", true}, {"edge across the column", false}};
    for (const NamedResampler& resampler : kResamplers) {
        for (const Case& c : cases) {
            const int n = 12;
            const int target = 45;
            Bitmap source(c.vertical_edge ? n : 1, c.vertical_edge ? 1 : n);
            for (int p = n / 2; p < n; ++p) {
                std::uint8_t* px = c.vertical_edge ? source.pixel(p, 0) : source.pixel(0, p);
                px[0] = px[1] = px[2] = 255;
            }
            const Bitmap result = Resampled(resampler, source, c.vertical_edge ? target : 1,
                                            c.vertical_edge ? 1 : target, Filter("Lanczos3"));
            const float scale = float(target - 1) / float(n - 1);
            for (int q = 0; q < target; ++q) {
                const std::uint8_t v =
                    c.vertical_edge ? result.pixel(q, 0)[1] : result.pixel(0, q)[1];
                const float centre = float(q) / scale;  // edge between 5 and 6
                if (centre <= 5.0f) {
                    EXPECT_LE(v, 20) << resampler.name << " " << c.what << q;
                } else if (centre >= 6.0f) {
                    EXPECT_GE(v, 235) << resampler.name << " " << c.what << q;
                }
            }
        }
    }
}

TEST(Resample, NarrowSourcesWithAWideFilter) {
    // One and two columns (or rows) with Lanczos3 reach past a single mirror; the clamped
    // positions must read only the picture's own pixels. A flat picture must stay close to
    // its value (the unnormalised weights of Lanczos3 sum to about 1).
    struct Case {
        int width;
        int height;
        int target_width;
        int target_height;
    };
    const Case cases[] = {{1, 6, 9, 6}, {2, 6, 9, 6}, {6, 1, 6, 9}, {6, 2, 6, 9},
                          {1, 1, 5, 5}, {2, 2, 7, 3}, {2, 9, 1, 4}};
    for (const NamedResampler& resampler : kResamplers) {
        for (const Case& c : cases) {
            Bitmap source(c.width, c.height);
            std::fill(source.bytes.begin(), source.bytes.end(), std::uint8_t(120));
            const Bitmap result =
                Resampled(resampler, source, c.target_width, c.target_height, Filter("Lanczos3"));
            ASSERT_EQ(result.bytes.size(), size_t(3 * c.target_width * c.target_height));
            for (std::uint8_t v : result.bytes) {
                EXPECT_NEAR(v, 120, 12) << resampler.name << " " << c.width << "x" << c.height;
            }
        }
    }
}

TEST(Resample, FastGivesTheReferenceBytes) {
    struct Case {
        int width;
        int height;
        int target_width;
        int target_height;
        int padding;
    };
    const Case cases[] = {
        {1, 17, 9, 33, 0},         {23, 1, 40, 5, 4},        {1, 1, 13, 11, 0},
        {31, 29, 97, 83, 3},       {100, 75, 33, 19, 0},     {57, 43, 57, 43, 7},
        {640, 480, 1, 1, 0},       {17, 300, 250, 3, 1},     {5, 3, 2, 2, 2},
        {3000, 2000, 640, 480, 0}, {3000, 2000, 120, 90, 9},
    };
    // Every instruction set the fast resampler was built for that this processor runs.
    const std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
    ASSERT_FALSE(targets.empty());
    std::mt19937 random(2024);
    for (const Case& c : cases) {
        const Bitmap source = RandomBitmap(c.width, c.height, c.padding, random);
        for (const FilterEntry& filter : kFilterTable) {
            const Bitmap expected =
                Resampled(kResamplers[0], source, c.target_width, c.target_height, filter);
            for (const std::int64_t target : targets) {
                hwy::SetSupportedTargetsForTest(target);
                const Bitmap actual =
                    Resampled(kResamplers[1], source, c.target_width, c.target_height, filter);
                hwy::SetSupportedTargetsForTest(0);
                ASSERT_EQ(actual.width, expected.width);
                ASSERT_EQ(actual.height, expected.height);
                EXPECT_TRUE(actual.bytes == expected.bytes)
                    << hwy::TargetName(target) << " " << filter.name << " " << c.width << "x"
                    << c.height << " -> " << c.target_width << "x" << c.target_height;
            }
        }
    }
}

}  // namespace
}  // namespace tarmel::photos
