// The toolkit's events: how each control kind raises each event the window's handlers are bound
// to, what the handler receives, and what its answer (refusal, replaced character or text) does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <functional>
#include <memory>

#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/events.h"
#include "mainwindow/toolkit/grid.h"

namespace tarmel::testsupport {
namespace {

using ui::Event;
using ui::EventArgs;

void Key(QWidget* target, int key, const QString& text, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

void Focus(QWidget* target, QEvent::Type type, Qt::FocusReason reason) {
    QFocusEvent event(type, reason);
    QApplication::sendEvent(target, &event);
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at = {2, 2}) {
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

ui::Combo* EditableCombo(QWidget* parent) {
    auto* combo = new ui::Combo(parent);
    combo->addItems({"Essence", "Diesel"});
    combo->makeEditable();
    return combo;
}

// Each row: a control, the event bound, what is done to it, and how many times the handler runs.
TEST(ControlEvents, EachKindRaisesItsEventsForTheRightCauses) {
    struct Case {
        const char* name;
        std::function<QWidget*(QWidget*)> make;
        Event event;
        std::function<void(QWidget*)> act;
        int expected;
    } cases[] = {
        {"button click", [](QWidget* p) { return new QPushButton(p); }, Event::Click,
         [](QWidget* c) { static_cast<QPushButton*>(c)->click(); }, 1},
        {"static text click", [](QWidget* p) { return new ui::StaticText(p); }, Event::Click,
         [](QWidget* c) { Mouse(c, QEvent::MouseButtonPress); }, 1},
        {"image click", [](QWidget* p) { return new ui::ImageBox(p); }, Event::Click,
         [](QWidget* c) { Mouse(c, QEvent::MouseButtonRelease); }, 1},
        {"header edit click", [](QWidget* p) { return new ui::HeaderEdit(p); }, Event::Click,
         [](QWidget* c) { Mouse(c, QEvent::MouseButtonRelease); }, 1},
        {"edit change, the program's", [](QWidget* p) { return new QLineEdit(p); }, Event::Change,
         [](QWidget* c) { static_cast<QLineEdit*>(c)->setText("12"); }, 1},
        {"edit user change, the program's", [](QWidget* p) { return new QLineEdit(p); },
         Event::UserChange, [](QWidget* c) { static_cast<QLineEdit*>(c)->setText("12"); }, 0},
        {"edit user change, typed", [](QWidget* p) { return new QLineEdit(p); }, Event::UserChange,
         [](QWidget* c) { Key(c, Qt::Key_1, "1"); }, 1},
        {"memo change, the program's", [](QWidget* p) { return new ui::Memo(p); }, Event::Change,
         [](QWidget* c) { static_cast<ui::Memo*>(c)->setText("a\nb"); }, 1},
        {"memo user change, the program's", [](QWidget* p) { return new ui::Memo(p); },
         Event::UserChange, [](QWidget* c) { static_cast<ui::Memo*>(c)->setText("a"); }, 0},
        {"memo user change, typed", [](QWidget* p) { return new ui::Memo(p); }, Event::UserChange,
         [](QWidget* c) { Key(c, Qt::Key_A, "a"); }, 1},
        {"date change, the program's", [](QWidget* p) { return new ui::DatePicker(p); },
         Event::Change, [](QWidget* c) { static_cast<ui::DatePicker*>(c)->setText("01/02/2024"); }, 1},
        {"date user change, the program's", [](QWidget* p) { return new ui::DatePicker(p); },
         Event::UserChange,
         [](QWidget* c) { static_cast<ui::DatePicker*>(c)->setText("01/02/2024"); }, 0},
        {"combo change, the program's choice", EditableCombo, Event::Change,
         [](QWidget* c) { static_cast<QComboBox*>(c)->setCurrentIndex(1); }, 0},
        {"combo change, the user's choice", EditableCombo, Event::Change,
         [](QWidget* c) { emit static_cast<QComboBox*>(c)->activated(1); }, 1},
        {"combo change, typed", EditableCombo, Event::Change,
         [](QWidget* c) { Key(static_cast<QComboBox*>(c)->lineEdit(), Qt::Key_E, "E"); }, 1},
        {"combo any change, the program's choice", EditableCombo, Event::AnyChange,
         [](QWidget* c) { static_cast<QComboBox*>(c)->setCurrentIndex(1); }, 1},
        {"list box selection",
         [](QWidget* p) {
             auto* list = new ui::ListBox(p);
             list->addItems({"A", "B"});
             return list;
         },
         Event::Change, [](QWidget* c) { static_cast<QListWidget*>(c)->item(1)->setSelected(true); }, 1},
        {"enter by the Tab key", [](QWidget* p) { return new QLineEdit(p); }, Event::Enter,
         [](QWidget* c) { Focus(c, QEvent::FocusIn, Qt::TabFocusReason); }, 1},
        {"enter by the window's activation", [](QWidget* p) { return new QLineEdit(p); },
         Event::Enter, [](QWidget* c) { Focus(c, QEvent::FocusIn, Qt::ActiveWindowFocusReason); }, 0},
        {"exit to the combo's own drop-down", EditableCombo, Event::Exit,
         [](QWidget* c) { Focus(c, QEvent::FocusOut, Qt::PopupFocusReason); }, 0},
        {"exit of a date, through its edit", [](QWidget* p) { return new ui::DatePicker(p); },
         Event::Exit,
         [](QWidget* c) {
             Focus(static_cast<ui::DatePicker*>(c)->lineEdit(), QEvent::FocusOut, Qt::MouseFocusReason);
         },
         1},
        {"key down of a date, through its edit", [](QWidget* p) { return new ui::DatePicker(p); },
         Event::KeyDown,
         [](QWidget* c) { Key(static_cast<ui::DatePicker*>(c)->lineEdit(), Qt::Key_1, "1"); }, 1},
        {"key up of a combo", EditableCombo, Event::KeyUp,
         [](QWidget* c) { Key(c, Qt::Key_Minus, "-"); }, 1},
        {"double-click of an edit", [](QWidget* p) { return new QLineEdit(p); }, Event::DoubleClick,
         [](QWidget* c) { Mouse(c, QEvent::MouseButtonDblClick); }, 1},
        {"double-click of a memo, on its text", [](QWidget* p) { return new ui::Memo(p); },
         Event::DoubleClick,
         [](QWidget* c) { Mouse(static_cast<ui::Memo*>(c)->viewport(), QEvent::MouseButtonDblClick); },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        QWidget* control = c.make(&window);
        int count = 0;
        ASSERT_TRUE(ui::SetHandler(control, c.event, [&](EventArgs& args) {
            EXPECT_EQ(args.control, control);
            ++count;
        }));
        c.act(control);
        EXPECT_EQ(count, c.expected);
    }
}

TEST(ControlEvents, AKindThatDoesNotRaiseAnEventRefusesItsHandler) {
    QWidget window;
    auto* button = new QPushButton(&window);
    EXPECT_FALSE(ui::SetHandler(button, Event::PageChanging, [](EventArgs&) {}));
    EXPECT_FALSE(ui::SetHandler(button, Event::CellEdited, [](EventArgs&) {}));
    EXPECT_FALSE(ui::HasHandler(button, Event::PageChanging));
    auto* edit = new QLineEdit(&window);
    EXPECT_FALSE(ui::SetHandler(edit, Event::Click, [](EventArgs&) {}));
    EXPECT_FALSE(ui::HasChangeHandler(edit));
}

TEST(ControlEvents, ALaterHandlerReplacesTheEarlierOne) {
    QWidget window;
    auto* button = new QPushButton(&window);
    int first = 0, second = 0;
    ui::SetHandler(button, Event::Click, [&](EventArgs&) { ++first; });
    ui::SetHandler(button, Event::Click, [&](EventArgs&) { ++second; });
    button->click();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST(ControlEvents, KeysCanBeReplacedCancelledOrConsumed) {
    struct Case {
        const char* name;
        Event event;
        std::function<void(EventArgs&)> handler;
        QString typed, expected;
    } cases[] = {
        {"a character replaced", Event::KeyPress,
         [](EventArgs& a) { a.character = a.character.toUpper(); }, "a", "A"},
        {"a character cancelled", Event::KeyPress, [](EventArgs& a) { a.refused = true; }, "a", ""},
        {"a character passed", Event::KeyPress, [](EventArgs&) {}, "a", "a"},
        {"a key consumed before it is typed", Event::KeyDown,
         [](EventArgs& a) { a.refused = a.key == Qt::Key_A; }, "a", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        auto* edit = new QLineEdit(&window);
        ui::SetHandler(edit, c.event, c.handler);
        Key(edit, Qt::Key_A, c.typed);
        EXPECT_EQ(edit->text(), c.expected);
    }
}

TEST(ControlEvents, KeyDownAndUpCarryTheModifiers) {
    QWidget window;
    auto* combo = EditableCombo(&window);
    Qt::KeyboardModifiers down, up;
    int downKey = 0;
    ui::SetHandler(combo, Event::KeyDown, [&](EventArgs& a) {
        downKey = a.key;
        down = a.modifiers;
    });
    ui::SetHandler(combo, Event::KeyUp, [&](EventArgs& a) { up = a.modifiers; });
    Key(combo, Qt::Key_S, "s", Qt::ControlModifier);
    EXPECT_EQ(downKey, Qt::Key_S);
    EXPECT_EQ(down, Qt::ControlModifier);
    EXPECT_EQ(up, Qt::ControlModifier);
}

TEST(ControlEvents, APageChangeCanBeRefused) {
    QWidget window;
    auto* tabs = new ui::PageControl(&window);
    tabs->addTab(new QWidget, "1");
    tabs->addTab(new QWidget, "2");
    int asked = -1, changed = -1;
    bool allow = false;
    ui::SetHandler(tabs, Event::PageChanging, [&](EventArgs& a) {
        asked = a.page;
        a.refused = !allow;
    });
    ui::SetHandler(tabs, Event::Change, [&](EventArgs& a) { changed = a.page; });
    EXPECT_FALSE(tabs->selectPage(1));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(changed, -1);
    allow = true;
    EXPECT_TRUE(tabs->selectPage(1));
    EXPECT_EQ(changed, 1);
}

class GridEvents : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<QWidget>();
        window_->resize(400, 200);
        grid = new ui::Grid(window_.get());
        grid->setGeometry(0, 0, 400, 200);
        grid->addColumn({"Libelle", inventory::Column::Text, 0, {}}, 150, "Libellé");
        grid->addColumn({"Montant", inventory::Column::Number, 0, {}}, 100, "Montant");
        grid->setCellText(0, 0, "Pare-brise");
        grid->setCellText(1, 0, "Pneus");
        window_->show();
    }
    // Edits cell (row, column) with the text, as the delegate stores an editor's text.
    void Edit(int row, int column, const QString& text) {
        grid->storeEdit(grid->model()->index(row, column), text);
    }
    std::unique_ptr<QWidget> window_;
    ui::Grid* grid = nullptr;
};

TEST_F(GridEvents, AnEditIsAcceptedReplacedOrRefusedThenReported) {
    std::vector<std::pair<int, int>> stored;
    ui::SetHandler(grid, Event::EditAccept, [](EventArgs& a) {
        if (a.text == "refusé") a.refused = true;
        if (a.text == "1,5") a.text = "1.50";
    });
    ui::SetHandler(grid, Event::AfterEdit, [&](EventArgs& a) { stored.push_back({a.row, a.column}); });
    Edit(0, 1, "1,5");
    Edit(1, 1, "refusé");
    EXPECT_EQ(grid->cellText(0, 1), "1.50");
    EXPECT_EQ(grid->cellText(1, 1), "");
    EXPECT_EQ(stored, (std::vector<std::pair<int, int>>{{0, 1}}));
}

TEST_F(GridEvents, ChangesClicksAndTheEditorsTextCarryTheirCell) {
    std::vector<std::pair<int, int>> changed;
    ui::SetHandler(grid, Event::CellChanged, [&](EventArgs& a) { changed.push_back({a.row, a.column}); });
    grid->setCellText(1, 1, "12.00");
    EXPECT_EQ(changed, (std::vector<std::pair<int, int>>{{1, 1}}));

    int clickedRow = -1;
    ui::SetHandler(grid, Event::CellClick, [&](EventArgs& a) { clickedRow = a.row; });
    const QPoint at = grid->visualItemRect(grid->item(1, 0)).center();
    Mouse(grid->viewport(), QEvent::MouseButtonPress, at);
    Mouse(grid->viewport(), QEvent::MouseButtonRelease, at);
    EXPECT_EQ(clickedRow, 1);

    QString edited;
    ui::SetHandler(grid, Event::CellEdited, [&](EventArgs& a) { edited = a.text; });
    grid->editItem(grid->item(0, 0));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (editor == nullptr) editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    Key(editor, Qt::Key_X, "x");
    EXPECT_TRUE(edited.endsWith("x")) << edited.toStdString();
}

TEST_F(GridEvents, ASelectionCanBeRefused) {
    grid->setCurrentCell(0, 0);
    std::pair<int, int> asked{-1, -1};
    ui::SetHandler(grid, Event::BeforeSelect, [&](EventArgs& a) {
        asked = {a.row, a.column};
        a.refused = a.row == 1;
    });
    EXPECT_FALSE(grid->selectCell(1, 0));
    EXPECT_EQ(asked, (std::pair<int, int>{1, 0}));
    EXPECT_EQ(grid->currentRow(), 0);
    Key(grid, Qt::Key_Down, {});
    EXPECT_EQ(grid->currentRow(), 0) << "the arrow key asks too";
    EXPECT_TRUE(grid->selectCell(0, 1));
}

TEST_F(GridEvents, ASelectionIsReportedWhenTheRowChanges) {
    grid->setCurrentCell(0, 0);
    std::vector<int> selected;
    ui::SetHandler(grid, Event::SelectCell, [&](EventArgs& a) { selected.push_back(a.row); });
    grid->setCurrentCell(0, 1);
    EXPECT_TRUE(selected.empty()) << "another cell of the same row";
    Key(grid, Qt::Key_Down, {});
    grid->setRowCount(0);
    EXPECT_EQ(selected, std::vector<int>{1}) << "an emptied grid selects nothing";
}

TEST_F(GridEvents, FormattingColoursTheCellItIsAskedFor) {
    ui::SetHandler(grid, Event::CellFormatting, [](EventArgs& a) {
        if (a.row == 1 && a.column == 0) a.background = QColor(255, 0, 0);
    });
    grid->clearSelection();
    grid->setCurrentCell(-1, -1);
    const QImage image = grid->viewport()->grab().toImage();
    const QRect red = grid->visualItemRect(grid->item(1, 0));
    const QRect other = grid->visualItemRect(grid->item(0, 0));
    EXPECT_EQ(image.pixelColor(red.left() + 3, red.top() + 3), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(other.left() + 3, other.top() + 3), QColor(255, 0, 0));
}

TEST_F(GridEvents, AHeaderClickSortsASortableColumnAndASecondOneTurnsItRound) {
    grid->setCellText(0, 1, "950");
    grid->setCellText(1, 1, "1200.00");
    grid->setCellText(2, 0, "Vidange");
    grid->setCellColours(1, 0, QColor(255, 0, 0));
    grid->setCurrentCell(1, 0);
    auto column = [this](int c) {
        QStringList texts;
        for (int r = 0; r < grid->rowCount(); ++r) texts << grid->cellText(r, c);
        return texts;
    };
    auto clickHeader = [this](int c) { emit grid->horizontalHeader()->sectionClicked(c); };

    clickHeader(1);
    EXPECT_EQ(column(0), (QStringList{"Pare-brise", "Pneus", "Vidange"})) << "not sortable";

    grid->setColumnSort(1, ui::SortKind::Number);
    clickHeader(1);
    EXPECT_EQ(column(1), (QStringList{"950", "1200.00", ""})) << "values first, by value";
    clickHeader(1);
    EXPECT_EQ(column(0), (QStringList{"Vidange", "Pneus", "Pare-brise"}));
    EXPECT_EQ(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(grid->currentRow(), 1) << "the current row moves with its cells";
    EXPECT_EQ(grid->item(1, 0)->background().color(), QColor(255, 0, 0));
}

TEST_F(GridEvents, ListColumnsPickAnItemAndPicturesShowTheHand) {
    const int type = grid->addColumn({"Type", inventory::Column::List, 0, {"Appel", "Visite"}}, 80, "Type");
    const int icon = grid->addColumn({"Icone", inventory::Column::Image, 0, {}}, 24, "");
    grid->setCellText(0, type, "Visite");
    grid->editItem(grid->item(0, type));
    auto* list = grid->viewport()->findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isEditable()) << "typed text is no choice";
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentText(), "Visite");
    grid->closePersistentEditor(grid->item(0, type));

    QPixmap picture(12, 12);
    picture.fill(Qt::blue);
    grid->setCellImage(0, icon, picture);
    grid->setCellText(1, icon, "");
    auto cursorOver = [this, icon](int row) {
        const QPoint at = grid->visualItemRect(grid->item(row, icon)).center();
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        return grid->viewport()->cursor().shape();
    };
    grid->scrollToItem(grid->item(0, icon));
    EXPECT_EQ(cursorOver(0), Qt::PointingHandCursor);
    EXPECT_EQ(cursorOver(1), Qt::ArrowCursor) << "no picture, nothing to click";
}

}  // namespace
}  // namespace tarmel::testsupport
