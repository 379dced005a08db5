// What one field shows and allows for the record being loaded: its value, its stored value, the
// user's right to edit it, whether its control is shown, and where its caption goes. Decided from
// the descriptor, the record's value source and the user's rights; the tab builder applies it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "formdesc/descriptors.h"
#include "record/recordrules.h"
#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

// The record's state as the fields of a load need it.
struct FieldContext {
    std::vector<std::string> groupNames;
    Rights rights;             // the site and CLARUM rights count for a field
    bool newRecord = false;    // every field takes its default, nothing is stored yet
    bool newVehicle = false;   // the same for the client-vehicle page (8)
    int vehicleState = 0;      // 0: the client has no vehicle, so page 8 is read-only
    Date today;
};

struct PixelBox {
    int left = 0, top = 0, width = 0, height = 0;
};

// One field of a page as the description and the form give it.
struct FieldInput {
    int number = 0;                 // description number of the page
    const TsDesc* desc = nullptr;   // caption, kind, type, rights tag, default
    std::string element;            // the record element its value is read from
    PixelBox box;                   // from the description
    int enabledCode = 0;            // the description's visibility code
    std::optional<PixelBox> formControl;  // the control of that name on the form, if any
    bool formControlBound = false;  // that control was bound (and labelled) before
};

struct LabelPlace {
    int left = 0, top = 0, height = 0;  // the width follows the caption
};

struct FieldPlan {
    std::string value;        // shown, and the current value
    std::string storedValue;  // as the record holds it; empty while the record is new
    bool rights = false;      // the user may edit the field
    bool enabled = false;     // rights, and a size on the page
    bool visible = true;      // a control found on the form follows the visibility code
    bool createControl = false;      // no control on the form: one is made at the field's box
    std::optional<LabelPlace> label;  // a caption to place, when there is one to place now
};

// The user may edit a field of page number with that rights tag.
bool FieldRights(const std::string& rightsTag, int number, const FieldContext& context);

FieldPlan PlanField(const FieldInput& field, const TXml& source, const FieldContext& context);

// A field refilled for another record: value, stored value and rights only.
FieldPlan PlanRefill(const FieldInput& field, const TXml& source, const FieldContext& context);

}  // namespace tarmel
