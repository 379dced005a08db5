// Routing of field events to the window's handlers.
#include "formdesc/window/fieldevents.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

#include <string_view>

#include "formdesc/cascades.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "server/xml/texttools.h"

namespace tarmel::form {

namespace {

constexpr const char* kWatched = "fieldWatched";

// Focus and keys of combos and text fields.
class FieldEventFilter : public QObject {
public:
    explicit FieldEventFilter(TAxTarmel& window) : QObject(&window), window_(window) {
        setObjectName(QStringLiteral("fieldEvents"));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        QWidget* field = FieldOf(watched);
        if (field == nullptr) return false;
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                // Entering and leaving a field are the user's moves inside the window; the window
                // losing or regaining activation, or the combo's own drop-down, are neither.
                if (!IsFieldMove(static_cast<QFocusEvent*>(event)->reason())) return false;
                break;
            default: break;
        }
        switch (event->type()) {
            case QEvent::FocusIn:
                if (watched == field && qobject_cast<QComboBox*>(field)) window_.CBoxEnter(field);
                break;
            case QEvent::FocusOut:
                if (watched == field && qobject_cast<QComboBox*>(field)) window_.CBoxExit(field);
                break;
            case QEvent::KeyPress:
                return window_.CBoxKeyDown(field, static_cast<QKeyEvent*>(event)->key());
            case QEvent::KeyRelease:
                if (qobject_cast<QComboBox*>(field))
                    window_.cBoxKeyUp(field, static_cast<QKeyEvent*>(event)->key());
                break;
            default: break;
        }
        return false;
    }

private:
    static bool IsFieldMove(Qt::FocusReason reason) {
        return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    }

    // The combo an inner line edit belongs to, or the control itself.
    static QWidget* FieldOf(QObject* watched) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) return nullptr;
        if (auto* combo = qobject_cast<QComboBox*>(widget->parentWidget())) {
            if (combo->lineEdit() == widget) return combo;
        }
        return widget;
    }

    TAxTarmel& window_;
};

FieldEventFilter& Filter(TAxTarmel& window) {
    if (auto* existing = window.findChild<FieldEventFilter*>(QStringLiteral("fieldEvents"),
                                                             Qt::FindDirectChildrenOnly))
        return *existing;
    return *new FieldEventFilter(window);
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (const auto n : names) {
        if (name == n) return true;
    }
    return false;
}

// The field's own change handling: the combo check for combos, the text for the others.
void OwnChange(TAxTarmel& window, QWidget* control) {
    if (qobject_cast<QComboBox*>(control))
        window.CBoxChange(control);
    else
        window.EditChange(control);
}

void RunCascade(TAxTarmel& window, const Cascade& c, QWidget* control) {
    auto combo = [&](const char* name) { return window.Ctl<QComboBox>(QString::fromLatin1(name)); };
    if (*c.target)
        window.UpdateCBox(combo(c.target), UpperAscii(L(ui::ControlText(control))), c.itemElement,
                          c.keyElement, c.list);
    if (*c.versionMemo)
        window.UpdateVersion(window.Control(QString::fromLatin1(c.versionMemo)), combo(c.modelCombo),
                             *c.typeCombo ? combo(c.typeCombo) : nullptr);
    if (c.title) window.setInfoTitre();
}

}  // namespace

