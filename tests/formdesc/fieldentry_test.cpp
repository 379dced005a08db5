// Reading field, page and grid column entries of the structure description.
#include "formdesc/fieldentry.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

// Reads the field entries of a small description in order, with one reader (one run).
std::vector<FieldEntry> ReadAll(const std::string& entries) {
    TXml doc("<axStructS>" + entries + "</axStructS>");
    XmlFind(doc, "axStructS");
    FieldEntryReader reader;
    std::vector<FieldEntry> out;
    while (XmlNext(doc, "axStruct") > 0) out.push_back(reader.Read(doc));
    return out;
}

TEST(FieldEntry, PixelsFromTwips) {
    const struct {
        int twips, pixels;
    } cases[] = {{0, 0}, {7, 0}, {8, 1}, {15, 1}, {22, 1}, {23, 2}, {1500, 100}, {-22, -1}};
    for (const auto& c : cases) EXPECT_EQ(PixelsFromTwips(c.twips), c.pixels) << c.twips;
}

TEST(FieldEntry, AbsentPlacementTakesItsDefaults) {
    const auto fields = ReadAll("<axStruct><descInfo>P</descInfo><vInfo>A</vInfo></axStruct>");
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].place.width, 1);
    EXPECT_EQ(fields[0].place.left, 1);
    EXPECT_EQ(fields[0].place.top, -34);
    EXPECT_EQ(fields[0].place.height, 18);
    EXPECT_EQ(fields[0].desc.rightsTag, ";;") << "an empty tag: nobody may edit";
    EXPECT_EQ(fields[0].desc.controlKind, 0);
}

TEST(FieldEntry, ChildrenAndConversions) {
    const auto fields = ReadAll(
        "<axStruct><vInfo>PrixVente;PV</vInfo><txtInfo>Prix &amp;lt; &amp;amp; TTC</txtInfo>"
        "<tag>compta;svo</tag><defval>0</defval><idNum>1002</idNum><width>1500</width>"
        "<left>1395</left><top>1200</top><height>150</height><length>12</length><tInfo>5</tInfo>"
        "<tControl>109</tControl><color>-16777211</color><notNull>True</notNull>"
        "<enabled>2</enabled><fieldInfo></fieldInfo></axStruct>");
    ASSERT_EQ(fields.size(), 1u);
    const FieldEntry& f = fields[0];
    EXPECT_EQ(f.desc.columnName, "PrixVente");
    EXPECT_EQ(f.desc.readName, "PV");
    EXPECT_EQ(f.desc.caption, "Prix < &amp; TTC") << "entities decoded one after the other";
    EXPECT_EQ(f.desc.rightsTag, ";COMPTA;SVO;");
    EXPECT_TRUE(f.desc.mandatory);
    EXPECT_EQ(f.desc.dataType, datatype::Decimal);
    EXPECT_EQ(f.desc.controlKind, kind::Text);
    EXPECT_EQ(f.desc.fontColour, 0xFF000005u);
    EXPECT_EQ(f.place.idNum, 1002);
    EXPECT_EQ(f.place.width, 100);
    EXPECT_EQ(f.desc.width, 100);
    EXPECT_EQ(f.place.left, 93);
    EXPECT_EQ(f.place.top, 45);
    EXPECT_EQ(f.place.height, 18) << "raised to 18";
    EXPECT_EQ(f.place.length, 12);
    EXPECT_EQ(f.place.enabledCode, 2);
    EXPECT_EQ(f.desc.defaultValue, "0");
}

TEST(FieldEntry, AbsentChildrenCarryOverExceptVInfo) {
    const auto fields = ReadAll(
        "<axStruct><vInfo>A</vInfo><width>300</width><tag>SVO</tag><tControl>111</tControl>"
        "<length>x12</length></axStruct>"
        "<axStruct><txtInfo>B</txtInfo></axStruct>");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].place.length, 0) << "not a decimal integer: default";
    EXPECT_EQ(fields[1].desc.columnName, "") << "vInfo never carries over";
    EXPECT_EQ(fields[1].place.width, 20);
    EXPECT_EQ(fields[1].desc.rightsTag, ";SVO;");
    EXPECT_EQ(fields[1].desc.controlKind, kind::ComboText);
}

