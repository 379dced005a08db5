// The duplicate-client count statements, what an answer shows, and the search a click starts.
#include <gtest/gtest.h>

#include "search/duplicates.h"

namespace tarmel {
namespace {

constexpr const char* kHead = "select count(idClient) as cpt from tClients group by ";

TEST(DuplicateCountStatement, EachKindCountsItsFieldUpperCasedAndEncodedAsStored) {
    struct Case {
        const char* proves;
        DuplicateKind kind;
        ClientNames names;
        std::string expected;  // after kHead; "" means nothing is sent
    } cases[] = {
        {"a name", DuplicateKind::Nom, {"dupont", "jean", "", ""},
         "CliNom having (CliNom='DUPONT')"},
        {"name and first name", DuplicateKind::Ident, {"dupont", "jean", "", ""},
         "CliNom, CliPrenom having (CliNom='DUPONT') and (CliPreNom='JEAN')"},
        {"home telephone", DuplicateKind::TelDom, {"X", "", "0478123456", "0612"},
         "CliTelDom having (CliTelDom='0478123456')"},
        {"mobile", DuplicateKind::Mobile, {"X", "", "0478", "0612345678"},
         "CliMobile having (CliMobile='0612345678')"},
        {"an apostrophe is doubled, not the end of the value", DuplicateKind::Nom,
         {"O'Brien", "", "", ""}, "CliNom having (CliNom='O''BRIEN')"},
        {"a crafted name stays one value", DuplicateKind::Nom, {"x') or (1=1", "", "", ""},
         "CliNom having (CliNom='X'') OR (1=1')"},
        {"the first name is encoded too", DuplicateKind::Ident, {"d'arc", "j'eanne", "", ""},
         "CliNom, CliPrenom having (CliNom='D''ARC') and (CliPreNom='J''EANNE')"},
        // The value travels in the URL: these bytes would cut or rewrite it there.
        {"ampersand and percent escaped", DuplicateKind::Nom, {"Dupont & Fils %27", "", "", ""},
         "CliNom having (CliNom='DUPONT %26 FILS %2527')"},
        {"a name holding the grouping words is left alone", DuplicateKind::Ident,
         {"by clinom", "a", "", ""},
         "CliNom, CliPrenom having (CliNom='BY CLINOM') and (CliPreNom='A')"},
        {"accents stay as typed", DuplicateKind::Nom, {"l\xe9on", "", "", ""},
         "CliNom having (CliNom='L\xe9ON')"},
        {"blanks around the value go, as a save drops them", DuplicateKind::Nom,
         {" dupont  ", "", "", ""}, "CliNom having (CliNom='DUPONT')"},
        {"an empty name", DuplicateKind::Nom, {"", "jean", "", ""}, ""},
        {"a blank name", DuplicateKind::Nom, {"   ", "jean", "", ""}, ""},
        {"a first name alone is never counted", DuplicateKind::Ident, {"", "jean", "", ""}, ""},
        {"an empty first name still counts the name with it", DuplicateKind::Ident,
         {"dupont", "", "", ""},
         "CliNom, CliPrenom having (CliNom='DUPONT') and (CliPreNom='')"},
        {"an empty mobile", DuplicateKind::Mobile, {"dupont", "", "0478", ""}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proves);
        const std::string statement = DuplicateCountStatement(c.kind, c.names);
        EXPECT_EQ(statement, c.expected.empty() ? "" : kHead + c.expected);
    }
}

TEST(PlanDuplicateCheck, AHiddenIndicatorSendsNothingAndEachKindFillsItsOwnBox) {
    const ClientNames names{"dupont", "jean", "0478", "0612"};
    const struct {
        DuplicateKind kind;
        const char* box;
    } kinds[] = {{DuplicateKind::Nom, "DblNom"},
                 {DuplicateKind::Ident, "DblIdent"},
                 {DuplicateKind::TelDom, "DblTelDom"},
                 {DuplicateKind::Mobile, "DblMobile"}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.box);
        EXPECT_STREQ(PlanDuplicateCheck(k.kind, names, true).indicator, k.box);
        EXPECT_EQ(PlanDuplicateCheck(k.kind, names, true).statement,
                  DuplicateCountStatement(k.kind, names));
        EXPECT_EQ(PlanDuplicateCheck(k.kind, names, false).statement, "");
    }
}

TEST(DuplicateCountShown, TheFirstRowsCountOrEmptyWithoutRow) {
    struct Case {
        const char* proves;
        const char* answer;
        const char* shown;
    } cases[] = {
        {"one row", "<AXQueryS RowCount=\"1\" EOF=\"1\"><AXQuery><cpt>3</cpt></AXQuery></AXQueryS>",
         "3"},
        {"no client has it", "<AXQueryS RowCount=\"0\" EOF=\"1\"></AXQueryS>", ""},
        {"log items only", "<LogItems><LogItem>erreur</LogItem></LogItems>", ""},
        {"nothing at all", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proves);
        EXPECT_EQ(DuplicateCountShown(c.answer), c.shown);
    }
}

TEST(PlanDuplicateSearch, TheClickChoosesItsKindTextAndFirstNameAndCtrlAsksForLike) {
    const ClientNames names{"O'Brien", "Sean", "04 78", "0612345678"};
    struct Case {
        DuplicateKind kind;
        const char* button;
        const char* label;
        std::string text;
        std::optional<bool> withFirstName;
    } cases[] = {
        {DuplicateKind::Nom, "TSClient", "TSLbClient", "O'Brien", false},
        {DuplicateKind::Ident, "TSClient", "TSLbClient", "O'Brien", true},
        {DuplicateKind::TelDom, "TSTelephone", "TSLbTelephone", "04 78", std::nullopt},
        {DuplicateKind::Mobile, "TSMobile", "TSLbMobile", "0612345678", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        for (const bool ctrl : {false, true}) {
            const DuplicateSearch search = PlanDuplicateSearch(c.kind, names, ctrl);
            EXPECT_EQ(search.exact, !ctrl);
            EXPECT_EQ(search.text, c.text) << "the search encodes the text itself";
            EXPECT_EQ(search.withFirstName, c.withFirstName);
            EXPECT_STREQ(search.searchLabel, c.label);
            EXPECT_STREQ(search.searchButton, c.button);
        }
    }
}

}  // namespace
}  // namespace tarmel
