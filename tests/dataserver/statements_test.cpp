// The statements of the client, sent over HTTP to the real server exactly as the client builds
// them, and what the server stores and answers.
#include <gtest/gtest.h>

#include <memory>

#include "server/encoders.h"
#include "server/xml/texttools.h"
#include "tests/dataserver/serverclient.h"

namespace tarmel::testsupport {
namespace {

// The test rows live in their own dealership, so the demo data never gets in the way.
const std::string kDealer = "ZT1";

class Statements : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<DataServerProcess>(); }
    static void TearDownTestSuite() { server_.reset(); }

    // The statements of this file are written in UTF-8; the client sends Latin-1 bytes.
    static Rowset Q(const std::string& sql, int maxRows = 0) {
        return Query(*server_, tarmel::Latin1FromUtf8(sql), maxRows);
    }
    static Outcome Run(const std::string& endpoint, const std::string& sql) {
        return Execute(*server_, endpoint, tarmel::Latin1FromUtf8(sql));
    }
    // Runs a statement that must succeed and returns its NewID.
    static std::string Ok(const std::string& endpoint, const std::string& sql) {
        Outcome o = Run(endpoint, sql);
        EXPECT_TRUE(o.logItems.empty()) << sql << "\n" << o.raw;
        return o.newId;
    }
    // One value of the single row of a query.
    static std::string One(const std::string& sql, const std::string& column) {
        Rowset r = Q(sql);
        EXPECT_TRUE(r.logItems.empty()) << sql << "\n" << r.raw;
        if (r.rows.size() != 1) {
            ADD_FAILURE() << "expected one row for " << sql << "\n" << r.raw;
            return "<no row>";
        }
        return r.rows[0][column];
    }
    // A used vehicle inserted the way page 1 of a new record does; returns {idTVO, idVO}.
    static std::pair<std::string, std::string> NewVehicle(const std::string& plate, int typeVO = 1,
                                                          const std::string& more = "",
                                                          const std::string& moreValues = "",
                                                          int number = 4711) {
        std::string id =
            Ok("AxInsert", "Insert into tVehicles (NVO,Immatriculation,InfoMarque,Site" + more +
                               ", idTVO, TypeVO, idVO, idOwner, Concession) Values (" +
                               std::to_string(number) + "," + SqlText(plate) + ",'Renault','NORD'" +
                               moreValues + ", :NewID, " + std::to_string(typeVO) +
                               ", :NewIDbis,17, '" + kDealer + "')");
        return {id, One("select idVO from tVehicles where idTVO=" + id, "idVO")};
    }

    static std::unique_ptr<DataServerProcess> server_;
};
std::unique_ptr<DataServerProcess> Statements::server_;