// One axStruct entry from "child:text" pairs.
std::string Entry(std::initializer_list<std::pair<const char*, const char*>> children) {
    std::string out = "<axStruct>";
    for (const auto& [name, text] : children)
        out += std::string("<") + name + ">" + text + "</" + name + ">";
    return out + "</axStruct>";
}

TEST(FieldEntries, AbsentChildCarriesFromTheLastEntryOfThePageBefore) {
    const TXml doc("<axStructS>" +
                   Entry({{"descInfo", "_TVO"}, {"idNum", "1"}, {"vInfo", "VO1"}}) +
                   Entry({{"descInfo", "_TVO"}, {"idNum", "2"}, {"vInfo", "VO2"}}) +
                   Entry({{"descInfo", "VO1"}, {"vInfo", "Marque"}, {"width", "1500"},
                          {"tag", "svo"}, {"tControl", "111"}}) +
                   Entry({{"descInfo", "VO1"}, {"vInfo", "Modele"}, {"width", "300"},
                          {"tag", "compta"}, {"notNull", "true"}}) +
                   Entry({{"descInfo", "VO2"}, {"vInfo", "Prix"}, {"txtInfo", "Prix"}}) +
                   "</axStructS>");
    const FieldEntriesByKey pages = ReadFieldEntries(doc, {"VO1", "VO2"});
    ASSERT_EQ(pages.at("VO1").size(), 2u);
    ASSERT_EQ(pages.at("VO2").size(), 1u);
    const FieldEntry& first = pages.at("VO2")[0];
    EXPECT_EQ(first.desc.columnName, "Prix");
    EXPECT_EQ(first.place.width, 20) << "300 twips from the last entry of page 1";
    EXPECT_EQ(first.desc.rightsTag, ";COMPTA;");
    EXPECT_TRUE(first.desc.mandatory);
    EXPECT_EQ(first.desc.controlKind, 111) << "carried through both entries of page 1";
    EXPECT_EQ(pages.at("VO1")[1].desc.controlKind, 111);
}

TEST(FieldEntries, CarryFollowsDocumentOrderAndOnlyReadEntries) {
    const TXml doc("<axStructS>" +
                   Entry({{"descInfo", "VO2"}, {"vInfo", "A"}, {"width", "150"}}) +
                   Entry({{"descInfo", "VO1"}, {"vInfo", "B"}, {"width", "300"}}) +
                   // Not field entries of the pages read: a page entry, a grid column and a field
                   // of another record kind's page.
                   Entry({{"descInfo", "_TVO"}, {"idNum", "3"}, {"vInfo", "VO3"},
                          {"width", "900"}}) +
                   Entry({{"descInfo", "gFrev"}, {"vInfo", "MontantHT"}, {"width", "600"}}) +
                   Entry({{"descInfo", "VN1"}, {"vInfo", "C"}, {"width", "450"}}) +
                   Entry({{"descInfo", "VO2"}, {"vInfo", "D"}}) +
                   // No descInfo: of the page of the entry before it.
                   Entry({{"vInfo", "E"}, {"width", "750"}}) +
                   Entry({{"descInfo", "VO1"}, {"vInfo", "F"}}) + "</axStructS>");
    const FieldEntriesByKey pages = ReadFieldEntries(doc, {"VO1", "VO2", "VO9"});
    ASSERT_EQ(pages.at("VO2").size(), 3u);
    ASSERT_EQ(pages.at("VO1").size(), 2u);
    EXPECT_TRUE(pages.at("VO9").empty()) << "a key without entries is still listed";
    EXPECT_EQ(pages.count("VN1"), 0u);
    EXPECT_EQ(pages.at("VO2")[1].desc.columnName, "D");
    EXPECT_EQ(pages.at("VO2")[1].place.width, 20) << "from B, page 1, read just before";
    EXPECT_EQ(pages.at("VO2")[2].desc.columnName, "E");
    EXPECT_EQ(pages.at("VO1")[1].desc.columnName, "F");
    EXPECT_EQ(pages.at("VO1")[1].place.width, 50) << "from E, page 2, read just before";
}

