// The documents built from the demo, read the way the client reads them (the TXml substring
// reader): the structure description against the window's inventory, the value lists every field
// asks for, list maintenance reaching the lists, and the record documents of a vehicle and a
// client.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "dataserver/documents/documents.h"
#include "dataserver/sqlite/sqlitesession.h"
#include "formdesc/fieldkinds.h"
#include "inventory/inventory.h"
#include "server/xml/texttools.h"
#include "server/xml/txml.h"
#include "tests/dataserverdemo/support.h"
#include "tests/support/scratchdir.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {
namespace {

using tarmel::dataserver::QueryParams;
using tarmel::dataserver::SqlSession;

// The builders read through a session; this one lends the test's SQLite connection for one call.
struct On {
    explicit On(sqlite3* db) : session(db) {}
    operator SqlSession&() { return session; }
    tarmel::dataserver::SqliteSession session;
};
using Entry = std::map<std::string, std::string>;

const char* const kStructChildren[] = {"descInfo", "idNum", "txtInfo", "vInfo", "tag",
                                       "defval", "width", "left", "top", "height", "length",
                                       "tInfo", "tControl", "color", "notNull", "enabled",
                                       "fieldInfo"};

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return s;
}

// Every item of a list, each as its children (only those named).
std::vector<Entry> Items(const std::string& doc, const std::string& container,
                         const std::string& item, const std::vector<std::string>& children) {
    TXml r(doc);
    XmlFind(r, container);
    std::vector<Entry> out;
    while (XmlNext(r, item)) {
        Entry e;
        for (const std::string& c : children) {
            std::string v = "\x01";  // the reader leaves a missing child's destination alone
            XmlValue(r, c, v);
            e[c] = v;
        }
        out.push_back(e);
    }
    return out;
}

std::vector<Entry> StructEntries(const std::string& doc) {
    return Items(doc, "axStructS", "axStruct",
                 std::vector<std::string>(std::begin(kStructChildren), std::end(kStructChildren)));
}

int Px(const std::string& twips) { return static_cast<int>(std::lround(std::stoi(twips) / 15.0)); }

bool IsDataControl(inventory::Kind k) {
    using inventory::Kind;
    return k == Kind::Edit || k == Kind::NumberEdit || k == Kind::DatePicker ||
           k == Kind::Combo || k == Kind::Memo || k == Kind::ListBox;
}

// The document of a builder that must not fail.
std::string Doc(const tarmel::dataserver::BuiltDocument& built) {
    EXPECT_EQ(built.error, "");
    return built.document;
}

std::string Doc(tarmel::dataserver::BuiltDocument (*build)(SqlSession&, const QueryParams&),
                const QueryParams& params) {
    return Doc(build(On(SharedDemo().db), params));
}

TEST(StructureDocument, PlacesEveryFieldWhereTheInventoryPlacesItsControl) {
    const std::string doc = Doc(tarmel::dataserver::BuildStructDocument, {{"UserConcession", "LYO"}});
    EXPECT_EQ(XmlProblems(doc), "");
    const auto entries = StructEntries(doc);
    ASSERT_GT(entries.size(), 200u);

    struct Page {
        int number;
        std::string prefix;
    };
    std::map<std::string, Page> pages;  // by field key
    std::map<std::string, std::set<int>> numbersByKind;
    for (const Entry& e : entries) {
        for (const char* child : kStructChildren) {
            ASSERT_NE(e.at(child), "\x01") << "entry without " << child;
        }
        const std::string& d = e.at("descInfo");
        if (d == "_TVO" || d == "_TVD" || d == "_TVN" || d == "_TCL") {
            pages[e.at("vInfo")] = {std::stoi(e.at("idNum")), e.at("defval")};
            numbersByKind[d].insert(std::stoi(e.at("idNum")));
        }
    }
    // Every kind has its record-level entry and its own tab page.
    EXPECT_EQ(numbersByKind["_TVO"], (std::set<int>{0, 1, 4, 5, 6}));
    EXPECT_EQ(numbersByKind["_TVD"], (std::set<int>{0, 2, 4, 6}));
    EXPECT_EQ(numbersByKind["_TVN"], (std::set<int>{0, 3, 4, 6}));
    EXPECT_EQ(numbersByKind["_TCL"], (std::set<int>{0, 7, 8, 9}));

    std::set<std::string> described;
    std::map<std::string, bool> boundSeen;
    for (const Entry& e : entries) {
        auto page = pages.find(e.at("descInfo"));
        if (page == pages.end()) continue;
        const std::string name = page->second.prefix + e.at("vInfo");
        const inventory::Entry* control = inventory::Find(name);
        if (std::stoi(e.at("width")) == 0) {
            // A hidden key field: at the head of its page, with no control to find.
            EXPECT_FALSE(boundSeen[e.at("descInfo")]) << name << " after a bound field";
            EXPECT_EQ(control, nullptr) << name;
            EXPECT_EQ(e.at("enabled"), "3");
            continue;
        }
        boundSeen[e.at("descInfo")] = true;
        ASSERT_NE(control, nullptr) << name << " is not a control of the window";
        const bool panel = std::stoi(e.at("idNum")) >= 1000;
        EXPECT_EQ(control->parent, panel ? std::string("PanelCompta")
                                         : "Sheet0" + std::to_string(page->second.number))
            << name;
        EXPECT_EQ(Px(e.at("left")), control->left) << name;
        EXPECT_EQ(Px(e.at("top")) - 35, control->top) << name;
        EXPECT_EQ(Px(e.at("width")), control->width) << name;
        EXPECT_EQ(std::max(Px(e.at("height")), 18), std::max(control->height, 18)) << name;
        EXPECT_TRUE(described.insert(name).second) << name << " described twice";
    }
    for (const auto& [key, page] : pages) {
        if (page.number > 0) {
            EXPECT_TRUE(boundSeen.count(key) || key == "pgPhotos") << key;
        }
    }
    // Every data control of the tab pages is described, except these, which hold no record
    // data (the photo folder, the grid's date editor, the photo memo).
    const std::set<std::string> leftOut = {"cTxtPathImage", "aNxDatePickerGrid", "Memo"};
    for (const inventory::Entry& c : inventory::Controls()) {
        const std::string parent = c.parent;
        if (!IsDataControl(c.kind)) continue;
        if (parent.rfind("Sheet0", 0) != 0 && parent != "PanelCompta") continue;
        EXPECT_EQ(described.count(c.name) == 1, leftOut.count(c.name) == 0) << c.name;
    }
}