TEST_F(Statements, PageInsertAndUpdateOfAUsedVehicleStoreWhatTheySay) {
    Outcome insert =
        Run("AxInsert",
            "Insert into tVehicles (NVO,Immatriculation,PrixVente,DateEntree,Commentaires, "
            "idTVO, TypeVO, idVO, idOwner, Concession) Values (5120,'AB-123-CD',12500.00," +
                SqlDate("14/03/2024") + "," + SqlText("l'état \"neuf\"\r\n& <propre>") +
                ", :NewID, 1, :NewIDbis,17, '" + kDealer + "')");
    ASSERT_TRUE(insert.logItems.empty()) << insert.raw;
    ASSERT_FALSE(insert.newId.empty());
    Rowset r =
        Q("select idTVO, idVO, NVO, PrixVente, DateEntree, Commentaires, DateOrdre, TypeVO "
          "from tVehicles where idTVO=" +
          insert.newId);
    ASSERT_EQ(r.rows.size(), 1u) << r.raw;
    auto& row = r.rows[0];
    EXPECT_EQ(row["idTVO"], insert.newId);
    EXPECT_NE(row["idVO"], insert.newId);  // :NewIDbis is a second, distinct identifier
    EXPECT_EQ(row["PrixVente"], "12500.00");
    EXPECT_EQ(row["DateEntree"], "14/03/2024");
    EXPECT_EQ(row["Commentaires"],
              tarmel::Latin1FromUtf8("l'état \"neuf\"&cr;&amp; &lt;propre&gt;"));
    EXPECT_EQ(row["DateOrdre"], "");  // empty as a start tag and its closing tag
    EXPECT_NE(r.raw.find("<DateOrdre></DateOrdre>"), std::string::npos);
    EXPECT_EQ(r.columnOrder[0].size(), 8u);

    // Page update: two changed fields and the key term, as change detection writes them.
    const std::string idVO = row["idVO"];
    Ok("AxUpdate", "Update tVehicles set PrixVente=13000.5,DateEntree=NULL,DateOrdre=" +
                       SqlDate("31/12/2009") + " where (idVO=" + idVO + ")");
    Rowset after = Q("select PrixVente, DateEntree, DateOrdre from tVehicles where idVO=" + idVO);
    ASSERT_EQ(after.rows.size(), 1u);
    EXPECT_EQ(after.rows[0]["PrixVente"], "13000.50");
    EXPECT_EQ(after.rows[0]["DateEntree"], "");
    EXPECT_EQ(after.rows[0]["DateOrdre"], "31/12/2009");

    // Booleans travel as True/False and are written back the same way.
    Ok("AxUpdate",
       "Update tVehicles set FlagEligible=True,FlagNonDiffuse=False where (idVO=" + idVO + ")");
    Rowset flags = Q("select FlagEligible, FlagNonDiffuse from tVehicles where idVO=" + idVO);
    ASSERT_EQ(flags.rows.size(), 1u);
    EXPECT_EQ(flags.rows[0]["FlagEligible"], "True");
    EXPECT_EQ(flags.rows[0]["FlagNonDiffuse"], "False");

    // An empty key gives an isNull term.
    Ok("AxUpdate",
       "Update tVehicles set InfoCouleur='Gris' where (isNull(Chassis)) and (idVO=" + idVO + ")");
    EXPECT_EQ(One("select InfoCouleur from tVehicles where idVO=" + idVO, "InfoCouleur"), "Gris");
}

TEST_F(Statements, ClientPagesInsertWithTheirIdentifierPieces) {
    // Page 7: a new client.
    std::string client = Ok("AxInsert",
                            "Insert into tClients (CliNom,CliPrenom,Site, idClient, "
                            "DateCreation, idOwner, Concession) Values ('Dupont','Jean',"
                            "'NORD', :NewID, " +
                                SqlDate("14/03/2024") + ",17, '" + kDealer + "')");
    ASSERT_FALSE(client.empty());
    EXPECT_EQ(One("select DateCreation from tClients where idClient=" + client, "DateCreation"),
              "14/03/2024");
    // Page 8: a vehicle of that client.
    std::string vehicle = Ok("AxInsert",
                             "Insert into TVehiclesClarum (InfoMarque,Immatriculation, "
                             "idClient, idTVO, NVO, idOwner, Concession) Values "
                             "('Peugeot','GH-404-ZT'," +
                                 client + ", :NewID, :NewIDbis,17, '" + kDealer + "')");
    Rowset v = Q("select idClient, NVO, InfoMarque from TVehiclesClarum where idTVO=" + vehicle);
    ASSERT_EQ(v.rows.size(), 1u);
    EXPECT_EQ(v.rows[0]["idClient"], client);
    EXPECT_FALSE(v.rows[0]["NVO"].empty());
    // Page 9 of a client: no identifier pieces at all; the answer names the row all the same.
    Outcome nine = Run("AxInsert",
                       "Insert into tClients (PAMarque1, idOwner, Concession) Values "
                       "('Audi',17, '" +
                           kDealer + "')");
    EXPECT_TRUE(nine.logItems.empty()) << nine.raw;
    ASSERT_FALSE(nine.newId.empty());
    EXPECT_EQ(One("select PAMarque1 from tClients where idClient=" + nine.newId, "PAMarque1"),
              "Audi");
    // The client-vehicles grid deletes with its own spelling of the table.
    Ok("AxUpdate", "Delete * From tVehiclesClarum where idTVo=" + vehicle);
    EXPECT_TRUE(Q("select idTVO from TVehiclesClarum where idTVO=" + vehicle).rows.empty());
}

