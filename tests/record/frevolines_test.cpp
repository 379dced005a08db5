// The refurbishment cost lines: what the record document gives, the totals and the date check.
#include "sublists/frevolines.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

FrevoTemplate Template() {
    std::vector<GridColumn> columns(8);
    const char* names[] = {"idFrevo",        "DateFrevo", "LibelleFrevo", "NComptable",
                           "NomFournisseur", "NFacture",  "TypeFrevo",    "MontantHT"};
    const int types[] = {datatype::Integer, datatype::Date, datatype::Text, datatype::Text,
                         datatype::Text,    datatype::Text, datatype::Text, datatype::Decimal};
    for (size_t k = 0; k < columns.size(); ++k) {
        columns[k].element = names[k];
        columns[k].dataType = types[k];
        columns[k].rightsTag = k == 0 ? "" : k == 3 ? ";COMPTA;" : ";SVO;";
        columns[k].width = k == 0 ? 0 : 80;
    }
    return MakeFrevoTemplate(columns);
}

TsLine Line(const char* date, const char* type, const char* amount) {
    TsLine line;
    line.cells[1].currentValue = date;
    line.cells[6].currentValue = type;
    line.cells[7].currentValue = amount;
    return line;
}

TEST(FrevoLines, TotalsByTypeAndToTheEndOfTheDeliveryMonth) {
    const std::vector<TsLine> lines = {
        TsLine{},  // the template is never counted
        Line("31/03/2026", "interne", "100.00"),
        Line("01/04/2026", "INTERNE", "50.50"),
        Line("10/03/2026", "Fixe", "150.00"),
        Line("10/03/2026", "EXTERNE", "20.00"),
        Line("10/03/2026", "", "5.00"),
        Line("10/03/2026", "autre", "1.00"),
        Line("pas une date", "externe", "abc"),
    };
    const FrevoTotals t = ComputeFrevoTotals(lines, "15/03/2026", Date{2026, 3, 20});
    const std::array<std::string, 10> expected = {"326.50", "150.00", "150.50", "20.00", "6.00",
                                                  "276.00", "150.00", "100.00", "20.00", "6.00"};
    EXPECT_EQ(t.texts, expected);
    // Nothing to sum: every total is empty.
    const FrevoTotals none = ComputeFrevoTotals({TsLine{}}, "", Date{2026, 3, 20});
    for (const std::string& text : none.texts) EXPECT_EQ(text, "");
}

TEST(FrevoLines, LinesRightsIconsAndTheAddLine) {
    std::string doc = "<FrevoS>";
    for (int i = 1; i <= 120; ++i) {
        doc += "<Frevo><idFrevo>" + std::to_string(i) +
               "</idFrevo><DateFrevo>05/03/2026"
               "</DateFrevo><NomFournisseur>Dupont &amp; Fils</NomFournisseur><NComptable>" +
               (i == 2 ? "6011" : "") + "</NComptable><NFacture>" + (i == 3 ? "F12" : "") +
               "</NFacture><MontantHT>1 250.5</MontantHT></Frevo>";
    }
    doc += "</FrevoS>";
    TXml record;
    record.setText(doc);
    const FrevoTemplate tmpl = Template();
    EXPECT_EQ(tmpl.addRightTag, ";SVO;") << "the first tag found";
    const auto salesperson = [](std::string_view tag) { return tag == ";SVO;"; };
    const FrevoLoad load = LoadFrevoLines(record, tmpl, false, salesperson, Date{2026, 3, 20});
    ASSERT_EQ(load.rows.size(), 100u) << "99 lines and the add line";
    EXPECT_EQ(load.rows[0].line.cells[7].storedValue, "1250.50");
    EXPECT_EQ(load.rows[0].line.cells[4].storedValue, "Dupont & Fils");
    EXPECT_EQ(load.rows[0].icon, FrevoIcon::Delete);
    EXPECT_FALSE(load.rows[0].readOnly[1]);
    EXPECT_TRUE(load.rows[0].readOnly[0]) << "a column without rights is read-only";
    EXPECT_TRUE(load.rows[0].readOnly[3]) << "the accounts column needs its group";
    EXPECT_TRUE(load.rows[1].line.locked) << "an accounted line, without the accounting right";
    EXPECT_TRUE(load.rows[1].readOnly[1]);
    EXPECT_EQ(load.rows[2].icon, FrevoIcon::Kept) << "an invoiced line stays";
    const FrevoRow& add = load.rows.back();
    EXPECT_EQ(add.icon, FrevoIcon::Add);
    EXPECT_EQ(add.line.cells[1].currentValue, "20/03/2026");
    EXPECT_EQ(add.line.cells[6].currentValue, "interne");
    EXPECT_EQ(add.line.cells[1].storedValue, "");

    const FrevoLoad accountant = LoadFrevoLines(
        record, tmpl, true, [](std::string_view) { return true; }, Date{2026, 3, 20});
    EXPECT_FALSE(accountant.rows[1].line.locked);
    EXPECT_EQ(accountant.rows[2].icon, FrevoIcon::Delete);
    const FrevoLoad reader = LoadFrevoLines(
        record, tmpl, false, [](std::string_view) { return false; }, Date{2026, 3, 20});
    EXPECT_FALSE(reader.addLine);
    EXPECT_EQ(reader.rows.size(), 99u);
}

TEST(FrevoLines, EditableCellsAndTheDateCheck) {
    EXPECT_TRUE(FrevoCellEditable("DateFrevo", true, false, false));
    EXPECT_FALSE(FrevoCellEditable("MontantHT", true, false, true)) << "the add line: date only";
    EXPECT_TRUE(FrevoCellEditable("MontantHT", false, false, false));
    EXPECT_FALSE(FrevoCellEditable("MontantHT", false, true, false));
    EXPECT_FALSE(FrevoCellEditable("NComptable", false, false, false));
    EXPECT_TRUE(FrevoCellEditable("NComptable", false, true, true));
    EXPECT_FALSE(FrevoCellEditable("idFrevo", false, false, true));

    const Date lower{2026, 1, 1}, upper{2026, 3, 20}, today{2026, 3, 20};
    EXPECT_FALSE(FrevoDateRefusal("05/03/2026", "", lower, upper, today));
    EXPECT_FALSE(FrevoDateRefusal("31/12/2025", "31/12/2025", lower, upper, today))
        << "the stored date passes";
    EXPECT_FALSE(FrevoDateRefusal("pas une date", "", lower, upper, today)) << "today stands in";
    EXPECT_FALSE(FrevoDateRefusal("21/03/2026", "", lower, Date{}, today)) << "no upper limit";
    EXPECT_EQ(FrevoDateRefusal("21/03/2026", "", lower, upper, today).value_or(""),
              "La valeur du champ \"DateFrevo\" doit \xEAtre comprise entre le \"01/01/2026\" et "
              "le \"20/03/2026\"");
}

}  // namespace
}  // namespace tarmel
