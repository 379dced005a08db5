// Translation of the client's Access-like SQL into SQLite SQL, done on a token stream so that
// nothing inside a string literal or a quoted name is ever changed.
#pragma once

#include <string>
#include <string_view>

namespace tarmel::dataserver {

struct DialectResult {
    bool ok = false;
    std::string sql;    // the SQLite text when ok
    std::string error;  // a French message for the answer's LogItem when not ok
};

// Rewrites, outside literals and quoted names:
//   #mm/dd/yyyy#           -> 'yyyy-mm-dd' (an impossible date such as #02/29/2023# is an error)
//   Delete * From          -> Delete From
//   isNull(x)              -> ((x) IS NULL)   (SQLite would read "isnull" as a postfix operator)
//   a trailing ";"         -> dropped (one only; any other ";" is left for the one-statement check)
// [bracketed names], True/False and everything else pass unchanged. An unterminated literal,
// quoted name or date, or an unbalanced isNull( is an error.
DialectResult TranslateDialect(std::string_view sql);

}  // namespace tarmel::dataserver
