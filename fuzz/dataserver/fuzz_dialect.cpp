// Random statements in, well-formed answers out: the dialect translation, the guard and the
// answer writer over arbitrary bytes, on a scratch database with the dealership's schema and a few
// rows (so that reads return values: texts with markup, line breaks and Latin-1 letters).
#include <libxml/parser.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataserver/database.h"
#include "dataserver/dialect.h"
#include "dataserver/endpoints.h"
#include "dataserver/pgdialect.h"
#include "dataserver/sqltokens.h"
#include "dataserver/xmlanswer.h"

namespace {

using namespace tarmel::dataserver;

Database* Scratch() {
    static std::unique_ptr<Database> db = [] {
        char folder[] = "/tmp/tarmel-fuzz-XXXXXX";
        if (mkdtemp(folder) == nullptr) std::abort();
        DatabaseOptions options;
        options.path = std::string(folder) + "/fuzz.db";
        options.create = true;
        options.readers = 1;
        options.budget = std::chrono::milliseconds(50);
        std::string error;
        auto opened = Database::Open(options, error);
        if (!opened) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        const char* rows[] = {
            "Insert into tClients (CliNom, CliPrenom, CliObservations, DateCreation, Concession) "
            "Values ('Dupont & <Fils>', 'Fran\xE7ois', 'ligne 1%0D%0Aligne 2 ]]> \"x\"', "
            "#03/14/2024#, 'C01')",
            "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, RubricText) Values "
            "('Carrosserie', 0, '..', 'Coup\xE9')",
            "Insert into tVehicles (idTVO, NVO, Immatriculation, PrixVente, DateOrdre, Concession) "
            "Values (:NewID, 4711, 'AB-123-CD', 12500.5, #12/31/2009#, 'C01')",
        };
        for (const char* row : rows) {
            if (!RunStatement(*opened, row).ok) std::abort();
        }
        static std::string scratchFolder = folder;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder, ignored);
        });
        return opened;
    }();
    return db.get();
}

void ExpectWellFormed(const std::string& document) {
    xmlDocPtr doc =
        xmlReadMemory(document.data(), static_cast<int>(document.size()), "answer.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) {
        std::fprintf(stderr, "answer is not well-formed:\n%s\n", document.c_str());
        std::abort();
    }
    xmlFreeDoc(doc);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    xmlInitParser();
    Scratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    DialectResult translated = TranslateDialect(input);
    if (translated.ok != translated.error.empty()) std::abort();  // an error exactly when refused

    // The PostgreSQL pass over the same text: an error exactly when refused, and a client
    // statement it accepts still reads as one statement.
    if (translated.ok) {
        static const NameSpelling names = [] {
            NameSpelling n;
            for (const char* name : {"tClients", "CliNom", "tVO - Frevo", "idVO", "rowid"}) {
                n.Add(name);
            }
            return n;
        }();
        for (PgSource source : {PgSource::Client, PgSource::Server}) {
            const PgStatement pg = ToPostgres(translated.sql, names, source);
            if (pg.ok != pg.error.empty()) std::abort();
            if (source != PgSource::Client || !pg.ok) continue;
            std::vector<Token> tokens;
            std::string error;
            if (!Tokenize(pg.sql, tokens, error)) std::abort();
            for (const Token& t : tokens) {
                if (IsPunct(t, ';')) std::abort();
            }
        }
    }

    // The query path, as "AxQuery" answers it.
    ExpectWellFormed(QueryAnswer(*Scratch(), input, 5));

    // The writer over the raw bytes themselves: as a value, a column name, an attribute, a log
    // item.
    AnswerWriter w("AXQueryS", {{"RowCount", std::string(input.substr(0, 20))}, {"EOF", "1"}});
    w.Open("AXQuery");
    w.Value(XmlName(input.substr(0, 40)), input);
    w.Value("sql", translated.sql);
    w.Close("AXQuery");
    ExpectWellFormed(w.Finish({std::string(input), translated.error}));
    return 0;
}
