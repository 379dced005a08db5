// The print buttons and the test SMS in the real window against the real data server: the
// report address handed to the browser (a recording xdg-open first on the PATH), Ctrl on the
// print button, a failed save that prints nothing, the PDF behind the address, the SMS received.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/settingsfile.h"
#include "server/httpclient.h"
#include "tests/recordform/recordfixture.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::kSuperAdmin;
namespace fs = std::filesystem;

class Printing : public testsupport::RecordWindowTest {
protected:
    void SetUp() override {
        RecordWindowTest::SetUp();
        // The browser: a program that writes down the address it was given, whole or not at all
        // (the file appears by its rename, never empty).
        const fs::path bin = dir_.file("bin");
        fs::create_directories(bin);
        opened_ = dir_.file("opened.txt");
        std::ofstream(bin / "xdg-open") << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened_
                                        << ".part' && mv '" << opened_ << ".part' '" << opened_
                                        << "'\n";
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (bin.string() + ":" + path_).c_str(), 1);
        w().Host.IniFileName = dir_.file("tarmel.ini");
    }
    void TearDown() override {
        setenv("PATH", path_.c_str(), 1);
        RecordWindowTest::TearDown();
    }
    // The address the browser was given, waited for a moment; empty when none came.
    std::string Opened() {
        for (int i = 0; i < 250 && !fs::exists(opened_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const std::string address = testsupport::readFile(opened_);
        fs::remove(opened_);
        return address;
    }
    // A left click on the button, with the keys held.
    void ClickWith(const char* button, Qt::KeyboardModifiers keys) {
        auto* b = w().Ctl<QAbstractButton>(QString::fromLatin1(button));
        const QPointF at = b->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, at, b->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, keys);
        QMouseEvent release(QEvent::MouseButtonRelease, at, b->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, keys);
        QApplication::sendEvent(b, &press);
        QApplication::sendEvent(b, &release);
    }
    std::string Vehicle(int typeVO, const char* more = "") {
        return Sql("select idTVO from tVehicles where TypeVO=" + std::to_string(typeVO) +
                   " and Concession='LYO' " + more + " order by idTVO");
    }
    // The text of the PDF the server renders at the address (blanks sent as %20, as a browser
    // sends them).
    std::string PdfText(std::string address) {
        for (size_t at = address.find(' '); at != std::string::npos; at = address.find(' ', at))
            address.replace(at, 1, "%20");
        HttpClient client;
        const HttpResponse answer = client.Get(address);
        if (!answer.ok || answer.body.rfind("%PDF", 0) != 0) return {};
        const std::string pdf = dir_.file("sheet.pdf");
        testsupport::writeFile(pdf, answer.body);
        std::string text;
        if (FILE* out = popen(("pdftotext '" + pdf + "' -").c_str(), "r")) {
            char buffer[4096];
            for (size_t n; (n = fread(buffer, 1, sizeof buffer, out)) > 0;) text.append(buffer, n);
            pclose(out);
        }
        return text;
    }
    std::string opened_, path_;
};

