// Every control of the inventory exists in the live window with its name, kind, parent, page,
// geometry and form settings.
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QLineEdit>

#include "inventory/inventory.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"
#include "tests/mainwindow/windowfixture.h"

namespace tarmel::testsupport {
namespace {

using inventory::Entry;
using inventory::Kind;

// The page ("Sheet01".."Sheet09") an entry lies on, following its parents; empty off the pages.
std::string PageOf(const Entry& e) {
    for (const Entry* at = &e; at; at = inventory::Find(at->parent)) {
        if (at->kind == Kind::Page) return at->name;
        if (!*at->parent) break;
    }
    return {};
}

std::string PageOf(const QWidget* control) {
    for (const QWidget* at = control; at; at = at->parentWidget())
        if (qobject_cast<const ui::Page*>(at)) return at->objectName().toStdString();
    return {};
}

TEST_F(WindowTest, EveryInventoryControlExistsWithItsNameKindAndPage) {
    CountingWindow& w = Open();
    int checked = 0;
    for (const Entry& e : inventory::Controls()) {
        SCOPED_TRACE(e.name);
        if (e.kind == Kind::GridColumn) {
            auto* grid = w.Ctl<ui::Grid>(e.parent);
            ASSERT_TRUE(grid);
            const int column = grid->columnIndex(e.name);
            ASSERT_GE(column, 0);
            EXPECT_EQ(grid->column(column).type, e.column);
            EXPECT_EQ(grid->column(column).maxLength, e.maxLength);
            EXPECT_EQ(grid->isColumnHidden(column), e.hidden());
            if (!e.hidden()) {
                EXPECT_EQ(grid->columnWidth(column), e.width);
            }
            continue;
        }
        QWidget* control = w.Control(e.name);
        ASSERT_TRUE(control);
        EXPECT_EQ(w.findChild<QWidget*>(e.name), control) << "found by name among the children";
        EXPECT_EQ(control->objectName().toStdString(), e.name);
        const auto kind = ui::KindOf(control);
        ASSERT_TRUE(kind.has_value());
        EXPECT_EQ(inventory::KindName(*kind), std::string(inventory::KindName(e.kind)));
        EXPECT_EQ(PageOf(control), PageOf(e));
        ++checked;
        if (e.kind == Kind::Page) {
            auto* tabs = w.Ctl<ui::PageControl>("Tabs");
            EXPECT_GE(tabs->indexOf(control), 0);
            EXPECT_EQ(std::string("Sheet0") + char('1' + tabs->indexOf(control)), e.name);
            continue;
        }
        // Placed directly on its parent: the tab builder searches a page's own children.
        const QWidget* parent = *e.parent ? w.Control(e.parent) : &w;
        EXPECT_EQ(control->parentWidget(), parent);
        EXPECT_EQ(control->geometry(), QRect(e.left, e.top, e.width, e.height));
        // The splash shows the logo or the dealership's name by the settings.
        if (std::string(e.name) != "ImageSplash" && std::string(e.name) != "LbConcession") {
                EXPECT_EQ(control->isHidden(), e.hidden());
        }
        EXPECT_EQ(control->isEnabled(), !e.disabled());
        if (*e.hint) {
            EXPECT_EQ(ui::Hint(control), QString::fromUtf8(e.hint));
        }
        if (e.kind == Kind::Combo) {
            auto* combo = qobject_cast<ui::Combo*>(control);
            EXPECT_EQ(combo->isEditable(), e.combo == inventory::ComboStyle::FreeText);
            EXPECT_EQ(combo->maxLength(), e.maxLength);
            if (combo->isEditable() && e.maxLength) {
                    EXPECT_EQ(ui::TypingLimit(combo->lineEdit()), e.maxLength);
            }
        }
        if (e.kind == Kind::Memo) {
            EXPECT_EQ(qobject_cast<ui::Memo*>(control)->maxLength(), e.maxLength);
        }
        if ((e.kind == Kind::Edit || e.kind == Kind::NumberEdit) && e.maxLength) {
                EXPECT_EQ(ui::TypingLimit(qobject_cast<QLineEdit*>(control)), e.maxLength);
        }
        if (e.fontPx) {
            EXPECT_EQ(control->font().pixelSize(), e.fontPx);
        }
        // LbConcession's design caption is replaced by the dealership's name at start.
        if ((e.kind == Kind::Button || e.kind == Kind::Label) && *e.caption &&
            std::string(e.name) != "LbConcession") {
                EXPECT_EQ(ui::ControlText(control), QString::fromUtf8(e.caption));
        }
    }
    EXPECT_GT(checked, 300);
}

TEST_F(WindowTest, TellingRowsOfTheWindow) {
    CountingWindow& w = Open();
    EXPECT_EQ(w.size(), QSize(825, 596));
    EXPECT_EQ(w.font().pixelSize(), 11);
    struct Row {
        const char* name;
        QRect geometry;
    } rows[] = {
        {"xcInfoNVO", {8, 2, 73, 31}},       {"xcInfoTitre", {80, 2, 289, 31}},
        {"xcIdentity", {8, 2, 361, 31}},     {"xcInfoField1", {368, 2, 169, 31}},
        {"xcInfoField2", {536, 2, 145, 31}}, {"xcInfoField3", {680, 2, 145, 31}},
        {"JvXPBtnSearch", {592, 34, 60, 45}}, {"JvXPBtnNewVO", {656, 34, 68, 45}},
        {"Tabs", {0, 56, 825, 513}},         {"PanelSplash", {16, 16, 793, 545}},
        {"PanelWarning", {0, 0, 825, 81}},   {"Panel1", {66, 624, 681, 521}},
    };
    for (const Row& r : rows) EXPECT_EQ(w.Control(r.name)->geometry(), r.geometry) << r.name;
    for (const char* name : {"JvXPBtnSweep", "JvXPBtnSuppr", "JvXPBtnPrint", "JvXPBtnSave", "JvXPBtnActualize"})
        EXPECT_EQ(w.Control(name)->y(), 34) << name;
    EXPECT_EQ(w.Control("JvXPPrev")->pos(), QPoint(688, 570));
    EXPECT_EQ(w.Control("JvXPNext")->pos(), QPoint(752, 570));
    EXPECT_EQ(w.Text("JvXPPrev"), QString::fromUtf8("<< Enrg.Préc."));
    EXPECT_EQ(w.Text("JvXPNext"), ">> Enrg.Suiv.");
    EXPECT_EQ(w.Text("JvXPBtnNewVO"), "VO");
    EXPECT_EQ(std::string(inventory::Find("LbConcession")->caption), "NomConcession");
    EXPECT_EQ(w.Control("xcIdentity")->palette().color(QPalette::Text), QColor(255, 0, 255));
    EXPECT_EQ(w.Ctl<ui::PageControl>("Tabs")->count(), 9);
    EXPECT_EQ(w.Control("Tabs")->font().pixelSize(), 12);
    EXPECT_EQ(w.Control("Tabs")->font().family(), "Comic Sans MS");
    EXPECT_EQ(w.Control("PanelWarning")->palette().color(QPalette::Window), QColor(255, 0, 0));
}

TEST_F(WindowTest, DatePickersShowTheEmptyMaskAndKeepTheirYear) {
    CountingWindow& w = Open();
    auto* date = w.Ctl<ui::DatePicker>("cVNDateOrdre");
    EXPECT_EQ(date->lineEdit()->displayText(), "__/__/____");
    EXPECT_EQ(date->text(), "");
    date->setText("3/7/2024");
    EXPECT_EQ(date->text(), "03/07/2024");
    date->setMaxLength(8);  // the form's length of a date field: its eight digits
    date->setText("25/12/2023");
    EXPECT_EQ(date->text(), "25/12/2023");
    date->setText("");
    EXPECT_EQ(date->lineEdit()->displayText(), "__/__/____");
    EXPECT_FALSE(date->lineEdit()->isUndoAvailable()) << "the program's texts are no history";
    date->showCalendar();
    ASSERT_TRUE(date->calendar());
    emit date->calendar()->clicked(QDate(2024, 2, 29));
    EXPECT_EQ(date->text(), "29/02/2024");
    EXPECT_FALSE(date->calendar());  // closed by the choice

    // A date that does not exist is neither shown nor read, typed or set.
    for (const char* impossible : {"31/02/2020", "29/02/2023", "12/13/2024", "00/01/2024"}) {
        SCOPED_TRACE(impossible);
        date->setText(impossible);
        EXPECT_EQ(date->text(), "");
        EXPECT_EQ(date->lineEdit()->displayText(), "__/__/____");
    }
    date->lineEdit()->clear();
    date->lineEdit()->setFocus();
    for (const char* digit : {"3", "1", "0", "2", "2", "0", "2", "0"}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (digit[0] - '0'), Qt::NoModifier, digit);
        QApplication::sendEvent(date->lineEdit(), &key);
    }
    EXPECT_EQ(date->lineEdit()->displayText(), "31/02/2020");
    EXPECT_EQ(date->text(), "") << "read as no date while it is on screen";
    emit date->lineEdit()->editingFinished();
    EXPECT_EQ(date->lineEdit()->displayText(), "__/__/____") << "and not left there";
    date->setText("29/02/2024");
    EXPECT_EQ(date->text(), "29/02/2024");
}

TEST_F(WindowTest, MemosCutTextBeyondTheirMaximumLength) {
    CountingWindow& w = Open();
    auto* memo = w.Ctl<ui::Memo>("cCommentaires");
    ASSERT_EQ(memo->maxLength(), 250);
    // Typing stops at the maximum; a longer text the program sets stands whole, and once
    // shortened does not grow back.
    memo->setText(QString(249, 'x'));
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText("yz");
    EXPECT_EQ(memo->text().size(), 250);
    memo->setText(QString(300, 'x'));
    EXPECT_EQ(memo->text().size(), 300);
    // Its text keeps the no-break spaces and line breaks it was given.
    const QString text = QString::fromUtf8("10\u00A0000 km\nrévisé");
    memo->setText(text);
    EXPECT_EQ(ui::ControlText(memo), text);
    memo->setText(QString(300, 'x'));
    memo->moveCursor(QTextCursor::End);
    memo->textCursor().deletePreviousChar();
    memo->insertPlainText("ab");
    EXPECT_EQ(memo->text().size(), 299);
    // An edit limits what is typed, never what the program shows.
    auto* postcode = w.Ctl<QLineEdit>("aCliCP");
    postcode->clear();
    postcode->insert("750011");
    EXPECT_EQ(postcode->text(), "");
    postcode->insert("75001");
    postcode->insert("1");
    EXPECT_EQ(postcode->text(), "75001");
    // A town is not cut to the length of a postcode.
    auto* town = w.Ctl<QLineEdit>("aCliVille");
    town->setText("Saint-Germain-en-Laye");
    EXPECT_EQ(town->text(), "Saint-Germain-en-Laye");
}

TEST_F(WindowTest, GridsKeepTypedColumnsAndCellColoursAndHints) {
    CountingWindow& w = Open();
    auto* grid = w.Ctl<ui::Grid>("ngAction");
    const int comment = grid->columnIndex("CommentaireAction");
    ASSERT_GE(comment, 0);
    EXPECT_EQ(grid->column(comment).type, inventory::Column::Memo);
    grid->setCellText(2, comment, "rappeler lundi");
    grid->setCellColours(2, comment, QColor(255, 255, 0), QColor(0, 0, 255));
    grid->setCellHint(2, comment, "relance prioritaire");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->cellText(2, comment), "rappeler lundi");
    EXPECT_EQ(grid->cellText(0, comment), "");
    EXPECT_EQ(grid->item(2, comment)->background().color(), QColor(255, 255, 0));
    EXPECT_EQ(grid->item(2, comment)->foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(grid->item(2, comment)->toolTip(), "relance prioritaire");
    // Button and image cells are never edited as text.
    const int button = grid->columnIndex("NxBtn7");
    grid->setCellText(0, button, "");
    EXPECT_FALSE(grid->item(0, button)->flags() & Qt::ItemIsEditable);
}

TEST_F(WindowTest, ListViewsSortThroughTheirCallback) {
    CountingWindow& w = Open();
    auto* view = w.Ctl<ui::ListView>("cListImageSource");
    // Newest first by a number in the text, which a plain text sort would get wrong.
    view->sortCallback = [](const QTreeWidgetItem& a, const QTreeWidgetItem& b, int column) {
        return b.text(column).mid(5).toInt() - a.text(column).mid(5).toInt();
    };
    for (const char* name : {"photo9", "photo10", "photo2"})
        new ui::ListViewItem(view, QStringList{name});
    view->sortItems(0, Qt::AscendingOrder);
    QStringList order;
    for (int i = 0; i < view->topLevelItemCount(); ++i) order << view->topLevelItem(i)->text(0);
    EXPECT_EQ(order, (QStringList{"photo10", "photo9", "photo2"}));
}

TEST_F(WindowTest, TheToolkitSpeaksFrenchWhateverTheMachine) {
    CountingWindow& w = Open();
    QMessageBox box(QMessageBox::Question, "Confirmation de Suppression", "Supprimer ?",
                    QMessageBox::Yes | QMessageBox::No, &w);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Oui");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&'), "Non");

    auto* date = w.Ctl<ui::DatePicker>("cVNDateOrdre");
    date->setText("14/07/2024");
    date->showCalendar();
    QCalendarWidget* calendar = date->calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->verticalHeaderFormat(), QCalendarWidget::NoVerticalHeader);
    EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Monday);
    auto* month = calendar->findChild<QToolButton*>("qt_calendar_monthbutton");
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), "juillet");
    EXPECT_EQ(calendar->locale().dayName(1, QLocale::ShortFormat), "lun.");
}

}  // namespace
}  // namespace tarmel::testsupport
