// List maintenance: when it arms, which keys act, and the statements for the three list tables.
#include "formdesc/rubrics.h"

#include <gtest/gtest.h>

#include "formdesc/fieldkinds.h"

namespace tarmel {
namespace {

TEST(Rubrics, ArmingAndKeys) {
    using datatype::Text;
    EXPECT_TRUE(RubricArms(true, true, kind::ComboText, Text, "cCarrosserie", "ListRubrics"));
    EXPECT_FALSE(RubricArms(false, true, kind::ComboText, Text, "cCarrosserie", "ListRubrics"));
    EXPECT_FALSE(RubricArms(true, false, kind::ComboText, Text, "cCarrosserie", "ListRubrics"));
    EXPECT_FALSE(RubricArms(true, true, kind::ComboText, Text, "Marks", "Marks")) << "no rubric";
    EXPECT_FALSE(RubricArms(true, true, kind::ComboPosition, Text, "a", "ListRubrics"));

    constexpr int D = 'D', S = 'S', Minus = '-', Plus = '+', Ctrl = 0x01000021;
    const struct {
        bool armed, ctrl;
        int key;
        bool keypad, up, listed;
        RubricAction action;
    } cases[] = {
        {true, true, D, false, false, true, RubricAction::Delete},
        {true, true, D, false, false, false, RubricAction::None},  // not among the items
        {true, true, S, false, false, false, RubricAction::Add},
        {true, true, S, false, false, true, RubricAction::None},  // already there
        {true, true, Minus, true, true, true, RubricAction::Delete},
        {true, true, Plus, true, true, false, RubricAction::Add},
        {true, true, Minus, false, true, true, RubricAction::None},  // the main keyboard's minus
        {true, true, D, false, true, true, RubricAction::None},      // letters act on key down
        {false, true, D, false, false, true, RubricAction::None},    // not armed
        {true, false, D, false, false, true, RubricAction::None},    // no Ctrl
        {true, true, Ctrl, false, false, true, RubricAction::None},  // Ctrl itself
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RubricKey(c.armed, c.ctrl, c.key, c.keypad, c.up, c.listed), c.action)
            << c.key << (c.up ? " up" : " down");
    }
}

TEST(Rubrics, Statements) {
    const RubricVehicle v{"L'Automobile & Co", "Model'X", "Sport", "LYO"};
    const struct {
        RubricAction action;
        const char* rubric;
        const char* key;
        const char* text;
        const char* statement;
    } cases[] = {
        {RubricAction::Add, "ListRubrics", "Carrosserie", "Coupé",
         "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, RubricText) Values "
         "('Carrosserie', 0, '..' ,'Coupé')"},
        {RubricAction::Delete, "LISTRUBRICS", "Carrosserie", "Coupé",
         "Delete * From ListRubrics where RubricType='Carrosserie' and RubricText='Coupé'"},
        {RubricAction::Delete, "ListRubrics", "Taux & remises", "10%",
         "Delete * From ListRubrics where RubricType='Taux %26 remises' and RubricText='10%25'"},
        {RubricAction::Add, "ListModels", "VModele", "",
         "Insert into ListModels (VMarque, VModele) Values ('L''Automobile %26 Co', 'Model''X')"},
        {RubricAction::Delete, "ListModels", "VModele", "",
         "Delete * From ListModels where VMarque='L''Automobile %26 Co' and VModele='Model''X'"},
        {RubricAction::Add, "ListVersions", "VVersion", "",
         "Insert into ListVersions (VMarque, VModele, VVersion, VConcession) Values "
         "('L''Automobile %26 Co', 'Model''X', 'Sport', 'LYO')"},
        {RubricAction::Delete, "listversions", "VVersion", "",
         "Delete * From ListVersions where VMarque='L''Automobile %26 Co' and VModele='Model''X'"
         " and VVersion='Sport' and VConcession='LYO'"},
        {RubricAction::Add, "Autre", "x", "y", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RubricStatement(c.action, c.rubric, c.key, c.text, v), c.statement) << c.rubric;
    EXPECT_EQ(RubricMessage("Coupé", "Carrosserie"),
              "la valeur 'Coupé' pour le champ 'Carrosserie'");
}

}  // namespace
}  // namespace tarmel
