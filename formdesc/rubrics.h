// List maintenance from a combo: when a super-administrator's Ctrl arms it, which key adds or
// deletes the combo's text, and the statement that changes the server's list table (ListRubrics,
// ListModels, ListVersions). No widget here.
#pragma once

#include <string>

namespace tarmel {

// Ctrl held on entering a free-text combo of text data whose list name differs from its rubric.
bool RubricArms(bool superAdmin, bool ctrlHeld, int controlKind, int dataType,
                const std::string& listName, const std::string& rubric);

enum class RubricAction { None, Delete, Add };
// A key while armed and Ctrl held: "D" (key down) or keypad minus (key up) deletes a text among
// the combo's items; "S" (key down) or keypad plus (key up) adds one that is not.
RubricAction RubricKey(bool armed, bool ctrlHeld, int qtKey, bool keypad, bool keyUp,
                       bool textListed);

// The vehicle's make, model and version type, read from the header combos of its family, and the
// user's dealership.
struct RubricVehicle {
    std::string make, model, versionType, concession;
};

// "la valeur '<text>' pour le champ '<list key>'"
std::string RubricMessage(const std::string& text, const std::string& listKey);

// The statement for the rubric (compared upper-cased); empty for any other rubric. Every value
// goes through the URL-safe SQL encoding, the list key and the make too (a "&" or "%" in them
// would otherwise reach the server cut or changed); the statement keeps its own quotes.
std::string RubricStatement(RubricAction action, const std::string& rubric,
                            const std::string& listKey, const std::string& text,
                            const RubricVehicle& vehicle);

}  // namespace tarmel
