#include "record/savechecks.h"

#include <array>

#include "server/dates.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

// The mandatory controls of each vehicle family; nullptr where the family does not check.
struct MandatoryRow {
    const char* vo;
    const char* vd;
    const char* vn;
};
constexpr std::array<MandatoryRow, 5> kMandatory = {{
    {"cNVO", "cVDNVO", "cVNNVO"},                       // vehicle number, a non-zero integer
    {"cSite", "cVDSite", "cVNSite"},                    // site
    {"cInfoMarque", "cVDInfoMarque", "cVNInfoMarque"},  // make
    {nullptr, nullptr, "cVNInfoModele"},                // model
    {nullptr, nullptr, "cVNInfoTypeVersion"},           // version type
}};

const char* ForFamily(const MandatoryRow& row, RecordFamily family) {
    switch (family) {
        case RecordFamily::VO:
            return row.vo;
        case RecordFamily::VD:
            return row.vd;
        case RecordFamily::VN:
            return row.vn;
        case RecordFamily::CL:
        case RecordFamily::None:
            return nullptr;
    }
    return nullptr;
}

bool NonZeroInteger(const std::string& text) {
    if (text.empty()) return false;
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    bool nonZero = false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        nonZero = nonZero || text[i] != '0';
    }
    return nonZero;
}

long DayOf(const std::string& text) {
    const auto date = ParseShortDate(text);
    return date ? DayNumber(*date) : 0;
}

}  // namespace

std::string MissingVehicleField(RecordFamily family, const ControlTexts& text) {
    if (family == RecordFamily::CL) return {};
    for (size_t i = 0; i < kMandatory.size(); ++i) {
        const char* control = ForFamily(kMandatory[i], family);
        if (control == nullptr) continue;
        const std::string value = text(control);
        if (i == 0 ? !NonZeroInteger(value) : value.empty()) return control;
    }
    if (family != RecordFamily::VO) return {};
    if (!text("cDateOrdre").empty()) return text("cDestination").empty() ? "cDestination" : "";
    const std::string entry = text("cDateEntree"), firstRegistration = text("cMEC");
    if (!entry.empty() && !firstRegistration.empty() && DayOf(firstRegistration) > DayOf(entry))
        return "cMEC";
    return {};
}

std::string MissingClientField(const ControlTexts& text) {
    for (const char* control : {"aSite", "aidCom", "aCliNom"}) {
        if (text(control).empty()) return control;
    }
    return {};
}

std::string MissingClientVehicleField(const ControlTexts& text) {
    // "-1" and "-2" mark a client not inserted yet.
    const std::string customer = text("LbIDCustomer");
    if (!NonZeroInteger(customer) || customer[0] == '-') return kNoClientYet;
    for (const char* control : {"vInfoMarque", "vInfoModele"}) {
        if (text(control).empty()) return control;
    }
    return {};
}

}  // namespace tarmel
