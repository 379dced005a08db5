// A field's plan for a load: value and stored value from the record, rights from the groups,
// visibility from the description's code, the caption's place from the form.
#include "record/fieldplan.h"

#include "formdesc/fieldrules.h"
#include "formdesc/valuesource.h"

namespace tarmel {

bool FieldRights(const std::string& rightsTag, int number, const FieldContext& context) {
    return GetDataRights(rightsTag, context.groupNames, context.rights, context.newRecord) &&
           !(number == 8 && context.vehicleState == 0);
}

FieldPlan PlanRefill(const FieldInput& field, const TXml& source, const FieldContext& context) {
    const TsDesc& desc = *field.desc;
    const bool isNew = context.newRecord || (context.newVehicle && field.number == 8);
    FieldPlan plan;
    plan.value = FieldValue(source, field.element, desc, isNew, context.today);
    plan.storedValue = isNew ? "" : plan.value;
    plan.rights = FieldRights(desc.rightsTag, field.number, context);
    plan.enabled = plan.rights && field.box.width != 0;
    return plan;
}

FieldPlan PlanField(const FieldInput& field, const TXml& source, const FieldContext& context) {
    const TsDesc& desc = *field.desc;
    FieldPlan plan = PlanRefill(field, source, context);
    plan.visible = FieldVisible(field.enabledCode, plan.rights);
    const bool captioned = !desc.caption.empty() && desc.controlKind != kind::Button;
    // The caption stands level with the control's text, its box as tall as the field.
    auto place = [&](int left, int top) {
        return LabelPlace{LabelLeft(desc.controlKind, left), top + 2, field.box.height};
    };
    if (field.formControl) {
        const PixelBox& at = *field.formControl;
        if (!field.formControlBound && captioned && plan.visible) {
            // A list box and a placed control carry their caption above them.
            if (desc.controlKind == kind::ListBox || desc.controlKind == kind::Placed)
                plan.label = place(at.left, at.top - 20);
            else
                plan.label = place(field.box.left, at.top);
        }
    } else if (field.box.width != 0) {
        // Not on the form: created on the page, visible whatever the visibility code says.
        plan.createControl = true;
        plan.visible = true;
        if (captioned) plan.label = place(field.box.left, field.box.top);
    }
    return plan;
}

}  // namespace tarmel
