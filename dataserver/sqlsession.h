// The server's own statements (record documents, lists, reports, the demo generator, the SMS
// log), written once for every database the server runs on. Their SQL is SQLite's: "?" or "?N"
// parameters, names as the schema spells them (bracketed when they hold blanks); a backend
// rewrites it for its own engine. Client statements never come through here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tarmel::dataserver {

// One prepared statement. One that could not be prepared, or whose run failed, has no (more)
// rows, and error() tells why.
class SqlStatement {
public:
    virtual ~SqlStatement() = default;

    // Parameters are numbered from 1. Texts are Latin-1, as stored.
    virtual SqlStatement& Bind(int i, std::string_view text) = 0;
    virtual SqlStatement& Bind(int i, int64_t value) = 0;
    virtual SqlStatement& BindReal(int i, double value) = 0;
    // True on a row; false once the rows are done, or when the statement failed.
    virtual bool Step() = 0;
    // Back to before the first Step, bindings cleared, to run again (a failure is forgotten).
    virtual void Reset() = 0;

    virtual int Columns() const = 0;
    virtual std::string Name(int col) const = 0;
    // The cell as the answers write it: dates dd/mm/yyyy, amounts with two decimals, flags
    // True/False, numbers with ".", nothing for NULL.
    virtual std::string Cell(int col) const = 0;
    // The stored text ("" for NULL) and the stored integer (0 for NULL).
    virtual std::string Text(int col) const = 0;
    virtual int64_t Int(int col) const = 0;

    // Empty while the statement has not failed.
    virtual const std::string& error() const = 0;
};

// A connection lent to the server's own work.
class SqlSession {
public:
    virtual ~SqlSession() = default;
    virtual std::unique_ptr<SqlStatement> Prepare(std::string_view sql) = 0;
    // Runs statements that return no rows; false with the engine's message.
    virtual bool Exec(std::string_view sql, std::string& error) = 0;
};

}  // namespace tarmel::dataserver
