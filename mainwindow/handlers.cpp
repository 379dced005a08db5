// Every handler of the window bound to its controls, in one table. A later subsystem adds its
// rows here, next to the rows of the controls it shares a page with; a handler is a named method
// of TAxTarmel declared in axtarmelimpl1.h and defined in its subsystem's folder.
#include "mainwindow/bindings.h"

#include <QWidget>

#include <type_traits>

#include "formdesc/cascades.h"
#include "formdesc/optionlists.h"
#include "mainwindow/axtarmelimpl1.h"

namespace tarmel {

namespace {

using ui::Event;

std::vector<std::string_view> CascadeControls() {
    std::vector<std::string_view> names;
    for (const Cascade& c : kCascades) names.push_back(c.control);
    return names;
}

std::vector<std::string_view> OptionControls(const char* OptionList::*which) {
    std::vector<std::string_view> names;
    for (const OptionList& o : kOptionLists) names.push_back(o.*which);
    return names;
}

const std::vector<Binding>& Table() {
    static const std::vector<Binding> rows = {
        // Toolbar and page control.
        {{"Tabs"}, Event::PageChanging, Allow{&TAxTarmel::TabsChanging}},
        {{"Tabs"}, Event::Change, Run{&TAxTarmel::TabsChange}},
        {{"JvXPBtnActualize"}, Event::Click, Run{&TAxTarmel::JvXPBtnActualizeAsk}},
        {{"JvXPBtnSave"}, Event::Click, Run{&TAxTarmel::JvXPBtnSaveClick}},
        {{"JvXPBtnNewVO"}, Event::Click, Run{&TAxTarmel::JvXPBtnNewVOClick}},
        {{"JvXPBtnSuppr"}, Event::Click, Run{&TAxTarmel::JvXPBtnSupprClick}},
        {{"JvXPBtnSweep"}, Event::Click, Run{&TAxTarmel::JvXPBtnSweepClick}},
        {{"JvXPBtnPrint"}, Event::Click, Handle{&TAxTarmel::JvXPBtnPrintClick}},
        {{"czFeuilleMarge"}, Event::Click, Run{&TAxTarmel::czFeuilleMargeClick}},
        {{"JvXPBtnSMS"}, Event::Click, Run{&TAxTarmel::JvXPBtnSMSClick}},

        // Form controls with a follow-up after their own change handling.
        {{"cNVO", "cVDNVO", "cVNNVO"}, Event::Change, RunOn{&TAxTarmel::cNVOChange}},
        {{"cInfoCouleur", "cVDInfoCouleur", "cVNInfoCouleur"}, Event::Change,
         RunOn{&TAxTarmel::cInfoCouleurChange}},
        {{"cCV", "cKMS", "cVDCV", "cVDKMS", "cVNCV", "aCliNbEnfants", "vKMS"}, Event::Change,
         RunOn{&TAxTarmel::cCVKMSChange}},
        {{"cSite", "cVDSite", "cVNSite"}, Event::Change, RunOn{&TAxTarmel::cSiteChange}},
        {{"aSite"}, Event::Change, RunOn{&TAxTarmel::aSiteChange}},
        {{"cDestination"}, Event::Change, RunOn{&TAxTarmel::cDestinationChange}},
        {CascadeControls(), Event::Change, RunOn{&TAxTarmel::CascadeChange}},

        // Option lists of the demonstration and new vehicle pages.
        {OptionControls(&OptionList::button), Event::Click, RunOn{&TAxTarmel::czOptionsClick}},
        {OptionControls(&OptionList::list), Event::Enter, RunOn{&TAxTarmel::cInfoOptionsEnter}},
        {OptionControls(&OptionList::list), Event::Exit, RunOn{&TAxTarmel::cInfoOptionsExit}},

        // Margins, VAT and the accounting follow-up.
        {{"cModeTVA", "vTypeVO"}, Event::Change, RunOn{&TAxTarmel::cModeTVAChange}},
        {{"cPrixVente"}, Event::Change, RunOn{&TAxTarmel::cPrixVenteChange}},
        {{"cPrixReprise"}, Event::Change, RunOn{&TAxTarmel::cPrixRepriseChange}},
        {{"cPrixGarantie"}, Event::Change, RunOn{&TAxTarmel::cPrixGarantieChange}},
        {{"cTPVO", "cVFinancement", "cMontantReprise", "cMtComIntermediaire", "cMtComVendeur",
          "cComFinPrevue", "cComFinRecue", "cVDPrixVente", "cVDPrixCatalogue", "cVNComFinPrevue",
          "cVNComFinRecue", "cVNPrixCatalogue"},
         Event::Change, RunOn{&TAxTarmel::cTPVOChange}},
        // The financing amount is part of the balance too.
        {{"cVNReprPrix", "cVNPrixVente", "cVNMontantAchat", "cVNMontantAcompte", "cVNVFinancement"},
         Event::Change, RunOn{&TAxTarmel::cVNMontantAchatChange}},
        {{"cVNDateEcheance", "cVNDateRecFinancement", "cVNDateRecPaiement"}, Event::Change,
         RunOn{&TAxTarmel::cVNDateEcheanceChange}},
        {{"cVNDateDeclareLivre"}, Event::Change, RunOn{&TAxTarmel::cVNDateDeclareLivreChange}},
        {{"cVNDateDisponibilite"}, Event::Change, RunOn{&TAxTarmel::cVNDateDisponibiliteChange}},
        {{"cVNDateLivraison"}, Event::Change, RunOn{&TAxTarmel::cVNDateLivraisonChange}},
        {{"cVNSituationAchat"}, Event::Change, RunOn{&TAxTarmel::cVNSituationAchatChange}},
        {{"cVNTypeFinancement"}, Event::Change, RunOn{&TAxTarmel::cVNTypeFinancementChange}},
        {{"cVNDestination"}, Event::Change, RunOn{&TAxTarmel::cVNDestinationChange}},
        {{"cVNTypeFinancementDelai"}, Event::Change,
         RunOn{&TAxTarmel::cVNTypeFinancementDelaiChange}},
        {{"cVNDateAchat"}, Event::Change, RunOn{&TAxTarmel::cVNDateAchatChange}},
        {{"cVNDateFacture"}, Event::Change, RunOn{&TAxTarmel::cVNDateFactureChange}},
        {{"cVNStatutVN"}, Event::Change, RunOn{&TAxTarmel::cVNStatutVNChange}},
        {{"cVNDateCdeVW"}, Event::Change, RunOn{&TAxTarmel::cVNDateCdeVWChange}},
        {{"cVNDateDebutGarantie"}, Event::Change, RunOn{&TAxTarmel::cVNDateDebutGarantieChange}},
        {{"cVNDateFabrication"}, Event::Change, RunOn{&TAxTarmel::cVNDateFabricationChange}},
        {{"LbPanelCompta"}, Event::Click, Run{&TAxTarmel::LbPanelComptaClick}},

        // Dates and keystrokes.
        {{"cMEC", "cVDMEC", "cVNMEC", "vMEC"}, Event::Exit, RunOn{&TAxTarmel::DateFieldExit}},
        {{"vDateOrdre", "vDateLastSAV"}, Event::Exit, RunOn{&TAxTarmel::DateFieldExit}},
        {{"cDateEntree", "cDateOrdre", "cVNDateOrdre", "cDateValidationGarantie", "cDateLivraison",
          "cVNDateLivraison", "cDatePresFinancement", "cDatePaiement", "cVNDatePresFinancement",
          "cVNDatePaiement", "cVNDateAnnulation"},
         Event::Exit, RunOn{&TAxTarmel::DateFieldExit}},
        {{"cDateDisponibilite", "cVNDateDisponibilite", "cVNDateLivrMaxi", "vDateNextSAV"},
         Event::Exit, RunOn{&TAxTarmel::DateFieldExit}},
        {{"vDateFinGarantie", "vDateFinFinancement"}, Event::Exit,
         RunOn{&TAxTarmel::DateFieldExit}},
        {{"aCliDateNaissance"}, Event::Exit, RunOn{&TAxTarmel::DateFieldExit}},
        {{"cDateEntree", "cDateOrdre", "cVNDateOrdre", "cVNMEC"}, Event::Change,
         RunOn{&TAxTarmel::cDateEntreeChange}},
        {{"aCliMobile", "aCliTelDom", "aCliTelBur"}, Event::KeyPress,
         Handle{&TAxTarmel::aCliMobileKeyPress}},
        {{"cImmatriculation", "cVDImmatriculation", "cVNImmatriculation", "vImmatriculation"},
         Event::KeyPress, Handle{&TAxTarmel::cImmatriculationKeyPress}},
        {{"aCliNom", "aCliPrenom", "aCliAdresse1", "aCliAdresse2", "aCliVille", "vInfoVersion",
          "vInfoTypeVersion"},
         Event::KeyPress, Handle{&TAxTarmel::aCliNomKeyPress}},

        // Refurbishment cost lines.
        {{"ngFrevo"}, Event::CellEdited, Handle{&TAxTarmel::ngFrevoEdit}},
        {{"ngFrevo"}, Event::CellChanged, Handle{&TAxTarmel::ngFrevoChange}},
        {{"ngFrevo"}, Event::EditAccept, Handle{&TAxTarmel::ngFrevoEditAccept}},
        {{"ngFrevo"}, Event::BeforeSelect, Handle{&TAxTarmel::ngFrevoBeforeSelect}},
        {{"ngFrevo"}, Event::CellClick, Handle{&TAxTarmel::ngFrevoCellClick}},
        {{"ngFrevo"}, Event::CellFormatting, Handle{&TAxTarmel::ngFrevoCellFormating}},

        // Search panel, its results and the record navigation.
        {{"JvXPBtnSearch"}, Event::Click, Run{&TAxTarmel::JvXPBtnSearchClick}},
        {{"TSLbNVO"}, Event::Click, Run{&TAxTarmel::TSLbNVOClick}},
        {{"TSLbImmat"}, Event::Click, Run{&TAxTarmel::TSLbImmatClick}},
        {{"TSLbClient"}, Event::Click, Run{&TAxTarmel::TSLbClientClick}},
        {{"TSLbTelephone"}, Event::Click, Run{&TAxTarmel::TSLbTelephoneClick}},
        {{"TSLbMobile"}, Event::Click, Run{&TAxTarmel::TSLbMobileClick}},
        {{"TSNVO", "TSImmat", "TSClient", "TSTelephone", "TSMobile"}, Event::Click,
         Run{&TAxTarmel::TSVClick}},
        {{"LbSearch"}, Event::Click, Run{&TAxTarmel::LbSearchClick}},
        {{"ncbSite"}, Event::Change, Run{&TAxTarmel::ncbSiteChange}},
        {{"ncbTypeVO"}, Event::Change, Run{&TAxTarmel::ncbTypeVOChange}},
        {{"ncbSearch"}, Event::Change, Run{&TAxTarmel::ncbSearchChange}},
        {{"JvXPBtnSearchPlus"}, Event::Click, Run{&TAxTarmel::JvXPBtnSearchPlusClick}},
        {{"ngSearch"}, Event::CellClick, Handle{&TAxTarmel::ngSearchCellClick}},
        {{"ngSearch"}, Event::MouseMove, Handle{&TAxTarmel::ngSearchMouseMove}},
        {{"ngSearch"}, Event::CellFormatting, Handle{&TAxTarmel::ngSearchCellFormating}},
        {{"JvXPNext"}, Event::Click, Run{&TAxTarmel::JvXPNextClick}},
        {{"JvXPPrev"}, Event::Click, Run{&TAxTarmel::JvXPPrevClick}},

        // Duplicate clients.
        {{"aCliNom"}, Event::Change, RunOn{&TAxTarmel::aCliNomChange}},
        {{"aCliPrenom"}, Event::Change, RunOn{&TAxTarmel::aCliPrenomChange}},
        {{"aCliTelDom"}, Event::Change, RunOn{&TAxTarmel::aCliTelDomChange}},
        {{"aCliMobile"}, Event::Change, RunOn{&TAxTarmel::aCliMobileChange}},
        {{"aCliEmail"}, Event::Change, RunOn{&TAxTarmel::aCliEmailChange}},
        {{"aCliCivilite"}, Event::Change, RunOn{&TAxTarmel::aCliCiviliteChange}},
        {{"aCliNom"}, Event::DoubleClick, Run{&TAxTarmel::aCliNomDblClick}},
        {{"aCliPrenom"}, Event::DoubleClick, Run{&TAxTarmel::aCliPrenomDblClick}},
        {{"aCliTelDom"}, Event::DoubleClick, Run{&TAxTarmel::aCliTelDomDblClick}},
        {{"aCliMobile"}, Event::DoubleClick, Run{&TAxTarmel::aCliMobileDblClick}},
        {{"DblNom"}, Event::Click, Handle{&TAxTarmel::DblNomClick}},
        {{"DblIdent"}, Event::Click, Handle{&TAxTarmel::DblIdentClick}},
        {{"DblTelDom"}, Event::Click, Handle{&TAxTarmel::DblTelDomClick}},
        {{"DblMobile"}, Event::Click, Handle{&TAxTarmel::DblMobileClick}},

        // Client actions.
        {{"ngAction"}, Event::CellChanged, Handle{&TAxTarmel::ngActionChange}},
        {{"ngAction"}, Event::CellEdited, Handle{&TAxTarmel::ngActionEdit}},
        {{"ngAction"}, Event::EditAccept, Handle{&TAxTarmel::ngActionEditAccept}},
        {{"ngAction"}, Event::BeforeSelect, Handle{&TAxTarmel::ngActionBeforeSelect}},
        {{"ngAction"}, Event::CellClick, Handle{&TAxTarmel::ngActionCellClick}},
        {{"ngAction"}, Event::CellFormatting, Handle{&TAxTarmel::ngActionCellFormating}},
        {{"ngAction"}, Event::KeyPress, Handle{&TAxTarmel::ngActionKeyPress}},

        // Photos: the local folder and the previews.
        {{"czCmdSelPathListImage"}, Event::Click, Run{&TAxTarmel::czCmdSelPathListImageClick}},
        {{"czCmdRefreshListImage"}, Event::Click, Run{&TAxTarmel::czCmdRefreshListImageClick}},
        {{"cListImageSource"}, Event::Change, Run{&TAxTarmel::cListImageSourceSelectItem}},
        {{"cListImageSource"}, Event::ColumnClick,
         Handle{&TAxTarmel::cListImageSourceColumnClick}},
        {{"cListImageVO"}, Event::Change, Run{&TAxTarmel::cListImageVOSelectItem}},
        {{"czCmdAssociateImage"}, Event::Click, Run{&TAxTarmel::czCmdAssociateImageClick}},
        {{"czCmdAssociateImageBlur"}, Event::Click, Run{&TAxTarmel::czCmdAssociateImageBlurClick}},
        {{"czCmdDefaultImageVO"}, Event::Click, Run{&TAxTarmel::czCmdDefaultImageVOClick}},
        {{"czCmdDeleteImageVO"}, Event::Click, Run{&TAxTarmel::czCmdDeleteImageVOClick}},
        {{"JvXPBtnNewAction"}, Event::Click, Run{&TAxTarmel::JvXPBtnNewActionClick}},

        // Client vehicles.
        {{"ngVehicles"}, Event::BeforeSelect, Handle{&TAxTarmel::ngVehiclesBeforeSelect}},
        {{"ngVehicles"}, Event::SelectCell, Handle{&TAxTarmel::ngVehiclesSelectCell}},
        {{"ngVehicles"}, Event::CellClick, Handle{&TAxTarmel::ngVehiclesCellClick}},
        {{"JvXPBtnNewVehicle"}, Event::Click, Run{&TAxTarmel::JvXPBtnNewVehicleClick}},

        // What the tab builder gives the fields it binds, by role.
        {{kTextField}, Event::Change, RunOn{&TAxTarmel::EditChange}, true},
        {{kTextField, kComboField}, Event::KeyDown, Handle{&TAxTarmel::CBoxKeyDown}},
        {{kComboField}, Event::Change, RunOn{&TAxTarmel::CBoxChange}, true},
        {{kComboField}, Event::Enter, RunOn{&TAxTarmel::CBoxEnter}},
        {{kComboField}, Event::Exit, RunOn{&TAxTarmel::CBoxExit}},
        {{kComboField}, Event::KeyUp, Handle{&TAxTarmel::cBoxKeyUp}},
        {{kListBoxField}, Event::Change, RunOn{&TAxTarmel::LBoxChange}, true},
    };
    return rows;
}

bool IsRole(std::string_view name) {
    return name == kTextField || name == kComboField || name == kListBoxField;
}

std::string_view RoleName(FieldRole role) {
    switch (role) {
        case FieldRole::Text: return kTextField;
        case FieldRole::Combo: return kComboField;
        case FieldRole::ListBox: return kListBoxField;
    }
    return {};
}

void Bind(TAxTarmel& window, QWidget* control, const Binding& row) {
    if (row.unlessSet && ui::HasChangeHandler(control)) return;
    [[maybe_unused]] const bool raised = ui::SetHandler(control, row.event, BoundHandler(window, row));
    Q_ASSERT_X(raised, "Bind", qPrintable(control->objectName()));
}

}  // namespace

std::span<const Binding> Bindings() { return Table(); }

ui::Handler BoundHandler(TAxTarmel& w, const Binding& row) {
    return std::visit(
        [&w](auto f) -> ui::Handler {
            using F = decltype(f);
            if constexpr (std::is_same_v<F, Run>) {
                return [&w, f](ui::EventArgs&) { w.Guarded([&] { (w.*f)(); }); };
            } else if constexpr (std::is_same_v<F, RunOn>) {
                return [&w, f](ui::EventArgs& a) { w.Guarded([&] { (w.*f)(a.control); }); };
            } else if constexpr (std::is_same_v<F, Allow>) {
                // A handler that fails refuses.
                return [&w, f](ui::EventArgs& a) {
                    bool allowed = false;
                    w.Guarded([&] { allowed = (w.*f)(); });
                    a.refused = !allowed;
                };
            } else {
                return [&w, f](ui::EventArgs& a) { w.Guarded([&] { (w.*f)(a); }); };
            }
        },
        row.handler);
}

void TAxTarmel::BindHandlers() {
    for (const Binding& row : Table()) {
        for (std::string_view name : row.controls) {
            if (IsRole(name)) continue;
            QWidget* control = Control(QString::fromLatin1(name.data(), qsizetype(name.size())));
            Q_ASSERT_X(control, "BindHandlers", name.data());
            if (control != nullptr) Bind(*this, control, row);
        }
    }
}

void TAxTarmel::BindFieldHandlers(QWidget* control, FieldRole role) {
    const std::string_view roleName = RoleName(role);
    for (const Binding& row : Table()) {
        for (std::string_view name : row.controls) {
            if (name == roleName) Bind(*this, control, row);
        }
    }
}

}  // namespace tarmel