TEST(FieldEntry, ListReference) {
    const struct {
        const char* fieldInfo;
        const char* column;
        const char* name;
        const char* key;
        const char* rubric;
    } cases[] = {
        {"A;B", "Col", "A", "B", "A"},
        {"", "Col", "Col", "Col", "Col"},
        {"LISTCouleurs", "Col", "Col", "Col", "LISTCouleurs"},
        {"listx", "Col", "Col", "Col", "listx"},
        {"LIST;K", "Col", "LIST", "K", "LIST"},
        {"Energie", "Col", "Energie", "Col", "Energie"},
    };
    for (const auto& c : cases) {
        const ListReference r = ListReferenceOf(c.fieldInfo, c.column);
        EXPECT_EQ(r.listName, c.name) << c.fieldInfo;
        EXPECT_EQ(r.listKey, c.key) << c.fieldInfo;
        EXPECT_EQ(r.rubric, c.rubric) << c.fieldInfo;
    }
}

TEST(FieldEntry, ColoursAndIntegers) {
    EXPECT_EQ(ColourOr("4278190091", 0), 0xFF00000Bu);
    EXPECT_EQ(ColourOr("-16777205", 0), 0xFF00000Bu);
    EXPECT_EQ(ColourOr("255", 0), 255u);
    EXPECT_EQ(ColourOr("red", 7), 7u);
    EXPECT_EQ(IntegerOr("+3", 0), 3);
    EXPECT_EQ(IntegerOr("-12", 0), -12);
    EXPECT_EQ(IntegerOr("", 20), 20);
    EXPECT_EQ(IntegerOr("1 2", 20), 20);
    EXPECT_EQ(IntegerOr("99999999999", 20), 20);
}

TEST(PageEntries, FirstMatchOfKindAndNumber) {
    const TXml doc(
        "<axStructS>"
        "<axStruct><descInfo>_TVO</descInfo><idNum>0</idNum><vInfo>VO0</vInfo><tag>tVehicles</tag>"
        "<defval></defval><txtInfo></txtInfo></axStruct>"
        "<axStruct><descInfo>_TVN</descInfo><idNum>1</idNum><vInfo>VN1</vInfo><tag>x</tag>"
        "<defval>cVN</defval><txtInfo>Véhicule</txtInfo></axStruct>"
        "<axStruct><descInfo>_TVO</descInfo><idNum>1</idNum><vInfo>VO1</vInfo><tag>y</tag>"
        "<defval>c</defval><txtInfo>Fiche</txtInfo></axStruct>"
        "<axStruct><descInfo>_TVO</descInfo><idNum>1</idNum><vInfo>VO1bis</vInfo></axStruct>"
        "</axStructS>");
    const PageEntry page = FindPageEntry(doc, "_TVO", 1);
    EXPECT_TRUE(page.found);
    EXPECT_EQ(page.fieldKey, "VO1");
    EXPECT_EQ(page.caption, "Fiche");
    EXPECT_EQ(page.prefix, "c");
    EXPECT_EQ(page.tableTag, "y");
    EXPECT_EQ(FindPageEntry(doc, "_TVO", 0).tableTag, "tVehicles");
    EXPECT_FALSE(FindPageEntry(doc, "_TVO", 2).found);
    EXPECT_FALSE(FindPageEntry(doc, "_TCL", 1).found);
}

TEST(GridColumns, TakesEntriesOfTheGridUpToItsWidth) {
    std::string entries;
    for (int i = 1; i <= 9; ++i) {
        entries += "<axStruct><descInfo>gFrev</descInfo><vInfo>c" + std::to_string(i) +
                   "</vInfo><tag>" + (i == 2 ? "compta" : "") + "</tag><width>" +
                   std::to_string(i * 10) + "</width><txtInfo>T&amp;C</txtInfo></axStruct>";
        if (i == 3) entries += "<axStruct><descInfo>gAct</descInfo><vInfo>a</vInfo></axStruct>";
    }
    const auto columns = GridColumns(TXml("<axStructS>" + entries + "</axStructS>"), "gFrev", 8);
    ASSERT_EQ(columns.size(), 8u);
    EXPECT_EQ(columns[0].element, "c1");
    EXPECT_EQ(columns[0].rightsTag, "") << "an empty tag stays empty for grid columns";
    EXPECT_EQ(columns[1].rightsTag, ";COMPTA;");
    EXPECT_EQ(columns[3].element, "c4") << "the actions entry is skipped";
    EXPECT_EQ(columns[7].width, 80);
    EXPECT_EQ(columns[7].caption, "T&C");
}

}  // namespace
}  // namespace tarmel
