// The pending SQL statement of a page: its changed fields as an UPDATE of the record's row (keyed by
// the hidden fields at the head of the page) or, for a record not yet on the server, an INSERT.
#pragma once

#include <string>
#include <vector>

#include "formdesc/descriptors.h"
#include "server/dates.h"

namespace tarmel {

struct ColumnLiteral {
    std::string column, literal;
};

// Column and SQL literal of the field's current value ("NULL" when empty).
ColumnLiteral ValueLiteral(const TsDesc& field);
// WHERE term of a key field from its stored value: "K=4711", "isNull(K)" when empty. Text keys
// are written as they are, without quotes.
std::string KeyTerm(const TsDesc& field);

struct StatementContext {
    int page = 1;               // 1..9
    std::string table;          // table tag of page 0
    bool insert = false;        // FlagNewEnreg, or NewVehicle on page 8
    std::string family;         // "VO", "VD", "VN" or "CL"
    std::string recordTypeCode; // TypeVO of the record; filled in for an insert when empty
    int idTypeVO = 0;           // host setting, stands in for an empty type code
    std::string clientId;       // caption of LbIDCustomer (page 8 inserts)
    std::string idUser;
    std::string concession;     // UserConcession
    Date today;
};

struct PageStatement {
    bool changed = false;
    std::string statement;       // empty when nothing is to be saved
    std::string recordTypeCode;  // the type code the insert used (the caller keeps it)
    // Set when the page has changes but no statement can be built safely.
    std::string refusal;
};

PageStatement BuildPageStatement(const std::vector<TsDesc>& fields, const StatementContext& context);

// Text of the refusal when a page has changes but no key field before its first control. Both
// refusals are Latin-1, as every text of a page.
inline constexpr const char* kNoKeyRefusal =
    "Enregistrement impossible : la description de la page ne donne aucune cl\xE9";
// Text of the refusal when none of the page's key fields holds a value: the UPDATE could only
// reach rows without an identifier, never the record shown.
inline constexpr const char* kEmptyKeyRefusal =
    "Enregistrement impossible : l'enregistrement affich\xE9 n'a pas d'identifiant";

}  // namespace tarmel
