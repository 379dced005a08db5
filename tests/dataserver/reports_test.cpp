// "ReportPDF": real PDF documents whose text (read back with pdftotext) holds the record's data.
#include <gtest/gtest.h>

#include <cstdlib>

#include "server/encoders.h"
#include "server/xml/texttools.h"
#include "tests/dataserver/serverclient.h"
#include "tests/support/scratchdir.h"
#include "tests/support/xmllint.h"

namespace tarmel::testsupport {
namespace {

class Reports : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = new DataServerProcess(); }
    static void TearDownTestSuite() { delete server_; }

    // The report as the browser fetches it (blanks encoded); empty when the answer is not a PDF.
    static HttpAnswer Fetch(const std::string& select, const std::string& name) {
        std::string target = "/tarmel/ReportPDF?rptSelect=" + select + "&rptName=" + name;
        for (size_t at; (at = target.find(' ')) != std::string::npos;) target.replace(at, 1, "%20");
        return RawRequest(server_->port(),
                          "GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    }
    // "text" or "images" of a PDF, as poppler's tools print them (UTF-8).
    static std::string Poppler(const std::string& pdf, const std::string& tool) {
        ScratchDir dir;
        writeFile(dir.file("r.pdf"), pdf);
        const std::string command =
            tool == "text"
                ? "pdftotext -enc UTF-8 '" + dir.file("r.pdf") + "' '" + dir.file("r.txt") + "'"
                : "pdfimages -list '" + dir.file("r.pdf") + "' > '" + dir.file("r.txt") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return readFile(dir.file("r.txt"));
    }
    static std::string OneValue(const std::string& sql, const std::string& column) {
        Rowset r = Query(*server_, sql, 1);
        return r.rows.empty() ? std::string() : r.rows[0][column];
    }

    static DataServerProcess* server_;
};
DataServerProcess* Reports::server_ = nullptr;

TEST_F(Reports, CommercialSheetsShowTheVehicleItsPhotoAndItsReservation) {
    const std::string idVO = OneValue(
        "select v.idVO from tVehicles v where v.NomImage is not null and v.idVO in (select idVO "
        "from "
        "tReservations) order by v.idVO",
        "idVO");
    ASSERT_FALSE(idVO.empty()) << "the demo dealership has a reserved vehicle with a photo";
    Rowset v = Query(*server_,
                     "select Immatriculation, InfoMarque, PrixVente, TypeVO from tVehicles "
                     "where idVO=" +
                         idVO);
    const std::string plate = v.rows.at(0)["Immatriculation"];
    const std::string family = v.rows[0]["TypeVO"] == "1" ? "VO" : "VD";
    HttpAnswer a = Fetch("idVO=" + idVO, family + " - Fiche Commerciale");
    ASSERT_EQ(a.header("Content-Type"), "application/pdf") << a.body;
    ASSERT_EQ(a.body.rfind("%PDF-", 0), 0u);
    const std::string text = Poppler(a.body, "text");
    EXPECT_NE(text.find(family + " - Fiche Commerciale"), std::string::npos) << text;
    EXPECT_NE(text.find(plate), std::string::npos) << text;
    EXPECT_NE(text.find(v.rows[0]["InfoMarque"]), std::string::npos);
    EXPECT_NE(text.find("Réservation"), std::string::npos) << text;
    EXPECT_NE(text.find(v.rows[0]["PrixVente"]), std::string::npos);
    EXPECT_NE(Poppler(a.body, "images").find("jpeg"), std::string::npos);

    // A damaged photo file leaves the photo out, not the sheet.
    const std::string photoName =
        OneValue("select NomImage from tVehicles where idVO=" + idVO, "NomImage");
    writeFile(server_->photoFolder() + "/" + photoName + ".jpg",
                               std::string("\xFF\xD8\xFF\xE0 not a picture", 20));
    HttpAnswer damaged = Fetch("idVO=" + idVO, family + " - Fiche Commerciale");
    ASSERT_EQ(damaged.header("Content-Type"), "application/pdf") << damaged.body;
    EXPECT_NE(Poppler(damaged.body, "text").find(plate), std::string::npos);
    EXPECT_EQ(Poppler(damaged.body, "images").find("jpeg"), std::string::npos);

    // The "2" variant leaves the prices out.
    const std::string variant =
        Poppler(Fetch("idVO=" + idVO, "VD - Fiche Commerciale2").body, "text");
    EXPECT_NE(variant.find(plate), std::string::npos);
    EXPECT_EQ(variant.find("Prix de vente"), std::string::npos);
}

TEST_F(Reports, MarginSheetListsTheRefurbishmentLines) {
    // The client's text is Latin-1; the literals of this file are UTF-8.
    Outcome insert =
        Execute(*server_, "AxInsert",
                tarmel::Latin1FromUtf8(
                    "Insert into tVehicles (NVO,Immatriculation,InfoMarque,PrixVente,MBrute, "
                    "idTVO, TypeVO, idVO, idOwner, Concession) Values (7001,'MG-700-RG',"
                    "'Citroën',9900.00,1234.56, :NewID, 1, :NewIDbis,17, 'ZT1')"));
    ASSERT_TRUE(insert.logItems.empty()) << insert.raw;
    const std::string idVO =
        OneValue("select idVO from tVehicles where idTVO=" + insert.newId, "idVO");
    for (const std::string& line : {std::string("('Pare-brise rayé','externe',310.40"),
                                    std::string("('Révision','interne',89.60")}) {
        Outcome o = Execute(
            *server_, "AxInsert",
            tarmel::Latin1FromUtf8(
                "Insert into [tVO - Frevo] (LibelleFrevo,TypeFrevo,MontantHT, idVO, idFrevo ) "
                "Values " +
                line + ", " + idVO + ", :NewID)"));
        ASSERT_TRUE(o.logItems.empty()) << o.raw;
    }
    const std::string text = Poppler(Fetch("idVO=" + idVO, "VO - Feuille de Marge").body, "text");
    EXPECT_NE(text.find("VO - Feuille de Marge"), std::string::npos) << text;
    EXPECT_NE(text.find("Citroën"), std::string::npos) << text;
    EXPECT_NE(text.find("Pare-brise rayé"), std::string::npos) << text;
    EXPECT_NE(text.find("310.40"), std::string::npos);
    EXPECT_NE(text.find("400.00"), std::string::npos) << "total of the lines\n" << text;
    EXPECT_NE(text.find("1234.56"), std::string::npos);
}

TEST_F(Reports, AnOverlongEquipmentListStopsAfterTwoHundredItems) {
    const std::string idVO = OneValue("select idVO from tVehicles order by idVO", "idVO");
    std::string options;
    for (int i = 0; i < 1000; ++i) options += "opt" + std::to_string(i) + ";";
    Outcome update = Execute(*server_, "AxUpdate",
                             "Update tVehicles set InfoOptions='" + options + "' where (idVO=" +
                                 idVO + ")");
    ASSERT_TRUE(update.logItems.empty()) << update.raw;
    const std::string text = Poppler(Fetch("idVO=" + idVO, "VO - Fiche Commerciale").body, "text");
    EXPECT_NE(text.find("opt199"), std::string::npos);
    EXPECT_EQ(text.find("opt200"), std::string::npos);
    EXPECT_NE(text.find("..."), std::string::npos);
}

TEST_F(Reports, ClientSheetKeepsTheAccents) {
    Outcome client =
        Execute(*server_, "AxInsert",
                tarmel::Latin1FromUtf8(
                    "Insert into tClients (CliNom,CliPrenom,CliVille, idClient, DateCreation, "
                    "idOwner, Concession) Values ('Hénaut','Léa','Besançon', :NewID, " +
                    SqlDate("14/03/2024") + ",17, 'ZT1')"));
    ASSERT_TRUE(client.logItems.empty()) << client.raw;
    Outcome action =
        Execute(*server_, "AxInsert",
                tarmel::Latin1FromUtf8(
                    "Insert into tActions (DateAction,CommentaireAction, idClient, idAction ) "
                    "Values (#05/20/2024#,'Essai réalisé', " +
                    client.newId + ", :NewID)"));
    ASSERT_TRUE(action.logItems.empty()) << action.raw;
    const std::string text =
        Poppler(Fetch("idClient=" + client.newId, "Fiche Clarum").body, "text");
    EXPECT_NE(text.find("Fiche Clarum"), std::string::npos) << text;
    EXPECT_NE(text.find("Hénaut Léa"), std::string::npos) << text;
    EXPECT_NE(text.find("Besançon"), std::string::npos);
    EXPECT_NE(text.find("Essai réalisé"), std::string::npos);
    EXPECT_NE(text.find("20/05/2024"), std::string::npos);
}

TEST_F(Reports, WrongRequestsAnswerALogItem) {
    const std::string idVO = OneValue("select idVO from tVehicles order by idVO", "idVO");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"idVO=" + idVO, "Rapport Secret"},          {"idVO=" + idVO, "Fiche Clarum"},
        {"idClient=1", "VO - Fiche Commerciale"},    {"idVO=999999999", "VO - Fiche Commerciale"},
        {"idVO=1 or 1=1", "VO - Fiche Commerciale"}, {"idVO=", "VO - Fiche Commerciale"},
    };
    for (const auto& [select, name] : cases) {
        HttpAnswer a = Fetch(select, name);
        EXPECT_EQ(a.status, 200);
        EXPECT_EQ(XmlProblems(a.body), "") << a.body;
        EXPECT_EQ(LogItemsOf(a.body).size(), 1u) << select << " " << name << "\n" << a.body;
    }
}

}  // namespace
}  // namespace tarmel::testsupport
