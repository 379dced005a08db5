// A plan for the window's named controls: what each is to be (enabled, shown, its colours), as
// the decisions of the record's state return it and one window function applies it. Plain data.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formdesc/descriptors.h"

namespace tarmel {

struct ControlState {
    std::string name;
    std::optional<bool> enabled, visible;
    // The server's colour convention; a header edit takes them as its disabled colours.
    std::optional<Colour> background, text;
};

struct ControlPlan {
    std::vector<ControlState> controls;

    ControlState& operator[](std::string_view name) {
        for (ControlState& c : controls) {
            if (c.name == name) return c;
        }
        return controls.emplace_back(ControlState{std::string(name), {}, {}, {}, {}});
    }
    // The state planned for a control, or nullptr when the plan leaves it alone.
    const ControlState* Find(std::string_view name) const {
        for (const ControlState& c : controls) {
            if (c.name == name) return &c;
        }
        return nullptr;
    }
    ControlPlan& Enable(std::string_view name, bool enabled) {
        (*this)[name].enabled = enabled;
        return *this;
    }
    ControlPlan& Show(std::string_view name, bool visible) {
        (*this)[name].visible = visible;
        return *this;
    }
    ControlPlan& Colours(std::string_view name, Colour background, Colour text) {
        ControlState& c = (*this)[name];
        c.background = background;
        c.text = text;
        return *this;
    }
    void Add(const ControlPlan& other) {
        for (const ControlState& c : other.controls) {
            ControlState& mine = (*this)[c.name];
            if (c.enabled) mine.enabled = c.enabled;
            if (c.visible) mine.visible = c.visible;
            if (c.background) mine.background = c.background;
            if (c.text) mine.text = c.text;
        }
    }
};

}  // namespace tarmel