TEST_F(Statements, DeletesOfARecordAndTheSweep) {
    auto [idTVO, idVO] = NewVehicle("DE-111-LL");
    Ok("AxInsert",
       "INSERT INTO [tVO - Liens Images] (idImage, idVO, NumImage, NomImage, DateImage) "
       "VALUES (:NewID, " +
           idVO + ", 1, 'Z" + idVO + "-01', '2024-03-14 10:11:12')");
    Ok("AxInsert",
       "Insert into [tVO - Frevo] (DateFrevo,TypeFrevo,MontantHT, idVO, idFrevo ) Values (" +
           SqlDate("01/03/2024") + ",'interne',10.00, " + idVO + ", :NewID)");
    for (const std::string table : {"[tVO - Liens Images]", "[tVO - Frevo]", "[tVehicles]"}) {
        Ok("AxUpdate", "Delete * From " + table + " where idVO=" + idVO);
    }
    for (const std::string table : {"[tVO - Liens Images]", "[tVO - Frevo]", "tVehicles"}) {
        EXPECT_EQ(One("select count(*) as n from " + table + " where idVO=" + idVO, "n"), "0")
            << table;
    }
    std::string client = Ok("AxInsert",
                            "Insert into tClients (CliNom, idClient, DateCreation, idOwner, "
                            "Concession) Values ('Effacé', :NewID, " +
                                SqlDate("01/01/2024") + ",17, '" + kDealer + "')");
    Ok("AxUpdate", "Delete * From [tClients] where idClient=" + client);
    EXPECT_EQ(One("select count(*) as n from tClients where idClient=" + client, "n"), "0");

    // The sweep removes the cancelled new vehicles without a buyer, and only them.
    auto cancelled = NewVehicle("SW-001-AA", 2, ",DateAnnulation", "," + SqlDate("02/02/2024"));
    auto sold = NewVehicle("SW-002-AA", 2, ",DateAnnulation,Acheteur",
                           "," + SqlDate("02/02/2024") + ",'MARTIN'");
    auto live = NewVehicle("SW-003-AA", 2);
    Ok("AxUpdate",
       "DELETE * FROM tVehicles WHERE (((TypeVO)=2) AND ((Acheteur) Is Null) AND "
       "((DateAnnulation) Is Not Null));");
    EXPECT_EQ(One("select count(*) as n from tVehicles where idTVO=" + cancelled.first, "n"), "0");
    EXPECT_EQ(One("select count(*) as n from tVehicles where idTVO=" + sold.first, "n"), "1");
    EXPECT_EQ(One("select count(*) as n from tVehicles where idTVO=" + live.first, "n"), "1");
}

