// Records of the demo dealership loaded into the real window from the real data server: pages,
// fields, lists, rights, editing and the pending statements.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "formdesc/fieldentry.h"
#include "formdesc/fieldkinds.h"
#include "formdesc/fieldrules.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "record/loadnotice.h"
#include "server/xml/texttools.h"
#include "tests/support/dataserverprocess.h"
#include "tests/support/loopbackresponder.h"
#include "tests/support/scratchdir.h"
#include "tests/recordform/recordfixture.h"

namespace tarmel {
namespace {

using form::L;
using form::Q;
using testsupport::ScratchDir;
using testsupport::kSalesperson;
using testsupport::kSuperAdmin;
using testsupport::ServerDown;
using testsupport::DataServerProcess;

class RecordForm : public testsupport::RecordWindowTest {
protected:
    // Every page the description lists for the kind is shown with its caption, the others hidden;
    // every field is filled from the record; nothing is pending.
    void ExpectLoaded(const char* kind) {
        EXPECT_EQ(w().Record.RecordKind, kind);
        auto* tabs = w().Ctl<QTabWidget>(QStringLiteral("Tabs"));
        for (int number = 1; number < kPageCount; ++number) {
            SCOPED_TRACE("page " + std::to_string(number));
            const PageEntry entry = FindPageEntry(w().Form.StructXml, kind, number);
            EXPECT_EQ(tabs->isTabVisible(number - 1), entry.found);
            EXPECT_EQ(w().Form.Pages[number].described, entry.found);
            if (!entry.found) continue;
            EXPECT_EQ(L(tabs->tabText(number - 1)), entry.caption);
            EXPECT_TRUE(w().Form.Pages[number].built);
            EXPECT_EQ(w().Form.Pages[number].statement, "");
            int filled = 0;
            for (const TsDesc& d : w().Form.Pages[number].descriptors) {
                SCOPED_TRACE(d.columnName);
                EXPECT_EQ(d.storedValue, d.currentValue);
                if (number == 8 || d.boundControl == nullptr) continue;
                if (d.controlKind == kind::Text) {
                    EXPECT_EQ(form::FieldText(d.boundControl), RecordValue(d));
                    ++filled;
                } else if (d.controlKind == kind::ComboText && d.dataType == datatype::Text) {
                    const std::string shown = L(qobject_cast<QComboBox*>(d.combo)->currentText());
                    const std::string value = RecordValue(d);
                    EXPECT_EQ(UpperAscii(shown.substr(0, shown.find(" : "))),
                              UpperAscii(value.substr(0, value.find(" : "))));
                    ++filled;
                } else if (d.controlKind == kind::ListBox && d.listBox != nullptr) {
                    // Every selected item's code is in the record's value.
                    auto* list = qobject_cast<QListWidget*>(d.listBox);
                    for (int i = 0; i < list->count(); ++i) {
                        const std::string code = ";" + FieldOf(d.codes, i + 2) + ";";
                        EXPECT_EQ(list->item(i)->isSelected(),
                                  UpperAscii(d.currentValue).find(code) != std::string::npos)
                            << code;
                    }
                    ++filled;
                }
            }
            if (number != 8 && number != 5 && number != 6) {
                EXPECT_GT(filled, 0) << "a described page shows the record";
            }
        }
        EXPECT_FALSE(SaveEnabled());
    }

};

TEST_F(RecordForm, FourRecordKindsLoadWithTheirPagesAndValues) {
    const std::string used = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    const std::string demo =
        Sql("select idTVO from tVehicles where TypeVO=2 and ifnull(StatutVD,'')<>'' and Concession='LYO'");
    const std::string brandNew =
        Sql("select idTVO from tVehicles where TypeVO=2 and ifnull(StatutVD,'')='' and Concession='LYO'");
    const std::string client = Sql("select idClient from tClients where Concession='LYO'");
    ASSERT_FALSE(used.empty() || demo.empty() || brandNew.empty() || client.empty());

    OpenVehicle(used, kSuperAdmin, 1);
    ExpectLoaded("_TVO");
    EXPECT_EQ(L(w().Text(QStringLiteral("JvXPBtnNewVO"))), "VO");
    OpenVehicle(demo, kSuperAdmin, 3);
    ExpectLoaded("_TVD");
    OpenVehicle(brandNew, kSuperAdmin, 2);
    ExpectLoaded("_TVN");
    OpenClient(client, kSuperAdmin);
    ExpectLoaded("_TCL");
    EXPECT_EQ(L(w().Text(QStringLiteral("JvXPBtnNewVO"))), "CL");
}

TEST_F(RecordForm, ASecondRecordRefillsWithoutRebuilding) {
    const std::string first = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    const std::string second = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and idTVO<>" + first);
    const std::string plate = Sql("select Immatriculation from tVehicles where idTVO=" + second);
    OpenVehicle(first, kSuperAdmin, 1);
    QWidget* plateControl = Field(1, "Immatriculation").boundControl;
    ASSERT_NE(plateControl, nullptr);
    const auto labels = w().Form.Pages[1].sheet->findChildren<QLabel*>().size();
    const auto fields = w().Form.Pages[1].descriptors.size();

    OpenVehicle(second, kSuperAdmin, 1, false);
    EXPECT_EQ(Field(1, "Immatriculation").boundControl, plateControl);
    EXPECT_EQ(w().Form.Pages[1].sheet->findChildren<QLabel*>().size(), labels) << "no new labels";
    EXPECT_EQ(w().Form.Pages[1].descriptors.size(), fields);
    EXPECT_EQ(L(w().Text(QStringLiteral("cImmatriculation"))), plate);
    ExpectLoaded("_TVO");
}

TEST_F(RecordForm, RightsFollowSiteGroupsAndDealership) {
    // A salesperson of LYON-SUD on a vehicle of another site: every field read-only.
    const std::string otherSite =
        Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and Site<>'LYON-SUD' "
            "and idOwner<>1");
    OpenVehicle(otherSite, kSalesperson, 1);
    EXPECT_FALSE(w().Access.RightSite) << otherSite << " " << w().Host.UserSite << " " << w().Record.RecordSite << " "
                                << w().Record.RecordOwner << " " << w().Host.idUser;
    EXPECT_FALSE(w().Control(QStringLiteral("cImmatriculation"))->isEnabled());
    EXPECT_FALSE(w().Access.RightSuperAdmin);

