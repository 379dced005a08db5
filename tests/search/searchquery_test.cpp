// The search statement for every kind and criterion, and how it travels in the request.
#include <gtest/gtest.h>

#include "search/searchquery.h"

namespace tarmel {
namespace {

constexpr const char* kVehicleColumns =
    "SELECT TypeVO, idTVO as VO_ID, StatutVD, NVO as VO_NO, Immatriculation AS VO_IMMAT, "
    "[InfoMarque], [InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, DateOrdre AS "
    "VO_ORDRE, ";
constexpr const char* kClientColumns =
    "SELECT -1 AS TypeVO, idClient AS VO_ID, idClient AS VO_NO, CliMobile, [CliCP], [CliVille], "
    "[CliAdresse1], [CliAdresse2], [CliNom], [CliPrenom], CliTelDom, Site AS VO_SITE, "
    "Concession, idOwner FROM TClients Where ";
constexpr const char* kTail = " AS VO_Result, Site as VO_SITE, Concession, idOwner FROM ";

std::string Vehicles(const std::string& field, const std::string& condition,
                     const std::string& order) {
    return kVehicleColumns + field + kTail + "TVehicles Where " + condition + " ORDER BY " + order;
}

struct Case {
    const char* name;
    SearchCriteria criteria;
    std::string sql;
};

SearchCriteria Criteria(int kind, std::string text) {
    SearchCriteria c;
    c.kind = kind;
    c.text = std::move(text);
    c.userConcession = "LYO";
    return c;
}

template <class F>
SearchCriteria With(SearchCriteria c, F change) {
    change(c);
    return c;
}

class SearchQueryTest : public ::testing::TestWithParam<Case> {};

TEST_P(SearchQueryTest, BuildsTheStatement) {
    EXPECT_EQ(BuildSearchQuery(GetParam().criteria).sql, GetParam().sql);
}

const Case kCases[] = {
    {"PlateLikeBehindTheDealership", Criteria(1, "AB-12"),
     Vehicles("Immatriculation",
              "(Concession='LYO') and ((Immatriculation like '%AB-12%'))",
              "Immatriculation, DateOrdre desc")},
    {"EmptyPlateListsEveryVehicle", Criteria(1, ""),
     Vehicles("Immatriculation", "(Concession='LYO') and ((Immatriculation like '%%'))",
              "Immatriculation, DateOrdre desc")},
    {"BuyerWithApostropheDoubled", Criteria(2, "D'ARC"),
     Vehicles("Acheteur", "(Concession='LYO') and ((Acheteur like '%D''ARC%'))",
              "Acheteur, DateOrdre desc")},
    {"NumberFromThatNumberUp", Criteria(3, "1234"),
     Vehicles("NVO", "(Concession='LYO') and ((NVO>=1234))", "NVO, DateOrdre desc")},
    {"NumberWithLettersFindsNothing", Criteria(3, "12a4"),
     Vehicles("NVO", "(Concession='LYO') and ((false))", "NVO, DateOrdre desc")},
    {"EmptyNumberFindsNothing", Criteria(3, ""),
     Vehicles("NVO", "(Concession='LYO') and ((false))", "NVO, DateOrdre desc")},
    {"ClientPlateInClientVehicles", Criteria(4, "AB"),
     std::string("SELECT TypeVO, idClient as VO_ID, NVO as VO_NO, Immatriculation AS VO_IMMAT, "
                 "[InfoMarque], [InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, "
                 "DateOrdre AS VO_ORDRE, Immatriculation") +
         kTail +
         "TVehiclesClarum Where (Concession='LYO') and ((Immatriculation like '%AB%')) ORDER "
         "BY Immatriculation, DateOrdre desc"},
    {"ClientName", Criteria(5, "DUP"),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((CliNom like '%DUP%')) ORDER BY CliNom, CliPreNom, idClient "
         "desc"},
    {"EmptyClientNameFindsNothing", Criteria(5, ""),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((false)) ORDER BY CliNom, CliPreNom, idClient desc"},
    {"ClientNameWithFirstName",
     With(Criteria(5, "DUPONT"),
          [](SearchCriteria& c) {
              c.withFirstName = true;
              c.firstName = "Jean";
          }),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((CliNom like '%DUPONT%') and (CliPreNom like '%Jean%')) ORDER "
         "BY CliNom, CliPreNom, idClient desc"},
    {"Mobile", Criteria(6, "0612"),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((CliMobile like '%0612%')) ORDER BY CliMobile, idClient desc"},
    {"EmptyMobileFindsNothing", Criteria(6, ""),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((false)) ORDER BY CliMobile, idClient desc"},
    {"Telephone", Criteria(7, "0478"),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((CliTelDom like '%0478%')) ORDER BY CliTelDom, idClient desc"},
    {"EmptyTelephoneFindsNothing", Criteria(7, ""),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((false)) ORDER BY CliTelDom, idClient desc"},
    {"FamilyBeforeSite",
     With(Criteria(1, "AB"),
          [](SearchCriteria& c) {
              c.familyPosition = 2;
              c.site = "LYON-SUD";
          }),
     Vehicles("Immatriculation",
              "(Concession='LYO') and ((TypeVO=2) and (isnull(StatutVD)) and (SITE='LYON-SUD') "
              "and (Immatriculation like '%AB%'))",
              "Immatriculation, DateOrdre desc")},
    {"UsedFamily", With(Criteria(3, "5"), [](SearchCriteria& c) { c.familyPosition = 1; }),
     Vehicles("NVO", "(Concession='LYO') and ((TypeVO=1) and (NVO>=5))",
              "NVO, DateOrdre desc")},
    {"DemonstrationFamily", With(Criteria(2, "X"), [](SearchCriteria& c) { c.familyPosition = 3; }),
     Vehicles("Acheteur",
              "(Concession='LYO') and ((TypeVO=2) and (not isnull(StatutVD)) and (Acheteur like "
              "'%X%'))",
              "Acheteur, DateOrdre desc")},
    {"AllFamiliesAtPositionZero",
     With(Criteria(1, "AB"), [](SearchCriteria& c) { c.familyPosition = 0; }),
     Vehicles("Immatriculation", "(Concession='LYO') and ((Immatriculation like '%AB%'))",
              "Immatriculation, DateOrdre desc")},
    {"ClientKindsIgnoreSiteAndFamily",
     With(Criteria(6, "06"),
          [](SearchCriteria& c) {
              c.familyPosition = 1;
              c.site = "LYON-SUD";
          }),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((CliMobile like '%06%')) ORDER BY CliMobile, idClient desc"},
    {"ExactName", With(Criteria(5, "DUPONT"), [](SearchCriteria& c) { c.exact = true; }),
     std::string(kClientColumns) +
         "(Concession='LYO') and ((CliNom = 'DUPONT')) ORDER BY CliNom, CliPreNom, idClient desc"},
    {"ExactDropsWildcardsAndKeepsALikeOfTheText",
     With(Criteria(2, "ALIKE%"), [](SearchCriteria& c) { c.exact = true; }),
     Vehicles("Acheteur", "(Concession='LYO') and ((Acheteur = 'ALIKE'))",
              "Acheteur, DateOrdre desc")},
    {"ExactNumberUnchanged", With(Criteria(3, "12"), [](SearchCriteria& c) { c.exact = true; }),
     Vehicles("NVO", "(Concession='LYO') and ((NVO>=12))", "NVO, DateOrdre desc")},
    {"PresetReplacesCriteriaWithoutWhereAndAlias",
     With(Criteria(1, "ignored"),
          [](SearchCriteria& c) {
              c.preset = true;
              c.site = "LYON-SUD";
              c.presetClause = "where vo.TypeVO=1 AND VO.Site='LYON-NORD'";
          }),
     Vehicles("Immatriculation", "(Concession='LYO') and ( TypeVO=1 AND Site='LYON-NORD')",
              "Immatriculation, DateOrdre desc")},
    {"GroupUserSearchesEveryDealership",
     With(Criteria(1, "AB"), [](SearchCriteria& c) { c.userConcession = "QUINTAR"; }),
     Vehicles("Immatriculation", "(Immatriculation like '%AB%')",
              "Immatriculation, DateOrdre desc")},
    {"QuintarIsCaseSensitive",
     With(Criteria(3, "1"), [](SearchCriteria& c) { c.userConcession = "quintar"; }),
     Vehicles("NVO", "(Concession='quintar') and ((NVO>=1))", "NVO, DateOrdre desc")},
};

INSTANTIATE_TEST_SUITE_P(Kinds, SearchQueryTest, ::testing::ValuesIn(kCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(SearchQuerySent, WildcardsAmpersandAndPlusArePercentEncoded) {
    const struct {
        const char* text;
        const char* condition;
    } cases[] = {
        {"AB%", "((Immatriculation%20like%20'%25AB%25%25'))"},
        {"R&D", "((Immatriculation%20like%20'%25R%26D%25'))"},
        {"A+B", "((Immatriculation%20like%20'%25A%2BB%25'))"},
    };
    for (const auto& c : cases) {
        std::string sent = BuildSearchQuery(Criteria(1, c.text)).sent;
        // Blanks are the exchange's business; here only what the query itself encodes.
        std::string blanks;
        for (char ch : sent) blanks += ch == ' ' ? std::string("%20") : std::string(1, ch);
        EXPECT_NE(blanks.find(c.condition), std::string::npos) << c.text << ": " << sent;
    }
}

TEST(SearchQueryKinds, TheEnabledButtonChoosesTheKind) {
    EXPECT_EQ(SearchKindFromButtons(true, true, false, false, false), 3);
    EXPECT_EQ(SearchKindFromButtons(true, false, true, false, false), 1);
    EXPECT_EQ(SearchKindFromButtons(true, false, false, true, false), 2);
    EXPECT_EQ(SearchKindFromButtons(false, false, true, false, false), 4);
    EXPECT_EQ(SearchKindFromButtons(false, false, false, true, false), 5);
    EXPECT_EQ(SearchKindFromButtons(false, false, false, false, true), 6);
    EXPECT_EQ(SearchKindFromButtons(false, false, false, false, false), 7);
}

TEST(SearchQueryText, LineBreaksAndTabsAreRemoved) {
    EXPECT_EQ(CleanSearchText("AB\r\n-1\t2"), "AB-12");
}

}  // namespace
}  // namespace tarmel
