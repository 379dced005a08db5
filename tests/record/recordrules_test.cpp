// Record kind, user block, date limits and rights of a load.
#include "record/recordrules.h"

#include <gtest/gtest.h>

namespace tarmel {
namespace {

TEST(RecordRules, RecordKind) {
    const struct {
        bool customer;
        const char* typeVO;
        const char* statutVD;
        int idTypeVO;
        const char* kind;
        const char* typeCode;
    } cases[] = {
        {false, "", "", 1, "_TVO", "1"},   {false, "", "", 2, "_TVN", "2"},
        {false, "2", "D", 3, "_TVD", "2"}, {false, "2", "D", 2, "_TVN", "2"},
        {false, "2", "", 3, "_TVN", "2"},  {false, "1", "D", 3, "_TVO", "1"},
        {true, "1", "", 1, "_TCL", ""},
    };
    for (const auto& c : cases) {
        const RecordKind k = DecideRecordKind(c.customer, c.typeVO, c.statutVD, c.idTypeVO);
        EXPECT_EQ(k.kind, c.kind) << c.typeVO << "/" << c.statutVD << "/" << c.idTypeVO;
        EXPECT_EQ(k.typeCode, c.typeCode);
        EXPECT_EQ(k.table, c.customer ? "TVC" : "tVO");
    }
    EXPECT_EQ(DecideRecordKind(false, "2", "x", 3).family(), "VD");
}

TEST(RecordRules, UserBlockAndGroups) {
    const TXml doc(
        "<AxInfoVO><User><UserConcession>C01</UserConcession><UserSite>LYON;VIENNE</UserSite>"
        "<Name_>Léa Durand</Name_></User><GNames><GName>USER_compta</GName><GName>SVO</GName>"
        "</GNames><tVO><idVO>3</idVO></tVO></AxInfoVO>");
    const UserBlock user = ReadUserBlock(doc);
    EXPECT_EQ(user.concession, "C01");
    EXPECT_EQ(user.site, "LYON;VIENNE");
    EXPECT_EQ(user.name, "Léa Durand");
    EXPECT_EQ(user.lastSite, "") << "absent child: empty";
    EXPECT_EQ(ReadGroupNames(doc), (std::vector<std::string>{"USER_compta", "SVO"}));
    EXPECT_TRUE(ReadGroupNames(TXml("<x/>")).empty());
}

TEST(RecordRules, DateLimits) {
    auto doc = [](const std::string& dates) {
        return TXml("<AxInfoVO><OptDates>" + dates + "</OptDates><tVO></tVO></AxInfoVO>");
    };
    DateLimits limits;
    ReadDateLimits(doc("<Opt_LimiteDateDeb>01/01/2024</Opt_LimiteDateDeb>"
                       "<Opt_LimiteDateDebFrevo>15/01/2024</Opt_LimiteDateDebFrevo>"
                       "<Now>10/12/2026</Now>"),
                   limits);
    EXPECT_EQ(limits.deb, (Date{2024, 1, 1}));
    EXPECT_EQ(limits.debFrevo, (Date{2024, 1, 15}));
    EXPECT_EQ(limits.debClarum, Date{}) << "absent";
    EXPECT_EQ(limits.fin, (Date{2026, 12, 10}));
    EXPECT_EQ(LimitText(limits.fin), "10/12/2026");

    ReadDateLimits(doc("<Opt_LimiteDateDeb>01/06/2025</Opt_LimiteDateDeb><Now>01/01/2027</Now>"),
                   limits);
    EXPECT_EQ(limits.deb, (Date{2024, 1, 1})) << "read once";

    DateLimits late;
    ReadDateLimits(doc("<Opt_LimiteDateDeb>01/01/2027</Opt_LimiteDateDeb><Now>10/12/2026</Now>"),
                   late);
    EXPECT_EQ(late.deb, Date{});
    EXPECT_EQ(late.fin, Date{});
    EXPECT_EQ(late.serverToday, (Date{2026, 12, 10})) << "the server's today stays";
    EXPECT_EQ(LimitText(late.deb), "30/12/1899");

    DateLimits none;
    ReadDateLimits(TXml("<AxInfoVO><tVO></tVO></AxInfoVO>"), none);
    EXPECT_FALSE(none.read());
    EXPECT_EQ(none.fin, Date{});
}

TEST(RecordRules, SiteRight) {
    EXPECT_TRUE(SiteRight("#", "LYON", "", "17", false));
    EXPECT_TRUE(SiteRight("lyon;vienne", "LYON", "", "17", false));
    EXPECT_FALSE(SiteRight("VIENNE", "LYON", "", "17", false));
    EXPECT_FALSE(SiteRight("VIENNE", "", "", "", false)) << "an empty owner is nobody's record";
    EXPECT_TRUE(SiteRight("VIENNE", "LYON", "17", "17", false));
    EXPECT_TRUE(SiteRight("VIENNE", "LYON", "", "17", true));
}

TEST(RecordRules, GroupRights) {
    const std::vector<std::string> groups = {"USER_compta", "CLARUM", "SVO"};
    Rights rights;
    rights.site = true;
    EXPECT_TRUE(GetDataRights(";COMPTA;", groups, rights, false));
    EXPECT_TRUE(GetDataRights(";SVO;RVO;", groups, rights, false));
    EXPECT_FALSE(GetDataRights(";RVO;", groups, rights, false));
    EXPECT_FALSE(GetDataRights(";;", groups, rights, false));
    rights.clarum = false;
    EXPECT_FALSE(GetDataRights(";CLARUM;SVO;", groups, rights, false))
        << "CLARUM matches first and answers with the right held";
    EXPECT_TRUE(GetDataRights(";CLARUM;SVO;", groups, rights, true));
    rights.site = false;
    EXPECT_FALSE(GetDataRights(";COMPTA;", groups, rights, false)) << "no site, no right";

    const Rights decided = DecideRights({"USER_COMPTA", "CLARUM", "SUPERADMINS"}, true, false);
    EXPECT_TRUE(decided.compta);
    EXPECT_TRUE(decided.clarum);
    EXPECT_TRUE(decided.superAdmin);
    const Rights elsewhere = DecideRights({"SUPERADMINS"}, false, false);
    EXPECT_FALSE(elsewhere.superAdmin);
}

}  // namespace
}  // namespace tarmel
