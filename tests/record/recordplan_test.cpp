// What the record's state plans for the window: header colours, the commands and buttons
// offered, the warranty fields, Save and New.
#include "record/recordplan.h"

#include <gtest/gtest.h>

namespace tarmel {
namespace {

// "+" enabled or shown, "-" disabled or hidden, "." left alone.
char Enabled(const ControlPlan& plan, const char* name) {
    const ControlState* c = plan.Find(name);
    return c == nullptr || !c->enabled ? '.' : *c->enabled ? '+' : '-';
}
char Shown(const ControlPlan& plan, const char* name) {
    const ControlState* c = plan.Find(name);
    return c == nullptr || !c->visible ? '.' : *c->visible ? '+' : '-';
}

TEST(RecordPlan, FamilyOfTheRecordKind) {
    EXPECT_EQ(FamilyOf("_TVO"), RecordFamily::VO);
    EXPECT_EQ(FamilyOf("_TVD"), RecordFamily::VD);
    EXPECT_EQ(FamilyOf("_TVN"), RecordFamily::VN);
    EXPECT_EQ(FamilyOf("_TCL"), RecordFamily::CL);
    EXPECT_EQ(FamilyOf(""), RecordFamily::None);
    EXPECT_EQ(FamilyOf("_TV"), RecordFamily::None);
}

TEST(RecordPlan, HeaderColoursByFamily) {
    const struct {
        RecordFamily family;
        Colour base, ink;
        char identity;
    } cases[] = {
        {RecordFamily::VO, 0xF04040, 0x000000, '-'},
        {RecordFamily::VD, 0x7659CC, 0x000000, '-'},
        {RecordFamily::VN, 0xF04040, 0x000000, '-'},
        {RecordFamily::CL, 0xF04040, 0xFFFFFF, '+'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.family));
        const ControlPlan plan = PlanHeader(c.family, false);
        for (const char* edit : {"xcInfoTitre", "xcInfoNVO", "xcInfoField3", "xcIdentity"}) {
            ASSERT_NE(plan.Find(edit), nullptr) << edit;
            EXPECT_EQ(plan.Find(edit)->background, c.base);
            EXPECT_EQ(plan.Find(edit)->text, c.ink);
        }
        EXPECT_EQ(Shown(plan, "xcIdentity"), c.identity);
        EXPECT_EQ(Shown(plan, "DblNom"), '-');
    }
    EXPECT_EQ(Shown(PlanHeader(RecordFamily::CL, true), "DblMobile"), '+');
}

TEST(RecordPlan, CommandsThatNeedTheRecord) {
    const struct {
        RecordFamily family;
        int customer;
        bool vehicleId;
        char newVehicle, print;
    } cases[] = {
        {RecordFamily::CL, 12, false, '+', '+'},  {RecordFamily::CL, -1, false, '-', '+'},
        {RecordFamily::CL, 0, false, '-', '+'},   {RecordFamily::VO, 0, true, '-', '+'},
        {RecordFamily::VO, 0, false, '-', '-'},   {RecordFamily::VD, 0, true, '-', '+'},
        {RecordFamily::VN, 0, true, '-', '-'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(int(c.family)) + " " + std::to_string(c.customer));
        const ControlPlan plan = PlanRecordCommands(c.family, c.customer, c.vehicleId);
        EXPECT_EQ(Enabled(plan, "JvXPBtnNewVehicle"), c.newVehicle);
        EXPECT_EQ(Enabled(plan, "JvXPBtnPrint"), c.print);
    }
}

TEST(RecordPlan, RecordButtonsFollowFamilyAndRights) {
    Rights none, superAdmin, compta;
    superAdmin.superAdmin = true;
    compta.compta = true;
    const struct {
        const char* name;
        RecordButtonsInput in;
        char newRecord, remove, sweep, accounts, sms, options, diagnostics, site, staff;
    } cases[] = {
        {"salesperson on a used vehicle", {RecordFamily::VO, none, "Durand", "", ""},
         '+', '-', '-', '-', '-', '-', '.', '.', '.'},
        {"demonstration vehicle: no new one", {RecordFamily::VD, none, "", "", ""},
         '-', '-', '-', '-', '-', '+', '.', '.', '.'},
        {"super-administrator on a new vehicle", {RecordFamily::VN, superAdmin, "", "", ""},
         '+', '+', '+', '-', '-', '+', '+', '.', '.'},
        {"accountant", {RecordFamily::VO, compta, "", "", ""},
         '+', '-', '-', '+', '-', '-', '.', '.', '.'},
        {"test user", {RecordFamily::VO, none, "Martin (Test SMS)", "", ""},
         '+', '-', '-', '-', '+', '-', '.', '.', '.'},
        {"client without site or salesperson", {RecordFamily::CL, none, "", "", ""},
         '+', '+', '-', '-', '-', '-', '.', '+', '+'},
        {"client with both", {RecordFamily::CL, none, "", "LYON-SUD", "Durand"},
         '+', '+', '-', '-', '-', '-', '.', '-', '-'},
        {"client with both, super-administrator", {RecordFamily::CL, superAdmin, "", "LYON-SUD", "Durand"},
         '+', '+', '-', '-', '-', '-', '+', '+', '+'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlPlan plan = PlanRecordButtons(c.in);
        EXPECT_EQ(Shown(plan, "JvXPBtnNewVO"), c.newRecord);
        EXPECT_EQ(Shown(plan, "JvXPBtnSuppr"), c.remove);
        EXPECT_EQ(Shown(plan, "JvXPBtnSweep"), c.sweep);
        EXPECT_EQ(Shown(plan, "PanelCompta"), c.accounts);
        EXPECT_EQ(Shown(plan, "JvXPBtnSMS"), c.sms);
        EXPECT_EQ(Shown(plan, "LbInfoOptions"), c.options);
        EXPECT_EQ(Shown(plan, "LbDebugInfo2"), c.diagnostics);
        EXPECT_EQ(Enabled(plan, "aSite"), c.site);
        EXPECT_EQ(Enabled(plan, "aidCom"), c.staff);
    }
}

TEST(RecordPlan, WarrantyFieldsForAccountantsOrSalesManagersUntilValidated) {
    const struct {
        bool compta, manager, validated;
        char enabled;
    } cases[] = {
        {true, false, true, '+'},  {false, true, false, '+'}, {false, true, true, '-'},
        {false, false, false, '-'},
    };
    for (const auto& c : cases) {
        const ControlPlan plan = PlanWarranty(c.compta, c.manager, c.validated);
        for (const char* name : {"cTypeGarantie", "cDureeGarantie", "cPrixGarantie", "cMtComIntermediaire"}) {
            EXPECT_EQ(Enabled(plan, name), c.enabled) << name;
            EXPECT_EQ(plan.Find(name)->background,
                      c.enabled == '+' ? kWindowBackground : kReadOnlyBackground);
            EXPECT_FALSE(plan.Find(name)->text) << "the text keeps its colour";
        }
    }
}

TEST(RecordPlan, SaveWhilePendingNewOtherwise) {
    EXPECT_EQ(Enabled(PlanPageButtons(true), "JvXPBtnSave"), '+');
    EXPECT_EQ(Enabled(PlanPageButtons(true), "JvXPBtnNewVO"), '-');
    EXPECT_EQ(Enabled(PlanPageButtons(false), "JvXPBtnSave"), '-');
    EXPECT_EQ(Enabled(PlanPageButtons(false), "JvXPBtnNewVO"), '+');
}

TEST(RecordPlan, AnotherDealershipsRecordShowsEmptyPagesUnlessNew) {
    EXPECT_TRUE(ShowsEmptyPages("DAU", "LYO", false));
    EXPECT_FALSE(ShowsEmptyPages("DAU", "LYO", true));
    EXPECT_FALSE(ShowsEmptyPages("LYO", "LYO", false));
}

}  // namespace
}  // namespace tarmel
