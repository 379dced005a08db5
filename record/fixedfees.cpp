#include "record/fixedfees.h"

#include "formdesc/fieldrules.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

bool HasFixedFee(TXml record) {
    XmlFind(record, "FrevoS");
    while (XmlNext(record, "Frevo") > 0) {
        if (UpperAscii(XmlValueOf(record, "TypeFrevo")) == "FIXE") return true;
    }
    return false;
}

// The site's fee as its "0.00" text; "" when no site matches or its fee is not a number or 0.
std::string SiteFee(TXml equip, const std::string& site) {
    XmlFind(equip, "InfoSiteS");
    const std::string wanted = UpperAscii(site);
    while (XmlNext(equip, "InfoSite") > 0) {
        if (UpperAscii(XmlValueOf(equip, "Site")) != wanted) continue;
        const std::string fee = TwoDecimals(XmlValueOf(equip, "MontantFraisDossier"));
        return fee == "0.00" ? std::string() : fee;
    }
    return {};
}

}  // namespace

std::string FixedFeesStatement(const FixedFeesInput& input) {
    TXml record = *input.record;
    XmlFind(record, "tVO");
    const std::string idVO = XmlValueOf(record, "idVO");
    if (idVO.empty()) return {};
    if (UpperAscii(input.destination) != "PARTICULIERS" || HasFixedFee(*input.record)) return {};
    const std::string fee = SiteFee(*input.equip, input.site);
    if (fee.empty()) return {};
    return "Insert into [tVO - Frevo] (DateFrevo, TypeFrevo, MontantHT, idVO, idFrevo ) "
           "Values (#" +
           FormatDate(input.today, DateOrder::MonthFirst) + "#,'fixe', " + fee + ", " + idVO +
           ", :NewID) ";
}

}  // namespace tarmel