TEST_F(Statements, RefurbishmentActionAndPhotoLines) {
    auto [idTVO, idVO] = NewVehicle("FR-505-EV");
    // A refurbishment line of the add row, its amount edit, the fixed fee and a delete.
    std::string frevo = Ok("AxInsert",
                           "Insert into [tVO - Frevo] (DateFrevo,LibelleFrevo,TypeFrevo,"
                           "MontantHT, idVO, idFrevo ) Values (" +
                               SqlDate("14/03/2024") + "," + SqlText("Pneus été") +
                               ",'interne',120.5, " + idVO + ", :NewID)");
    Ok("AxUpdate", "Update [tVO - Frevo] set MontantHT=12.00 where (idFrevo=" + frevo + ")");
    Ok("AxInsert",
       "Insert into [tVO - Frevo] (DateFrevo, TypeFrevo, MontantHT, idVO, idFrevo ) "
       "Values (#03/14/2024#,'fixe', 150.00, " +
           idVO + ", :NewID) ");
    Rowset lines =
        Q("select idFrevo, DateFrevo, LibelleFrevo, TypeFrevo, MontantHT from [tVO - Frevo] "
          "where idVO=" +
          idVO + " order by idFrevo");
    ASSERT_EQ(lines.rows.size(), 2u) << lines.raw;
    EXPECT_EQ(lines.rows[0]["LibelleFrevo"], tarmel::Latin1FromUtf8("Pneus été"));
    EXPECT_EQ(lines.rows[0]["MontantHT"], "12.00");
    EXPECT_EQ(lines.rows[1]["TypeFrevo"], "fixe");
    EXPECT_EQ(lines.rows[1]["MontantHT"], "150.00");
    EXPECT_EQ(lines.rows[1]["DateFrevo"], "14/03/2024");
    Ok("AxUpdate", "Delete * from [tVO - Frevo] where (idFrevo=" + frevo + ")");
    EXPECT_EQ(One("select count(*) as n from [tVO - Frevo] where idVO=" + idVO, "n"), "1");

    // An action line: insert, edit, delete.
    std::string action = Ok("AxInsert",
                            "Insert into tActions (DateAction,idCom,TypeAction,"
                            "CommentaireAction, idClient, idAction ) Values (#05/20/2010#,"
                            "12,3," +
                                SqlText("rappeler\r\nlundi") + ", 4711, :NewID)");
    Ok("AxUpdate", "Update tActions set idCom=14,TypeAction=2 where (idAction=" + action + ")");
    Rowset a =
        Q("select DateAction, idCom, TypeAction, CommentaireAction, idClient from tActions "
          "where idAction=" +
          action);
    ASSERT_EQ(a.rows.size(), 1u);
    EXPECT_EQ(a.rows[0]["DateAction"], "20/05/2010");
    EXPECT_EQ(a.rows[0]["idCom"], "14");
    EXPECT_EQ(a.rows[0]["TypeAction"], "2");
    EXPECT_EQ(a.rows[0]["CommentaireAction"], "rappeler&cr;lundi");
    Ok("AxUpdate", "Delete * from tActions where (idAction=" + action + ")");
    EXPECT_TRUE(Q("select idAction from tActions where idAction=" + action).rows.empty());

    // The photo default and its removal.
    Ok("AxUpdate", "Update tVehicles set NomImage='Z0004711-01' where idVO=" + idVO);
    EXPECT_EQ(One("select NomImage from tVehicles where idVO=" + idVO, "NomImage"), "Z0004711-01");
    Ok("AxUpdate", "Update tVehicles set NomImage=NULL where idVO=" + idVO);
    EXPECT_EQ(One("select NomImage from tVehicles where idVO=" + idVO, "NomImage"), "");
}

TEST_F(Statements, ListMaintenanceStatements) {
    Ok("AxUpdate",
       "Insert into ListRubrics (RubricType, RubricIndex, RubricItem, RubricText) Values "
       "('CarrosserieZT', 0, '..' ," +
           SqlText("Coupé") + ")");
    Rowset r =
        Q("select RubricIndex, RubricItem, RubricText from ListRubrics where "
          "RubricType='CarrosserieZT'");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0]["RubricText"], tarmel::Latin1FromUtf8("Coupé"));
    EXPECT_EQ(r.rows[0]["RubricItem"], "..");
    Ok("AxUpdate", "Delete * From ListRubrics where RubricType='CarrosserieZT' and RubricText=" +
                       SqlText("Coupé"));
    EXPECT_TRUE(
        Q("select RubricText from ListRubrics where RubricType='CarrosserieZT'").rows.empty());

    Ok("AxUpdate", "Insert into ListModels (VMarque, VModele) Values (" + SqlText("Citro'ZT") +
                       ", " + SqlText("C3 Aircross") + ")");
    EXPECT_EQ(One("select VModele from ListModels where VMarque='Citro''ZT'", "VModele"),
              "C3 Aircross");
    Ok("AxUpdate",
       "Delete * From ListModels where VMarque='Citro''ZT' and VModele=" + SqlText("C3 Aircross"));
    EXPECT_TRUE(Q("select VModele from ListModels where VMarque='Citro''ZT'").rows.empty());

    Ok("AxUpdate",
       "Insert into ListVersions (VMarque, VModele, VVersion, VConcession) Values "
       "('Vol''ZT', 'XC40', 'Plus', '" +
           kDealer + "')");
    Ok("AxUpdate",
       "Delete * From ListVersions where VMarque='Vol''ZT' and VModele='XC40' and "
       "VVersion='Plus' and VConcession='" +
           kDealer + "'");
    EXPECT_TRUE(Q("select VVersion from ListVersions where VMarque='Vol''ZT'").rows.empty());
}

