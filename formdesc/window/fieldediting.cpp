// The field handlers: every edit keeps the field's current value equal to what its control shows
// and asks the change detection for the page's statement again.
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "formdesc/fieldrules.h"
#include "formdesc/optionlists.h"
#include "formdesc/valuelists.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/events.h"
#include "mainwindow/toolkit/grid.h"
#include "record/controlplan.h"
#include "server/encoders.h"
#include "server/xml/texttools.h"

namespace tarmel {

using form::L;
using form::Q;

TsDesc* TAxTarmel::DescOf(const QObject* control) {
    const int tag = form::TagOf(control);
    if (tag == 0) return nullptr;
    const int number = PageOfTag(tag);
    const int index = IndexOfTag(tag);
    if (number < 0 || number >= kPageCount) return nullptr;
    auto& descriptors = Form.Pages[number].descriptors;
    if (index < 0 || index >= static_cast<int>(descriptors.size())) return nullptr;
    return &descriptors[index];
}

void TAxTarmel::EditChange(QWidget* control) {
    TsDesc* desc = DescOf(control);
    if (desc == nullptr || desc->boundControl == nullptr) return;
    desc->currentValue = EditValue(form::FieldText(desc->boundControl), desc->dataType);
    TestPageUpdate(PageOfTag(form::TagOf(control)));
}

int TAxTarmel::ComboCheck(QWidget* control) {
    auto* combo = qobject_cast<QComboBox*>(control);
    TsDesc* desc = DescOf(control);
    if (combo == nullptr || desc == nullptr) return 0;
    const int page = PageOfTag(form::TagOf(control));
    ComboState state;
    state.text = L(combo->currentText());
    for (int i = 0; i < combo->count(); ++i) state.items.push_back(L(combo->itemText(i)));
    // The item the text names (an editable combo may show a text while an old item is current).
    state.selectedIndex = combo->findText(combo->currentText(), Qt::MatchExactly);
    state.limitToList = desc->limitToList;
    state.indexed = desc->indexed;
    state.emptyFirst = desc->emptyFirst;
    state.dataType = desc->dataType;
    state.listName = desc->listName;
    const ComboCheckResult result = CheckCombo(state, Form.ListXml);
    switch (result.verdict) {
        case ComboVerdict::Refused:
            if (!Form.Filling) combo->setFocus();
            return 0;
        case ComboVerdict::NoItems: return page;
        case ComboVerdict::Accepted: break;
    }
    desc->currentValue = result.value;
    TestPageUpdate(page);
    return page;
}

void TAxTarmel::CBoxChange(QWidget* combo) { ComboCheck(combo); }

void TAxTarmel::CBoxEnter(QWidget* control) {
    auto* combo = qobject_cast<QComboBox*>(control);
    if (combo == nullptr) return;
    // A drop-down list wider than the combo widens the combo while it has the focus.
    const int listWidth = combo->view() ? combo->view()->minimumWidth() : 0;
    if (listWidth > combo->width()) combo->resize(listWidth, combo->height());
    // Completion comes from each combo's own completer, set up when the field is bound.
    if (const TsDesc* desc = DescOf(control)) ArmListMaintenance(combo, *desc);
}

void TAxTarmel::CBoxExit(QWidget* control) {
    if (ComboCheck(control) == 0 && form::TagOf(control) != 0) return;  // refused: focus stays
    if (Form.BlinkOn) {
        ApplyPlan(ControlPlan().Show("Shape1", false));
        Form.BlinkOn = false;
        Ticks.BlinkOn = false;
        Form.RubricControl = nullptr;
    }
    auto* combo = qobject_cast<QComboBox*>(control);
    const TsDesc* desc = DescOf(control);
    if (combo != nullptr && desc != nullptr && desc->width != 0 && combo->width() != desc->width)
        combo->resize(desc->width, combo->height());
}

void TAxTarmel::CBoxKeyDown(ui::EventArgs& key) {
    auto* combo = qobject_cast<QComboBox*>(key.control);
    const TsDesc* desc = DescOf(key.control);
    if (key.key == Qt::Key_Delete && combo != nullptr && desc != nullptr &&
        desc->controlKind == kind::ComboText && desc->dataType == datatype::Text) {
        // Delete empties a free-text combo at once.
        combo->setEditText({});
        CBoxChange(combo);
        key.refused = true;
        return;
    }
    ListMaintenanceKey(key, false);
}

void TAxTarmel::cBoxKeyUp(ui::EventArgs& key) { ListMaintenanceKey(key, true); }

void TAxTarmel::LBoxChange(QWidget* control) {
    auto* list = qobject_cast<QListWidget*>(control);
    TsDesc* desc = DescOf(control);
    if (list == nullptr || desc == nullptr) return;
    std::vector<std::string> items;
    std::vector<bool> selected;
    for (int i = 0; i < list->count(); ++i) {
        items.push_back(L(list->item(i)->text()));
        selected.push_back(list->item(i)->isSelected());
    }
    const ListBoxValue value = ListBoxSelection(desc->codes, items, selected);
    desc->currentValue = value.value;
    if (FindOptionList(L(list->objectName())))
        SetText(QString::fromLatin1(kOptionsLabel), Q(value.display));
    TestPageUpdate(PageOfTag(form::TagOf(control)));
}

void TAxTarmel::GetValue(int page, std::string_view column, std::string& value) const {
    if (page < 0 || page >= kPageCount) return;
    for (const TsDesc& desc : Form.Pages[page].descriptors) {
        if (desc.columnName == column) value = desc.currentValue;
    }
}

// ---- value lists on the window's controls

void TAxTarmel::LoadInfoNxComboBox(std::string_view name, QComboBox* combo) {
    if (combo == nullptr) return;
    const QSignalBlocker quiet(combo);
    if (name != "InfoCom") {
        const auto items = ParameterList(Form.ListXml, name);
        if (!items) return;
        combo->clear();
        for (const auto& item : *items) combo->addItem(Q(item));
    } else {
        combo->clear();
        for (const auto& staff : StaffOfSite(Form.ListXml, Record.RecordSite))
            combo->addItem(Q(staff));
    }
    // Filling an empty combo would select its first item: a new list chooses nothing by itself.
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) combo->setEditText({});
}

