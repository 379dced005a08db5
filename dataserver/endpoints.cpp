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

std::string Msg(std::string_view utf8) {
    return tarmel::Latin1FromUtf8(utf8);
}

std::string_view EndpointOf(std::string_view path) {
    size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

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
        response.body = ErrorDocument(request.path, Msg("Paramètre SQL manquant"));
        return;
    }
    response.body = QueryAnswer(ctx.db, *sql, MaxRowsOf(request, ctx.config.defaultMaxRows));
}

void AxExecute(const Context& ctx, const Request& request, Response& response) {
    auto sql = FindParam(request.params, "SQLExecute");
    if (!sql || TrimWhitespace(*sql).empty()) {
        response.body = ErrorDocument(request.path, Msg("Paramètre SQLExecute manquant"));
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
    if (!translated.ok) return ErrorDocument("AxQuery", translated.error);
    QueryResult result = db.Query(translated.sql, maxRows);
    return result.outcome == Outcome::Ok ? RowsetDocument(result)
                                         : ErrorDocument("AxQuery", result.error);
}

StatementAnswer RunStatement(Database& db, std::string_view clientSql,
                             const std::function<bool(std::string& error)>& beforeCommit) {
    StatementAnswer answer;
    if (TrimWhitespace(clientSql).empty()) {
        answer.document = LogDocument("AXExecute", {Msg("Instruction SQL vide")});
        return answer;
    }
    DialectResult translated = TranslateDialect(clientSql);
    if (!translated.ok) {
        answer.document = LogDocument("AXExecute", {translated.error});
        return answer;
    }
    ExecuteResult result = db.Execute(translated.sql, beforeCommit);
    answer.ok = result.outcome == Outcome::Ok;
    answer.document =
        answer.ok ? StatementDocument(result) : LogDocument("AXExecute", {result.error});
    return answer;
}

std::string ErrorDocument(std::string_view path, const std::string& message) {
    std::string_view endpoint = EndpointOf(path);
    if (EqualsNoCase(endpoint, "AxQuery")) {
        AnswerWriter w("AXQueryS", {{"RowCount", "0"}, {"EOF", "1"}});
        return w.Finish({message});
    }
    return LogDocument("AXExecute", {message});
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
    server.Route("POST", "/tools/smssend/smssend.php5", bind(&Sms));
    RegisterDocumentEndpoints(server, db, config);
    server.SetErrorWriter([](const Request& request, Response& response, const std::string& m) {
        response.status = 200;
        response.contentType = "text/xml; charset=ISO-8859-1";
        response.body = ErrorDocument(request.path, m);
    });
}

}  // namespace tarmel::dataserver
