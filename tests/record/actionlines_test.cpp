// The client actions: the lines of the client document, the list texts, a new action's values
// and the checks of its dates.
#include "sublists/actionlines.h"

#include <gtest/gtest.h>

#include <map>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

TsLine Template() {
    std::vector<GridColumn> columns(10);
    const char* names[] = {"idAction",     "DateAction",        "idCom",       "TypeAction",
                           "SujetAction",  "CommentaireAction", "DateRelance", "idComRelance",
                           "SujetRelance", "PrioriteRelance"};
    for (size_t k = 0; k < columns.size(); ++k) {
        columns[k].element = names[k];
        columns[k].rightsTag = k == 0 ? "" : ";CLARUM;";
    }
    columns[1].defaultValue = "now";
    columns[3].defaultValue = "1";
    columns[9].defaultValue = "2";
    return MakeActionTemplate(columns);
}

TEST(ActionLines, ListColumnsShowTheirTexts) {
    const StaffNameOf staff = [](std::string_view id) {
        return id == "12" ? std::string("Dupont") : std::string();
    };
    const std::vector<std::string> items = {"Appel", "Visite", "Courrier"};
    struct Case {
        int column;
        const char* value;
        std::optional<std::string> text;
    } cases[] = {
        {3, "12", "Dupont"},
        {8, "99", ""},
        {4, "2", "Visite"},
        {4, "", "Appel"},
        {4, "abc", "Appel"},
        {4, "0", std::nullopt},
        {4, "7", ""},
        {6, "a comment", "a comment"},
        {2, "12/03/2026", "12/03/2026"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ActionCellText(c.column, c.value, staff, items), c.text)
            << c.column << " " << c.value;
    }
}

TEST(ActionLines, LinesIconsAndLocks) {
    TXml client;
    client.setText(
        "<TActS><TAct><idAction>5</idAction><CommentaireAction>vu &amp; revu"
        "</CommentaireAction></TAct><TAct><idAction>6</idAction></TAct></TActS>");
    const auto clarum = [](std::string_view tag) { return tag == ";CLARUM;"; };
    const std::vector<ActionRow> member = LoadActionLines(client, Template(), true, clarum);
    ASSERT_EQ(member.size(), 2u);
    EXPECT_EQ(member[0].line.cells[5].storedValue, "vu & revu");
    EXPECT_EQ(member[0].icon, ActionIcon::Delete);
    EXPECT_TRUE(member[0].locked[0]) << "a column without tag";
    EXPECT_FALSE(member[0].locked[1]);
    const std::vector<ActionRow> other =
        LoadActionLines(client, Template(), false, [](std::string_view) { return false; });
    EXPECT_EQ(other[0].icon, ActionIcon::Kept) << "a commented action stays without the right";
    EXPECT_EQ(other[1].icon, ActionIcon::Delete);
}

TEST(ActionLines, ANewActionStartsFromTheRememberedValues) {
    std::map<std::string, std::string> registry = {{"sAct3", "12"}, {"sAct4", "3"}};
    const Remembered remembered = [&registry](const std::string& key) { return registry[key]; };
    const TsLine line = NewActionLine(Template(), remembered, "14", Date{2026, 3, 20});
    EXPECT_EQ(line.cells[1].currentValue, "20/03/2026") << "\"now\" when nothing is remembered";
    EXPECT_EQ(line.cells[2].currentValue, "12");
    EXPECT_EQ(line.cells[3].currentValue, "3") << "the remembered value replaces the default";
    EXPECT_EQ(line.cells[7].currentValue, "14") << "the client's own staff member follows up";
    EXPECT_EQ(line.cells[9].currentValue, "2");
    for (const TsDesc& cell : line.cells) EXPECT_EQ(cell.storedValue, "");
}

TEST(ActionLines, DateChecks) {
    const Date lower{2026, 1, 1}, upper{2026, 3, 20}, today{2026, 3, 20};
    EXPECT_FALSE(ActionDateRefusal(2, "10/03/2026", "", "", lower, upper, today));
    const auto early = ActionDateRefusal(2, "31/12/2025", "", "", lower, upper, today);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->title, "Contr\xF4le de la date Action");
    EXPECT_EQ(early->text,
              "La valeur du champ \"DateAction\" doit \xEAtre comprise entre le "
              "\"01/01/2026\" et le \"20/03/2026\"");
    EXPECT_FALSE(ActionDateRefusal(2, "31/12/2025", "31/12/2025", "", lower, upper, today))
        << "the previous date passes";
    const auto before = ActionDateRefusal(7, "09/03/2026", "", "10/03/2026", lower, upper, today);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->text,
              "La valeur du champ \"DateRelance\" doit \xEAtre sup\xE9rieure au \"10/03/2026\"");
    EXPECT_FALSE(ActionDateRefusal(7, "10/03/2026", "", "10/03/2026", lower, upper, today));
    EXPECT_FALSE(ActionDateRefusal(5, "x", "", "", lower, upper, today)) << "not a date column";
}

}  // namespace
}  // namespace tarmel
