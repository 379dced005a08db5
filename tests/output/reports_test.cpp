// Report addresses and names, and the test SMS's text as the service receives it.
#include "output/reports.h"

#include <gtest/gtest.h>

namespace tarmel {
namespace {

TEST(Reports, AddressesAndNames) {
    EXPECT_EQ(
        ReportAddress("http://h/tarmel/", "idVO=77", CommercialSheetName("VO", "_TVO", false)),
        "http://h/tarmel/ReportPDF?rptSelect=idVO=77&rptName=VO - Fiche Commerciale");
    const struct {
        const char* family;
        const char* kind;
        bool ctrl;
        const char* name;
    } cases[] = {
        {"VO", "_TVO", true, "VO - Fiche Commerciale"},  // Ctrl changes nothing here
        {"VD", "_TVD", false, "VD - Fiche Commerciale"},
        {"VD", "_TVD", true, "VD - Fiche Commerciale2"},
        {"VN", "_TVN", true, "VN - Fiche Commerciale"},
    };
    for (const auto& c : cases) EXPECT_EQ(CommercialSheetName(c.family, c.kind, c.ctrl), c.name);
}

TEST(Reports, TheTestSmsText) {
    EXPECT_EQ(SmsUtf8(SmsTestText("NORD", "M. MARTIN Jean")),
              "de Quintar NORD,\r\n\r\npour un test d'envoi \xC3\xA0 M. MARTIN Jean");
    EXPECT_EQ(SmsUtf8(std::string(1023, 'a')).size(), 1023u);
    EXPECT_EQ(SmsUtf8(std::string(1024, 'a')), "") << "too long for the service";
    EXPECT_EQ(SmsUtf8("\xFF"), "\xC3\xBF");
    EXPECT_EQ(SmsWarning("ok: telephonySmsSend successfull"), "");
    EXPECT_EQ(SmsWarning(kSmsFailure), kSmsFailure);
    EXPECT_EQ(SmsWarning("quota atteint"), "quota atteint") << "shown as the service said it";
}

}  // namespace
}  // namespace tarmel
