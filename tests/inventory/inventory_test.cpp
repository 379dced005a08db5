// Layout rules of the control inventory: a sound tree, controls inside their parents, no two
// controls on top of each other, and room for the labels the tab builder will place.
#include "inventory/inventory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using tarmel::inventory::Controls;
using tarmel::inventory::Entry;
using tarmel::inventory::Kind;

struct Rect {
    int l, t, r, b;  // right and bottom exclusive
    bool intersects(const Rect& o) const { return l < o.r && o.l < r && t < o.b && o.t < b; }
};
Rect RectOf(const Entry& e) { return {e.left, e.top, e.left + e.width, e.top + e.height}; }

bool IsPageOrPanelParent(const std::string& parent) {
    return parent.rfind("Sheet", 0) == 0 || parent == "PanelCompta";
}

// Kinds the tab builder gives a label to the left of the control.
bool LabelledLeft(Kind k) {
    return k == Kind::Edit || k == Kind::NumberEdit || k == Kind::DatePicker || k == Kind::Combo ||
           k == Kind::Memo;
}

TEST(Inventory, NamesAreUniqueAndParentsComeFirst) {
    std::set<std::string> seen;
    std::string lastGrid;
    for (const Entry& e : Controls()) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(seen.insert(e.name).second) << "duplicate name";
        const std::string parent = e.parent;
        if (!parent.empty()) {
            EXPECT_TRUE(seen.count(parent)) << "parent " << parent << " not before";
        }
        if (e.kind == Kind::GridColumn) {
            EXPECT_EQ(parent, lastGrid) << "a column must follow its grid's other columns";
        }
        if (e.kind == Kind::Grid) {
            lastGrid = e.name;
        } else if (e.kind != Kind::GridColumn) {
            lastGrid.clear();
        }
        EXPECT_EQ(e.kind == Kind::Page, parent == "Tabs") << "only pages sit on Tabs";
    }
    EXPECT_TRUE(tarmel::inventory::Find("cNVO"));
    EXPECT_FALSE(tarmel::inventory::Find("cNV"));
}

// Page content must fit the page area of Tabs (825 x 513 less the tab strip and frame).
TEST(Inventory, ControlsLieInsideTheirParent) {
    std::map<std::string, Rect> area = {{"Sheet", {0, 0, 819, 484}}};
    for (const Entry& e : Controls()) {
        if (e.kind == Kind::Panel) area[e.name] = {0, 0, e.width, e.height};
    }
    for (const Entry& e : Controls()) {
        std::string parent = e.parent;
        if (parent.rfind("Sheet", 0) == 0) parent = "Sheet";
        if (!area.count(parent) || e.kind == Kind::GridColumn) continue;
        const Rect a = area[parent], r = RectOf(e);
        EXPECT_TRUE(r.l >= a.l && r.t >= a.t && r.r <= a.r && r.b <= a.b)
            << e.name << " leaves " << e.parent;
    }
}

// Pairs allowed to overlap: one lies over the other on purpose.
const std::set<std::pair<std::string, std::string>> kStacked = {
    {"TSNVO", "TSLbNVO"},          {"TSImmat", "TSLbImmat"},   {"TSClient", "TSLbClient"},
    {"TSMobile", "TSLbMobile"},    {"TSTelephone", "TSLbTelephone"},
};

TEST(Inventory, VisibleControlsOfOneParentDoNotOverlap) {
    std::vector<const Entry*> placed;
    for (const Entry& e : Controls())
        if (!e.hidden() && e.kind != Kind::GridColumn && e.kind != Kind::Page &&
            std::string(e.parent) != tarmel::inventory::kWindow)
            placed.push_back(&e);
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const Entry &a = *placed[i], &b = *placed[j];
            if (std::string(a.parent) != b.parent || kStacked.count({a.name, b.name})) continue;
            EXPECT_FALSE(RectOf(a).intersects(RectOf(b))) << a.name << " overlaps " << b.name;
        }
}

// Fields whose label is drawn on the form, so the description gives them no caption.
const std::set<std::pair<std::string, std::string>> kOwnLabel = {
    {"cMBrute", "Label2"}, {"cTotFrevo", "Label3"}, {"cMNette", "Label4"}};

// The tab builder puts a field's label at x 5 (left <= 93), left - 48 (94..400) or left - 22
// (401 and more), 2 px under the field's top; a list box's label goes 20 px above it.
TEST(Inventory, FieldsLeaveRoomForTheirBuilderLabel) {
    for (const Entry& e : Controls()) {
        if (!IsPageOrPanelParent(e.parent)) continue;
        Rect room{};
        if (LabelledLeft(e.kind)) {
            const int x = e.left <= 93 ? 5 : e.left <= 400 ? e.left - 48 : e.left - 22;
            room = {x, e.top + 2, e.left, e.top + 2 + 15};
        } else if (e.kind == Kind::ListBox) {
            room = {e.left, e.top - 18, e.left + 60, e.top};
        } else {
            continue;
        }
        EXPECT_GE(room.l, 0) << e.name;
        EXPECT_GE(room.t, 0) << e.name;
        for (const Entry& o : Controls()) {
            if (&o == &e || std::string(o.parent) != e.parent || o.hidden()) continue;
            if (kOwnLabel.count({e.name, o.name})) continue;
            EXPECT_FALSE(room.intersects(RectOf(o))) << o.name << " sits in the label room of " << e.name;
        }
    }
}

TEST(Inventory, OnlyTheTwelveNamedCombosTakeFreeText) {
    const std::set<std::string> freeText = {"cAcheteur",   "cInfoCouleur",      "cVDInfoCouleur",
                                            "cVDStatutVD", "cVDInfoCouleurInt", "cVNAcheteur",
                                            "cVNStatutVN", "cVNInfoCouleurInt", "cVNInfoCouleur",
                                            "cVNStatutVD", "vSite",             "ncbSite"};
    std::set<std::string> found;
    for (const Entry& e : Controls()) {
        if (e.kind != Kind::Combo) {
            EXPECT_EQ(e.combo, tarmel::inventory::ComboStyle::None) << e.name;
            continue;
        }
        EXPECT_NE(e.combo, tarmel::inventory::ComboStyle::None) << e.name;
        if (e.combo == tarmel::inventory::ComboStyle::FreeText) found.insert(e.name);
    }
    EXPECT_EQ(found, freeText);
}

}  // namespace

namespace {

// A grid's columns fit inside it (frame and vertical scroll bar included): no sideways scrolling.
TEST(Inventory, GridColumnsFitTheirGrid) {
    std::map<std::string, int> width, used;
    for (const Entry& e : Controls()) {
        if (e.kind == Kind::Grid) width[e.name] = e.width;
        if (e.kind == Kind::GridColumn) used[e.parent] += e.width;
    }
    for (const auto& [grid, columns] : used)
        EXPECT_LE(columns + 2 + 18, width[grid]) << grid;
}

}  // namespace
