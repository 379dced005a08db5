// Builds the window from the control inventory: one toolkit control per row, with its name,
// parent, geometry and form settings.
#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include "inventory/inventory.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/glyphs.h"
#include "mainwindow/toolkit/grid.h"

namespace tarmel {

using inventory::Entry;
using inventory::Kind;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QWidget* Create(const Entry& e, QWidget* parent) {
    switch (e.kind) {
    case Kind::Label: {
        auto* label = new QLabel(parent);
        if (e.centred()) label->setAlignment(Qt::AlignCenter);
        return label;
    }
    case Kind::StaticText: {
        auto* text = new ui::StaticText(parent);
        text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (e.centred()) text->setAlignment(Qt::AlignCenter);
        return text;
    }
    case Kind::Edit: {
        auto* edit = new QLineEdit(parent);
        if (e.maxLength > 0) ui::SetTypingLimit(edit, e.maxLength);
        return edit;
    }
    case Kind::NumberEdit: {
        auto* edit = new ui::NumberEdit(parent);
        if (e.maxLength > 0) ui::SetTypingLimit(edit, e.maxLength);
        return edit;
    }
    case Kind::DatePicker: return new ui::DatePicker(parent);
    case Kind::Combo: {
        auto* combo = new ui::Combo(parent);
        if (e.combo == inventory::ComboStyle::FreeText) combo->makeEditable();
        combo->setMaxLength(e.maxLength);
        return combo;
    }
    case Kind::Memo: {
        auto* memo = new ui::Memo(parent);
        memo->setMaxLength(e.maxLength);
        return memo;
    }
    case Kind::ListBox: return new ui::ListBox(parent);
    case Kind::ListView: {
        auto* view = new ui::ListView(parent);
        view->setHeaderLabels({Utf8(e.caption)});
        return view;
    }
    case Kind::Grid: return new ui::Grid(parent);
    case Kind::Button: {
        if (*e.icon == '\0') return new QPushButton(parent);
        auto* button = new QToolButton(parent);
        button->setIcon(ui::ToolbarGlyph(Utf8(e.icon)));
        button->setIconSize(QSize(24, 24));
        // Opaque, so that the glyphs stay readable on the red warning band.
        button->setAutoRaise(false);
        button->setToolButtonStyle(*e.caption ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        return button;
    }
    case Kind::Image: {
        auto* image = new ui::ImageBox(parent);
        // A photo frame on the pages; the splash logo stands free.
        if (std::string_view(e.parent).starts_with("Sheet"))
            image->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        return image;
    }
    case Kind::Shape: return new ui::Shape(parent);
    case Kind::Panel: return new ui::Panel(parent);
    case Kind::HeaderEdit: {
        auto* header = new ui::HeaderEdit(parent);
        if (e.centred()) header->setAlignment(Qt::AlignCenter);
        return header;
    }
    case Kind::PageControl: return new ui::PageControl(parent);
    case Kind::Page:
    case Kind::GridColumn: break;
    }
    return nullptr;
}

}  // namespace

void TAxTarmel::BuildControls() {
    for (const Entry& e : inventory::Controls()) {
        const QString name = Utf8(e.name);
        if (e.kind == Kind::GridColumn) {
            auto* grid = Ctl<ui::Grid>(Utf8(e.parent));
            Q_ASSERT(grid);
            const int index = grid->addColumn({name, e.column, e.maxLength, {}, e.centred(), e.amount()},
                                              e.width, Utf8(e.caption));
            grid->setColumnHidden(index, e.hidden());
            continue;
        }
        if (e.kind == Kind::Page) {
            auto* tabs = Ctl<ui::PageControl>(Utf8(e.parent));
            Q_ASSERT(tabs);
            auto* page = new ui::Page;
            page->setObjectName(name);
            tabs->addTab(page, Utf8(e.caption));
            controls_.insert(name, page);
            continue;
        }
        QWidget* parent = *e.parent ? Control(Utf8(e.parent)) : this;
        Q_ASSERT(parent);
        QWidget* control = Create(e, parent);
        control->setObjectName(name);
        control->setGeometry(e.left, e.top, e.width, e.height);
        if (*e.caption && e.kind != Kind::ListView) ui::SetControlText(control, Utf8(e.caption));
        if (*e.hint) ui::SetHint(control, Utf8(e.hint));
        if (e.fontPx) ui::SetFontPx(control, e.fontPx);
        const QColor fontColour = ui::ColourFrom(e.fontColour);
        const QColor colour = ui::ColourFrom(e.colour);
        if (auto* header = qobject_cast<ui::HeaderEdit*>(control)) {
            header->setDisabledColours(fontColour.isValid() ? fontColour : QColor(Qt::black),
                                       QColor(250, 250, 240));
        } else if (fontColour.isValid()) {
            QPalette p = control->palette();
            p.setColor(QPalette::WindowText, fontColour);
            p.setColor(QPalette::Text, fontColour);
            control->setPalette(p);
        }
        if (colour.isValid()) {
            if (auto* panel = qobject_cast<ui::Panel*>(control)) panel->setColour(colour);
        }
        if (auto* grid = qobject_cast<ui::Grid*>(control); grid && e.rowHeight > 0)
            grid->verticalHeader()->setDefaultSectionSize(e.rowHeight);
        if (e.disabled()) control->setEnabled(false);
        if (e.hidden()) control->hide();
        controls_.insert(name, control);
    }

    // Settings the table leaves to the window: what a panel looks like, the splash logo.
    auto* warning = Ctl<ui::Panel>("PanelWarning");
    warning->setFrameStyle(QFrame::NoFrame);
    // The splash's state (waiting for the server, or no server) and a warning may take two lines.
    Ctl<QLabel>("LbSplashState")->setWordWrap(true);
    Ctl<QLabel>("LbDebugInfo0")->setWordWrap(true);
    auto* splash = Ctl<ui::Panel>("PanelSplash");
    splash->setColour(QColor(250, 250, 245));
    splash->setFrameStyle(QFrame::Panel | QFrame::Raised);
    splash->setLineWidth(2);
    auto* logo = Ctl<ui::ImageBox>("ImageSplash");
    logo->setPicture(ui::DealerLogo(logo->size()));
    Ctl<ui::Panel>("Panel1")->setColour(palette().color(QPalette::Window));
}

QWidget* TAxTarmel::Control(const QString& name) const { return controls_.value(name); }

QString TAxTarmel::Text(const QString& name) const {
    const QWidget* control = Control(name);
    Q_ASSERT_X(control, "TAxTarmel::Text", qPrintable(name));
    return control ? ui::ControlText(control) : QString();
}

void TAxTarmel::SetText(const QString& name, const QString& text) {
    QWidget* control = Control(name);
    Q_ASSERT_X(control, "TAxTarmel::SetText", qPrintable(name));
    if (control) ui::SetControlText(control, text);
}

}  // namespace tarmel