void TAxTarmel::LoadInfoNxComboBoxColumn(std::string_view name, const QString& gridName,
                                         const QString& columnName) {
    auto* grid = Ctl<ui::Grid>(gridName);
    if (grid == nullptr) return;
    const int column = grid->columnIndex(columnName);
    if (column < 0) return;
    QStringList items;
    if (name == "InfoCom") {
        for (const auto& staff : StaffOfSite(Form.ListXml, Record.RecordSite)) items << Q(staff);
    } else if (const auto list = ParameterList(Form.ListXml, name, true)) {
        for (const auto& item : *list) items << Q(item);
    } else {
        return;
    }
    grid->setColumnItems(column, items);
}

void TAxTarmel::SetInfoComboBoxIdCom(std::string_view identifier, QComboBox* combo) {
    if (combo == nullptr) return;
    const QString name = Q(StaffName(Form.ListXml, identifier));
    int last = -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == name) last = i;
    }
    if (last >= 0) combo->setCurrentIndex(last);
}

std::string TAxTarmel::GetInfoComboBoxIdCom(std::string_view name, std::string_view text) const {
    return tarmel::GetInfoComboBoxIdCom(Form.ListXml, name, text);
}

void TAxTarmel::UpdateCBox(QComboBox* combo, std::string_view key, std::string_view item,
                           std::string_view keyElement, std::string_view list) {
    if (combo == nullptr || form::TagOf(combo) == 0) return;
    if (TrimBlanks(key).empty()) return;
    const auto items = KeyedRun(Form.ListXml, list, keyElement, item, key, true);
    if (!items) return;  // an unknown key leaves the dependent combo as it was
    const QSignalBlocker quiet(combo);
    combo->setEditText({});
    combo->clear();
    for (const auto& text : *items) combo->addItem(Q(text));
    combo->setCurrentIndex(-1);
    combo->setEditText({});
}

void TAxTarmel::UpdateLBox(QListWidget* list, bool inSite) {
    TsDesc* desc = DescOf(list);
    if (list == nullptr || desc == nullptr) return;
    const std::string makes = SiteMakes(Form.ListXml, L(Text(QStringLiteral("aSite"))));
    const ListBoxFill fill = SiteModels(Form.ListXml, makes, inSite, desc->currentValue);
    const QSignalBlocker quiet(list);
    list->clear();
    for (size_t i = 0; i < fill.items.size(); ++i)
        (new QListWidgetItem(Q(fill.items[i]), list))->setSelected(fill.selected[i]);
    desc->codes = fill.codes;
}

void TAxTarmel::UpdateVersion(QWidget* memo, QComboBox* model, QComboBox* type) {
    if (memo == nullptr) return;
    if (model != nullptr && form::TagOf(model) != 0 && !model->currentText().isEmpty()) {
        if (Form.LastModel.empty()) {
            const TsDesc* desc = DescOf(model);
            Form.LastModel = desc != nullptr ? desc->storedValue : std::string();
            if (Form.LastModel.empty()) Form.LastModel = L(model->currentText());
        }
        form::SetFieldText(memo, MergeModelIntoVersion(form::FieldText(memo), Form.LastModel,
                                                       L(model->currentText())));
        Form.LastModel = L(model->currentText());
    }
    if (type != nullptr && form::TagOf(type) != 0 && !type->currentText().isEmpty()) {
        // The type the version holds: the last one merged, else the stored one, else the shown one.
        if (Form.TypeVersion.empty()) {
            const TsDesc* desc = DescOf(type);
            Form.TypeVersion = desc != nullptr ? desc->storedValue : std::string();
            if (Form.TypeVersion.empty()) Form.TypeVersion = L(type->currentText());
        }
        form::SetFieldText(memo, MergeTypeIntoVersion(form::FieldText(memo), Form.TypeVersion,
                                                      L(type->currentText())));
        Form.TypeVersion = L(type->currentText());
    }
}

}  // namespace tarmel
