// The page statement, character for character.
#include "record/statements.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

// Stands for a control: the statement builder only asks whether a field has one.
QWidget* const kControl = reinterpret_cast<QWidget*>(static_cast<std::uintptr_t>(0x10));

TsDesc Key(const char* column, const char* stored, int type = datatype::Integer) {
    TsDesc d;
    d.columnName = column;
    d.storedValue = d.currentValue = stored;
    d.dataType = type;
    return d;
}

TsDesc Field(const char* column, int type, const char* stored, const char* current,
             const char* readName = "", const char* rights = ";SVO;") {
    TsDesc d;
    d.columnName = column;
    d.dataType = type;
    d.storedValue = stored;
    d.currentValue = current;
    d.readName = readName;
    d.rightsTag = rights;
    d.boundControl = kControl;
    return d;
}

StatementContext Context(int page, bool insert, const char* family, const char* table = "T") {
    StatementContext c;
    c.page = page;
    c.table = table;
    c.insert = insert;
    c.family = family;
    c.recordTypeCode = "1";
    c.idTypeVO = 1;
    c.clientId = "250";
    c.idUser = "17";
    c.concession = "C01";
    c.today = Date{2024, 3, 14};
    return c;
}

TEST(PageStatement, UpdateAndInsertForms) {
    const struct {
        const char* name;
        std::vector<TsDesc> fields;
        StatementContext context;
        const char* statement;
    } cases[] = {
        {"update: decimal, text, key",
         {Key("K", "4711"), Field("A", datatype::Decimal, "0.00", "12500,00"),
          Field("B", datatype::Text, "", " x ")},
         Context(1, false, "VO"),
         "Update T set A=12500.00,B='x' where (K=4711)"},
        {"update: two keys, one empty, a text key unquoted",
         {Key("K", "4711", datatype::Text), Key("L", ""), Field("A", datatype::Integer, "1", "2")},
         Context(2, false, "VO"),
         "Update T set A=2 where (K=4711) and (isNull(L))"},
        {"update: emptied date",
         {Key("K", "1"), Field("DateOrdre", datatype::Date, "01/02/2024", "")},
         Context(1, false, "VO"),
         "Update T set DateOrdre=NULL where (K=1)"},
        {"update: date, quotes, table with a blank",
         {Key("idVO", "3"), Field("MEC", datatype::Date, "", "14/03/2024"),
          Field("Obs", datatype::Text, "", "l'\"auto\" & <b>\r\nfin")},
         Context(5, false, "VO", "tVO - Frevo"),
         "Update [tVO - Frevo] set MEC=#03/14/2024#,Obs='l''%22auto%22 %26 %3Cb%3E%0D%0Afin' "
         "where (idVO=3)"},
        {"insert of a used vehicle",
         {Key("K", ""), Field("A", datatype::Integer, "", "1"),
          Field("B", datatype::Text, "", "x")},
         Context(1, true, "VO"),
         "Insert into T (A,B, idTVO, TypeVO, idVO, idOwner, Concession) Values (1,'x', :NewID, 1, "
         ":NewIDbis,17, 'C01')"},
        {"insert of a client on page 7",
         {Key("K", ""), Field("A", datatype::Integer, "", "1"),
          Field("B", datatype::Text, "", "x")},
         Context(7, true, "CL"),
         "Insert into T (A,B, idClient, DateCreation, idOwner, Concession) Values (1,'x', :NewID, "
         "#03/14/2024#,17, 'C01')"},
        {"insert of a client vehicle on page 8",
         {Key("K", ""), Field("A", datatype::Text, "", "x")},
         Context(8, true, "CL"),
         "Insert into TVehiclesClarum (A, idClient, idTVO, NVO, idOwner, Concession) Values "
         "('x',250, :NewID, :NewIDbis,17, 'C01')"},
        {"insert of a CL record on page 9",
         {Field("A", datatype::Integer, "", "1")},
         Context(9, true, "CL"),
         "Insert into T (A, idOwner, Concession) Values (1,17, 'C01')"},
    };
    for (const auto& c : cases) {
        const PageStatement s = BuildPageStatement(c.fields, c.context);
        EXPECT_TRUE(s.changed) << c.name;
        EXPECT_EQ(s.statement, c.statement) << c.name;
        EXPECT_EQ(s.refusal, "") << c.name;
    }
}