// Rough width of a Latin-1 caption in the window's 11-pixel font: narrow signs count half.
double CaptionPx(const std::string& latin1) {
    double units = 0;
    for (char c : latin1) units += std::string_view(" .,:;'()ilI|!").find(c) == std::string_view::npos ? 1.0 : 0.5;
    return units * 6.0;
}

TEST(StructureDocument, EveryLabelFitsBeforeItsControl) {
    const auto entries = StructEntries(Doc(tarmel::dataserver::BuildStructDocument, {}));
    std::map<std::string, std::string> prefixOf;
    for (const Entry& e : entries) {
        if (e.at("descInfo")[0] == '_') prefixOf[e.at("vInfo")] = e.at("defval");
    }
    int checked = 0;
    for (const Entry& e : entries) {
        auto prefix = prefixOf.find(e.at("descInfo"));
        const int kind = std::stoi(e.at("tControl"));
        if (prefix == prefixOf.end() || e.at("width") == "0" || e.at("txtInfo").empty()) continue;
        // Labels above, or none.
        if (kind == kind::ListBox || kind == kind::Placed || kind == kind::Button) continue;
        // Where the tab builder puts the label of a control at L.
        const int left = Px(e.at("left"));
        const int labelLeft = left <= 93 ? 5 : left <= 400 ? left - 48 : left - 22;
        EXPECT_LE(CaptionPx(e.at("txtInfo")), left - labelLeft)
            << prefix->second + e.at("vInfo") << " \"" << Utf8FromLatin1(e.at("txtInfo")) << "\"";
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

TEST(StructureDocument, DescribesTheGridsAndSpeaksFrench) {
    const auto entries = StructEntries(Doc(tarmel::dataserver::BuildStructDocument, {}));
    std::vector<std::string> frevo, actions;
    for (const Entry& e : entries) {
        if (e.at("descInfo") == "gFrev") frevo.push_back(e.at("vInfo"));
        if (e.at("descInfo") == "gAct") actions.push_back(e.at("vInfo"));
    }
    // The grid columns in the window's column order (the icon column has no entry).
    std::vector<std::string> frevoColumns, actionColumns;
    for (const inventory::Entry& c : inventory::Controls()) {
        if (c.kind != inventory::Kind::GridColumn) continue;
        const std::string grid = c.parent;
        if (grid == "ngFrevo" && std::string(c.name) != "IconColumn") frevoColumns.push_back(c.name);
        if (grid == "ngAction" && c.column != inventory::Column::Image &&
            c.column != inventory::Column::Button) {
            actionColumns.push_back(c.name);
        }
    }
    EXPECT_EQ(frevo, frevoColumns);
    EXPECT_EQ(actions, actionColumns);
    EXPECT_EQ(frevo.size(), 8u);
    EXPECT_EQ(actions.size(), 10u);

    // Captions travel as Latin-1 bytes; "&" would travel as "&amp;".
    std::map<std::string, std::string> captions;
    for (const Entry& e : entries) captions[e.at("descInfo") + "/" + e.at("vInfo")] = e.at("txtInfo");
    EXPECT_EQ(captions["_TVO/pgEquip"], "\xC9quipements");
    EXPECT_EQ(captions["_TCL/pgProjet"], "Projet d'achat");
    EXPECT_EQ(captions["pgVO/KMS"], "Kilom\xE9trage");
    EXPECT_EQ(captions["gFrev/LibelleFrevo"], "Libell\xE9");
    // Record-level entries name the table every page writes to; the refurbishment page the
    // table of its lines.
    std::map<std::string, std::string> tags;
    for (const Entry& e : entries) tags[e.at("descInfo") + "/" + e.at("idNum")] = e.at("tag");
    EXPECT_EQ(tags["_TVO/0"], "tVehicles");
    EXPECT_EQ(tags["_TCL/0"], "tClients");
    EXPECT_EQ(tags["_TVO/5"], "tVO - Frevo");
}

TEST(StructureDocument, EveryDescribedColumnIsAColumnOfTheTableItsPageWrites) {
    sqlite3* db = SharedDemo().db;
    const auto entries = StructEntries(Doc(tarmel::dataserver::BuildStructDocument, {}));
    auto columnsOf = [&](const std::string& table) {
        std::set<std::string> names;
        const std::string dump = Dump(db, "SELECT lower(name) FROM pragma_table_info('" + table + "')");
        for (size_t start = 0; start < dump.size();) {
            const size_t end = dump.find("|\n", start);
            names.insert(dump.substr(start, end - start));
            start = end + 2;
        }
        return names;
    };
    // Page 8 writes the client's vehicles, the client pages the client, every other page the
    // vehicle; the grid lines go to their own tables.
    const std::map<std::string, std::string> tableOf = {
        {"pgVO", "tVehicles"},     {"pgVD", "tVehicles"},    {"pgVN", "tVehicles"},
        {"pgEquip", "tVehicles"},  {"pgFrevo", "tVehicles"}, {"pgPhotos", "tVehicles"},
        {"pgClient", "tClients"},  {"pgProjet", "tClients"}, {"pgVehicles", "TVehiclesClarum"},
        {"gFrev", "tVO - Frevo"},  {"gAct", "tActions"}};
    int checked = 0;
    for (const Entry& e : entries) {
        auto table = tableOf.find(e.at("descInfo"));
        if (table == tableOf.end()) continue;
        const std::string column = e.at("vInfo").substr(0, e.at("vInfo").find(';'));
        std::string lower = column;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(columnsOf(table->second).count(lower)) << table->second << "." << column;
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST(StructureDocument, ADealershipWithItsOwnDescriptionGetsItTheOthersTheGroups) {
    ScratchDir dir;
    tarmel::dataserver::DemoOptions options;
    options.vehicles = 2;
    options.clients = 2;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(BuildDemo(dir.str(), "own", options, false).c_str(), &db), SQLITE_OK);
    // Grenoble's own form: the group's, with the client page captioned differently.
    ASSERT_EQ(sqlite3_exec(db,
                           "INSERT INTO tStructure SELECT 'DAU', Position, descInfo, idNum, "
                           "CASE WHEN vInfo='pgClient' THEN 'Fiche client' ELSE txtInfo END, vInfo, "
                           "tag, defval, xWidth, xLeft, xTop, xHeight, xLength, tInfo, tControl, "
                           "color, xNotNull, enabled, fieldInfo FROM tStructure WHERE Concession='*'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    auto clientCaption = [&](const char* concession) {
        for (const Entry& e : StructEntries(Doc(tarmel::dataserver::BuildStructDocument(
                 On(db), {{"UserConcession", concession}})))) {
            if (e.at("descInfo") == "_TCL" && e.at("idNum") == "7") return e.at("txtInfo");
        }
        return std::string();
    };
    EXPECT_EQ(clientCaption("DAU"), "Fiche client");
    EXPECT_EQ(clientCaption("LYO"), "Client");
    EXPECT_EQ(clientCaption("QUINTAR"), "Client");
    EXPECT_EQ(StructEntries(Doc(tarmel::dataserver::BuildStructDocument(
                                On(db), {{"UserConcession", "DAU"}})))
                  .size(),
              StructEntries(Doc(tarmel::dataserver::BuildStructDocument(On(db), {}))).size());
    sqlite3_close(db);
}

// The list key of a field entry, as the client derives it.
std::string ListKeyOf(const Entry& e) {
    const std::string column = e.at("vInfo").substr(0, e.at("vInfo").find(';'));
    std::string name = e.at("fieldInfo").empty() ? column : e.at("fieldInfo");
    std::string key = column;
    if (name.find(';') != std::string::npos) key = name.substr(name.find(';') + 1);
    return key;
}

// The first run of parameter entries of a type (upper-cased comparison), as the client takes it.
std::vector<std::string> ParameterRun(const std::string& equip, const std::string& type) {
    std::vector<std::string> run;
    bool inRun = false;
    for (const Entry& p : Items(equip, "ParsS", "Pars", {"type", "text"})) {
        if (Upper(p.at("type")) == Upper(type)) {
            inRun = true;
            run.push_back(p.at("text"));
        } else if (inRun) {
            break;
        }
    }
    return run;
}

TEST(EquipmentDocument, HoldsEveryListTheFieldsAndGridsAskFor) {
    for (const char* concession : {"LYO", "DAU", "QUINTAR"}) {
        SCOPED_TRACE(concession);
        const std::string equip =
            Doc(tarmel::dataserver::BuildEquipDocument, {{"UserConcession", concession}});
        EXPECT_EQ(XmlProblems(equip), "");
        const auto entries = StructEntries(Doc(tarmel::dataserver::BuildStructDocument,
                                               {{"UserConcession", concession}}));
        std::set<std::string> fieldKeys;
        for (const Entry& e : entries) {
            if (e.at("descInfo")[0] == '_') fieldKeys.insert(e.at("vInfo"));
        }
        auto count = [&](const char* container, const char* item, const char* child) {
            return Items(equip, container, item, {child}).size();
        };
        for (const Entry& e : entries) {
            if (!fieldKeys.count(e.at("descInfo"))) continue;
            const int kind = std::stoi(e.at("tControl"));
            const int type = std::stoi(e.at("tInfo"));
            const std::string key = Upper(ListKeyOf(e));
            SCOPED_TRACE(e.at("descInfo") + "/" + e.at("vInfo") + " list " + key);
            if (kind == kind::ListBox) {
                if (key == "PACHOIX1" || key == "PACHOIX2") {
                    EXPECT_GT(count("VNModelsS", "VNModels", "vnModel"), 0u);
                } else {
                    const std::string k = ListKeyOf(e);
                    EXPECT_GT(Items(equip, k + "S", k, {"Abbr", "eText"}).size(), 0u);
                }
            } else if (kind == kind::ComboText || kind == kind::ComboPosition ||
                       type == datatype::Boolean) {
                if (type == datatype::Boolean && kind != kind::ComboPosition) {
                    EXPECT_EQ(ParameterRun(equip, "BOOLEAN").size(), 2u);
                } else if (key == "INFOTYPEVERSION") {
                    EXPECT_GT(count("VNVersionsS", "VNVersions", "vnVers"), 0u);
                } else if (key == "INFOMODELE") {
                    EXPECT_GT(count("ModelsS", "Models", "vModel"), 0u);
                    EXPECT_GT(count("VNModelsS", "VNModels", "vnModel"), 0u);
                } else if (key == "INFOMARQUE") {
                    EXPECT_GT(count("MarksS", "Marks", "vMark"), 0u);
                    EXPECT_GT(count("VNMarksS", "VNMarks", "vnMark"), 0u);
                } else if (key == "IDCOM") {
                    EXPECT_GT(count("InfoComS", "InfoCom", "cNom"), 0u);
                } else {
                    EXPECT_GT(ParameterRun(equip, key).size(), 0u);
                }
            }
        }
        // The lists the grids, the search panel, the calculations and the fixed fee read.
        for (const char* list : {"BOOLEAN", "ModeTVA", "TypeFinancementDelai", "TypeFrevo",
                                 "LibFrevo", "Fournisseur", "TypeAction", "SujetAction",
                                 "PrioriteRelance", "TVTypeVO", "Site"}) {
            EXPECT_GT(ParameterRun(equip, list).size(), 0u) << list;
        }
        EXPECT_GT(count("InfoSiteS", "InfoSite", "MontantFraisDossier"), 0u);
        // A list stands in one run: a second run would never be offered.
        std::set<std::string> closed;
        std::string current;
        for (const Entry& p : Items(equip, "ParsS", "Pars", {"type"})) {
            const std::string t = Upper(p.at("type"));
            if (t == current) continue;
            EXPECT_TRUE(closed.insert(current).second || current.empty()) << current;
            EXPECT_EQ(closed.count(t), 0u) << t << " split in two runs";
            current = t;
        }
        // Keyed lists stand together by key, as the cascades read them.
        for (const auto& [container, item, child] :
             {std::tuple{"ModelsS", "Models", "vMark"}, std::tuple{"VNModelsS", "VNModels", "vnMark"},
              std::tuple{"VNVersionsS", "VNVersions", "vnModel"}}) {
            std::set<std::string> done;
            std::string last;
            for (const Entry& m : Items(equip, container, item, {child})) {
                if (m.at(child) == last) continue;
                EXPECT_TRUE(done.insert(m.at(child)).second) << container << " " << m.at(child);
                last = m.at(child);
            }
        }
    }
}

TEST(EquipmentDocument, EachDealershipSeesItsSitesStaffAndCatalogue) {
    const std::string lyo = Doc(tarmel::dataserver::BuildEquipDocument, {{"UserConcession", "LYO"}});
    const std::string group =
        Doc(tarmel::dataserver::BuildEquipDocument, {{"UserConcession", "QUINTAR"}});
    EXPECT_EQ(ParameterRun(lyo, "Site"), (std::vector<std::string>{"LYON-SUD", "VILLEFRANCHE"}));
    EXPECT_EQ(ParameterRun(group, "Site").size(), 4u);
    const auto sites = Items(lyo, "InfoSiteS", "InfoSite", {"Site", "Marques", "MontantFraisDossier"});
    ASSERT_EQ(sites.size(), 2u);
    EXPECT_EQ(sites[0].at("Site"), "LYON-SUD");
    EXPECT_EQ(sites[0].at("MontantFraisDossier"), "290.00");
    EXPECT_NE(sites[0].at("Marques").find("VOLKSWAGEN"), std::string::npos);
    std::set<std::string> staff;
    for (const Entry& s : Items(lyo, "InfoComS", "InfoCom", {"cNom", "Site", "idCom"})) {
        staff.insert(s.at("cNom"));
        EXPECT_NE(s.at("idCom"), "\x01");
    }
    EXPECT_TRUE(staff.count("\xC9milie Garnier"));  // Latin-1 byte for byte
    EXPECT_FALSE(staff.count("Thomas Roux"));       // of the other dealership
    // Lyon does not sell SEAT; its new-vehicle makes are its own. Text escaped as entities.
    std::set<std::string> makes;
    for (const Entry& m : Items(lyo, "VNMarksS", "VNMarks", {"vnMark"})) makes.insert(m.at("vnMark"));
    EXPECT_EQ(makes, (std::set<std::string>{"AUDI", "SKODA", "VOLKSWAGEN"}));
    EXPECT_NE(lyo.find("<vnVers>L&amp;K</vnVers>"), std::string::npos);
    const auto options = Items(lyo, "InfoOptionsS", "InfoOptions", {"Abbr", "eText"});
    ASSERT_FALSE(options.empty());
    EXPECT_EQ(options[0].at("Abbr"), "TOE");
    EXPECT_EQ(options[0].at("eText"), "Toit ouvrant \xE9lectrique");
}

TEST(EquipmentDocument, ListMaintenanceChangesWhatTheClientSees) {
    ScratchDir dir;
    tarmel::dataserver::DemoOptions options;
    options.vehicles = 5;
    options.clients = 5;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(BuildDemo(dir.str(), "lists", options, false).c_str(), &db), SQLITE_OK);
    // The statements list maintenance sends, as they reach the database.
    for (const std::string& sql :
         {Latin1FromUtf8(
              "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, RubricText) "
              "Values ('Carrosserie', 0, '..' ,'Coupé 2+2')"),
          std::string("DELETE FROM ListModels where VMarque='RENAULT' and VModele='CLIO'"),
          std::string("Insert into ListModels (VMarque, VModele) Values ('RENAULT', 'ZOE')"),
          std::string("Insert into ListVersions (VMarque, VModele, VVersion, VConcession) "
                      "Values ('VOLKSWAGEN', 'GOLF', 'Match', 'LYO')")}) {
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    const std::string lyo =
        Doc(tarmel::dataserver::BuildEquipDocument(On(db), {{"UserConcession", "LYO"}}));
    const std::string dau =
        Doc(tarmel::dataserver::BuildEquipDocument(On(db), {{"UserConcession", "DAU"}}));
    const auto bodies = ParameterRun(lyo, "Carrosserie");
    ASSERT_GT(bodies.size(), 2u);
    EXPECT_EQ(bodies.front(), "..");
    EXPECT_EQ(bodies.back(), "Coup\xE9 2+2");  // added at the end: positions stay put
    std::vector<std::string> renault;
    for (const Entry& m : Items(lyo, "ModelsS", "Models", {"vMark", "vModel"})) {
        if (m.at("vMark") == "RENAULT") renault.push_back(m.at("vModel"));
    }
    EXPECT_EQ(std::count(renault.begin(), renault.end(), "CLIO"), 0);
    EXPECT_EQ(std::count(renault.begin(), renault.end(), "ZOE"), 1);
    auto golfTrims = [](const std::string& equip) {
        std::vector<std::string> trims;
        for (const Entry& v : Items(equip, "VNVersionsS", "VNVersions", {"vnModel", "vnVers"})) {
            if (v.at("vnModel") == "GOLF") trims.push_back(v.at("vnVers"));
        }
        return trims;
    };
    EXPECT_EQ(golfTrims(lyo).back(), "Match");
    const auto dauTrims = golfTrims(dau);
    EXPECT_EQ(std::count(dauTrims.begin(), dauTrims.end(), "Match"), 0);
    sqlite3_close(db);
}

// The content of the record element, read as the client reads it.
TXml RecordOf(const std::string& doc, const char* element) {
    TXml r(doc);
    XmlFind(r, element);
    return r;
}

std::string ValueOf(const TXml& r, const char* name) {
    std::string v = "\x01";
    XmlValue(r, name, v);
    return v;
}

std::vector<std::string> ColumnsOf(sqlite3* db, const std::string& table) {
    std::vector<std::string> names;
    const std::string dump = Dump(db, "SELECT name FROM pragma_table_info('" + table + "')");
    for (size_t start = 0; start < dump.size();) {
        const size_t end = dump.find("|\n", start);
        names.push_back(dump.substr(start, end - start));
        start = end + 2;
    }
    return names;
}

TEST(VehicleDocument, CarriesTheUserTheRecordAndItsLists) {
    sqlite3* db = SharedDemo().db;
    const int64_t idVO = ScalarInt(db, "SELECT idVO FROM tVehicles v WHERE TypeVO=1 AND EXISTS "
                                       "(SELECT 1 FROM [tVO - Liens Images] i WHERE i.idVO=v.idVO) "
                                       "ORDER BY idVO LIMIT 1");
    const std::string idTVO = std::to_string(
        ScalarInt(db, "SELECT idTVO FROM tVehicles WHERE idVO=" + std::to_string(idVO)));
    const std::string doc = Doc(tarmel::dataserver::BuildVehicleDocument(
        On(db), {{"XMLC_OutputFormat", "XML"}, {"idTVO", idTVO}, {"UserID", "3"}, {"idClient", ""}},
        "10/12/2026"));
    EXPECT_EQ(XmlProblems(doc), "");
    EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr);  // every statement finalized

    TXml user = RecordOf(doc, "User");
    EXPECT_EQ(ValueOf(user, "UserConcession"), "LYO");
    EXPECT_EQ(ValueOf(user, "UserSite"), "LYON-SUD;VILLEFRANCHE");
    EXPECT_EQ(ValueOf(user, "Name_"), "Marc Girard");
    EXPECT_EQ(ValueOf(user, "US1"), "VILLEFRANCHE");
    std::vector<std::string> groups;
    TXml names(doc);
    XmlFind(names, "GNames");
    while (XmlNext(names, "GName")) groups.emplace_back(names.currentElement());
    EXPECT_EQ(groups, (std::vector<std::string>{"RVO", "SVO", "CLARUM"}));
    TXml dates = RecordOf(doc, "OptDates");
    EXPECT_EQ(ValueOf(dates, "Opt_LimiteDateDeb"), "01/01/2023");
    EXPECT_EQ(ValueOf(dates, "Opt_LimiteDateDebFrevo"), "01/01/2025");
    EXPECT_EQ(ValueOf(dates, "Now"), "10/12/2026");

    TXml record = RecordOf(doc, "tVO");
    EXPECT_EQ(ValueOf(record, "idVO"), std::to_string(idVO));
    EXPECT_EQ(ValueOf(record, "idtVO"), idTVO);
    EXPECT_EQ(ValueOf(record, "TypeVO"), "1");
    EXPECT_EQ(ValueOf(record, "Concession"),
              ScalarText(db, "SELECT Concession FROM tVehicles WHERE idVO=" + std::to_string(idVO)));
    // Every column of the row is a child, empty ones as a start and a closing tag.
    const std::string content(record.currentElement());
    for (const std::string& column : ColumnsOf(db, "tVehicles")) {
        EXPECT_NE(content.find("<" + column + ">"), std::string::npos) << column;
    }
    EXPECT_NE(content.find("<DateAnnulation></DateAnnulation>"), std::string::npos);
    const std::string iso = ScalarText(db, "SELECT DateEntree FROM tVehicles WHERE idVO=" +
                                               std::to_string(idVO));
    EXPECT_EQ(ValueOf(record, "DateEntree"), iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" +
                                                 iso.substr(0, 4));
    const std::string price = ValueOf(record, "PrixVente");
    ASSERT_GT(price.size(), 3u);
    EXPECT_EQ(price[price.size() - 3], '.');
    const std::string flag = ValueOf(record, "FlagPrepaEsthetique");
    EXPECT_TRUE(flag == "True" || flag == "False") << flag;

    const auto images = Items(doc, "ImageS", "Image", {"NomImage", "NumImage", "DateImage"});
    EXPECT_EQ(static_cast<int64_t>(images.size()),
              ScalarInt(db, "SELECT count(*) FROM [tVO - Liens Images] WHERE idVO=" +
                                std::to_string(idVO)));
    ASSERT_FALSE(images.empty());
    EXPECT_EQ(images[0].at("NumImage"), "1");
    EXPECT_EQ(images[0].at("NomImage"), ValueOf(record, "NomImage"));
    const auto lines = Items(doc, "FrevoS", "Frevo",
                             {"idFrevo", "DateFrevo", "LibelleFrevo", "NComptable", "NomFournisseur",
                              "NFacture", "TypeFrevo", "MontantHT"});
    EXPECT_EQ(static_cast<int64_t>(lines.size()),
              ScalarInt(db, "SELECT count(*) FROM [tVO - Frevo] WHERE idVO=" + std::to_string(idVO)));
    for (const Entry& l : lines) {
        for (const auto& [name, value] : l) EXPECT_NE(value, "\x01") << name;
        EXPECT_EQ(l.at("DateFrevo").size(), 10u);
        EXPECT_EQ(l.at("MontantHT")[l.at("MontantHT").size() - 3], '.');
    }
}

TEST(VehicleDocument, ReservationsTextsAndNewRecords) {
    sqlite3* db = SharedDemo().db;
    const std::string reserved = std::to_string(ScalarInt(
        db, "SELECT v.idTVO FROM tVehicles v JOIN tReservations r USING (idVO) LIMIT 1"));
    const std::string doc = Doc(tarmel::dataserver::BuildVehicleDocument(
        On(db), {{"idTVO", reserved}, {"UserID", "4"}}, "10/12/2026"));
    const auto resa = Items(doc, "ResaS", "Resa", {"DResaMax", "Vendeur", "Acheteur", "Commentaire"});
    ASSERT_EQ(resa.size(), 1u);
    EXPECT_EQ(resa[0].at("DResaMax").size(), 10u);
    EXPECT_EQ(resa[0].at("DResaMax")[2], '/');
    EXPECT_NE(resa[0].at("Commentaire"), "\x01");

    // Line breaks travel as "&cr;", ampersands as "&amp;", accents as Latin-1 bytes.
    const std::string commented = std::to_string(ScalarInt(
        db, "SELECT idTVO FROM tVehicles WHERE Commentaires LIKE '%&%' LIMIT 1"));
    const std::string withText = Doc(tarmel::dataserver::BuildVehicleDocument(
        On(db), {{"idTVO", commented}, {"UserID", "1"}}, "10/12/2026"));
    EXPECT_EQ(ValueOf(RecordOf(withText, "tVO"), "Commentaires"),
              "V\xE9hicule r\xE9vis\xE9, carnet \xE0 jour.&cr;Disponible de suite &amp; garanti.");
    EXPECT_EQ(XmlProblems(withText), "");

    // A new vehicle, an unknown user: every block is there, empty.
    for (const char* id : {"0", "-1", "999999999", "abc"}) {
        const std::string empty = Doc(tarmel::dataserver::BuildVehicleDocument(
            On(db), {{"idTVO", id}, {"UserID", "77"}}, "10/12/2026"));
        EXPECT_EQ(XmlProblems(empty), "") << id;
        EXPECT_NE(empty.find("<tVO></tVO>"), std::string::npos) << id;
        EXPECT_NE(empty.find("<ImageS></ImageS>"), std::string::npos) << id;
        EXPECT_NE(empty.find("<FrevoS></FrevoS>"), std::string::npos) << id;
        EXPECT_EQ(ValueOf(RecordOf(empty, "User"), "UserConcession"), "");
        EXPECT_EQ(empty.find("<GName>"), std::string::npos);
    }
    EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr);
}

TEST(ClientDocument, CarriesTheClientItsActionsAndVehicles) {
    sqlite3* db = SharedDemo().db;
    const int64_t id = ScalarInt(db, "SELECT idClient FROM tClients c WHERE (SELECT count(*) FROM "
                                     "tActions a WHERE a.idClient=c.idClient) >= 2 AND EXISTS (SELECT 1 "
                                     "FROM TVehiclesClarum t WHERE t.idClient=c.idClient) LIMIT 1");
    ASSERT_GT(id, 0);
    const std::string idText = std::to_string(id);
    const std::string doc = Doc(tarmel::dataserver::BuildClientDocument(
        On(db), {{"XMLC_OutputFormat", "XML"}, {"UserID", "9"}, {"idClient", idText}},
        "10/12/2026"));
    EXPECT_EQ(XmlProblems(doc), "");
    EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr);
    TXml record = RecordOf(doc, "TVC");
    EXPECT_EQ(ValueOf(record, "idClient"), idText);
    EXPECT_EQ(ValueOf(record, "CliNom"), ScalarText(db, "SELECT CliNom FROM tClients WHERE idClient=" + idText));
    const std::string content(record.currentElement());
    for (const std::string& column : ColumnsOf(db, "tClients")) {
        EXPECT_NE(content.find("<" + column + ">"), std::string::npos) << column;
    }
    std::vector<std::string> actionColumns = ColumnsOf(db, "tActions");
    const auto actions = Items(doc, "TActS", "TAct", actionColumns);
    EXPECT_EQ(static_cast<int64_t>(actions.size()),
              ScalarInt(db, "SELECT count(*) FROM tActions WHERE idClient=" + idText));
    for (size_t i = 0; i < actions.size(); ++i) {
        for (const auto& [name, value] : actions[i]) EXPECT_NE(value, "\x01") << name;
        if (i > 0) {  // newest first
            const std::string a = actions[i - 1].at("DateAction"), b = actions[i].at("DateAction");
            EXPECT_GE(a.substr(6) + a.substr(3, 2) + a.substr(0, 2), b.substr(6) + b.substr(3, 2) + b.substr(0, 2));
        }
    }
    const auto cars = Items(doc, "TVehS", "TVeh",
                            {"idtVO", "idTVO", "Immatriculation", "InfoMarque", "InfoModele", "InfoVersion"});
    EXPECT_EQ(static_cast<int64_t>(cars.size()),
              ScalarInt(db, "SELECT count(*) FROM TVehiclesClarum WHERE idClient=" + idText));
    for (const Entry& c : cars) {
        EXPECT_EQ(c.at("idtVO"), c.at("idTVO"));
        for (const auto& [name, value] : c) EXPECT_NE(value, "\x01") << name;
    }
    // GNames of the loyalty user, an unknown client gives an empty record element.
    EXPECT_NE(doc.find("<GNames><GName>CLARUM</GName></GNames>"), std::string::npos);
    const std::string none = Doc(tarmel::dataserver::BuildClientDocument(
        On(db), {{"UserID", "9"}, {"idClient", "-1"}}, "10/12/2026"));
    EXPECT_NE(none.find("<TVC></TVC><TActS></TActS><TVehS></TVehS>"), std::string::npos);
}

// A read that fails anywhere in a builder (the first statement, a helper's, the last list, a
// step rather than a preparation) stops it with SQLite's message, no document, and every
// statement finalized.
TEST(Documents, AFailedReadIsTheBuildersAnswer) {
    using tarmel::dataserver::BuiltDocument;
    ScratchDir dir;
    tarmel::dataserver::DemoOptions options;
    options.vehicles = 5;
    options.clients = 5;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(BuildDemo(dir.str(), "faults", options, false).c_str(), &db), SQLITE_OK);
    const std::string client = ScalarText(db, "SELECT idClient FROM tActions LIMIT 1");
    ASSERT_FALSE(client.empty());
    // The client's actions now fail while they are read: abs() of the smallest integer.
    ASSERT_EQ(sqlite3_exec(db,
                           "DROP TABLE tStructure; DROP TABLE tOptionLists; "
                           "DROP TABLE [tVO - Frevo]; ALTER TABLE tActions RENAME TO tActionsKept; "
                           "CREATE VIEW tActions AS SELECT *, abs(-9223372036854775807 - 1) AS boom "
                           "FROM tActionsKept",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    struct Case {
        const char* builder;
        std::function<BuiltDocument()> build;
        const char* error;
    };
    const Case cases[] = {
        {"structure",
         [&] {
             return tarmel::dataserver::BuildStructDocument(On(db), {{"UserConcession", "LYO"}});
         },
         "no such table: tStructure"},
        {"lists",
         [&] {
             return tarmel::dataserver::BuildEquipDocument(On(db), {{"UserConcession", "LYO"}});
         },
         "no such table: tOptionLists"},
        {"vehicle",
         [&] {
             return tarmel::dataserver::BuildVehicleDocument(On(db),
                                                             {{"idTVO", "0"}, {"UserID", "3"}},
                                                             "10/12/2026");
         },
         "no such table: tVO - Frevo"},
        {"client",
         [&] {
             return tarmel::dataserver::BuildClientDocument(
                 On(db), {{"idClient", client}, {"UserID", "9"}}, "10/12/2026");
         },
         "integer overflow"},
    };
    for (const Case& c : cases) {
        const BuiltDocument built = c.build();
        EXPECT_NE(built.error.find(c.error), std::string::npos) << c.builder << ": " << built.error;
        EXPECT_EQ(built.document, "") << c.builder;
        EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr) << c.builder;
    }
    sqlite3_close(db);
}

}  // namespace
}  // namespace tarmel::testsupport
