// Translation of the server's SQL (the client's statements once through TranslateDialect, and the
// server's own statements) into PostgreSQL text, on the same token stream as the SQLite pass.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarmel::dataserver {

// The schema's spelling of every table and column name, found again whatever the ASCII case
// the statement writes it in (PostgreSQL folds unquoted names to lower case; the schema keeps
// mixed-case names, so every known name is written quoted, with its own spelling).
class NameSpelling {
public:
    void Add(std::string_view name);                       // a table or a column name
    const std::string* Find(std::string_view name) const;  // nullptr when unknown

private:
    std::unordered_map<std::string, std::string> byLowerName_;
};

enum class PgSource { Client, Server };  // the client's statement, or the server's own SQL
enum class PgKind { Select, Insert, Update, Delete, Other };  // by the first keyword

struct PgStatement {
    bool ok = false;
    std::string sql;    // PostgreSQL text when ok
    std::string error;  // Latin-1 French message when not ok
    PgKind kind = PgKind::Other;
    std::string insertTable;  // the schema spelling of an INSERT's table, empty otherwise
    // Client: the placeholder bound to $k+1 is params[k] (":NewID" or ":NewIDbis"); a name used
    // twice keeps its one number. Server: one entry per $n, in order (the text "?" or "?N").
    std::vector<std::string> params;
};

// sql is already through TranslateDialect. Outside literals and comments: known names are
// written quoted with the schema's spelling, aliases declared by AS quoted as declared, like
// becomes ILIKE and ifnull( coalesce(; the client's :NewID and :NewIDbis and the server's ? and
// ?N become $n. A client statement is refused when PostgreSQL could read it otherwise than the
// tokenizer does, or when it reaches a catalog or a function beyond a short list.
PgStatement ToPostgres(std::string_view sql, const NameSpelling& names, PgSource source);

// What a statement is, for the refusal of one that an endpoint does not run: its first word in
// capitals ("ATTACH", "PRAGMA"), with the second for a change of schema ("CREATE TABLE",
// "ALTER TABLE"); empty when it does not start with a word (or cannot be tokenized).
std::string StatementVerb(std::string_view sql);
// Whether that verb changes the schema (CREATE, DROP, ALTER, ...).
bool ChangesSchema(std::string_view verb);

}  // namespace tarmel::dataserver