TEST(PageStatement, WhatIsNotAChange) {
    const struct {
        const char* name;
        TsDesc field;
        bool changed;
    } cases[] = {
        {"equal texts", Field("A", datatype::Text, "x", "x"), false},
        {"12500 against 12500.00", Field("A", datatype::Decimal, "12500.00", "12500"), true},
        {"letter case", Field("A", datatype::Text, "x", "X"), true},
        {"FDM anywhere in the column", Field("xFdmDate", datatype::Date, "", "01/01/2024"), false},
        {"Frevo from 0.00 to blank", Field("FrevoTotal", datatype::Decimal, "0.00", ""), false},
        {"Frevo from 0.00 to 10.00", Field("FrevoTotal", datatype::Decimal, "0.00", "10.00"), true},
        {"Frevo from 5.00 to blank", Field("Frevo", datatype::Decimal, "5.00", ""), true},
        {"READONLY rights", Field("A", datatype::Text, "", "x", "", ";READONLY;"), false},
        {"read name", Field("A", datatype::Text, "", "x", "LibA"), false},
    };
    for (const auto& c : cases) {
        const PageStatement s = BuildPageStatement({Key("K", "1"), c.field}, Context(1, false, "VO"));
        EXPECT_EQ(s.changed, c.changed) << c.name;
        EXPECT_EQ(s.statement.empty(), !c.changed) << c.name;
    }
}

TEST(PageStatement, HiddenFieldsAfterTheFirstControlAreNotKeys) {
    const PageStatement s = BuildPageStatement(
        {Key("K", "1"), Field("A", datatype::Integer, "1", "2"), Key("Hidden", "9")},
        Context(1, false, "VO"));
    EXPECT_EQ(s.statement, "Update T set A=2 where (K=1)");
}

TEST(PageStatement, NoKeyNoUpdate) {
    // Without a key before the first control an UPDATE would reach every row: none is built.
    const PageStatement s = BuildPageStatement(
        {Field("A", datatype::Integer, "1", "2"), Key("K", "1")}, Context(1, false, "VO"));
    EXPECT_TRUE(s.changed);
    EXPECT_EQ(s.statement, "");
    EXPECT_EQ(s.refusal, kNoKeyRefusal);
    // Keys that hold no value (another dealership's record shown empty) would reach only rows
    // without an identifier: refused too, while one key with a value is enough.
    const PageStatement empty = BuildPageStatement(
        {Key("K", ""), Key("L", ""), Field("A", datatype::Integer, "1", "2")}, Context(1, false, "VO"));
    EXPECT_EQ(empty.statement, "");
    EXPECT_EQ(empty.refusal, kEmptyKeyRefusal);
    // An insert needs no key.
    const PageStatement insert =
        BuildPageStatement({Field("A", datatype::Integer, "", "2")}, Context(1, true, "VO"));
    EXPECT_NE(insert.statement, "");
}

TEST(PageStatement, InsertTypeCodeStandsInWhenEmpty) {
    StatementContext c = Context(1, true, "VN");
    c.recordTypeCode = "";
    c.idTypeVO = 0;
    PageStatement s = BuildPageStatement({Field("A", datatype::Integer, "", "1")}, c);
    EXPECT_EQ(s.recordTypeCode, "1");
    c.idTypeVO = 3;
    s = BuildPageStatement({Field("A", datatype::Integer, "", "1")}, c);
    EXPECT_EQ(s.recordTypeCode, "3");
    EXPECT_NE(s.statement.find(":NewID, 3, :NewIDbis"), std::string::npos) << s.statement;
}

TEST(PageStatement, LiteralsAndKeyTerms) {
    EXPECT_EQ(ValueLiteral(Field("A", datatype::Text, "", "")).literal, "NULL");
    EXPECT_EQ(ValueLiteral(Field("D", datatype::Date, "", "31/02/2024")).literal, "NULL");
    EXPECT_EQ(ValueLiteral(Field("D", datatype::Date, "", "30/12/1899")).literal, "NULL")
        << "day zero";
    EXPECT_EQ(ValueLiteral(Field("B", datatype::Boolean, "", "True")).literal, "True");
    EXPECT_EQ(ValueLiteral(Field("P", datatype::Text, "", "remise 10%AB")).literal,
              "'remise 10%25AB'");
    EXPECT_EQ(KeyTerm(Key("D", "05/06/2024", datatype::Date)), "D=#06/05/2024#");
    EXPECT_EQ(KeyTerm(Key("K", "", datatype::Text)), "isNull(K)");
    EXPECT_EQ(KeyTerm(Key("K", " 1,5 ", datatype::Decimal)), "K=1.5");
}

}  // namespace
}  // namespace tarmel
