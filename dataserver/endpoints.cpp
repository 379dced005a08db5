// The route table and the statement endpoints ("AxQuery", "AxUpdate", "AxInsert").
#include "dataserver/endpoints.h"

#include <charconv>
#include <memory>

#include "dataserver/dialect.h"
#include "dataserver/documents/register.h"
#include "dataserver/reports.h"
#include "dataserver/textutil.h"
#include "dataserver/uploads.h"
#include "dataserver/xmlanswer.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

std::string RowsetDocument(const QueryResult& result) {
    AnswerWriter w("AXQueryS", {{"RowCount", std::to_string(result.rows.size())},
                                {"EOF", result.more ? "0" : "1"}});
    std::vector<std::string> names;
    names.reserve(result.columns.size());
    for (const std::string& c : result.columns) names.push_back(XmlName(c));
    for (const auto& row : result.rows) {
        w.Open("AXQuery");
        for (size_t i = 0; i < row.size(); ++i) w.Value(names[i], row[i]);
        w.Close("AXQuery");
    }
    return w.Finish();
}

std::string StatementDocument(const ExecuteResult& result) {
    AnswerWriter w("AXExecute");
    w.Open("OutParams");
    w.Value("NewID", result.newId ? std::to_string(*result.newId) : std::string());
    w.Value("RowsAffected", std::to_string(result.changes));
    w.Close("OutParams");
    return w.Finish();
}

int64_t MaxRowsOf(const Request& request, int64_t fallback) {
    auto text = FindParam(request.params, "MaxRows");
    if (!text) return fallback;
    std::string_view t = TrimWhitespace(*text);
    int64_t value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size() || value <= 0) return fallback;
    return std::min(value, fallback);
}

struct Context {
    Database& db;
    EndpointConfig config;
};

void AxQuery(const Context& ctx, const Request& request, Response& response) {
    auto sql = FindParam(request.params, "SQL");
    if (!sql || TrimWhitespace(*sql).empty()) {
        response = Refusal(Endpoint::Query, Msg("Paramètre SQL manquant"));
        return;
    }
    response.body = QueryAnswer(ctx.db, *sql, MaxRowsOf(request, ctx.config.defaultMaxRows));
}

void AxExecute(const Context& ctx, const Request& request, Response& response) {
    auto sql = FindParam(request.params, "SQLExecute");
    if (!sql || TrimWhitespace(*sql).empty()) {
        response = Refusal(Endpoint::Statement, Msg("Paramètre SQLExecute manquant"));
        return;
    }
    response.body = RunStatement(ctx.db, *sql).document;
}

void AxUpload(const Context& ctx, const Request& request, Response& response) {
    HandlePhotoUpload(ctx.db, ctx.config, request, response);
}

void PhotoFile(const Context& ctx, const Request& request, Response& response) {
    HandlePhotoFile(ctx.config, request, response);
}

void Report(const Context& ctx, const Request& request, Response& response) {
    HandleReport(ctx.db, ctx.config, request, response);
}

void Sms(const Context& ctx, const Request& request, Response& response) {
    HandleSms(ctx.db, request, response);
}

}  // namespace

std::string QueryAnswer(Database& db, std::string_view clientSql, int64_t maxRows) {
    DialectResult translated = TranslateDialect(clientSql);
    if (!translated.ok) return Refusal(Endpoint::Query, translated.error).body;
    QueryResult result = db.Query(translated.sql, maxRows);
    return result.outcome == Outcome::Ok ? RowsetDocument(result)
                                         : Refusal(Endpoint::Query, result.error).body;
}

StatementAnswer RunStatement(Database& db, std::string_view clientSql,
                             const std::function<bool(std::string& error)>& beforeCommit) {
    StatementAnswer answer;
    if (TrimWhitespace(clientSql).empty()) {
        answer.document = Refusal(Endpoint::Statement, Msg("Instruction SQL vide")).body;
        return answer;
    }
    DialectResult translated = TranslateDialect(clientSql);
    if (!translated.ok) {
        answer.document = Refusal(Endpoint::Statement, translated.error).body;
        return answer;
    }
    ExecuteResult result = db.Execute(translated.sql, beforeCommit);
    answer.ok = result.outcome == Outcome::Ok;
    answer.document =
        answer.ok ? StatementDocument(result) : Refusal(Endpoint::Statement, result.error).body;
    return answer;
}

Endpoint EndpointAt(const EndpointConfig& config, std::string_view path) {
    if (StartsWithNoCase(path, config.imagesPath)) return Endpoint::Photos;
    if (EqualsNoCase(path, config.smsPath)) return Endpoint::Sms;
    if (!StartsWithNoCase(path, config.base)) return Endpoint::Unknown;
    return EndpointNamed(path.substr(config.base.size()));
}

void RegisterEndpoints(HttpServer& server, Database& db, const EndpointConfig& config) {
    auto ctx = std::make_shared<Context>(Context{db, config});
    auto bind = [ctx](void (*handler)(const Context&, const Request&, Response&)) {
        return [ctx, handler](const Request& request, Response& response) {
            handler(*ctx, request, response);
        };
    };
    const std::string& base = config.base;
    server.Route("GET", base + "AxQuery", bind(&AxQuery));
    server.Route("GET", base + "AxUpdate", bind(&AxExecute));
    server.Route("GET", base + "AxInsert", bind(&AxExecute));
    server.Route("POST", base + "AxInsert", bind(&AxUpload));
    server.RoutePrefix("GET", config.imagesPath, bind(&PhotoFile));
    server.Route("GET", base + "ReportPDF", bind(&Report));
    server.Route("POST", config.smsPath, bind(&Sms));
    RegisterDocumentEndpoints(server, db, config);
    server.SetErrorWriter(
        [config](const Request& request, Response& response, const std::string& message) {
            response = Refusal(EndpointAt(config, request.path), message);
        });
}

}  // namespace tarmel::dataserver
