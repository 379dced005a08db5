// A search answer read into grid rows: references, images, addresses, names, the count label.
#include <gtest/gtest.h>

#include "search/searchresults.h"
#include "server/xml/texttools.h"

namespace tarmel {
namespace {

std::string Rowset(const std::string& rowCount, const std::string& eof, const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><AXQueryS RowCount=\"" + rowCount +
           "\" EOF=\"" + eof + "\">" + items + "</AXQueryS>";
}

std::string Vehicle(const std::string& type, const std::string& statutVD, const std::string& site,
                    const std::string& concession, const std::string& buyer) {
    return "<AXQuery><TypeVO>" + type + "</TypeVO><VO_ID>77</VO_ID><StatutVD>" + statutVD +
           "</StatutVD><VO_NO>123</VO_NO><VO_IMMAT>AB-123-CD</VO_IMMAT><InfoMarque>PEUGEOT"
           "</InfoMarque><InfoModele>308</InfoModele><VO_BUYER>" + buyer +
           "</VO_BUYER><VO_ORDRE>03/02/2025</VO_ORDRE><VO_SITE>" + site +
           "</VO_SITE><Concession>" + concession + "</Concession></AXQuery>";
}

std::string Client(const std::string& address2) {
    return "<AXQuery><TypeVO>-1</TypeVO><VO_ID>9</VO_ID><VO_NO>9</VO_NO><CliMobile>0612345678"
           "</CliMobile><CliCP>69003</CliCP><CliVille>LYON</CliVille><CliAdresse1>3 rue Garibaldi"
           "</CliAdresse1><CliAdresse2>" + address2 + "</CliAdresse2><CliNom>Dupont</CliNom>"
           "<CliPrenom>Jean</CliPrenom><CliTelDom>0478000000</CliTelDom><VO_SITE>LYON-SUD"
           "</VO_SITE><Concession>LYO</Concession></AXQuery>";
}

SearchRow Only(const std::string& items, int kind, const std::string& userSite = "LYON-SUD") {
    const SearchAnswer a = ReadSearchAnswer(TXml(Rowset("1", "1", items)), kind, "LYO", userSite);
    EXPECT_EQ(a.rows.size(), 1u);
    return a.rows.empty() ? SearchRow{} : a.rows.front();
}

TEST(SearchResults, ReferenceCarriesFamilySiteLettersAndNumber) {
    const struct {
        const char* type;
        const char* statutVD;
        const char* site;
        int kind;
        const char* reference;
    } cases[] = {
        {"1", "", "PARIS", 1, "VO-Ps-123"},
        {"2", "", "PARIS", 2, "VN-Ps-123"},
        {"2", "Démo", "PARIS", 3, "VD-Ps-123"},
        {"1", "Démo", "LYON-SUD", 1, "VD-Ld-123"},  // a demonstration status wins
        {"3", "", "PARIS", 1, "VD-Ps-123"},
        {"1", "", "PARIS", 4, "Ps-123"},  // client vehicles carry no family
        {"1", "", "", 1, "VO--123"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Only(Vehicle(c.type, Latin1FromUtf8(c.statutVD), c.site, "LYO", "x"), c.kind)
                      .info[0],
                  c.reference)
            << c.type << c.statutVD << c.site << c.kind;
    }
}

TEST(SearchResults, ImageTellsDealershipAndSite) {
    EXPECT_EQ(Only(Vehicle("1", "", "LYON-SUD", "GRE", "x"), 1).image, kOtherDealership);
    EXPECT_EQ(Only(Vehicle("1", "", "LYON-SUD", "LYO", "x"), 1, "lyon-sud;lyon-nord").image,
              kOwnSite);
    EXPECT_EQ(Only(Vehicle("1", "", "VILLEURBANNE", "LYO", "x"), 1, "LYON-SUD").image, kOtherSite);
    EXPECT_EQ(Only(Vehicle("1", "", "VILLEURBANNE", "LYO", "x"), 1, "#").image, kOwnSite);
}

TEST(SearchResults, VehicleRowColumns) {
    const SearchRow row = Only(Vehicle("1", "", "PARIS", "LYO", "Martin"), 1);
    EXPECT_EQ(row.id, "77");
    EXPECT_EQ(row.info[1], "03/02/2025");
    EXPECT_EQ(row.info[2], "AB-123-CD");
    EXPECT_EQ(row.info[3], "PEUGEOT 308");
    EXPECT_EQ(row.info[4], "MARTIN");
    // No buyer and no client name selected: a single space.
    EXPECT_EQ(Only(Vehicle("1", "", "PARIS", "LYO", ""), 1).info[4], " ");
}

TEST(SearchResults, ClientRowJoinsTheAddressLinesThatExist) {
    const SearchRow row = Only(Client(""), 5);
    EXPECT_EQ(row.info[0], "Ld-9");
    EXPECT_EQ(row.info[1], "0478000000");
    EXPECT_EQ(row.info[2], "0612345678");
    EXPECT_EQ(row.info[3], "69003 LYON - 3 rue Garibaldi");
    EXPECT_EQ(row.info[4], "DUPONT JEAN");
    EXPECT_EQ(Only(Client(Latin1FromUtf8("Bât. B")), 6).info[3],
              "69003 LYON - 3 rue Garibaldi - " + Latin1FromUtf8("Bât. B"));
}

TEST(SearchResults, CountLabelAndMoreRows) {
    const SearchAnswer more = ReadSearchAnswer(TXml(Rowset("50", "0", "")), 1, "LYO", "#");
    EXPECT_EQ(SearchCountLabel(more), "50 premiers enregistrements");
    EXPECT_TRUE(SearchPlusVisible(more, 1));
    EXPECT_FALSE(SearchPlusVisible(more, 3));  // a number search asks for no more
    const SearchAnswer all = ReadSearchAnswer(TXml(Rowset("3", "1", "")), 1, "LYO", "#");
    EXPECT_EQ(SearchCountLabel(all), "3" + Latin1FromUtf8(" enregistrements trouvés"));
    EXPECT_FALSE(SearchPlusVisible(all, 1));
}

TEST(SearchResults, LayoutFollowsTheKind) {
    const struct {
        int kind;
        int column;
        const char* header3;
        SearchSort sort3;
    } cases[] = {
        {1, 4, "D.Ordre", SearchSort::Date}, {2, 6, "D.Ordre", SearchSort::Date},
        {3, 2, "D.Ordre", SearchSort::Date}, {4, 4, "D.Ordre", SearchSort::Date},
        {5, 6, "Tél.Dom.", SearchSort::Text}, {6, 4, "Tél.Dom.", SearchSort::Text},
        {7, 3, "Tél.Dom.", SearchSort::Text},
    };
    for (const auto& c : cases) {
        const SearchGridLayout layout = SearchLayoutFor(c.kind);
        EXPECT_EQ(layout.searchColumn, c.column) << c.kind;
        EXPECT_EQ(layout.sortedColumn, c.column) << c.kind;
        EXPECT_EQ(layout.headers[3], Latin1FromUtf8(c.header3)) << c.kind;
        EXPECT_EQ(layout.sorts[3], c.sort3) << c.kind;
    }
}

TEST(SearchResults, NavigationAtTheEnds) {
    const struct {
        int row, count;
        bool prev, next;
    } cases[] = {{0, 3, false, true}, {1, 3, true, true}, {2, 3, true, false},
                 {0, 1, false, false}, {-1, 3, false, true}, {-1, 0, false, false}};
    for (const auto& c : cases) {
        const ControlPlan plan = SearchNavigationPlan(c.row, c.count);
        EXPECT_EQ(plan.Find("JvXPPrev")->enabled, c.prev) << c.row << "/" << c.count;
        EXPECT_EQ(plan.Find("JvXPNext")->enabled, c.next) << c.row << "/" << c.count;
    }
}

}  // namespace
}  // namespace tarmel
