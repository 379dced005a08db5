// What follows a change of a make, model or version control: the dependent combo refilled from a
// keyed list, the version memo merged, the header title rebuilt. One row per control; the window
// runs the control's own change handling first, then the row.
#pragma once

#include <span>
#include <string_view>

namespace tarmel {

struct Cascade {
    const char* control;  // the control whose change starts the cascade
    // Dependent combo refilled with the entries of list whose keyElement equals the control's text
    // upper-cased (UpdateCBox); empty target: none.
    const char* target;
    const char* itemElement;
    const char* keyElement;
    const char* list;
    // Version memo merged with the model combo and, when given, the version-type combo
    // (UpdateVersion); empty memo: none.
    const char* versionMemo;
    const char* modelCombo;
    const char* typeCombo;
    bool title;  // setInfoTitre afterwards
};

inline constexpr Cascade kCascades[] = {
    {"cInfoMarque", "cInfoModele", "vModel", "vMark", "Models", "", "", "", true},
    {"cVDInfoMarque", "cVDInfoModele", "vnModel", "vnMark", "VNModels", "", "", "", true},
    {"cVNInfoMarque", "cVNInfoModele", "vnModel", "vnMark", "VNModels", "", "", "", true},
    {"cPAPAMarque1", "cPAPAModele1", "vModel", "vMark", "Models", "", "", "", false},
    {"cPAPAMarque2", "cPAPAModele2", "vModel", "vMark", "Models", "", "", "", false},
    {"vInfoMarque", "vInfoModele", "vModel", "vMark", "Models", "", "", "", false},
    {"cInfoModele", "", "", "", "", "cInfoVersion", "cInfoModele", "", false},
    {"cVDInfoModele", "cVDInfoTypeVersion", "vnVers", "vnModel", "VNVersions", "cVDInfoVersion",
     "cVDInfoModele", "cVDInfoTypeVersion", false},
    {"cVNInfoModele", "cVNInfoTypeVersion", "vnVers", "vnModel", "VNVersions", "cVNInfoVersion",
     "cVNInfoModele", "cVNInfoTypeVersion", false},
    {"vInfoModele", "", "", "", "", "", "", "", false},
    {"cVDInfoTypeVersion", "", "", "", "", "cVDInfoVersion", "cVDInfoModele",
     "cVDInfoTypeVersion", true},
    {"cVNInfoTypeVersion", "", "", "", "", "cVNInfoVersion", "cVNInfoModele",
     "cVNInfoTypeVersion", true},
    {"cInfoVersion", "", "", "", "", "", "", "", true},
    {"vInfoTypeVersion", "", "", "", "", "", "", "", true},
    {"cVNInfoVersion", "", "", "", "", "", "", "", true},
};

// The row of a control, or nullptr.
inline const Cascade* FindCascade(std::string_view control) {
    for (const Cascade& c : kCascades) {
        if (control == c.control) return &c;
    }
    return nullptr;
}

}  // namespace tarmel
