// The statement of one grid line: its changed cells as an INSERT, an UPDATE keyed by the first
// unchanged cell, or a DELETE. The refurbishment and the action grids share the form.
#pragma once

#include <string>

#include "formdesc/descriptors.h"

namespace tarmel {

enum class LineMode { Insert, Update, Delete };

struct LineTarget {
    std::string table;  // as written in the statement ("[tVO - Frevo]", "tActions")
    std::string ownerColumn,
        owner;             // "idVO" and the vehicle's idVO, or "idClient" and the client's
    std::string idColumn;  // the line's own identifier, ":NewID" on an insert
};

// Empty when nothing changed (insert and update) or when no cell is left to key the line by
// (update and delete): without a key the statement would reach every line of the table.
std::string LineStatement(const TsLine& line, LineMode mode, const LineTarget& target);

// The first of columns 2 to 10 of an action line still empty (column c is cell c-1), 0 if none.
int MissingActionColumn(const TsLine& line);

// The table of a page's lines as written in a statement: in brackets when it holds a blank.
std::string TableInStatement(const std::string& tableTag);

}  // namespace tarmel
