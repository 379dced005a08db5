// Opening the database a --db value names, on the engine it names.
#include "dataserver/database.h"

#include "dataserver/postgres/pgdatabase.h"
#include "dataserver/sqlite/sqlitedatabase.h"
#include "dataserver/textutil.h"

namespace tarmel::dataserver {

const char* const kTimeoutText =
    "WAIT_TIMEOUT : la requête a dépassé le temps permis ; rien n'a été modifié";

bool IsPostgresConnection(std::string_view path) {
    if (StartsWithNoCase(path, "postgresql://") || StartsWithNoCase(path, "postgres://")) {
        return true;
    }
    // libpq's "keyword=value ..." form: a lower-case keyword, then "=" (a file name is not
    // expected to start that way).
    const size_t equals = path.find('=');
    if (equals == 0 || equals == std::string_view::npos) return false;
    for (char c : path.substr(0, equals)) {
        if (!((c >= 'a' && c <= 'z') || c == '_')) return false;
    }
    return true;
}

std::unique_ptr<Database> Database::Open(const DatabaseOptions& options, std::string& error) {
    if (IsPostgresConnection(options.path)) return PostgresDatabase::Open(options, error);
    return SqliteDatabase::Open(options, error);
}

}  // namespace tarmel::dataserver
