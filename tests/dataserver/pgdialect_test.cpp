// The PostgreSQL pass: what it rewrites, what it leaves byte for byte, and what it refuses.
#include "dataserver/pgdialect.h"

#include <gtest/gtest.h>

#include "dataserver/textutil.h"

namespace tarmel::dataserver {
namespace {

NameSpelling Schema() {
    NameSpelling names;
    for (const char* name : {"tVehicles", "idVO", "idTVO", "Immatriculation", "DateOrdre", "CliNom",
                             "Concession", "tVO - Frevo", "idFrevo", "MontantHT", "DateFrevo",
                             "TVehiclesClarum", "tClients", "idClient", "CliPrenom"}) {
        names.Add(name);
    }
    return names;
}

struct Translation {
    const char* in;
    const char* out;
};

void ExpectTranslations(PgSource source, const std::vector<Translation>& cases) {
    const NameSpelling names = Schema();
    for (const Translation& c : cases) {
        PgStatement r = ToPostgres(c.in, names, source);
        ASSERT_TRUE(r.ok) << c.in << " : " << r.error;
        EXPECT_EQ(r.sql, c.out) << c.in;
    }
}

TEST(PgDialect, ClientStatementsGetTheSchemasSpellingAndPostgresWords) {
    ExpectTranslations(
        PgSource::Client,
        {
            {"SELECT idVO, Immatriculation FROM tVehicles Where (Concession='X') and "
             "(Immatriculation like '%AB%') ORDER BY Immatriculation, DateOrdre desc",
             "SELECT \"idVO\", \"Immatriculation\" FROM \"tVehicles\" Where (\"Concession\"='X') "
             "and (\"Immatriculation\" ILIKE '%AB%') ORDER BY \"Immatriculation\", \"DateOrdre\" "
             "desc"},
            {"Delete From [tVO - Frevo] where idVO=5",
             "Delete From \"tVO - Frevo\" where \"idVO\"=5"},
            {"Insert into [tVO - Frevo] (DateFrevo, MontantHT, idVO, idFrevo ) Values "
             "('2024-01-02', 12.5, 7, :NewID)",
             "Insert into \"tVO - Frevo\" (\"DateFrevo\", \"MontantHT\", \"idVO\", \"idFrevo\" ) "
             "Values ('2024-01-02', 12.5, 7, $1)"},
            // Found again whatever the case, in any of the three quotings.
            {"select idTVo from tVehiclesClarum", "select \"idTVO\" from \"TVehiclesClarum\""},
            {"select `clinom`, \"CLIPRENOM\", [IdClient] from TCLIENTS",
             "select \"CliNom\", \"CliPrenom\", \"idClient\" from \"tClients\""},
            // Unknown quoted names keep their spelling; a '"' inside is doubled.
            {"select [Un \"nom\"], `a``b`, \"c\"\"d\" from tClients",
             "select \"Un \"\"nom\"\"\", \"a`b\", \"c\"\"d\" from \"tClients\""},
            {"select 1 from tClients where CliNom not like 'A%' and CliPrenom LIKE 'b%'",
             "select 1 from \"tClients\" where \"CliNom\" not ILIKE 'A%' and \"CliPrenom\" ILIKE "
             "'b%'"},
            {"select ifnull(CliNom, '') || IFNULL (CliPrenom, '') from tClients",
             "select coalesce(\"CliNom\", '') || coalesce (\"CliPrenom\", '') from \"tClients\""},
            // Numbers are never names; True, False and unknown words pass as written.
            {"update tVehicles set Vendu=True, idTVO=1e5 where idVO in (12.5, 0, 1E-3)",
             "update \"tVehicles\" set Vendu=True, \"idTVO\"=1e5 where \"idVO\" in (12.5, 0, "
             "1E-3)"},
            // Nothing inside a literal or a comment changes, not even what would be refused.
            {"select CliNom from tClients where CliNom = 'tClients like ; pg_class :NewID -- x' "
             "and idClient > 0",
             "select \"CliNom\" from \"tClients\" where \"CliNom\" = 'tClients like ; pg_class "
             ":NewID -- x' and \"idClient\" > 0"},
            {"select 'it''s idVO'';--' from tVehicles",
             "select 'it''s idVO'';--' from \"tVehicles\""},
            {"select idVO -- idVO like pg_class; :NewID ?\nfrom tVehicles /* tClients ifnull( $1 "
             "*/",
             "select \"idVO\" -- idVO like pg_class; :NewID ?\nfrom \"tVehicles\" /* tClients "
             "ifnull( $1 */"},
            // A CR LF line end closes a line comment where PostgreSQL closes it too.
            {"select idVO -- note\r\nfrom tVehicles",
             "select \"idVO\" -- note\r\nfrom \"tVehicles\""},
        });
}

TEST(PgDialect, AliasesKeepTheirDeclaredSpellingEverywhere) {
    ExpectTranslations(
        PgSource::Client,
        {
            {"select count(idClient) as cpt from tClients group by CliNom order by cpt",
             "select count(\"idClient\") as \"cpt\" from \"tClients\" group by \"CliNom\" order by "
             "\"cpt\""},
            // Used before its declaration, in another case, or quoted.
            {"select CPT from (select count(*) AS Cpt from tClients) t order by [cpt]",
             "select \"Cpt\" from (select count(*) AS \"Cpt\" from \"tClients\") t order by "
             "\"Cpt\""},
            {"select CliNom as [Nom du client] from tClients order by `nom du client`",
             "select \"CliNom\" as \"Nom du client\" from \"tClients\" order by \"Nom du client\""},
            // A schema name stays the schema's even when declared as an alias.
            {"select idVO as IDVO from tVehicles order by idvo",
             "select \"idVO\" as \"idVO\" from \"tVehicles\" order by \"idVO\""},
            // The type of a CAST is no alias; a function is not renamed by an alias of its name.
            {"select cast(idVO as integer) as n, max(idTVO) as Max from tVehicles order by N",
             "select cast(\"idVO\" as integer) as \"n\", max(\"idTVO\") as \"Max\" from "
             "\"tVehicles\" order by \"n\""},
        });
}

TEST(PgDialect, PlaceholdersAreNumberedByFirstAppearance) {
    const NameSpelling names = Schema();
    PgStatement client = ToPostgres(
        "update tClients set CliNom=:NewIDbis where idClient=:NewID or idClient=:NewIDbis", names,
        PgSource::Client);
    ASSERT_TRUE(client.ok) << client.error;
    EXPECT_EQ(client.sql,
              "update \"tClients\" set \"CliNom\"=$1 where \"idClient\"=$2 or \"idClient\"=$1");
    EXPECT_EQ(client.params, (std::vector<std::string>{":NewIDbis", ":NewID"}));

    // The server's "?" takes the number after the largest so far, as SQLite numbers them.
    PgStatement server =
        ToPostgres("update tVehicles set idTVO=? where idVO=?1 or idVO=?", names, PgSource::Server);
    ASSERT_TRUE(server.ok) << server.error;
    EXPECT_EQ(server.sql, "update \"tVehicles\" set \"idTVO\"=$1 where \"idVO\"=$1 or \"idVO\"=$2");
    EXPECT_EQ(server.params, (std::vector<std::string>{"?", "?1", "?"}));
}

TEST(PgDialect, ServerStatementsAreTranslatedButNeverRefused) {
    ExpectTranslations(PgSource::Server,
                       {
                           {"select ?3, ? from tVehicles where CliNom like ?2",
                            "select $3, $4 from \"tVehicles\" where \"CliNom\" ILIKE $2"},
                           // A placeholder never merges into the word beside it.
                           {"select x?2, ?y", "select x $2, $3 y"},
                           {"select 1::text; select pg_backend_pid(), $1, :other",
                            "select 1::text; select pg_backend_pid(), $1, :other"},
                       });
    PgStatement open = ToPostgres("select 'open", Schema(), PgSource::Server);
    EXPECT_FALSE(open.ok);
    EXPECT_NE(open.error.find(Msg("Texte non terminé")), std::string::npos);
}

TEST(PgDialect, KindAndInsertedTableComeFromTheFirstWords) {
    struct Case {
        const char* sql;
        PgKind kind;
        const char* insertTable;
    };
    const Case cases[] = {
        {"Insert into [tVO - Frevo] (idFrevo) Values (:NewID)", PgKind::Insert, "tVO - Frevo"},
        {"INSERT /* x */ INTO tvehicles (idVO) values (1)", PgKind::Insert, "tVehicles"},
        {"insert into tInconnue values (1)", PgKind::Insert, "tInconnue"},
        {"  -- note\n  Select 1", PgKind::Select, ""},
        {"update tClients set CliNom='x'", PgKind::Update, ""},
        {"delete from tClients", PgKind::Delete, ""},
        {"with t as (select 1) select * from t", PgKind::Other, ""},
        {"", PgKind::Other, ""},
    };
    const NameSpelling names = Schema();
    for (const Case& c : cases) {
        PgStatement r = ToPostgres(c.sql, names, PgSource::Client);
        ASSERT_TRUE(r.ok) << c.sql << " : " << r.error;
        EXPECT_EQ(r.kind, c.kind) << c.sql;
        EXPECT_EQ(r.insertTable, c.insertTable) << c.sql;
    }
}

TEST(PgDialect, RefusesWhatPostgresWouldReadOtherwiseOrShouldNotReach) {
    struct Case {
        const char* sql;
        const char* error;  // UTF-8; the answer carries it in Latin-1
    };
    const Case cases[] = {
        {"select 1; delete from tClients", "Requête refusée : une seule instruction par requête"},
        {"select version()", "Requête refusée : fonction non autorisée : version"},
        {"select upper(CliNom), now /* */ () from tClients", "fonction non autorisée : now"},
        {"select [set_config]('a', 'b', false)", "fonction non autorisée : [set_config]"},
        {"select * from pg_class", "accès au catalogue non autorisé : pg_class"},
        {"select * from PG_Catalog.x", "accès au catalogue non autorisé : PG_Catalog"},
        {"select * from information_schema.tables", "catalogue non autorisé : information_schema"},
        {"select * from \"pg_user\"", "accès au catalogue non autorisé : \"pg_user\""},
        {"select cast('tClients' as regclass)", "accès au catalogue non autorisé : regclass"},
        {"select current_user", "accès au catalogue non autorisé : current_user"},
        {"select idVO::text from tVehicles", "Requête refusée : syntaxe non autorisée : ::"},
        {"select $1", "syntaxe non autorisée : $1"},
        {"select $$x$$", "syntaxe non autorisée : $$x$$"},
        // E'' reads \' as a quote: PostgreSQL would end the literal before the delete and run it.
        {"select e'\\''; delete from tClients; --'", "syntaxe non autorisée : e'\\''; delete"},
        {"select 1E'\\''; --'", "syntaxe non autorisée : 1E'\\''; --'"},
        {"select 1.e'x'", "syntaxe non autorisée : e'x'"},
        {"select U&\"\\0070g_class\"", "syntaxe non autorisée : U&"},
        {"select 1abc", "syntaxe non autorisée : 1abc"},
        {"select * from tClients where idClient = ?", "syntaxe non autorisée : ?"},
        {"select 1 /* a /* b */ from pg_class -- */", "syntaxe non autorisée : /* a /* b */"},
        {"select 1 -- note\rdelete from tClients\n", "syntaxe non autorisée : -- note"},
        {"select * into tCopie from tClients", "syntaxe non autorisée : into"},
        {"(select * into tCopie from tClients)", "syntaxe non autorisée : into"},
        {"select 1 where d = #01/02/2024#", "syntaxe non autorisée : #01/02/2024#"},
        {"update tClients set CliNom=:NewId", "Requête refusée : paramètre inconnu :NewId"},
        {"update tClients set CliNom=:autre", "paramètre inconnu :autre"},
        {"select [open", "Nom entre délimiteurs non terminé"},
    };
    const NameSpelling names = Schema();
    for (const Case& c : cases) {
        PgStatement r = ToPostgres(c.sql, names, PgSource::Client);
        EXPECT_FALSE(r.ok) << c.sql;
        EXPECT_TRUE(r.sql.empty()) << c.sql;
        EXPECT_NE(r.error.find(Msg(c.error)), std::string::npos) << c.sql << " : " << r.error;
    }
}

}  // namespace
}  // namespace tarmel::dataserver