TEST_F(Printing, ThePrintButtonsOpenTheReportAddresses) {
    const std::string used = Vehicle(1);
    const std::string idVO = Sql("select idVO from tVehicles where idTVO=" + used);
    OpenVehicle(used, kSuperAdmin, 1);
    w().show();
    const std::string sheet =
        w().Host.BaseHRef + "ReportPDF?rptSelect=idVO=" + idVO + "&rptName=VO - Fiche Commerciale";
    ClickWith("JvXPBtnPrint", Qt::NoModifier);
    EXPECT_EQ(Opened(), sheet);
    const std::string text = PdfText(sheet);
    EXPECT_NE(text.find(L(w().Text(QStringLiteral("cNVO")))), std::string::npos) << text;
    EXPECT_NE(text.find("Kilométrage"), std::string::npos) << "accents, in the PDF's UTF-8";
    ClickWith("JvXPBtnPrint", Qt::ControlModifier);
    EXPECT_EQ(Opened(), sheet) << "Ctrl changes nothing for a used vehicle";
    ClickWith("czFeuilleMarge", Qt::NoModifier);
    const std::string margins =
        w().Host.BaseHRef + "ReportPDF?rptSelect=idVO=" + idVO + "&rptName=VO - Feuille de Marge";
    EXPECT_EQ(Opened(), margins);
    EXPECT_NE(PdfText(margins).find("Frais de remise en état"), std::string::npos);

    const std::string demo = Vehicle(2, "and ifnull(StatutVD,'')<>''");
    ASSERT_FALSE(demo.empty());
    OpenVehicle(demo, kSuperAdmin, 3);
    ClickWith("JvXPBtnPrint", Qt::ControlModifier);
    EXPECT_EQ(Opened(), w().Host.BaseHRef + "ReportPDF?rptSelect=idVO=" +
                            Sql("select idVO from tVehicles where idTVO=" + demo) +
                            "&rptName=VD - Fiche Commerciale2");

    const std::string client = Sql("select idClient from tClients where Concession='LYO'");
    OpenClient(client, kSuperAdmin);
    ClickWith("JvXPBtnPrint", Qt::ControlModifier);
    EXPECT_EQ(Opened(), w().Host.BaseHRef + "ReportPDF?rptSelect=idClient=" + client +
                            "&rptName=Fiche Clarum");
}

TEST_F(Printing, AClientThatCouldNotBeReadPrintsNothingAndSaysSo) {
    OpenClient("99999999", kSuperAdmin);
    dialogs_.messages.clear();
    ClickWith("JvXPBtnPrint", Qt::NoModifier);
    EXPECT_EQ(Opened(), "");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_NE(dialogs_.messages[0].find("L'identifiant du client demand\xE9 n'a pas pu \xEAtre "
                                        "restitu\xE9"),
              std::string::npos)
        << dialogs_.messages[0];
}

TEST_F(Printing, AFailedSaveBeforePrintingOpensNothing) {
    OpenVehicle(Vehicle(1), kSuperAdmin, 1);
    w().SetText(QStringLiteral("cPrixVente"), QStringLiteral("15000.00"));
    ASSERT_TRUE(SaveEnabled());
    {
        testsupport::ServerDown down(*server_);
        ClickWith("JvXPBtnPrint", Qt::NoModifier);
        EXPECT_EQ(Opened(), "");
    }
}

TEST_F(Printing, TheTestSmsReachesTheServiceAndItsAnswerDecidesTheBand) {
    const std::string client = Sql("select idClient from tClients where Concession='LYO'");
    OpenClient(client, kSuperAdmin);
    SettingsFile settings(w().Host.IniFileName);
    std::string root = server_->baseHRef();
    root = root.substr(0, root.find('/', std::string("http://").size()));
    settings.SetTagRegistry("SmsService", root);
    settings.SetTagRegistry("SmsTestRecipient", "+33600000000");
    const std::string identity = L(w().Text(QStringLiteral("xcIdentity")));
    const std::string site = L(w().Text(QStringLiteral("aSite")));
    Click("JvXPBtnSMS");
    EXPECT_EQ(Sql("select Destinataire || '|' || Texte from tSmsLog order by rowid desc"),
              "+33600000000|de Quintar " + site + ",\r\n\r\npour un test d'envoi \xE0 " + identity)
        << "sent in UTF-8, stored by the server in Latin-1";
    EXPECT_EQ(L(w().Text(QStringLiteral("LbDebugInfo0"))), "");
    EXPECT_TRUE(w().Control(QStringLiteral("PanelWarning"))->isHidden());

    settings.SetTagRegistry("SmsService", "http://127.0.0.1:9");
    Click("JvXPBtnSMS");
    EXPECT_EQ(L(w().Text(QStringLiteral("LbDebugInfo0"))),
              " - Erreur de transfert sur le serveur ");
    EXPECT_FALSE(w().Control(QStringLiteral("PanelWarning"))->isHidden());
}

}  // namespace
}  // namespace tarmel