// The search statement of the search panel, built as the panel builds it.
std::string Search(int kind, const std::string& text, const std::string& dealer,
                   const std::string& prefix = "", bool exact = false) {
    static const char* fields[] = {"",          "Immatriculation", "Acheteur",
                                   "NVO",       "Immatriculation", "CliNom",
                                   "CliMobile", "CliTelDom"};
    const std::string f = fields[kind];
    std::string condition = "(" + f + " like '%" + text + "%')";
    std::string order = f + ", DateOrdre desc";
    std::string table = "TVehicles";
    std::string columns;
    if (kind >= 5) {
        if (text.empty()) condition = "(false)";
        order = kind == 5 ? "CliNom, CliPreNom, idClient desc" : f + ", idClient desc";
        table = "TClients";
        columns =
            "-1 AS TypeVO, idClient AS VO_ID, idClient AS VO_NO, CliMobile, [CliCP], [CliVille], "
            "[CliAdresse1], [CliAdresse2], [CliNom], [CliPrenom], CliTelDom, Site AS VO_SITE, "
            "Concession, idOwner";
    } else if (kind == 4) {
        table = "TVehiclesClarum";
        columns =
            "TypeVO, idClient as VO_ID, NVO as VO_NO, Immatriculation AS VO_IMMAT, [InfoMarque], "
            "[InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, DateOrdre AS "
            "VO_ORDRE, " +
            f + " AS VO_Result, Site as VO_SITE, Concession, idOwner";
    } else {
        if (kind == 3) {
            bool digits =
                !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
            condition = digits ? "(NVO>=" + text + ")" : "(false)";
            order = "NVO, DateOrdre desc";
        }
        columns =
            "TypeVO, idTVO as VO_ID, StatutVD, NVO as VO_NO, Immatriculation AS VO_IMMAT, "
            "[InfoMarque], [InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, "
            "DateOrdre AS VO_ORDRE, " +
            f + " AS VO_Result, Site as VO_SITE, Concession, idOwner";
        condition = prefix + condition;
    }
    if (exact) {
        std::string c;
        for (size_t i = 0; i < condition.size(); ++i) {
            if (condition.compare(i, 4, "like") == 0) {
                c += "=";
                i += 3;
            } else if (condition[i] != '%') {
                c += condition[i];
            }
        }
        condition = c;
    }
    if (dealer != "QUINTAR") condition = "(Concession='" + dealer + "') and (" + condition + ")";
    std::string sql =
        "SELECT " + columns + " FROM " + table + " Where " + condition + " ORDER BY " + order;
    std::string sent;
    for (char c : sql) sent += c == '%' ? std::string("%25") : std::string(1, c);
    return sent;
}