    // The super-administrator ("#": every site) edits it, and the window grows for diagnostics.
    OpenVehicle(otherSite, kSuperAdmin, 1, false);
    EXPECT_TRUE(w().Access.RightSite);
    EXPECT_TRUE(w().Control(QStringLiteral("cImmatriculation"))->isEnabled());
    EXPECT_TRUE(w().Access.RightSuperAdmin);
    EXPECT_FALSE(w().Control(QStringLiteral("LbDebugInfo2"))->isHidden());
    QWidget* next = w().Control(QStringLiteral("JvXPNext"));
    EXPECT_EQ(w().height(), next->geometry().bottom() + 1 + 75);

    // A vehicle of another dealership: empty pages.
    const std::string foreign = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='DAU'");
    OpenVehicle(foreign, kSuperAdmin, 1, false);
    EXPECT_EQ(L(w().Text(QStringLiteral("cImmatriculation"))), "");
    EXPECT_FALSE(w().Control(QStringLiteral("cImmatriculation"))->isEnabled());
}

TEST_F(RecordForm, VisibilityCodesDecideWhenAPageIsFirstBuilt) {
    const std::string own = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and Site='LYON-SUD'");
    // Code 3 hides a field found on the form: the chassis number here, in a copy of the
    // description the window reads from its working folder.
    w().Host.idUser = kSalesperson;
    w().UpdateParams();
    const std::string path = w().Host.WorkDir + "/XmlStruct.xml";
    std::string structure = testsupport::readFile(path);
    const size_t chassis = structure.find("<vInfo>Chassis</vInfo>");
    ASSERT_NE(chassis, std::string::npos);
    const size_t code = structure.find("<enabled>0</enabled>", chassis);
    ASSERT_NE(code, std::string::npos);
    structure.replace(code, 20, "<enabled>3</enabled>");
    testsupport::writeFile(path, structure);

    OpenVehicle(own, kSalesperson, 1, false);
    w().UpdateView(true);
    EXPECT_TRUE(w().Access.RightSite);
    ASSERT_NE(Field(1, "Chassis").boundControl, nullptr);
    EXPECT_TRUE(Field(1, "Chassis").boundControl->isHidden());
    // Code 2 (accountants only) hides the commission from a salesperson...
    ASSERT_NE(Field(1, "MtComVendeur").boundControl, nullptr);
    EXPECT_TRUE(Field(1, "MtComVendeur").boundControl->isHidden());
    EXPECT_EQ(Field(1, "idVO").boundControl, nullptr) << "the key field has no control";

    // ...and shows it to the super-administrator building the page in a new window.
    NewWindow();
    OpenVehicle(own, kSuperAdmin, 1);
    EXPECT_FALSE(Field(1, "MtComVendeur").boundControl->isHidden());
    EXPECT_TRUE(Field(1, "MtComVendeur").boundControl->isEnabled());
}

TEST_F(RecordForm, EditingKeepsCurrentValuesAndThePendingStatement) {
    const std::string id = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    const std::string idVO = Sql("select idVO from tVehicles where idTVO=" + id);
    const std::string plate = Sql("select Immatriculation from tVehicles where idTVO=" + id);
    OpenVehicle(id, kSuperAdmin, 1);
    ASSERT_EQ(Statement(), "");

    // Typing in a text field.
    w().SetText(QStringLiteral("cImmatriculation"), QStringLiteral("AB-999-ZZ"));
    EXPECT_EQ(Field(1, "Immatriculation").currentValue, "AB-999-ZZ");
    EXPECT_EQ(L(Statement()),
              "Update tVehicles set Immatriculation='AB-999-ZZ' where (idVO=" + idVO + ")");
    EXPECT_TRUE(SaveEnabled());
    EXPECT_FALSE(w().Control(QStringLiteral("JvXPBtnNewVO"))->isEnabled());

    // Typographic marks pasted from a word processor are written in their plain forms.
    w().SetText(QStringLiteral("cImmatriculation"),
                QString::fromUtf8("l\u2019essai \u2013 \u0153uvre\u2026 \u20ac"));
    EXPECT_EQ(Field(1, "Immatriculation").currentValue, "l'essai - oeuvre... EUR");

    // Back to the stored text: nothing pending.
    w().SetText(QStringLiteral("cImmatriculation"), Q(plate));
    EXPECT_EQ(Statement(), "");
    EXPECT_FALSE(SaveEnabled());

    // A cleared date is written as NULL.
    w().SetText(QStringLiteral("cDateEntree"), {});
    EXPECT_EQ(Field(1, "DateEntree").currentValue, "");
    EXPECT_EQ(L(Statement()), "Update tVehicles set DateEntree=NULL where (idVO=" + idVO + ")");
    w().SetText(QStringLiteral("cDateEntree"), Q(Field(1, "DateEntree").storedValue));
    EXPECT_EQ(Statement(), "");

    // A boolean combo: item 2 is True.
    auto* flag = w().Ctl<QComboBox>(QStringLiteral("cFlagPrepaEsthetique"));
    ASSERT_NE(flag, nullptr);
    const int other = flag->currentIndex() == 1 ? 0 : 1;
    flag->setCurrentIndex(other);
    emit flag->activated(other);
    EXPECT_EQ(Field(1, "FlagPrepaEsthetique").currentValue, other == 1 ? "True" : "False");

    // A staff combo stores the staff identifier.
    auto* seller = w().Ctl<QComboBox>(QStringLiteral("cVendeur"));
    ASSERT_NE(seller, nullptr);
    ASSERT_GT(seller->count(), 1);
    const int pick = seller->currentIndex() == 0 ? 1 : 0;
    seller->setCurrentIndex(pick);
    emit seller->activated(pick);
    EXPECT_EQ(Q(Sql("select cNom from tStaff where idCom=" + Field(1, "Vendeur").currentValue)),
              seller->itemText(pick));
}

TEST_F(RecordForm, ListBoxesAndPositionCombos) {
    const std::string id = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    OpenVehicle(id, kSuperAdmin, 1);
    // Equipment list box: the codes of the selected items, ";X;Z;".
    const TsDesc& equipment = Field(4, "InfoEquiInterieur");
    auto* list = qobject_cast<QListWidget*>(equipment.listBox);
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->count(), 3);
    list->clearSelection();
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    EXPECT_EQ(Field(4, "InfoEquiInterieur").currentValue,
              ";" + FieldOf(equipment.codes, 2) + ";" + FieldOf(equipment.codes, 4) + ";");
    list->clearSelection();
    EXPECT_EQ(Field(4, "InfoEquiInterieur").currentValue, "");

