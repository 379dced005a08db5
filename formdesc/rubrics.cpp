// List maintenance: arming, keys and statements.
#include "formdesc/rubrics.h"

#include "formdesc/fieldkinds.h"
#include "server/encoders.h"

namespace tarmel {

namespace {

// Key codes as the toolkit gives them (Qt's: letters and signs are their ASCII codes).
constexpr int kKeyD = 'D', kKeyS = 'S', kKeyMinus = '-', kKeyPlus = '+';
constexpr int kKeyControl = 0x01000021;

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

// The value encoded as SqlText encodes it, without the quotes around it.
std::string Encoded(const std::string& value) {
    const std::string quoted = SqlText(value);
    return quoted.substr(1, quoted.size() - 2);
}

}  // namespace

bool RubricArms(bool superAdmin, bool ctrlHeld, int controlKind, int dataType,
                const std::string& listName, const std::string& rubric) {
    return superAdmin && ctrlHeld && listName != rubric && controlKind == kind::ComboText &&
           dataType == datatype::Text;
}

RubricAction RubricKey(bool armed, bool ctrlHeld, int qtKey, bool keypad, bool keyUp,
                       bool textListed) {
    if (!armed || !ctrlHeld || qtKey == kKeyControl) return RubricAction::None;
    const bool remove = keyUp ? keypad && qtKey == kKeyMinus : qtKey == kKeyD;
    const bool add = keyUp ? keypad && qtKey == kKeyPlus : qtKey == kKeyS;
    if (remove && textListed) return RubricAction::Delete;
    if (add && !textListed) return RubricAction::Add;
    return RubricAction::None;
}

std::string RubricMessage(const std::string& text, const std::string& listKey) {
    return "la valeur '" + text + "' pour le champ '" + listKey + "'";
}

std::string RubricStatement(RubricAction action, const std::string& rubric,
                            const std::string& listKey, const std::string& text,
                            const RubricVehicle& v) {
    const std::string table = Upper(rubric);
    const bool remove = action == RubricAction::Delete;
    if (action == RubricAction::None) return {};
    if (table == "LISTRUBRICS") {
        return remove ? "Delete * From ListRubrics where RubricType='" + Encoded(listKey) +
                            "' and RubricText=" + SqlText(text)
                      : "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, "
                        "RubricText) Values ('" +
                            Encoded(listKey) + "', 0, '..' ," + SqlText(text) + ")";
    }
    if (table == "LISTMODELS") {
        return remove ? "Delete * From ListModels where VMarque='" + Encoded(v.make) +
                            "' and VModele=" + SqlText(v.model)
                      : "Insert into ListModels (VMarque, VModele) Values (" + SqlText(v.make) +
                            ", " + SqlText(v.model) + ")";
    }
    if (table == "LISTVERSIONS") {
        return remove ? "Delete * From ListVersions where VMarque='" + Encoded(v.make) +
                            "' and VModele=" + SqlText(v.model) +
                            " and VVersion=" + SqlText(v.versionType) +
                            " and VConcession=" + SqlText(v.concession)
                      : "Insert into ListVersions (VMarque, VModele, VVersion, VConcession) "
                        "Values ('" +
                            Encoded(v.make) + "', " + SqlText(v.model) + ", " +
                            SqlText(v.versionType) + ", " + SqlText(v.concession) + ")";
    }
    return {};
}

}  // namespace tarmel
