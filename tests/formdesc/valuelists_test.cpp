// Choosing, filling and selecting value lists from the equipment document.
#include "formdesc/valuelists.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

const TXml& Equip() {
    static const TXml equip(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><AxInfoEquip>"
        "<ParsS>"
        "<Pars><type>Energie</type><text>Essence</text></Pars>"
        "<Pars><type>Energie</type><text>Diesel</text></Pars>"
        "<Pars><type>Genre</type><text>..</text></Pars>"
        "<Pars><type>Genre</type><text>VP</text></Pars>"
        "<Pars><type>Genre</type><text>VU</text></Pars>"
        "<Pars><type>Genre</type><text>CTTE</text></Pars>"
        "<Pars><type>ModeTVA</type><text>TVA sur marge</text></Pars>"
        "<Pars><type>ModeTVA</type><text>TVA normale</text></Pars>"
        "<Pars><type>BOOLEAN</type><text>Non</text></Pars>"
        "<Pars><type>BOOLEAN</type><text>Oui</text></Pars>"
        "<Pars><type>Origine</type><text>EX : Export &amp;amp; d&#233;p&#244;t</text></Pars>"
        "<Pars><type>Origine</type><text>RE : Reprise</text></Pars>"
        "<Pars><type>SujetAction</type><text>Relance</text></Pars>"
        "<Pars><type>SujetAction</type><text>Essai</text></Pars>"
        "<Pars><type>Energie</type><text>Electrique</text></Pars>"
        "<Pars><type>Memo</type><text>a&amp;cr;b</text></Pars>"
        "</ParsS>"
        "<InfoComS>"
        "<InfoCom><idCom>12</idCom><cNom>Martin Paul</cNom><Site>LYON;VILLEURBANNE</Site></InfoCom>"
        "<InfoCom><idCom>13</idCom><cNom>Durand Léa</cNom><Site>Lyon</Site></InfoCom>"
        "<InfoCom><idCom>14</idCom><cNom>Petit Hugo</cNom><Site>GRENOBLE</Site></InfoCom>"
        "</InfoComS>"
        "<MarksS><Marks><vMark>PEUGEOT</vMark></Marks><Marks><vMark>RENAULT</vMark></Marks></MarksS>"
        "<ModelsS>"
        "<Models><vMark>PEUGEOT</vMark><vModel>208</vModel></Models>"
        "<Models><vMark>PEUGEOT</vMark><vModel>2008</vModel></Models>"
        "<Models><vMark>RENAULT</vMark><vModel>Clio</vModel></Models>"
        "<Models><vMark>PEUGEOT</vMark><vModel>308</vModel></Models>"
        "</ModelsS>"
        "<VNMarksS><VNMarks><vnMark>VW</vnMark></VNMarks><VNMarks><vnMark>AUDI</vnMark></VNMarks>"
        "</VNMarksS>"
        "<VNModelsS>"
        "<VNModels><vnMark>VW</vnMark><vnModel>Golf</vnModel></VNModels>"
        "<VNModels><vnMark>VW</vnMark><vnModel>Polo</vnModel></VNModels>"
        "<VNModels><vnMark>AUDI</vnMark><vnModel>A3</vnModel></VNModels>"
        "</VNModelsS>"
        "<VNVersionsS>"
        "<VNVersions><vnModel>GOLF</vnModel><vnVers>Life</vnVers></VNVersions>"
        "<VNVersions><vnModel>Golf </vnModel><vnVers>Style</vnVers></VNVersions>"
        "</VNVersionsS>"
        "<InfoSiteS>"
        "<InfoSite><Site>Lyon</Site><Marques>AUDI;SKODA</Marques><MontantFraisDossier>250.00"
        "</MontantFraisDossier></InfoSite>"
        "</InfoSiteS>"
        "<cVNInfoOptionsS>"
        "<cVNInfoOptions><Abbr>TO</Abbr><eText>Toit ouvrant</eText></cVNInfoOptions>"
        "<cVNInfoOptions><Abbr>GPS</Abbr><eText>Navigation</eText></cVNInfoOptions>"
        "<cVNInfoOptions><Abbr>JA</Abbr><eText>Jantes alu</eText></cVNInfoOptions>"
        "</cVNInfoOptionsS>"
        "</AxInfoEquip>");
    return equip;
}

TEST(ValueLists, ParameterListIsTheFirstRunOnly) {
    const auto energy = ParameterList(Equip(), "energie");
    ASSERT_TRUE(energy);
    EXPECT_EQ(*energy, (std::vector<std::string>{"Essence", "Diesel"}));
    EXPECT_FALSE(ParameterList(Equip(), "Couleur"));
    EXPECT_EQ(ParameterList(Equip(), "Memo")->front(), "a&cr;b");
    EXPECT_EQ(ParameterList(Equip(), "Memo", true)->front(), "a\r\nb");
    EXPECT_EQ(ParameterList(Equip(), "Origine")->front(), "EX : Export &amp; d&#233;p&#244;t");
}