void FieldChanged(TAxTarmel& window, QWidget* control) {
    const std::string name = L(control->objectName());
    if (IsOneOf(name, {"cNVO", "cVDNVO", "cVNNVO"})) {
        window.TraceLog(QStringLiteral("dans cNVOChange ") + ui::ControlText(control));
        window.EditChange(control);
        window.setInfoNVO();
    } else if (IsOneOf(name, {"cInfoCouleur", "cVDInfoCouleur", "cVNInfoCouleur"})) {
        window.CBoxChange(control);
        window.setInfoField1();
    } else if (IsOneOf(name, {"cCV", "cKMS", "cVDCV", "cVDKMS", "cVNCV", "aCliNbEnfants", "vKMS"})) {
        window.EditChange(control);
        window.setInfoField2();
    } else if (IsOneOf(name, {"cSite", "cVDSite", "cVNSite"})) {
        window.CBoxChange(control);
        window.LastSite = L(ui::ControlText(control));
    } else if (name == "aSite") {
        window.CBoxChange(control);
        window.aSiteFollowUp();
    } else if (name == "cDestination") {
        // Its text is the value as it stands, without the combo check.
        window.EditChange(control);
    } else if (const Cascade* cascade = FindCascade(name)) {
        OwnChange(window, control);
        RunCascade(window, *cascade, control);
    } else {
        OwnChange(window, control);
    }
}

void WatchField(TAxTarmel& window, QWidget* control, FieldRole role) {
    if (control->property(kWatched).toBool()) return;
    control->setProperty(kWatched, true);
    TAxTarmel* w = &window;
    auto changed = [w, control] { w->Guarded([w, control] { FieldChanged(*w, control); }); };
    switch (role) {
        case FieldRole::Text:
            if (auto* date = qobject_cast<ui::DatePicker*>(control))
                QObject::connect(date, &ui::DatePicker::textChanged, w, changed);
            else if (auto* memo = qobject_cast<ui::Memo*>(control))
                QObject::connect(memo, &ui::Memo::textEdited, w, changed);
            else if (auto* edit = qobject_cast<QLineEdit*>(control))
                QObject::connect(edit, &QLineEdit::textChanged, w, changed);
            else if (auto* combo = qobject_cast<QComboBox*>(control))
                QObject::connect(combo, &QComboBox::currentTextChanged, w, changed);
            control->installEventFilter(&Filter(window));
            break;
        case FieldRole::Combo: {
            auto* combo = qobject_cast<QComboBox*>(control);
            // The user's choices and typing; the program's fills do not count as changes.
            QObject::connect(combo, &QComboBox::activated, w, changed);
            if (combo->lineEdit())
                QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, w, changed);
            combo->installEventFilter(&Filter(window));
            if (combo->lineEdit()) combo->lineEdit()->installEventFilter(&Filter(window));
            break;
        }
        case FieldRole::ListBox:
            QObject::connect(qobject_cast<QListWidget*>(control), &QListWidget::itemSelectionChanged,
                             w, [w, control] { w->Guarded([w, control] { w->LBoxChange(control); }); });
            break;
    }
}

void BindFormFieldHandlers(TAxTarmel& window) {
    if (window.property("formFieldHandlers").toBool()) return;
    window.setProperty("formFieldHandlers", true);
    // Option list boxes of the demonstration and new vehicle pages, opened by their button.
    for (const auto& [buttonName, listName] :
         {std::pair{"czVDOptions", "cVDInfoOptions"}, std::pair{"czVNOptions", "cVNInfoOptions"}}) {
        auto* button = window.Ctl<QAbstractButton>(QString::fromLatin1(buttonName));
        QWidget* list = window.Control(QString::fromLatin1(listName));
        if (button == nullptr || list == nullptr) continue;
        QObject::connect(button, &QAbstractButton::clicked, &window, [list] {
            list->setVisible(!list->isVisible());
            if (list->isVisible()) list->setFocus();
        });
        class OptionListEvents : public QObject {
        public:
            OptionListEvents(QObject* parent, QWidget* b) : QObject(parent), button_(b) {}
            bool eventFilter(QObject* watched, QEvent* event) override {
                auto* list = static_cast<QWidget*>(watched);
                if (event->type() == QEvent::FocusIn) {
                    list->resize(200, 480);
                    list->raise();
                    button_->hide();
                } else if (event->type() == QEvent::FocusOut) {
                    list->hide();
                    button_->show();
                }
                return false;
            }

        private:
            QWidget* button_;
        };
        list->installEventFilter(new OptionListEvents(list, button));
    }
}

}  // namespace tarmel::form