    // A combo whose value is the item's position.
    auto* vat = w().Ctl<QComboBox>(QStringLiteral("cModeTVA"));
    ASSERT_NE(vat, nullptr);
    ASSERT_GE(vat->count(), 2);
    vat->setCurrentIndex(1);
    emit vat->activated(1);
    EXPECT_EQ(Field(1, "ModeTVA").currentValue, Field(1, "ModeTVA").emptyFirst ? "1" : "2");
}

TEST_F(RecordForm, ANewVehicleIsInsertedWithItsDefaults) {
    OpenVehicle("-1", kSuperAdmin, 1);
    EXPECT_TRUE(w().Record.FlagNewEnreg);
    for (const TsDesc& d : w().Form.Pages[1].descriptors) EXPECT_EQ(d.storedValue, "") << d.columnName;
    w().SetText(QStringLiteral("cImmatriculation"), QStringLiteral("GH-123-JK"));
    const std::string statement = L(Statement());
    EXPECT_EQ(statement.rfind("Insert into tVehicles (", 0), 0u) << statement;
    EXPECT_NE(statement.find("Immatriculation"), std::string::npos) << statement;
    EXPECT_NE(statement.find("'GH-123-JK'"), std::string::npos) << statement;
    const std::string tail = ", :NewID, 1, :NewIDbis,4, 'LYO')";
    EXPECT_EQ(statement.substr(statement.size() - tail.size()), tail) << statement;
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(RecordForm, PickOnlyComboRefusesAnUnknownText) {
    const std::string id = Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO'");
    OpenVehicle(id, kSuperAdmin, 1);
    w().show();
    QApplication::setActiveWindow(&w());
    auto* energy = w().Ctl<QComboBox>(QStringLiteral("cEnergie"));
    ASSERT_NE(energy, nullptr);
    ASSERT_TRUE(Field(1, "Energie").limitToList);
    const std::string before = Field(1, "Energie").currentValue;
    energy->setEditText(QStringLiteral("Vapeur"));
    w().CBoxExit(energy);
    EXPECT_EQ(Field(1, "Energie").currentValue, before);
    QApplication::processEvents();
    EXPECT_TRUE(energy->hasFocus() || (energy->lineEdit() && energy->lineEdit()->hasFocus()));
    energy->setEditText({});
    w().CBoxExit(energy);
    EXPECT_EQ(Field(1, "Energie").currentValue, "") << "a cleared text is accepted";
}

TEST_F(RecordForm, ModelChangeFollowsIntoTheVersion) {
    const std::string id = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and InfoMarque='PEUGEOT'");
    OpenVehicle(id, kSuperAdmin, 1);
    auto* model = w().Ctl<QComboBox>(QStringLiteral("cInfoModele"));
    ASSERT_NE(model, nullptr);
    const std::string oldModel = Field(1, "InfoModele").storedValue;
    int pick = -1;
    for (int i = 0; i < model->count(); ++i) {
        if (!model->itemText(i).isEmpty() && L(model->itemText(i)) != oldModel) pick = i;
    }
    ASSERT_GE(pick, 0);
    w().Form.LastModel.clear();
    w().SetText(QStringLiteral("cInfoVersion"), Q(oldModel + " ACTIVE"));
    model->setCurrentIndex(pick);
    emit model->activated(pick);
    EXPECT_EQ(L(w().Text(QStringLiteral("cInfoVersion"))),
              UpperAscii(L(model->itemText(pick))) + " ACTIVE");
    EXPECT_EQ(w().Form.LastModel, L(model->itemText(pick)));
}

TEST_F(RecordForm, PhotosReservationAndTheReloadButton) {
    const std::string idVO = Sql(
        "select v.idVO from tVehicles v where v.Concession='LYO' and "
        "exists (select 1 from tReservations r where r.idVO=v.idVO) and "
        "exists (select 1 from [tVO - Liens Images] i where i.idVO=v.idVO)");
    ASSERT_FALSE(idVO.empty());
    const std::string id = Sql("select idTVO from tVehicles where idVO=" + idVO);
    const int family = Sql("select TypeVO from tVehicles where idVO=" + idVO) == "1" ? 1 : 2;
    OpenVehicle(id, kSuperAdmin, family);

    // The photo list: one row per photo, the default one marked, the highest number kept.
    auto* photos = w().Ctl<QTreeWidget>(QStringLiteral("cListImageVO"));
    ASSERT_NE(photos, nullptr);
    const std::string count = Sql("select count(*) from [tVO - Liens Images] where idVO=" + idVO);
    EXPECT_EQ(std::to_string(photos->topLevelItemCount()), count);
    EXPECT_EQ(std::to_string(w().Record.MaxImageNumber),
              Sql("select max(NumImage) from [tVO - Liens Images] where idVO=" + idVO));
    const QString defaultPhoto = Q(Sql("select NomImage from tVehicles where idVO=" + idVO));
    for (int i = 0; i < photos->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = photos->topLevelItem(i);
        EXPECT_EQ(row->text(2), row->text(0) == defaultPhoto ? QStringLiteral("***") : QString());
    }

    // The reservation labels read the first reservation.
    const std::string until = Sql(
        "select substr(DResaMax, 9, 2) || '/' || substr(DResaMax, 6, 2) || '/' || "
        "substr(DResaMax, 1, 4) from tReservations where idVO=" + idVO +
        " order by idResa");
    EXPECT_EQ(L(w().Text(QStringLiteral("LbResa1"))), "R\xE9servation jusqu'au " + until + " inclus.");
    EXPECT_FALSE(w().Control(QStringLiteral("LbResa1"))->isHidden());

    // The reload button fetches the record again: a change made elsewhere shows, nothing pending.
    Exec("update tVehicles set Immatriculation='ZZ-000-ZZ' where idVO=" + idVO);
    // The toolbar's reload button runs it.
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnActualize"))->click();
    const char* plateControl = family == 1 ? "cImmatriculation" : "cVNImmatriculation";
    if (w().Record.RecordKind == "_TVD") plateControl = "cVDImmatriculation";
    EXPECT_EQ(w().Text(QString::fromLatin1(plateControl)), QStringLiteral("ZZ-000-ZZ"));
    EXPECT_EQ(Statement(), "");
}

TEST_F(RecordForm, ClientVehiclesPageFollowsTheSelectedVehicle) {
    const std::string client = Sql(
        "select c.idClient from tClients c where c.Concession='LYO' and "
        "(select count(*) from TVehiclesClarum v where v.idClient=c.idClient) > 1");
    ASSERT_FALSE(client.empty());
    OpenClient(client, kSuperAdmin);
    EXPECT_EQ(w().Record.RecordKind, "_TCL");
    EXPECT_EQ(w().Form.VehicleState, 1);
    ASSERT_TRUE(w().Form.Pages[8].built);

    // The page shows the vehicles in the order of the client document.
    auto plateOf = [&](int index) {
        TXml vehicles = w().Form.ClientXml;
        XmlFind(vehicles, "TVehS");
        std::string plate;
        for (int i = 0; i <= index && XmlNext(vehicles, "TVeh") > 0; ++i)
            XmlValue(vehicles, "Immatriculation", plate);
        return plate;
    };
    EXPECT_EQ(L(w().Text(QStringLiteral("vImmatriculation"))), plateOf(0));
    w().Record.SelectedVehicle = 1;
    w().UpdateTabDesc(false, false);
    EXPECT_EQ(L(w().Text(QStringLiteral("vImmatriculation"))), plateOf(1));
    EXPECT_EQ(Field(8, "Immatriculation").storedValue, plateOf(1));
    EXPECT_EQ(w().Form.Pages[8].statement, "");

    // While a new vehicle is entered the page is editable and shows its defaults.
    w().Record.SelectedVehicle = -1;
    w().Record.NewVehicle = true;
    w().UpdateTabDesc(false, false);
    EXPECT_EQ(w().Form.VehicleState, -1);
    EXPECT_EQ(Field(8, "Immatriculation").storedValue, "");
    EXPECT_TRUE(w().Control(QStringLiteral("vImmatriculation"))->isEnabled());
}

TEST_F(RecordForm, AClientWithoutVehiclesHasAReadOnlyVehiclePage) {
    const std::string client = Sql(
        "select c.idClient from tClients c where c.Concession='LYO' and "
        "(select count(*) from TVehiclesClarum v where v.idClient=c.idClient) = 0");
    ASSERT_FALSE(client.empty());
    OpenClient(client, kSuperAdmin);
    EXPECT_EQ(w().Form.VehicleState, 0);
    EXPECT_FALSE(w().Control(QStringLiteral("vImmatriculation"))->isEnabled());
    EXPECT_TRUE(w().Control(QStringLiteral("aCliNom"))->isEnabled());

    // A staff list filled again chooses nobody by itself: the client's salesperson stays.
    auto* seller = w().Ctl<QComboBox>(QStringLiteral("aidCom"));
    ASSERT_NE(seller, nullptr);
    const std::string before = Field(7, "idCom").currentValue;
    w().LoadInfoNxComboBox("InfoCom", seller);
    EXPECT_GT(seller->count(), 0);
    EXPECT_EQ(seller->currentIndex(), -1);
    EXPECT_EQ(Field(7, "idCom").currentValue, before);
}

// The description of the used-vehicle page edited in the working folder, then a fresh window
// built from it (the description is cached for hours, so the next load reads the edited file).
void EditUsedVehicleDescription(const std::string& workDir, const std::string& from,
                                const std::string& to) {
    const std::string path = workDir + "/XmlStruct.xml";
    std::string text = *LoadTextFile(path);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

TEST_F(RecordForm, BuilderCombosTakeFreeTextAndEveryBoundControlIsRefilled) {
    const std::string first =
        Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
    const std::string second = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and idTVO>" + first +
        " order by idTVO");
    OpenVehicle(first, kSuperAdmin, 1);
    // The number is described as a combo although its control on the form is a number edit; a
    // field with no control on the form is described as a combo, so the builder creates one.
    const std::string number =
        "<vInfo>NVO</vInfo><tag>SVO;RVO;SUPERADMINS</tag><defval></defval><width>1500</width>"
        "<left>1395</left><top>615</top><height>315</height><length>0</length><tInfo>4</tInfo>"
        "<tControl>109</tControl>";
    std::string asCombo = number;
    asCombo.replace(asCombo.find("<tControl>109"), 13, "<tControl>111");
    EditUsedVehicleDescription(w().Host.WorkDir, number, asCombo);
    EditUsedVehicleDescription(
        w().Host.WorkDir, "<axStruct><descInfo>pgVO</descInfo><idNum>12</idNum>",
        "<axStruct><descInfo>pgVO</descInfo><idNum>99</idNum><txtInfo>Libre</txtInfo>"
        "<vInfo>NoteLibre</vInfo><tag>SVO;RVO;SUPERADMINS</tag><defval></defval><width>1500</width>"
        "<left>9000</left><top>615</top><height>315</height><length>0</length><tInfo>2</tInfo>"
        "<tControl>111</tControl><color>0</color><notNull>FALSE</notNull><enabled>0</enabled>"
        "<fieldInfo>ListRubrics</fieldInfo></axStruct><axStruct><descInfo>pgVO</descInfo><idNum>12</idNum>");
    NewWindow();
    OpenVehicle(first, kSuperAdmin, 1);

    TsDesc& free = Field(1, "NoteLibre");
    auto* created = qobject_cast<QComboBox*>(free.combo);
    ASSERT_NE(created, nullptr);
    ASSERT_GT(created->count(), 0);
    EXPECT_FALSE(free.limitToList) << "only a combo pick-only on the form is limited";
    created->setEditText(QStringLiteral("Rayure porte avant"));
    w().CBoxExit(created);
    EXPECT_EQ(free.currentValue, "Rayure porte avant");

    const std::string firstNumber = Field(1, "NVO").storedValue;
    EXPECT_EQ(Field(1, "NVO").controlKind, kind::ComboText);
    OpenVehicle(second, kSuperAdmin, 1, false);
    const TsDesc& shown = Field(1, "NVO");
    EXPECT_NE(shown.storedValue, firstNumber);
    EXPECT_NE(shown.storedValue, "");
    EXPECT_EQ(L(w().Text(QStringLiteral("cNVO"))), shown.storedValue)
        << "the second record's number, not the first one's";
    EXPECT_EQ(shown.currentValue, shown.storedValue);
}

TEST_F(RecordForm, AVersionTypeChangeReplacesTheStoredTypeWhenNoneWasMerged) {
    const std::string id = Sql(
        "select idTVO from tVehicles where TypeVO=2 and Concession='LYO' order by idTVO");
    OpenVehicle(id, kSuperAdmin, 2);
    auto* type = w().Ctl<QComboBox>(QStringLiteral("cVNInfoTypeVersion"));
    if (w().Record.RecordKind == "_TVD") type = w().Ctl<QComboBox>(QStringLiteral("cVDInfoTypeVersion"));
    const char* memo = w().Record.RecordKind == "_TVD" ? "cVDInfoVersion" : "cVNInfoVersion";
    ASSERT_NE(type, nullptr);
    TsDesc* desc = w().DescOf(type);
    ASSERT_NE(desc, nullptr);
    // The stored type is in the version text; nothing was merged since the load.
    desc->storedValue = "Active";
    w().Form.TypeVersion.clear();
    w().SetText(QString::fromLatin1(memo), QStringLiteral("208 1.2 PureTech ACTIVE"));
    type->setEditText(QStringLiteral("Allure"));
    w().UpdateVersion(w().Control(QString::fromLatin1(memo)), nullptr, type);
    EXPECT_EQ(L(w().Text(QString::fromLatin1(memo))), "208 1.2 PureTech ALLURE");
}

TEST_F(RecordForm, TheReloadButtonOpensAFreshConnectionForAClientToo) {
    const std::string client = Sql("select idClient from tClients where Concession='LYO' order by idClient");
    ASSERT_FALSE(client.empty());
    OpenClient(client, kSuperAdmin);
    const long before = w().Server.IdHTTP1.connectionsOpened();
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnActualize"))->click();
    EXPECT_EQ(w().Server.IdHTTP1.connectionsOpened(), before + 1);
}

TEST_F(RecordForm, EquipmentListsTakeTheMouse) {
    const std::string id =
        Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
    OpenVehicle(id, kSuperAdmin, 1);
    for (const char* name : {"cInfoEquiInterieur", "cInfoEquiExterieur", "cInfoEquiSecurite",
                             "cInfoComplement"}) {
        SCOPED_TRACE(name);
        auto* list = w().Ctl<QListWidget>(QString::fromLatin1(name));
        ASSERT_NE(list, nullptr);
        ASSERT_GT(list->count(), 1);
        ASSERT_TRUE(list->isEnabled());
        // What lies under each item's text is the list itself, not its caption (whose box is as
        // tall as the list) or another control.
        QWidget* page = list->parentWidget();
        for (int row : {0, list->count() - 1}) {
            const QRect item = list->visualItemRect(list->item(row));
            const QPoint at = list->viewport()->mapTo(page, QPoint(item.left() + 8, item.center().y()));
            QWidget* hit = page->childAt(at);
            EXPECT_TRUE(hit == list || list->isAncestorOf(hit))
                << "row " << row << " is under " << (hit ? L(hit->objectName()) : "nothing") << " "
                << (hit ? hit->metaObject()->className() : "");
        }
    }
    // A click on an item selects it, and the page has something to save.
    auto* list = w().Ctl<QListWidget>(QStringLiteral("cInfoEquiInterieur"));
    const bool before = list->item(1)->isSelected();
    const QPoint at = list->visualItemRect(list->item(1)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(at), list->viewport()->mapToGlobal(QPointF(at)),
                          Qt::LeftButton, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &click);
    }
    EXPECT_NE(list->item(1)->isSelected(), before);
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(RecordForm, AnotherRecordAskedWhileTheServerIsDownKeepsTheShownOneAndSaysSo) {
    const std::string first =
        Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
    const std::string second = Sql(
        "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' and idTVO>" + first +
        " order by idTVO");
    OpenVehicle(first, kSuperAdmin, 1);
    const QString number = w().Text(QStringLiteral("xcInfoNVO"));
    ASSERT_FALSE(number.isEmpty());
    {
        ServerDown down(*server_);
        OpenVehicle(second, kSuperAdmin, 1, false);
        EXPECT_EQ(L(w().Text(QStringLiteral("LbIdTVO"))), first) << "the identifier of what is shown";
        EXPECT_EQ(w().Text(QStringLiteral("xcInfoNVO")), number);
        const std::string band = L(w().Text(QStringLiteral("LbDebugInfo0")));
        EXPECT_EQ(band.rfind("Exception : ", 0), 0u) << band;
        EXPECT_NE(band.find(Latin1FromUtf8("Le véhicule ") + second +
                            Latin1FromUtf8(" demandé n'a pas pu être chargé : la fenêtre montre "
                                           "toujours le VO n°") +
                            L(number) + Latin1FromUtf8(", reçu le ")),
                  std::string::npos)
            << band;
        EXPECT_FALSE(w().Control(QStringLiteral("PanelWarning"))->isHidden());

        // A new window on the same folder, as after a restart: the last run's record, with when.
        const std::string file = w().Host.WorkDir + "/XmlVO.xml";
        std::filesystem::last_write_time(
            file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(20));
        NewWindow();
        OpenVehicle(first, kSuperAdmin, 1);
        const std::string cold = L(w().Text(QStringLiteral("LbDebugInfo0")));
        EXPECT_NE(cold.find(Latin1FromUtf8("la fiche affichée (VO n°") + L(number) +
                            Latin1FromUtf8(") est la dernière reçue, le ")),
                  std::string::npos)
            << cold;
        EXPECT_NE(cold.find(Latin1FromUtf8("avant ce démarrage.")), std::string::npos) << cold;
        EXPECT_EQ(w().Text(QStringLiteral("xcInfoNVO")), number);
    }
}

TEST_F(RecordForm, AFirstStartWithoutTheServerRecoversWithOneReload) {
    const std::string id =
        Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
    ServerDown down(*server_);
    std::filesystem::create_directories(dir_.file("first-start"));
    w().Host.WorkDir = dir_.file("first-start");
    w().ShowSplash();
    OpenVehicle(id, kSuperAdmin, 1);
    EXPECT_FALSE(w().Control(QStringLiteral("PanelSplash"))->isHidden()) << "nothing to show yet";
    EXPECT_EQ(L(w().Text(QStringLiteral("LbSplashState"))), SplashServerDown());
    EXPECT_FALSE(w().Form.Pages[1].built);
    // The reload button is above the splash, where a click reaches it.
    QWidget* reload = w().Control(QStringLiteral("JvXPBtnActualize"));
    const QPoint centre = reload->geometry().center();
    EXPECT_EQ(w().childAt(centre), reload);

    server_->start();
    w().Host.BaseHRef = server_->baseHRef();
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnActualize"))->click();
    EXPECT_TRUE(w().Control(QStringLiteral("PanelSplash"))->isHidden());
    EXPECT_TRUE(w().Form.Pages[1].built);
    EXPECT_EQ(w().Record.RecordKind, "_TVO");
    EXPECT_FALSE(w().Text(QStringLiteral("xcInfoNVO")).isEmpty());
    EXPECT_TRUE(w().Text(QStringLiteral("LbDebugInfo0")).isEmpty());
}

TEST_F(RecordForm, TheSplashSaysTheServerIsAskedWhileALoadWaits) {
    w().ShowSplash();
    EXPECT_EQ(L(w().Text(QStringLiteral("LbSplashState"))), SplashConnecting());
    EXPECT_FALSE(w().Control(QStringLiteral("LbSplashState"))->isHidden());
}

TEST_F(RecordForm, AServerThatNeverAnswersShowsTheWaitThenATimeOutInFrench) {
    const std::string id =
        Sql("select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO");
    OpenVehicle(id, kSuperAdmin, 1);
    const QString number = w().Text(QStringLiteral("xcInfoNVO"));
    // A server that takes the connection and keeps silent past the read time-out.
    testsupport::LoopbackResponder silent;
    silent.setFallback(testsupport::SlowAnswer("<AXInfoVO/>", std::chrono::milliseconds(3000)));
    w().Host.BaseHRef = silent.baseUrl() + "tarmel/";
    w().Server.IdHTTP1.SetReadTimeout(std::chrono::milliseconds(400));
    QString waiting;
    bool splashShown = false;
    QTimer::singleShot(150, [&] {
        waiting = w().Text(QStringLiteral("LbSplashState"));
        splashShown = !w().Control(QStringLiteral("PanelSplash"))->isHidden();
    });
    w().Ctl<QAbstractButton>(QStringLiteral("JvXPBtnActualize"))->click();
    EXPECT_TRUE(splashShown);
    EXPECT_EQ(L(waiting), SplashConnecting());
    const std::string band = L(w().Text(QStringLiteral("LbDebugInfo0")));
    EXPECT_EQ(band.rfind(Latin1FromUtf8("Exception : Délai de lecture dépassé"), 0), 0u) << band;
    EXPECT_NE(band.find(Latin1FromUtf8("la fenêtre montre toujours le VO n°") + L(number)),
              std::string::npos)
        << band;
    EXPECT_TRUE(w().Control(QStringLiteral("PanelSplash"))->isHidden());
}

}  // namespace
}  // namespace tarmel
