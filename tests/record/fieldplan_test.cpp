// A field's plan for a load: value and stored value, rights, visibility, and the caption's place.
#include "record/fieldplan.h"

#include <gtest/gtest.h>

#include "formdesc/valuesource.h"

namespace tarmel {
namespace {

TsDesc Field(int controlKind, const char* caption = "Prix", const char* tag = ";SVO;") {
    TsDesc d;
    d.controlKind = controlKind;
    d.dataType = datatype::Text;
    d.columnName = "PrixVente";
    d.caption = caption;
    d.rightsTag = tag;
    d.defaultValue = "0";
    return d;
}

FieldContext Salesperson() {
    FieldContext c;
    c.groupNames = {"SVO"};
    c.rights.site = true;
    c.vehicleState = 1;
    c.today = {2024, 3, 11};
    return c;
}

TEST(FieldPlan, ValueStoredValueAndRights) {
    TXml document;
    document.setText("<AXInfoVO><tVO><PrixVente>12500</PrixVente></tVO></AXInfoVO>");
    const TXml source = RecordElementSource(document, "tVO");
    const struct {
        const char* name;
        int number;
        const char* tag;
        bool newRecord, siteRight;
        int vehicleState;
        const char *value, *stored;
        bool rights;
    } cases[] = {
        {"existing record, the user's group", 1, ";SVO;", false, true, 1, "12500", "12500", true},
        {"another group only", 1, ";COMPTA;", false, true, 1, "12500", "12500", false},
        {"no right on the record's site", 1, ";SVO;", false, false, 1, "12500", "12500", false},
        {"new record: the default, nothing stored", 1, ";SVO;", true, true, 1, "0", "", true},
        {"client vehicle page without a vehicle", 8, ";SVO;", false, true, 0, "12500", "12500", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TsDesc desc = Field(kind::Text, "Prix", c.tag);
        FieldContext context = Salesperson();
        context.newRecord = c.newRecord;
        context.rights.site = c.siteRight;
        context.vehicleState = c.vehicleState;
        FieldInput in;
        in.number = c.number;
        in.desc = &desc;
        in.element = "PrixVente";
        in.box = {93, 50, 100, 21};
        const FieldPlan plan = PlanField(in, source, context);
        EXPECT_EQ(plan.value, c.value);
        EXPECT_EQ(plan.storedValue, c.stored);
        EXPECT_EQ(plan.rights, c.rights);
        EXPECT_EQ(plan.enabled, c.rights);
    }
}

TEST(FieldPlan, VisibilityAndTheCaptionsPlace) {
    const PixelBox described{300, 100, 120, 21};
    const PixelBox onForm{320, 140, 120, 21};
    const struct {
        const char* name;
        int controlKind;
        const char* caption;
        int enabledCode;
        bool rights;
        std::optional<PixelBox> form;
        bool bound;
        bool visible, create;
        std::optional<std::pair<int, int>> label;  // left, top
    } cases[] = {
        {"on the form: beside it, at its height", kind::Text, "Prix", 0, true, onForm, false,
         true, false, std::pair{252, 142}},
        {"on the form, labelled before", kind::Text, "Prix", 0, true, onForm, true, true, false,
         std::nullopt},
        {"list box: above it", kind::ListBox, "Options", 0, true, onForm, false, true, false,
         std::pair{320, 122}},
        {"hidden by its code", kind::Text, "Prix", 3, true, onForm, false, false, false, std::nullopt},
        {"hidden without rights", kind::Text, "Prix", 2, false, onForm, false, false, false,
         std::nullopt},
        {"no caption", kind::Text, "", 0, true, onForm, false, true, false, std::nullopt},
        {"a button has none", kind::Button, "Options", 0, true, onForm, false, true, false,
         std::nullopt},
        {"not on the form: created, shown whatever its code", kind::ComboText, "Prix", 3, true,
         std::nullopt, false, true, true, std::pair{252, 102}},
    };
    TXml source;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TsDesc desc = Field(c.controlKind, c.caption, c.rights ? ";SVO;" : ";COMPTA;");
        FieldInput in;
        in.number = 1;
        in.desc = &desc;
        in.box = described;
        in.enabledCode = c.enabledCode;
        in.formControl = c.form;
        in.formControlBound = c.bound;
        const FieldPlan plan = PlanField(in, source, Salesperson());
        EXPECT_EQ(plan.visible, c.visible);
        EXPECT_EQ(plan.createControl, c.create);
        ASSERT_EQ(plan.label.has_value(), c.label.has_value());
        if (c.label) {
            EXPECT_EQ(plan.label->left, c.label->first);
            EXPECT_EQ(plan.label->top, c.label->second);
            EXPECT_EQ(plan.label->height, described.height);
        }
    }
    // A field with no size and no control on the form gets nothing.
    const TsDesc desc = Field(kind::Text);
    FieldInput in;
    in.desc = &desc;
    in.number = 1;
    const FieldPlan none = PlanField(in, source, Salesperson());
    EXPECT_FALSE(none.createControl);
    EXPECT_FALSE(none.label);
    EXPECT_FALSE(none.enabled);
}

}  // namespace
}  // namespace tarmel
