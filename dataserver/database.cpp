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
    // libpq's "key=value" form: a file name holding "=" and blanks is not expected here.
    return path.find('=') != std::string_view::npos &&
           (StartsWithNoCase(path, "host=") || StartsWithNoCase(path, "dbname=") ||
            StartsWithNoCase(path, "service=") || StartsWithNoCase(path, "user="));
}

std::unique_ptr<Database> Database::Open(const DatabaseOptions& options, std::string& error) {
    if (IsPostgresConnection(options.path)) return PostgresDatabase::Open(options, error);
    return SqliteDatabase::Open(options, error);
}

}  // namespace tarmel::dataserver
