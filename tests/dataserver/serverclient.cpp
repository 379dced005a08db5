// The client's side of the data-server tests.
#include "tests/dataserver/serverclient.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "dataserver/database.h"
#include "server/xml/txml.h"
#include "tests/support/databasefile.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {

namespace {

// The child elements "<name>text</name>" of an item, in order (items hold no deeper nesting).
void ChildrenOf(std::string_view item, std::map<std::string, std::string>& values,
                std::vector<std::string>& order) {
    size_t pos = 0;
    while ((pos = item.find('<', pos)) != std::string_view::npos) {
        size_t close = item.find('>', pos);
        if (close == std::string_view::npos) break;
        std::string name(item.substr(pos + 1, close - pos - 1));
        const std::string end = "</" + name + ">";
        size_t endAt = item.find(end, close + 1);
        if (endAt == std::string_view::npos) break;
        values[name] = std::string(item.substr(close + 1, endAt - close - 1));
        order.push_back(name);
        pos = endAt + end.size();
    }
}

}  // namespace

std::vector<std::string> LogItemsOf(const std::string& document) {
    std::vector<std::string> items;
    TXml reader(document);
    XmlFind(reader, "LogItems");
    while (XmlNext(reader, "LogItem") != 0) items.emplace_back(reader.currentElement());
    return items;
}

Rowset Query(const DataServerProcess& server, const std::string& sql, int maxRows) {
    // The search list sends the row limit after the statement.
    std::string target = "/tarmel/AxQuery?XMLC_OutputFormat=XML&SQL=" + sql;
    if (maxRows > 0) target += "&MaxRows=" + std::to_string(maxRows);
    HttpAnswer answer = ClientGet(server.port(), target);
    Rowset result;
    result.raw = answer.body;
    EXPECT_EQ(answer.status, 200) << sql;
    EXPECT_EQ(XmlProblems(answer.body), "") << answer.body;
    TXml reader(answer.body);
    XmlAttr(reader, "RowCount", result.rowCount);
    XmlAttr(reader, "EOF", result.eof);
    XmlFind(reader, "AXQueryS");
    while (XmlNext(reader, "AXQuery") != 0) {
        result.rows.emplace_back();
        result.columnOrder.emplace_back();
        ChildrenOf(reader.currentElement(), result.rows.back(), result.columnOrder.back());
    }
    result.logItems = LogItemsOf(answer.body);
    return result;
}

Outcome Execute(const DataServerProcess& server, const std::string& endpoint,
                const std::string& sql) {
    HttpAnswer answer = ClientGet(
        server.port(), "/tarmel/" + endpoint + "?XMLC_OutputFormat=XML&SQLExecute=" + sql);
    Outcome result;
    result.raw = answer.body;
    EXPECT_EQ(answer.status, 200) << sql;
    EXPECT_EQ(XmlProblems(answer.body), "") << answer.body;
    TXml reader(answer.body);
    XmlFind(reader, "OutParams");
    XmlValue(reader, "NewID", result.newId);
    result.logItems = LogItemsOf(answer.body);
    return result;
}

namespace {

// The PostgreSQL database's tables, columns, indexes, functions, triggers and rows, read through
// the data server's own session.
std::string PgFingerprint(const std::string& connection) {
    auto db = OpenPostgres(connection);
    if (!db) return "cannot open " + connection;
    std::string out;
    db->Read([&](dataserver::SqlSession& session) {
        auto lines = [&](const std::string& sql) {
            std::vector<std::string> values;
            auto st = session.Prepare(sql);
            while (st->Step()) {
                std::string line;
                for (int i = 0; i < st->Columns(); ++i) line += st->Text(i) + " ";
                values.push_back(line);
                out += line + "\n";
            }
            if (!st->error().empty()) out += "error: " + st->error() + "\n";
            return values;
        };
        lines(
            "SELECT table_name, column_name, data_type, domain_name FROM "
            "information_schema.columns WHERE table_schema = current_schema() "
            "ORDER BY table_name, ordinal_position");
        lines(
            "SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = current_schema() "
            "ORDER BY indexname");
        lines(
            "SELECT proname FROM pg_proc WHERE pronamespace = current_schema()::regnamespace "
            "ORDER BY proname");
        lines("SELECT tgname FROM pg_trigger WHERE NOT tgisinternal ORDER BY tgname");
        for (std::string table : lines("SELECT relname FROM pg_class WHERE relkind = 'r' AND "
                                       "relnamespace = current_schema()::regnamespace "
                                       "ORDER BY relname")) {
            table.pop_back();
            out += "== " + table + "\n";
            lines("SELECT r::text FROM \"" + table + "\" r ORDER BY 1");
        }
    });
    return out;
}

}  // namespace

std::string DatabaseFingerprint(const std::string& databasePath) {
    if (dataserver::IsPostgresConnection(databasePath)) return PgFingerprint(databasePath);
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return "cannot open";
    }
    std::vector<std::string> tables;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_schema ORDER BY type, name", -1,
                       &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2));
        out += std::string(type ? type : "") + " " + (name ? name : "") + " " + (sql ? sql : "") +
               "\n";
        if (type && std::string(type) == "table") tables.emplace_back(name);
    }
    sqlite3_finalize(stmt);
    for (const std::string& table : tables) {
        std::string select = "SELECT * FROM \"" + table + "\" ORDER BY rowid";
        if (sqlite3_prepare_v2(db, select.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt);
            select = "SELECT * FROM \"" + table + "\"";
            sqlite3_prepare_v2(db, select.c_str(), -1, &stmt, nullptr);
        }
        out += "== " + table + "\n";
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < columns; ++i) {
                const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                out += v ? v : "<null>";
                out += '|';
            }
            out += '\n';
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return out;
}

std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        auto endsWith = [&](const std::string& tail) {
            return name.size() >= tail.size() &&
                   name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
        };
        if (endsWith("-wal") || endsWith("-shm") || endsWith("-journal") || endsWith(".err") ||
            endsWith(".out")) {
            continue;
        }
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace tarmel::testsupport