struct ComboCase {
    const char* name;
    int kind, type;
    const char* column;
    const char* key;
    const char* value;
    const char* recordKind;
    std::vector<std::string> items;
    int selected;
    const char* valueAfter;
};

TEST(ValueLists, ComboFiller) {
    const std::vector<std::string> genre = {"", "VP", "VU", "CTTE"};
    const ComboCase cases[] = {
        {"text combo: listed", kind::ComboText, datatype::Text,
         "Energie", "Energie", "diesel", "_TVO", {"Essence", "Diesel"}, 1, "diesel"},
        {"text combo: unknown value appended", kind::ComboText, datatype::Text,
         "Energie", "Energie", "GPL", "_TVO", {"Essence", "Diesel", "GPL"}, 2, "GPL"},
        {"text combo: empty value appended", kind::ComboText, datatype::Text,
         "Energie", "Energie", "", "_TVO", {"Essence", "Diesel", ""}, 2, ""},
        {"text combo: empty value, empty first", kind::ComboText, datatype::Text,
         "Genre", "Genre", "", "_TVO", genre, 0, ""},
        {"position combo: position 3 after an empty first", kind::ComboPosition, datatype::Integer,
         "Genre", "Genre", "3", "_TVO", genre, 3, "3"},
        {"position combo: position 2 without empty first", kind::ComboPosition, datatype::Integer,
         "Energie", "Energie", "2", "_TVO", {"Essence", "Diesel"}, 1, "2"},
        {"position combo: unknown position selects nothing", kind::ComboPosition,
         datatype::Integer, "Energie", "Energie", "9", "_TVO", {"Essence", "Diesel"}, -1, "9"},
        {"ModeTVA 0 becomes 1", kind::ComboPosition, datatype::Integer,
         "ModeTVA", "ModeTVA", "0", "_TVO", {"TVA sur marge", "TVA normale"}, 0, "1"},
        {"ModeTVA empty becomes 1", kind::ComboPosition, datatype::Integer,
         "ModeTVA", "ModeTVA", "", "_TVO", {"TVA sur marge", "TVA normale"}, 0, "1"},
        {"boolean true", kind::ComboText, datatype::Boolean,
         "Garantie", "Garantie", "tRUE", "_TVO", {"Non", "Oui"}, 1, "tRUE"},
        {"boolean other", kind::ComboText, datatype::Boolean,
         "Garantie", "Garantie", "False", "_TVO", {"Non", "Oui"}, 0, "False"},
        {"boolean empty", kind::ComboText, datatype::Boolean,
         "Garantie", "Garantie", "", "_TVO", {"Non", "Oui"}, 0, ""},
        {"code before the label", kind::ComboText, datatype::Text,
         "Origine", "Origine", "ex", "_TVO", {"EX : Export &amp; d&#233;p&#244;t", "RE : Reprise"},
         0, "ex"},
        {"makes of used vehicles", kind::ComboText, datatype::Text,
         "InfoMarque", "InfoMarque", "renault", "_TVO", {"PEUGEOT", "RENAULT"}, 1, "renault"},
        {"makes of new vehicles", kind::ComboText, datatype::Text,
         "InfoMarque", "InfoMarque", "VW", "_TVD", {"VW", "AUDI"}, 0, "VW"},
        {"trade-in make of a new vehicle", kind::ComboText, datatype::Text,
         "ReprMarque", "InfoMarque", "PEUGEOT", "_TVN", {"PEUGEOT", "RENAULT"}, 0, "PEUGEOT"},
    };
    for (const auto& c : cases) {
        CascadeMemory memory;
        const ComboFill fill = FillCombo(
            Equip(), {c.kind, c.type, c.column, c.key, c.value, c.recordKind, "LYON"}, memory);
        EXPECT_EQ(fill.items, c.items) << c.name;
        EXPECT_EQ(fill.selected, c.selected) << c.name;
        EXPECT_EQ(fill.value, c.valueAfter) << c.name;
    }
}

TEST(ValueLists, MakeThenModelThenVersionFollowOneAnother) {
    CascadeMemory memory;
    FillCombo(Equip(),
              {kind::ComboText, datatype::Text, "InfoMarque", "InfoMarque", "Peugeot", "_TVO", ""},
              memory);
    const ComboFill models = FillCombo(
        Equip(), {kind::ComboText, datatype::Text, "InfoModele", "InfoModele", "2008", "_TVO", ""},
        memory);
    EXPECT_EQ(models.items, (std::vector<std::string>{"208", "2008"})) << "first run of the make";
    EXPECT_EQ(models.selected, 1);

    CascadeMemory vn;
    FillCombo(Equip(),
              {kind::ComboText, datatype::Text, "InfoMarque", "InfoMarque", "VW", "_TVN", ""}, vn);
    const ComboFill vnModels = FillCombo(
        Equip(), {kind::ComboText, datatype::Text, "InfoModele", "InfoModele", "golf", "_TVN", ""},
        vn);
    EXPECT_EQ(vnModels.items, (std::vector<std::string>{"Golf", "Polo"}));
    const ComboFill versions =
        FillCombo(Equip(),
                  {kind::ComboText, datatype::Text, "InfoTypeVersion", "InfoTypeVersion", "Life",
                   "_TVN", ""},
                  vn);
    EXPECT_EQ(versions.items, (std::vector<std::string>{"Life"}))
        << "keys are not trimmed here: \"Golf \" ends the run";
}