TEST_F(Statements, SearchesOfEveryKind) {
    NewVehicle("SR-100-AA", 1, ",Acheteur,DateOrdre", ",'LEFÈVRE'," + SqlDate("01/02/2024"),
               884400);
    NewVehicle("SR-100-AB", 1, ",Acheteur,DateOrdre", ",'LEFEBVRE'," + SqlDate("03/02/2024"),
               884401);
    auto d = NewVehicle("SR-100-AC", 2, ",StatutVD", ",'DEMO'", 884402);
    // Kind 1, plate, lower case typed: the comparison ignores case.
    Rowset plates = Q(Search(1, "sr-100-a", kDealer), 50);
    ASSERT_EQ(plates.rows.size(), 3u) << plates.raw;
    EXPECT_EQ(plates.rowCount, "3");
    EXPECT_NE(plates.eof, "0");
    EXPECT_EQ(plates.rows[0]["VO_IMMAT"], "SR-100-AA");
    EXPECT_EQ(plates.rows[0]["VO_ORDRE"], "01/02/2024");
    EXPECT_EQ(
        plates.columnOrder[0],
        (std::vector<std::string>{"TypeVO", "VO_ID", "StatutVD", "VO_NO", "VO_IMMAT", "InfoMarque",
                                  "InfoModele", "VO_VERSION", "VO_BUYER", "VO_ORDRE", "VO_Result",
                                  "VO_SITE", "Concession", "idOwner"}));
    // MaxRows cuts the rowset and EOF says that more rows exist.
    Rowset two = Q(Search(1, "SR-100-A", kDealer), 2);
    EXPECT_EQ(two.rows.size(), 2u);
    EXPECT_EQ(two.rowCount, "2");
    EXPECT_EQ(two.eof, "0");
    // Exactly as many rows as allowed: no more rows exist, so EOF is not "0".
    Rowset exact = Q(Search(1, "SR-100-A", kDealer), 3);
    EXPECT_EQ(exact.rows.size(), 3u);
    EXPECT_NE(exact.eof, "0");
    // Family filters: new vehicles without a demonstration status, then demonstration vehicles.
    EXPECT_EQ(
        Q(Search(1, "SR-100", kDealer, "(TypeVO=2) and (isnull(StatutVD)) and (SITE='nord') and "))
            .rows.size(),
        0u);
    Rowset demo = Q(Search(1, "SR-100", kDealer, "(TypeVO=2) and (not isnull(StatutVD)) and "));
    ASSERT_EQ(demo.rows.size(), 1u);
    EXPECT_EQ(demo.rows[0]["VO_ID"], d.first);
    // Kind 2, buyer, accented letters travel raw and compare as they are.
    Rowset buyers = Q(Search(2, "LEFÈ", kDealer));
    ASSERT_EQ(buyers.rows.size(), 1u);
    EXPECT_EQ(buyers.rows[0]["VO_BUYER"], tarmel::Latin1FromUtf8("LEFÈVRE"));
    // The search text travels unencoded: an "&" stays in the statement, before "&MaxRows=".
    NewVehicle("SR-100-AD", 1, ",Acheteur", "," + SqlText("R&D=AUTO"), 884403);
    Rowset ampersand = Q(Search(2, "R&D=A", kDealer), 50);
    ASSERT_EQ(ampersand.rows.size(), 1u) << ampersand.raw;
    EXPECT_EQ(ampersand.rows[0]["VO_BUYER"], "R&amp;D=AUTO");
    // Kind 3, number: NVO>=.
    Rowset numbers = Q(Search(3, "884401", kDealer));
    ASSERT_EQ(numbers.rows.size(), 3u);
    EXPECT_EQ(numbers.rows[0]["VO_NO"], "884401");
    EXPECT_EQ(Q(Search(3, "8844O1", kDealer)).rows.size(), 0u);  // not all digits: "(false)"
    // Exact search and the group-wide user (no dealership condition).
    EXPECT_EQ(Q(Search(1, "SR-100-AB", "QUINTAR", "", true)).rows.size(), 1u);

    // Client kinds.
    std::string c1 = Ok("AxInsert",
                        "Insert into tClients (CliNom,CliPrenom,CliMobile,CliTelDom,Site, "
                        "idClient, DateCreation, idOwner, Concession) Values ('ZTDURAND',"
                        "'Léa','06 12 34 56 78','01 23 45 67 89','NORD', :NewID, " +
                            SqlDate("14/03/2024") + ",17, '" + kDealer + "')");
    Ok("AxInsert",
       "Insert into TVehiclesClarum (Immatriculation, idClient, idTVO, NVO, idOwner, "
       "Concession) Values ('CL-777-ZT'," +
           c1 + ", :NewID, :NewIDbis,17, '" + kDealer + "')");
    Rowset byPlate = Q(Search(4, "CL-777", kDealer));
    ASSERT_EQ(byPlate.rows.size(), 1u) << byPlate.raw;
    EXPECT_EQ(byPlate.rows[0]["VO_ID"], c1);
    Rowset byName = Q(Search(5, "ztdur", kDealer));
    ASSERT_EQ(byName.rows.size(), 1u) << byName.raw;
    EXPECT_EQ(byName.rows[0]["TypeVO"], "-1");
    EXPECT_EQ(byName.rows[0]["CliPrenom"], tarmel::Latin1FromUtf8("Léa"));
    EXPECT_EQ(byName.rows[0]["CliCP"], "");
    EXPECT_EQ(Q(Search(6, "06 12 34", kDealer)).rows.size(), 1u);
    EXPECT_EQ(Q(Search(7, "01 23 45", kDealer)).rows.size(), 1u);
    EXPECT_EQ(Q(Search(5, "", kDealer)).rows.size(), 0u);  // "(false)"
}

