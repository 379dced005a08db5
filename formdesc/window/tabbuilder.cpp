// UpdateTabDesc: the pages the structure description lists for the record kind, their fields found
// on the form or created, labelled, coloured, enabled by rights and filled with the record's
// values; later runs only refill them. The header and closing phases of a load live with the
// record loading (record/window/recordheader.cpp).
#include "formdesc/window/tabbuilder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/traceflag.h"
#include "formdesc/fieldentry.h"
#include "formdesc/fieldrules.h"
#include "formdesc/optionlists.h"
#include "formdesc/valuelists.h"
#include "formdesc/valuesource.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "record/computedcontrols.h"
#include "record/window/recordheader.h"

namespace tarmel {

using form::Q;

void TAxTarmel::UpdateTabDesc(bool reload, bool applyPages) {
    // The pages change under the sub-lists: a page shown meanwhile loads its list afterwards.
    struct Building {
        bool& flag;
        const bool before = flag;
        explicit Building(bool& f) : flag(f) { flag = true; }
        ~Building() { flag = before; }
    } building(Form.Building);
    const TXml valueSource = UpdateTabDescHeader(*this, reload);
    form::TabBuilder builder(*this);
    if (applyPages) builder.PagePass();
    builder.RefillPass(valueSource);
    builder.BuildPass(valueSource);
    UpdateTabDescClosing(*this);
}

namespace form {

void TabBuilder::PagePass() {
    auto* tabs = w_.Ctl<QTabWidget>(QStringLiteral("Tabs"));
    w_.ForgetLoadedSubLists();
    for (int number = 0; number < kPageCount; ++number) {
        w_.TraceLog(QStringLiteral("dans UpdateTabDesc : 4"));
        TsPage& page = w_.Form.Pages[number];
        const PageEntry entry = FindPageEntry(w_.Form.StructXml, w_.Record.RecordKind, number);
        if (!entry.found) {
            if (number >= 1 && tabs) tabs->setTabVisible(number - 1, false);
            page.described = false;
            continue;
        }
        if (number >= 1 && tabs) {
            w_.TraceLog(QStringLiteral("Ajout desc Onglet : %1").arg(number));
            page.sheet = tabs->widget(number - 1);
            tabs->setTabText(number - 1, Q(entry.caption));
            tabs->setTabVisible(number - 1, true);
        }
        page.fieldKey = entry.fieldKey;
        page.tableTag = entry.tableTag;
        page.prefix = entry.prefix;
        page.described = true;
        if (w_.Form.FirstTab == 0) {
            w_.Form.FirstTab = number;
            if (w_.Form.FirstTab >= 1 && tabs) tabs->setCurrentIndex(w_.Form.FirstTab - 1);
        }
    }
}

// Where page number reads its values in this run.
TXml TabBuilder::PageValueSource(int number, const TXml& recordSource, bool firstBuild) {
    if (number == 9) return RecordElementSource(w_.Form.RecordXml, w_.Record.RecordTable);
    if (number != 8) return recordSource;
    if (firstBuild) return FirstVehicleSource(w_.Form.ClientXml);
    return vehicleSource_;
}

FieldContext TabBuilder::Context() const {
    FieldContext context;
    context.groupNames = w_.Access.GroupNames;
    context.rights = w_.Access.rights();
    context.newRecord = w_.Record.FlagNewEnreg;
    context.newVehicle = w_.Record.NewVehicle;
    context.vehicleState = w_.Form.VehicleState;
    context.today = Today();
    return context;
}

void TabBuilder::RefillPass(const TXml& recordSource) {
    // The vehicle the client-vehicles page shows, whether or not that page is described.
    const VehicleSource vehicle =
        SelectedVehicleSource(w_.Form.ClientXml, w_.Record.SelectedVehicle);
    w_.Form.VehicleState = vehicle.vehicleState;
    vehicleSource_ = vehicle.source;
    w_.Form.ListMemory = {};

    for (int number = 0; number < kPageCount; ++number) {
        TsPage& page = w_.Form.Pages[number];
        w_.TraceLog(QStringLiteral("Trait. desc Onglet : %1 %2 %3")
                     .arg(number)
                     .arg(Flag(page.described))
                     .arg(Flag(page.built)));
        if (!page.described || !page.built) continue;
        w_.TraceLog(QStringLiteral("p2 Traitement desc Onglet : %1").arg(number));
        w_.Form.Filling = true;
        const TXml source = PageValueSource(number, recordSource, false);
        const FieldContext context = Context();
        for (size_t i = 0; i < page.descriptors.size(); ++i) {
            w_.TraceLog(QStringLiteral("p3 Ajout desc Onglet : %1 - %2").arg(number).arg(i));
            TsDesc& desc = page.descriptors[i];
            FieldPass field;
            field.number = number;
            field.index = static_cast<int>(i);
            field.box.width = desc.width;
            FieldInput input;
            input.number = number;
            input.desc = &desc;
            input.element = ValueElement(desc, false, false);
            input.box = field.box;
            field.plan = PlanRefill(input, source, context);
            // Refilled by the binder of the control bound at the first build, whatever the
            // description calls it; a field without one stays so.
            if (desc.width != 0) {
                if (desc.listBox)
                    BindListBox(desc, field, desc.listBox);
                else if (desc.combo)
                    BindCombo(desc, field, desc.combo);
                else if (desc.boundControl)
                    BindText(desc, field, desc.boundControl);
            }
            MarkMandatory(desc, field.plan.value);
            desc.storedValue = field.plan.storedValue;
            desc.currentValue = field.plan.value;
        }
        w_.Form.Filling = false;
        w_.TestPageUpdate(number);
        page.built = true;
    }
}

void TabBuilder::BuildPass(const TXml& recordSource) {
    // One reading of the whole description: a child an entry lacks carries over from the entry
    // before it, whatever its page.
    std::vector<std::string> keys;
    for (const TsPage& page : w_.Form.Pages) {
        if (page.described) keys.push_back(page.fieldKey);
    }
    const FieldEntriesByKey entries = ReadFieldEntries(w_.Form.StructXml, keys);
    for (int number = 0; number < kPageCount; ++number) {
        TsPage& page = w_.Form.Pages[number];
        w_.TraceLog(QStringLiteral("premier Ajout desc Onglet : %1 %2 %3")
                     .arg(number)
                     .arg(Flag(page.described))
                     .arg(Flag(page.built)));
        if (!page.described || page.built) continue;
        w_.Form.Filling = true;
        w_.TraceLog(QStringLiteral("p2 Ajout desc Onglet : ") + Q(page.fieldKey));
        const TXml source = PageValueSource(number, recordSource, true);
        const std::vector<FieldEntry>& fields = entries.at(page.fieldKey);
        for (size_t index = 0; index < fields.size(); ++index) {
            if (page.descriptors.size() <= index) page.descriptors.emplace_back();
            BuildField(number, static_cast<int>(index), fields[index], source);
        }
        w_.Form.Filling = false;
        w_.TestPageUpdate(number);
        page.built = true;
    }
}

void TabBuilder::BuildField(int number, int index, const FieldEntry& entry, const TXml& source) {
    TsPage& page = w_.Form.Pages[number];
    TsDesc& desc = page.descriptors[index];
    const TsDesc& read = entry.desc;
    if (entry.fieldInfo.find(';') != std::string::npos)
        w_.TraceLog(QStringLiteral("info rubrique : ") + Q(page.fieldKey + read.columnName + entry.fieldInfo));
    w_.TraceLog(QStringLiteral("z2 Ajout desc Onglet : ") + Q(page.fieldKey) + QStringLiteral(" - ") +
             Q(read.columnName));

    // Everything the description says; the control references and the values come below.
    TakeDescription(desc, entry);
    desc.boundControl = nullptr;

    QWidget* const parent =
        entry.place.idNum < 1000 ? page.sheet : w_.Control(QStringLiteral("PanelCompta"));
    QWidget* control = nullptr;
    if (parent != nullptr) {
        control = parent->findChild<QWidget*>(Q(page.prefix + desc.columnName),
                                               Qt::FindDirectChildrenOnly);
    }

    FieldPass field;
    field.number = number;
    field.index = index;
    field.box = {entry.place.left, entry.place.top, entry.place.width, entry.place.height};
    field.length = entry.place.length;
    FieldInput input;
    input.number = number;
    input.desc = &desc;
    input.element = ValueElement(desc, true, entry.vInfoHasSeparator);
    input.box = field.box;
    input.enabledCode = entry.place.enabledCode;
    if (control != nullptr) {
        input.formControl =
            PixelBox{control->x(), control->y(), control->width(), control->height()};
        input.formControlBound = TagOf(control) != 0;
    }
    field.plan = PlanField(input, source, Context());
    desc.storedValue = field.plan.storedValue;
    desc.currentValue = field.plan.value;

    if (control == nullptr && !(field.plan.createControl && page.sheet != nullptr)) {
        MarkMandatory(desc, field.plan.value);
        return;
    }
    if (control != nullptr)
        control->setVisible(field.plan.visible);
    else if (field.plan.label)
        CreateLabel(desc, field, *field.plan.label, entry.place.idNum);
    switch (desc.controlKind) {
        case kind::ListBox:
            BindListBox(desc, field, control);
            break;
        case kind::ComboText:
        case kind::ComboPosition:
            BindCombo(desc, field, control);
            break;
        case kind::Button:
            BindButton(desc, field, control);
            break;
        case kind::Text:
            BindText(desc, field, control);
            break;
        default:
            // Another kind on the form is left as it is; one that is created is an edit.
            if (control == nullptr) BindText(desc, field, nullptr);
            break;
    }
    if (control != nullptr && field.plan.label)
        CreateLabel(desc, field, *field.plan.label, entry.place.idNum);
    MarkMandatory(desc, field.plan.value);
}

void TabBuilder::CreateLabel(TsDesc& desc, const FieldPass& field, const LabelPlace& at,
                             int idNum) {
    QWidget* parent = idNum < 1000 ? w_.Form.Pages[field.number].sheet
                                   : w_.Control(QStringLiteral("PanelCompta"));
    if (parent == nullptr) return;
    auto* label = new QLabel(parent);
    label->setText(Q(desc.caption));
    // The caption stands at the top of its box (a list box's label box is as tall as the list):
    // the mouse goes through it to the control it may cover.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetTag(label, ControlTag(field.number, field.index));
    label->setGeometry(at.left, at.top, std::max(label->sizeHint().width(), 10), at.height);
    label->show();
    desc.label = label;
}

void TabBuilder::MarkMandatory(const TsDesc& desc, const std::string& value) {
    if (desc.label != nullptr) SetMandatoryMarker(desc.label, MandatoryMarked(desc.mandatory, value));
}

void TabBuilder::ApplyFieldPlan(TsDesc& desc, const FieldPass& field, QWidget* control) {
    SetTag(control, ControlTag(field.number, field.index));
    control->setEnabled(field.plan.enabled);
    // A computed figure is saved with the record but never typed over.
    if (IsComputedControl(L(control->objectName()))) {
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setReadOnly(true);
        if (auto* date = qobject_cast<ui::DatePicker*>(control)) date->setReadOnly(true);
    }
    if (field.plan.rights)
        SetFieldColours(control, desc.baseColour != 0 ? desc.baseColour : inventory::kNoColour,
                        desc.fontColour);
    else
        SetFieldColours(control, kReadOnlyBackground, desc.fontColour);
}

void TabBuilder::BindText(TsDesc& desc, const FieldPass& field, QWidget* control) {
    const bool created = control == nullptr;
    if (created) {
        control = new ui::NumberEdit(w_.Form.Pages[field.number].sheet);
        control->show();
    } else if (desc.baseColour == 0) {
        desc.baseColour = BackgroundOf(control);
    }
    desc.boundControl = control;
    ApplyFieldPlan(desc, field, control);
    if (field.length != 0) SetMaxLength(control, field.length);
    w_.BindFieldHandlers(control, FieldRole::Text);
    SetFieldText(control, field.plan.value);
    if (created)
        control->setGeometry(field.box.left, field.box.top, field.box.width, field.box.height - 1);
}

void TabBuilder::BindCombo(TsDesc& desc, FieldPass& field, QWidget* control) {
    const bool created = control == nullptr;
    auto* combo = created ? new ui::Combo(w_.Form.Pages[field.number].sheet)
                          : qobject_cast<QComboBox*>(control);
    if (combo == nullptr) return BindText(desc, field, control);  // described as a combo, not one
    if (created) {
        combo->show();
    } else {
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->setEditText({});
        if (desc.baseColour == 0) desc.baseColour = BackgroundOf(combo);
    }
    desc.combo = combo;
    desc.boundControl = combo;
    ApplyFieldPlan(desc, field, combo);
    // The length limits typed text; a combo whose value is a position is chosen, not typed.
    const bool positional = desc.controlKind == kind::ComboPosition || desc.dataType == datatype::Boolean;
    if (field.length != 0 && !positional) SetMaxLength(combo, field.length);
    if (!combo->isEditable()) {
        // Pick-only on the form: typed text must match an item, checked when the combo is left.
        // A combo the builder creates takes free text.
        desc.limitToList = !created;
        if (auto* own = qobject_cast<ui::Combo*>(combo)) own->makeEditable();
        else combo->setEditable(true);
    }
    if (combo->completer() != nullptr) {
        combo->completer()->setCaseSensitivity(Qt::CaseInsensitive);
        combo->completer()->setCompletionMode(QCompleter::InlineCompletion);
    }
    desc.width = combo->width();
    w_.TraceLog(QStringLiteral("CBoxEvents : ") + Q(desc.listName) + QStringLiteral(" - ") + Q(desc.listKey));
    w_.BindFieldHandlers(combo, FieldRole::Combo);
    FillComboField(desc, field, combo);
    if (created)
        combo->setGeometry(field.box.left, field.box.top, field.box.width, field.box.height + 4);
}

void TabBuilder::FillComboField(TsDesc& desc, FieldPass& field, QComboBox* combo) {
    w_.Form.ListXml = w_.Form.EquipXml;
    ComboFillRequest request;
    request.controlKind = desc.controlKind;
    request.dataType = desc.dataType;
    request.columnName = desc.columnName;
    request.listKey = desc.listKey;
    request.value = field.plan.value;
    request.recordKind = w_.Record.RecordKind;
    request.recordSite = w_.Record.RecordSite;
    const ComboFill fill = FillCombo(w_.Form.ListXml, request, w_.Form.ListMemory);
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& item : fill.items) combo->addItem(Q(item));
    combo->setCurrentIndex(fill.selected);
    if (fill.selected < 0) combo->setEditText({});
    desc.indexed = desc.indexed || fill.indexed;
    desc.emptyFirst = fill.emptyFirst;
    field.plan.value = fill.value;
}

void TabBuilder::BindListBox(TsDesc& desc, const FieldPass& field, QWidget* control) {
    const bool created = control == nullptr;
    auto* list = created ? new ui::ListBox(w_.Form.Pages[field.number].sheet)
                         : qobject_cast<QListWidget*>(control);
    if (list == nullptr) return;
    if (created) {
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        list->show();
    } else if (desc.baseColour == 0) {
        desc.baseColour = BackgroundOf(list);
    }
    desc.listBox = list;
    w_.Form.ListXml = w_.Form.EquipXml;
    const ListBoxFill fill =
        FillListBox(w_.Form.ListXml, desc.listKey, field.plan.value,
                    SiteMakes(w_.Form.ListXml, L(w_.Text(QStringLiteral("aSite")))));
    {
        const QSignalBlocker quiet(list);
        list->clear();
        for (size_t i = 0; i < fill.items.size(); ++i) {
            auto* item = new QListWidgetItem(Q(fill.items[i]), list);
            item->setSelected(fill.selected[i]);
        }
    }
    desc.codes = fill.codes;
    if (FindOptionList(L(list->objectName())))
        w_.SetText(QString::fromLatin1(kOptionsLabel), Q(fill.joined));
    desc.boundControl = list;
    ApplyFieldPlan(desc, field, list);
    w_.BindFieldHandlers(list, FieldRole::ListBox);
    if (created && field.box.width != 0)
        list->setGeometry(field.box.left, field.box.top + 21, field.box.width, field.box.height + 4);
}

void TabBuilder::BindButton(TsDesc& desc, const FieldPass& field, QWidget* control) {
    const bool created = control == nullptr;
    if (created) {
        auto* button = new QPushButton(w_.Form.Pages[field.number].sheet);
        button->setText(Q(desc.caption));
        button->show();
        control = button;
    }
    ApplyFieldPlan(desc, field, control);
    if (created)
        control->setGeometry(field.box.left, field.box.top + 2, field.box.width, field.box.height - 1);
}

}  // namespace form
}  // namespace tarmel