TEST(ValueLists, StaffListsFollowTheRecordSite) {
    CascadeMemory memory;
    const ComboFill staff = FillCombo(
        Equip(), {kind::ComboPosition, datatype::Integer, "idCom", "idCom", "13", "_TVO", "LYON"},
        memory);
    EXPECT_EQ(staff.items, (std::vector<std::string>{"Martin Paul", "Durand Léa"}));
    EXPECT_EQ(staff.selected, 1);
    EXPECT_TRUE(StaffOfSite(Equip(), "").empty()) << "an empty site matches nobody";
    EXPECT_EQ(StaffName(Equip(), "99"), "");
    EXPECT_EQ(GetInfoComboBoxIdCom(Equip(), "InfoCom", "Petit Hugo"), "14");
    EXPECT_EQ(GetInfoComboBoxIdCom(Equip(), "InfoCom", "Nobody"), "0");
    EXPECT_EQ(GetInfoComboBoxIdCom(Equip(), "SujetRelance", "Essai"), "2");
    EXPECT_EQ(GetInfoComboBoxIdCom(Equip(), "Energie", "essence"), "0") << "exact comparison";
}

TEST(ValueLists, KeyedRunForDependentCombos) {
    EXPECT_EQ(*KeyedRun(Equip(), "VNVersions", "vnModel", "vnVers", " golf ", true),
              (std::vector<std::string>{"Life", "Style"}));
    EXPECT_FALSE(KeyedRun(Equip(), "Models", "vMark", "vModel", "TESLA", true))
        << "a make absent from the models leaves the model combo as it was";
}

TEST(ValueLists, SiteMakesAndPurchaseWishModels) {
    EXPECT_EQ(SiteMakes(Equip(), "LYON"), "AUDI;SKODA");
    EXPECT_EQ(SiteMakes(Equip(), "Lyon"), "VW") << "the site text is compared as typed";
    EXPECT_EQ(SiteMakes(Equip(), "PARIS"), "VW");

    const ListBoxFill inSite = SiteModels(Equip(), "AUDI;SKODA", true, ";A3;");
    EXPECT_EQ(inSite.items, (std::vector<std::string>{"A3"}));
    EXPECT_EQ(inSite.codes, ";A3");
    EXPECT_EQ(inSite.selected, (std::vector<bool>{true}));
    const ListBoxFill unknownSite = SiteModels(Equip(), SiteMakes(Equip(), "NOWHERE"), false, "");
    EXPECT_EQ(unknownSite.items, (std::vector<std::string>{"A3"})) << "makes of an unknown site: VW";
    const ListBoxFill choice1 = FillListBox(Equip(), "PAChoix1", ";golf;", "VW");
    EXPECT_EQ(choice1.items, (std::vector<std::string>{"Golf", "Polo"}));
    EXPECT_EQ(choice1.codes, ";GOLF;POLO");
    EXPECT_EQ(choice1.selected, (std::vector<bool>{true, false}));
}

TEST(ValueLists, OptionListBox) {
    const ListBoxFill fill = FillListBox(Equip(), "cVNInfoOptions", ";to;JA;", "");
    EXPECT_EQ(fill.items, (std::vector<std::string>{"Toit ouvrant", "Navigation", "Jantes alu"}));
    EXPECT_EQ(fill.codes, ";TO;GPS;JA");
    EXPECT_EQ(fill.selected, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(fill.joined, "Toit ouvrant - Jantes alu");
    EXPECT_TRUE(FillListBox(Equip(), "Absent", ";X;", "").items.empty());
}

TEST(ValueLists, VersionMemoFollowsModelAndType) {
    const struct {
        const char* memo;
        const char* last;
        const char* model;
        const char* expected;
    } models[] = {
        {"208 ACTIVE", "208", "2008", "2008 ACTIVE"},
        {"active 208 gt", "208", "308", "active 308 gt"},
        {"  ACTIVE ", "208", "2008", "2008 ACTIVE"},
        {"ACTIVE", "", "clio", "CLIO ACTIVE"},
    };
    for (const auto& c : models)
        EXPECT_EQ(MergeModelIntoVersion(c.memo, c.last, c.model), c.expected) << c.memo;
    EXPECT_EQ(MergeTypeIntoVersion("GOLF LIFE", "life", "Style"), "GOLF STYLE");
    EXPECT_EQ(MergeTypeIntoVersion(" GOLF ", "", "Style"), "GOLF STYLE");
}

}  // namespace
}  // namespace tarmel