TEST_F(Statements, DuplicateCountComparesWithoutCase) {
    for (int i = 0; i < 2; ++i) {
        Ok("AxInsert",
           "Insert into tClients (CliNom,CliPrenom, idClient, DateCreation, idOwner, "
           "Concession) Values ('Zdupont','Jean', :NewID, " +
               SqlDate("14/03/2024") + ",17, '" + kDealer + "')");
    }
    EXPECT_EQ(One("select count(idClient) as cpt from tClients group by CliNom having "
                  "(CliNom='ZDUPONT')",
                  "cpt"),
              "2");
    EXPECT_EQ(One("select count(idClient) as cpt from tClients group by CliNom, CliPrenom having "
                  "(CliNom='ZDUPONT') and (CliPreNom='JEAN')",
                  "cpt"),
              "2");
    Rowset none =
        Q("select count(idClient) as cpt from tClients group by CliNom having "
          "(CliNom='ZNOBODY')");
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.rowCount, "0");
}

TEST_F(Statements, AccentedTextRoundTripsByteForByte) {
    // Every Latin-1 letter and sign from 0xA0 to 0xFF, with the characters the URL treats
    // specially.
    std::string upper;
    for (int c = 0xA0; c <= 0xFF; ++c) upper += static_cast<char>(c);
    const std::string text =
        "Réservation à l'été : Noël 100% + 5 = 105 ? " + tarmel::Utf8FromLatin1(upper);
    std::string id =
        Ok("AxInsert",
           "Insert into tClients (CliObservations, idClient, DateCreation, "
           "idOwner, Concession) Values (" +
               SqlText(text) + ", :NewID, " + SqlDate("14/03/2024") + ",17, '" + kDealer + "')");
    Rowset r = Q("select CliObservations from tClients where idClient=" + id);
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0]["CliObservations"], tarmel::Latin1FromUtf8(text));
    EXPECT_NE(r.rows[0]["CliObservations"].find(upper), std::string::npos);
    EXPECT_NE(r.raw.find("encoding=\"ISO-8859-1\""), std::string::npos);
}

TEST_F(Statements, ALongMemoTravelsInTheRequestLine) {
    std::string memo;
    while (memo.size() < 300 * 1024) memo += "Observation du client sur l'entretien; ";
    std::string id =
        Ok("AxInsert",
           "Insert into tClients (CliObservations, idClient, DateCreation, "
           "idOwner, Concession) Values (" +
               SqlText(memo) + ", :NewID, " + SqlDate("14/03/2024") + ",17, '" + kDealer + "')");
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(One("select length(CliObservations) as n from tClients where idClient=" + id, "n"),
              std::to_string(std::string(tarmel::TrimBlanks(memo)).size()));
}

TEST_F(Statements, EachRequestIsLoggedOnOneLine) {
    Q("select 1 as one");
    const std::string log = server_->log();
    EXPECT_NE(log.find("GET /tarmel/AxQuery 200 "), std::string::npos) << log;
    EXPECT_NE(log.find(" ms\n"), std::string::npos);
}

}  // namespace
}  // namespace tarmel::testsupport
