// The window's event handlers, bound to their controls by name. A later subsystem adds its rows
// to kBindings (control name, event, handler) next to its handler's declaration in
// axtarmelimpl1.h.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"

namespace tarmel {

namespace {

enum class On {
    Click,     // buttons, static texts, list boxes
    Change,    // the shown text or selection of a control; the page control's new page
    Changing,  // the page control before the page changes; the handler may refuse
};

struct Binding {
    const char* control;
    On event;
    void (TAxTarmel::*run)() = nullptr;     // Click, Change
    bool (TAxTarmel::*allow)() = nullptr;   // Changing
};

const Binding kBindings[] = {
    {"Tabs", On::Changing, nullptr, &TAxTarmel::TabsChanging},
    {"Tabs", On::Change, &TAxTarmel::TabsChange},
    {"JvXPBtnActualize", On::Click, &TAxTarmel::JvXPBtnActualizeClick},
};

}  // namespace

void TAxTarmel::BindHandlers() {
    for (const Binding& b : kBindings) {
        QWidget* control = Control(QString::fromUtf8(b.control));
        Q_ASSERT_X(control, "BindHandlers", b.control);
        const auto run = [this, f = b.run] { Guarded([this, f] { (this->*f)(); }); };
        switch (b.event) {
        case On::Changing:
            if (auto* tabs = qobject_cast<ui::PageControl*>(control)) {
                tabs->onChanging = [this, f = b.allow](int) {
                    bool allowed = false;
                    Guarded([&] { allowed = (this->*f)(); });
                    return allowed;
                };
            }
            break;
        case On::Change:
            if (auto* tabs = qobject_cast<ui::PageControl*>(control))
                connect(tabs, &QTabWidget::currentChanged, this, run);
            else if (auto* date = qobject_cast<ui::DatePicker*>(control))
                connect(date, &ui::DatePicker::textChanged, this, run);
            else if (auto* memo = qobject_cast<ui::Memo*>(control))
                connect(memo, &ui::Memo::textEdited, this, run);
            else if (auto* combo = qobject_cast<QComboBox*>(control))
                connect(combo, &QComboBox::currentTextChanged, this, run);
            else if (auto* edit = qobject_cast<QLineEdit*>(control))
                connect(edit, &QLineEdit::textChanged, this, run);
            else if (auto* list = qobject_cast<QListWidget*>(control))
                connect(list, &QListWidget::itemSelectionChanged, this, run);
            else
                Q_ASSERT_X(false, "BindHandlers", b.control);
            break;
        case On::Click:
            if (auto* button = qobject_cast<QAbstractButton*>(control))
                connect(button, &QAbstractButton::clicked, this, run);
            else if (auto* text = qobject_cast<ui::StaticText*>(control))
                connect(text, &ui::StaticText::clicked, this, run);
            else if (auto* list = qobject_cast<QListWidget*>(control))
                connect(list, &QListWidget::itemClicked, this, run);
            else
                Q_ASSERT_X(false, "BindHandlers", b.control);
            break;
        }
    }
}

}  // namespace tarmel
