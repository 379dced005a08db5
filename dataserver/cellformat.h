// How one result cell is written in an answer: the column's declared type decides (DATE as
// dd/mm/yyyy, MONEY with two decimals, BOOLEAN as True/False), then the value's storage class.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace tarmel::dataserver {

// Appends the text of column col of the current row of stmt to out (nothing for NULL). Text is
// appended as stored (Latin-1 bytes); numbers use "." whatever the locale.
void AppendCell(sqlite3_stmt* stmt, int col, std::string& out);

// An amount with two decimals and ".", as the answers write MONEY columns.
std::string FormatMoney(double value);

// Whether a text has the shape of a stored date, "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss", and is a
// real date: an expression over a date column has no declared type, and is shown as a date then.
bool LooksLikeIsoDate(std::string_view text);

// The shortest text that reads back as the same double, with "." (no exponent below 1e15).
std::string FormatReal(double value);

}  // namespace tarmel::dataserver
