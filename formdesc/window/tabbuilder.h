// The passes of UpdateTabDesc over the window's pages: captions and visibility, the first build of
// a page's fields (found on the form or created, labelled, bound), and the refill of built pages.
#pragma once

#include <string>

#include "formdesc/descriptors.h"
#include "record/fieldplan.h"
#include "server/xml/txml.h"

class QComboBox;
class QWidget;

namespace tarmel {

class TAxTarmel;
struct FieldEntry;

namespace form {

class TabBuilder {
public:
    explicit TabBuilder(TAxTarmel& window) : w_(window) {}

    // Captions, visibility and keys of the pages the description lists for the record kind.
    void PagePass();
    // New values into the controls of the pages built before.
    void RefillPass(const TXml& recordSource);
    // Descriptors and controls of the described pages not built yet.
    void BuildPass(const TXml& recordSource);

private:
    // One field of one page, as a pass sees it: where it is, and what its plan decided.
    struct FieldPass {
        int number = 0;
        int index = 0;
        PixelBox box;
        int length = 0;  // maximum length from the description (first build only)
        FieldPlan plan;
    };

    FieldContext Context() const;
    TXml PageValueSource(int number, const TXml& recordSource, bool firstBuild);
    void BuildField(int number, int index, const FieldEntry& entry, const TXml& source);
    void CreateLabel(TsDesc& desc, const FieldPass& field, const LabelPlace& at, int idNum);
    void MarkMandatory(const TsDesc& desc, const std::string& value);
    // What every binder does with the plan: tag, enabling, colours.
    void ApplyFieldPlan(TsDesc& desc, const FieldPass& field, QWidget* control);
    void BindText(TsDesc& desc, const FieldPass& field, QWidget* control);
    void BindCombo(TsDesc& desc, FieldPass& field, QWidget* control);
    void FillComboField(TsDesc& desc, FieldPass& field, QComboBox* combo);
    void BindListBox(TsDesc& desc, const FieldPass& field, QWidget* control);
    void BindButton(TsDesc& desc, const FieldPass& field, QWidget* control);

    TAxTarmel& w_;
    TXml vehicleSource_;  // the client vehicle the refill shows on the client-vehicles page
};

}  // namespace form
}  // namespace tarmel
