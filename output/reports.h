// The printed forms and the test SMS: the report address the data server renders as PDF, the
// report names, and the SMS text in the UTF-8 the service reads. No widget, no network here.
#pragma once

#include <string>
#include <string_view>

namespace tarmel {

inline constexpr const char* kClientSheet = "Fiche Clarum";
inline constexpr const char* kMarginSheet = "VO - Feuille de Marge";

// BaseHRef + "ReportPDF?rptSelect=" + selection + "&rptName=" + name, the name as it stands
// (blanks included): the server reads it so.
std::string ReportAddress(const std::string& baseHRef, const std::string& selection,
                          const std::string& name);

// family ("VO", "VD", "VN") + " - Fiche Commerciale"; a demonstration vehicle printed with Ctrl
// held gets its second form ("2").
std::string CommercialSheetName(const std::string& family, const std::string& recordKind,
                                bool ctrlHeld);

// The SMS text as the service reads it: the Latin-1 text in UTF-8; a text of 1024 bytes or more
// gives an empty result (the service takes no longer message).
std::string SmsUtf8(std::string_view latin1);

// The test message (Latin-1): "de Quintar <site>," two line breaks, "pour un test d'envoi à
// <identity>".
std::string SmsTestText(const std::string& site, const std::string& identity);

inline constexpr const char* kSmsPath = "/tools/smssend/smssend.php5";
inline constexpr const char* kSmsFailure = " - Erreur de transfert sur le serveur ";
// The warning band's text after the service answered: empty when the message went.
std::string SmsWarning(const std::string& answer);

}  // namespace tarmel
