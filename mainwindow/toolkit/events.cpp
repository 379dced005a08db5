// How each control kind raises each event. A control's handlers live in a small object owned by
// the control; the first handler of an event connects the kind's signal or watches its input
// events, and later handlers only replace the function called.
#include "mainwindow/toolkit/events.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSlider>
#include <QTreeWidget>

#include <array>
#include <bitset>
#include <iterator>
#include <optional>
#include <utility>

#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"

namespace tarmel::ui {

namespace {

constexpr const char* kHubName = "controlEvents";

// The kinds whose text the user types: their double-clicks come through the hub's filter.
bool IsTextKind(const QWidget* control) {
    return qobject_cast<const QLineEdit*>(control) || qobject_cast<const QComboBox*>(control) ||
           qobject_cast<const DatePicker*>(control) || qobject_cast<const Memo*>(control);
}

// Labels, images and header edits have no click signal: the hub's filter raises their clicks.
bool ClickedThroughFilter(const QWidget* control) {
    return (qobject_cast<const QLabel*>(control) && !qobject_cast<const StaticText*>(control)) ||
           qobject_cast<const HeaderEdit*>(control);
}

// The widget that holds the focus for the control: a date picker's own edit, else the control.
QWidget* FocusTarget(QWidget* control) {
    if (auto* date = qobject_cast<DatePicker*>(control)) return date->lineEdit();
    return control;
}

// Entering and leaving are the user's moves inside the window; the window losing or regaining
// activation, or a combo's own drop-down, are neither.
bool IsFieldMove(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

class EventHub : public QObject {
public:
    explicit EventHub(QWidget* control) : QObject(control), control_(control) {
        setObjectName(QLatin1String(kHubName));
        control_->installEventFilter(this);
        // Where the focus, the keys and the mouse of some kinds really go.
        if (auto* date = qobject_cast<DatePicker*>(control_))
            date->lineEdit()->installEventFilter(this);
        if (auto* memo = qobject_cast<Memo*>(control_)) memo->viewport()->installEventFilter(this);
        // The keys typed into a cell's editor are the grid's keys.
        if (auto* grid = qobject_cast<Grid*>(control_)) {
            QObject::connect(grid, &Grid::editorOpened, this,
                             [this](QWidget* keys) { keys->installEventFilter(this); });
        }
        WatchInner();
    }

    static EventHub* Of(const QWidget* control) {
        return control->findChild<EventHub*>(QLatin1String(kHubName), Qt::FindDirectChildrenOnly);
    }
    static EventHub& For(QWidget* control) {
        EventHub* hub = Of(control);
        return hub ? *hub : *new EventHub(control);
    }

    bool Has(Event e) const { return bool(handlers_[size_t(e)]); }
    void Set(Event e, Handler handler) { handlers_[size_t(e)] = std::move(handler); }
    bool Wired(Event e) const { return wired_[size_t(e)]; }
    void MarkWired(Event e) { wired_[size_t(e)] = true; }

    // Runs the control's handler of the event, if any.
    void Raise(Event e, EventArgs& args) {
        args.control = control_;
        // A copy: the handler may replace itself while it runs.
        if (Handler handler = handlers_[size_t(e)]) handler(args);
    }
    void Raise(Event e) {
        EventArgs args;
        Raise(e, args);
    }
    // The keys held at a button's click: those of the mouse release that made it, else (a key
    // pressed the button) those held now.
    Qt::KeyboardModifiers TakeClickModifiers() {
        const std::optional<Qt::KeyboardModifiers> mouse = std::exchange(clickModifiers_, {});
        return mouse ? *mouse : QGuiApplication::keyboardModifiers();
    }
    void RaiseCell(Event e, int row, int column) {
        EventArgs args;
        args.row = row;
        args.column = column;
        Raise(e, args);
    }

    // The connections through a combo's inner edit, made again when the combo gets a new one.
    void WatchInner() {
        auto* combo = qobject_cast<QComboBox*>(control_);
        if (combo == nullptr || combo->lineEdit() == innerEdit_) return;
        innerEdit_ = combo->lineEdit();
        if (innerEdit_ == nullptr) return;
        innerEdit_->installEventFilter(this);
        QObject::connect(innerEdit_, &QLineEdit::textEdited, this, [this] {
            Raise(Event::Change);
            Raise(Event::UserChange);
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        WatchInner();
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                if (watched == FocusTarget(control_) && IsFieldMove(event))
                    Raise(event->type() == QEvent::FocusIn ? Event::Enter : Event::Exit);
                return false;
            case QEvent::KeyPress:
                return watched == KeyTarget(watched) &&
                       KeyPressed(watched, static_cast<QKeyEvent*>(event));
            case QEvent::KeyRelease:
                if (watched == KeyTarget(watched)) {
                    EventArgs args;
                    args.key = static_cast<QKeyEvent*>(event)->key();
                    args.modifiers = static_cast<QKeyEvent*>(event)->modifiers();
                    Raise(Event::KeyUp, args);
                }
                return false;
            case QEvent::MouseButtonDblClick:
                if (IsTextKind(control_)) Raise(Event::DoubleClick);
                return false;
            case QEvent::MouseButtonRelease:
                // A button's click follows its release: the keys held then come with it.
                if (watched == control_)
                    clickModifiers_ = static_cast<QMouseEvent*>(event)->modifiers();
                if (watched == control_ && ClickedThroughFilter(control_) &&
                    static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                    EventArgs args;
                    args.modifiers = static_cast<QMouseEvent*>(event)->modifiers();
                    Raise(Event::Click, args);
                }
                return false;
            default: return false;
        }
    }

private:
    // Keys reach a date picker through its edit, a combo through itself or its inner edit, a grid
    // through itself or the editor of a cell (the only children the hub watches).
    QObject* KeyTarget(QObject* watched) const {
        if (auto* date = qobject_cast<DatePicker*>(control_)) return date->lineEdit();
        if (watched == control_ || watched == innerEdit_) return watched;
        auto* child = qobject_cast<QWidget*>(watched);
        if (qobject_cast<Grid*>(control_) && child && control_->isAncestorOf(child)) return watched;
        return nullptr;
    }

    // Key down first, then the typed character; true when the key is consumed.
    bool KeyPressed(QObject* watched, QKeyEvent* key) {
        if (resending_) return false;
        EventArgs down;
        down.key = key->key();
        down.modifiers = key->modifiers();
        Raise(Event::KeyDown, down);
        if (down.refused) return true;
        if (!Has(Event::KeyPress) || key->text().isEmpty()) return false;
        EventArgs press;
        press.key = key->key();
        press.modifiers = key->modifiers();
        press.character = key->text().at(0);
        Raise(Event::KeyPress, press);
        if (press.refused || press.character.isNull()) return true;
        if (press.character == key->text().at(0)) return false;
        // The handler typed another character in place of this one.
        QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(),
                           QString(press.character));
        resending_ = true;
        QCoreApplication::sendEvent(watched, &replaced);
        resending_ = false;
        return true;
    }

    QWidget* control_;
    std::optional<Qt::KeyboardModifiers> clickModifiers_;
    QPointer<QLineEdit> innerEdit_;
    std::array<Handler, kEventCount> handlers_;
    std::bitset<kEventCount> wired_;
    bool resending_ = false;
};

// One function per event: how each kind raises it, connected to the hub; false when the kind
// does not raise it.

bool WireClick(QWidget* control, EventHub* h) {
    auto raise = [h] { h->Raise(Event::Click); };
    auto row = [h](int index) {
        EventArgs args;
        args.row = index;
        h->Raise(Event::Click, args);
    };
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(button, &QAbstractButton::clicked, h, [h] {
            EventArgs args;
            args.modifiers = h->TakeClickModifiers();
            h->Raise(Event::Click, args);
        });
    } else if (auto* text = qobject_cast<StaticText*>(control)) {
        QObject::connect(text, &StaticText::clicked, h, raise);
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        QObject::connect(list, &QListWidget::itemClicked, h,
                         [list, row](QListWidgetItem* item) { row(list->row(item)); });
    } else if (auto* view = qobject_cast<QTreeWidget*>(control)) {
        QObject::connect(view, &QTreeWidget::itemClicked, h,
                         [view, row](QTreeWidgetItem* it) { row(view->indexOfTopLevelItem(it)); });
    } else if (qobject_cast<HeaderEdit*>(control)) {
        // A read-only box that answers clicks shows the hand, so that it reads as a link.
        control->setCursor(Qt::PointingHandCursor);
    } else {
        return ClickedThroughFilter(control);
    }
    return true;
}

// Change, UserChange or AnyChange.
bool WireChange(QWidget* control, EventHub* h, Event e) {
    auto raise = [h, e] { h->Raise(e); };
    const bool user = e == Event::UserChange, any = e == Event::AnyChange;
    if (auto* tabs = qobject_cast<PageControl*>(control)) {
        QObject::connect(tabs, &QTabWidget::currentChanged, h, [h, e](int index) {
            EventArgs args;
            args.page = index;
            h->Raise(e, args);
        });
    } else if (auto* date = qobject_cast<DatePicker*>(control)) {
        if (user) {
            QObject::connect(date->lineEdit(), &QLineEdit::textEdited, h, raise);
            QObject::connect(date, &DatePicker::dateSelected, h, raise);
        } else {
            QObject::connect(date, &DatePicker::textChanged, h, raise);
        }
    } else if (auto* memo = qobject_cast<Memo*>(control)) {
        if (user) QObject::connect(memo, &Memo::userEdited, h, raise);
        else QObject::connect(memo, &Memo::textEdited, h, raise);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // A combo's change is the user's: a choice here, typing through the inner edit (watched by
        // the hub); any change is its current text's.
        if (any) QObject::connect(combo, &QComboBox::currentTextChanged, h, raise);
        else QObject::connect(combo, &QComboBox::activated, h, raise);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        if (user) QObject::connect(edit, &QLineEdit::textEdited, h, raise);
        else QObject::connect(edit, &QLineEdit::textChanged, h, raise);
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        // The program fills lists with their signals blocked: every selection change is the user's.
        QObject::connect(list, &QListWidget::itemSelectionChanged, h, raise);
    } else if (auto* view = qobject_cast<QTreeWidget*>(control)) {
        QObject::connect(view, &QTreeWidget::itemSelectionChanged, h, raise);
    } else if (auto* slider = qobject_cast<QSlider*>(control)) {
        if (user) QObject::connect(slider, &QSlider::sliderMoved, h, raise);
        else QObject::connect(slider, &QSlider::valueChanged, h, raise);
    } else {
        return false;
    }
    return true;
}

bool WireDoubleClick(QWidget* control, EventHub* h) {
    auto row = [h](int index) {
        EventArgs args;
        args.row = index;
        h->Raise(Event::DoubleClick, args);
    };
    if (auto* grid = qobject_cast<Grid*>(control)) {
        QObject::connect(grid, &Grid::cellDoubleClicked, h,
                         [h](int r, int c) { h->RaiseCell(Event::DoubleClick, r, c); });
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        QObject::connect(list, &QListWidget::itemDoubleClicked, h,
                         [list, row](QListWidgetItem* item) { row(list->row(item)); });
    } else if (auto* view = qobject_cast<QTreeWidget*>(control)) {
        QObject::connect(view, &QTreeWidget::itemDoubleClicked, h,
                         [view, row](QTreeWidgetItem* it) { row(view->indexOfTopLevelItem(it)); });
    } else {
        // Text kinds: the hub's filter raises their double-clicks.
        return IsTextKind(control);
    }
    return true;
}

bool WireColumnClick(QWidget* control, EventHub* h) {
    auto* view = qobject_cast<QTreeWidget*>(control);
    if (view == nullptr) return false;
    QObject::connect(view->header(), &QHeaderView::sectionClicked, h, [h](int column) {
        EventArgs args;
        args.column = column;
        h->Raise(Event::ColumnClick, args);
    });
    return true;
}

bool WirePageChanging(QWidget* control, EventHub* h) {
    auto* tabs = qobject_cast<PageControl*>(control);
    if (tabs == nullptr) return false;
    tabs->onChanging = [h](int index) {
        EventArgs args;
        args.page = index;
        h->Raise(Event::PageChanging, args);
        return !args.refused;
    };
    return true;
}

// The grid's own events, each with its cell.
bool WireGridEvent(QWidget* control, EventHub* h, Event e) {
    auto* grid = qobject_cast<Grid*>(control);
    if (grid == nullptr) return false;
    auto cell = [h, e](int row, int column) { h->RaiseCell(e, row, column); };
    auto ask = [h, e](int row, int column, EventArgs& args) {
        args.row = row;
        args.column = column;
        h->Raise(e, args);
        return !args.refused;
    };
    switch (e) {
        case Event::CellChanged: QObject::connect(grid, &Grid::cellChanged, h, cell); break;
        case Event::CellClick: QObject::connect(grid, &Grid::cellClicked, h, cell); break;
        case Event::AfterEdit: QObject::connect(grid, &Grid::editStored, h, cell); break;
        case Event::SelectCell:
            QObject::connect(grid, &QTableWidget::currentCellChanged, h,
                             [cell](int row, int column, int previousRow, int) {
                                 if (row >= 0 && row != previousRow) cell(row, column);
                             });
            break;
        case Event::MouseMove:
            grid->setMouseTracking(true);
            QObject::connect(grid, &Grid::cellEntered, h, cell);
            break;
        case Event::CellEdited:
            QObject::connect(grid, &Grid::cellEdited, h,
                             [ask](int row, int column, const QString& text) {
                                 EventArgs args;
                                 args.text = text;
                                 ask(row, column, args);
                             });
            break;
        case Event::EditAccept:
            grid->onEditAccept = [ask](int row, int column, QString& text) {
                EventArgs args;
                args.text = text;
                const bool accepted = ask(row, column, args);
                text = args.text;
                return accepted;
            };
            break;
        case Event::BeforeSelect:
            grid->onBeforeSelect = [ask](int row, int column) {
                EventArgs args;
                return ask(row, column, args);
            };
            break;
        case Event::CellFormatting:
            grid->onFormatting = [ask](int row, int column, QColor& background,
                                       QColor& foreground) {
                EventArgs args;
                ask(row, column, args);
                background = args.background;
                foreground = args.foreground;
            };
            break;
        default: return false;
    }
    return true;
}

bool Wire(QWidget* control, Event e, EventHub& hub) {
    switch (e) {
        case Event::Click: return WireClick(control, &hub);
        case Event::Change:
        case Event::UserChange:
        case Event::AnyChange: return WireChange(control, &hub, e);
        case Event::DoubleClick: return WireDoubleClick(control, &hub);
        case Event::PageChanging: return WirePageChanging(control, &hub);
        // Focus and keys come through the hub's filter, for every kind.
        case Event::Enter:
        case Event::Exit:
        case Event::KeyPress:
        case Event::KeyDown:
        case Event::KeyUp: return true;
        case Event::CellEdited:
        case Event::CellChanged:
        case Event::EditAccept:
        case Event::BeforeSelect:
        case Event::CellClick:
        case Event::AfterEdit:
        case Event::SelectCell:
        case Event::CellFormatting:
        case Event::MouseMove: return WireGridEvent(control, &hub, e);
        case Event::ColumnClick: return WireColumnClick(control, &hub);
    }
    return false;
}

}  // namespace

bool SetHandler(QWidget* control, Event event, Handler handler) {
    if (control == nullptr) return false;
    EventHub& hub = EventHub::For(control);
    if (!hub.Wired(event)) {
        if (!Wire(control, event, hub)) return false;
        hub.MarkWired(event);
    }
    hub.Set(event, std::move(handler));
    return true;
}

bool HasHandler(const QWidget* control, Event event) {
    const EventHub* hub = control ? EventHub::Of(control) : nullptr;
    return hub != nullptr && hub->Has(event);
}

bool HasChangeHandler(const QWidget* control) {
    return HasHandler(control, Event::Change) || HasHandler(control, Event::UserChange) ||
           HasHandler(control, Event::AnyChange);
}

const char* EventName(Event event) {
    static constexpr const char* kNames[] = {
        "click",      "change",        "user change",  "any change",  "enter",        "exit",
        "key press",  "key down",      "key up",       "double-click", "page changing",
        "cell edited", "cell changed", "edit accept",  "before select", "cell click",
        "after edit", "select cell", "cell formatting", "mouse move", "column click",
    };
    static_assert(std::size(kNames) == kEventCount);
    return kNames[size_t(event)];
}

}  // namespace tarmel::ui
