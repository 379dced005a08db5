// The record's state turned into plans for the window's controls.
#include "record/recordplan.h"

namespace tarmel {

namespace {

constexpr Colour Rgb(unsigned red, unsigned green, unsigned blue) {
    return Colour(red | green << 8 | blue << 16);
}

constexpr const char* kHeaderEdits[] = {"xcInfoTitre",  "xcIdentity",   "xcInfoNVO",
                                        "xcInfoField1", "xcInfoField2", "xcInfoField3"};
constexpr const char* kDuplicateIndicators[] = {"DblNom", "DblIdent", "DblTelDom", "DblMobile"};
constexpr const char* kWarrantyFields[] = {"cTypeGarantie", "cDureeGarantie", "cPrixGarantie",
                                           "cMtComIntermediaire"};
constexpr const char* kDiagnostics[] = {"LbDebugInfo0", "LbDebugInfo1", "LbDebugInfo2",
                                        "LbDebugInfo3", "LbHttpRoot",   "LbBaseHRef"};

}  // namespace

RecordFamily FamilyOf(std::string_view kind) {
    const std::string_view family = kind.size() >= 4 ? kind.substr(2, 2) : std::string_view();
    if (family == "VO") return RecordFamily::VO;
    if (family == "VD") return RecordFamily::VD;
    if (family == "VN") return RecordFamily::VN;
    if (family == "CL") return RecordFamily::CL;
    return RecordFamily::None;
}

std::string FamilyName(RecordFamily family) {
    switch (family) {
        case RecordFamily::VO: return "VO";
        case RecordFamily::VD: return "VD";
        case RecordFamily::VN: return "VN";
        case RecordFamily::CL: return "CL";
        case RecordFamily::None: break;
    }
    return {};
}

ControlPlan PlanHeader(RecordFamily family, bool newRecord) {
    ControlPlan plan;
    const Colour base = family == RecordFamily::VD ? Rgb(204, 89, 118) : Rgb(64, 64, 240);
    const Colour ink = family == RecordFamily::CL ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    for (const char* name : kHeaderEdits) plan.Colours(name, base, ink);
    for (const char* name : kDuplicateIndicators) plan.Show(name, newRecord);
    plan.Show("xcIdentity", family == RecordFamily::CL);
    return plan;
}

ControlPlan PlanRecordCommands(RecordFamily family, int customerNumber, bool hasVehicleId) {
    ControlPlan plan;
    plan.Enable("JvXPBtnNewVehicle", family == RecordFamily::CL && customerNumber > 0);
    plan.Enable("JvXPBtnPrint",
                family == RecordFamily::CL || (family != RecordFamily::VN && hasVehicleId));
    return plan;
}

ControlPlan PlanRecordButtons(const RecordButtonsInput& in) {
    ControlPlan plan;
    const bool client = in.family == RecordFamily::CL;
    const bool newVehicle = in.family == RecordFamily::VN;
    plan.Show("JvXPBtnNewVO", in.family != RecordFamily::VD);
    plan.Show("JvXPBtnSuppr", in.rights.superAdmin || client);
    plan.Show("JvXPBtnSweep", in.rights.superAdmin && newVehicle);
    plan.Show("PanelCompta", in.rights.compta);
    plan.Show("JvXPBtnSMS", in.userName.find(kSmsTestUserName) != std::string::npos);
    plan.Show("LbInfoOptions", in.family == RecordFamily::VD || newVehicle);
    if (in.rights.superAdmin) {
        for (const char* name : kDiagnostics) plan.Show(name, true);
    }
    if (client) {
        plan.Enable("aSite", in.clientSite.empty() || in.rights.superAdmin);
        plan.Enable("aidCom", in.clientStaff.empty() || in.rights.superAdmin);
    }
    return plan;
}

ControlPlan PlanWarranty(bool compta, bool salesManager, bool warrantyValidated) {
    ControlPlan plan;
    const bool allowed = compta || (salesManager && !warrantyValidated);
    for (const char* name : kWarrantyFields) {
        plan.Enable(name, allowed);
        plan[name].background = allowed ? kWindowBackground : kReadOnlyBackground;
    }
    return plan;
}

ControlPlan PlanPageButtons(bool savable) {
    ControlPlan plan;
    plan.Enable("JvXPBtnSave", savable);
    plan.Enable("JvXPBtnNewVO", !savable);
    return plan;
}

std::optional<ReservationTexts> ReadReservation(const TXml& document) {
    TXml resa = document;
    XmlFind(resa, "ResaS");
    if (XmlNext(resa, "Resa") == 0) return std::nullopt;
    auto value = [&](const char* name) { return XmlValueOf(resa, name); };
    return ReservationTexts{"R\xE9servation jusqu'au " + value("DResaMax") + " inclus.",
                            "Vendeur : " + value("Vendeur"), "Acheteur : " + value("Acheteur"),
                            value("Commentaire")};
}

bool ShowsEmptyPages(std::string_view recordConcession, std::string_view userConcession,
                     bool newRecord) {
    return recordConcession != userConcession && !newRecord;
}

}  // namespace tarmel
