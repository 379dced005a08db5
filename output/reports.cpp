// Report addresses and the test SMS text.
#include "output/reports.h"

#include "server/xml/texttools.h"

namespace tarmel {

std::string ReportAddress(const std::string& baseHRef, const std::string& selection,
                          const std::string& name) {
    return baseHRef + "ReportPDF?rptSelect=" + selection + "&rptName=" + name;
}

std::string CommercialSheetName(const std::string& family, const std::string& recordKind,
                                bool ctrlHeld) {
    std::string name = family + " - Fiche Commerciale";
    if (ctrlHeld && recordKind == "_TVD") name += "2";
    return name;
}

std::string SmsUtf8(std::string_view latin1) {
    return latin1.size() >= 1024 ? std::string() : Utf8FromLatin1(latin1);
}

std::string SmsTestText(const std::string& site, const std::string& identity) {
    return "de Quintar " + site + ",\r\n\r\npour un test d'envoi \xE0 " + identity;
}

std::string SmsWarning(const std::string& answer) {
    return answer.find("telephonySmsSend successfull") != std::string::npos ? std::string()
                                                                            : answer;
}

}  // namespace tarmel
