// The control inventory table: one row per control of the main window, in creation (and so
// stacking) order. Geometry in pixels relative to the parent; texts are UTF-8.
#include "inventory/inventory.h"

#include <algorithm>
#include <iterator>

namespace tarmel::inventory {
namespace {

// One factory per kind keeps each row to its name, parent and geometry.
constexpr Entry Make(Kind k, const char* n, const char* p, int l, int t, int w, int h) {
    return Entry{.name = n, .kind = k, .parent = p, .left = l, .top = t, .width = w, .height = h};
}
constexpr Entry Label(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Label, n, p, l, t, w, h); }
constexpr Entry Static(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::StaticText, n, p, l, t, w, h); }
constexpr Entry Edit(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Edit, n, p, l, t, w, h); }
constexpr Entry Number(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::NumberEdit, n, p, l, t, w, h); }
constexpr Entry Date(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::DatePicker, n, p, l, t, w, h); }
constexpr Entry Memo(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Memo, n, p, l, t, w, h); }
constexpr Entry ListBox(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::ListBox, n, p, l, t, w, h); }
constexpr Entry ListView(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::ListView, n, p, l, t, w, h); }
constexpr Entry Grid(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Grid, n, p, l, t, w, h); }
constexpr Entry Button(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Button, n, p, l, t, w, h); }
constexpr Entry Image(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Image, n, p, l, t, w, h); }
constexpr Entry Shape(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Shape, n, p, l, t, w, h); }
constexpr Entry Panel(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::Panel, n, p, l, t, w, h); }
constexpr Entry Header(const char* n, const char* p, int l, int t, int w, int h) { return Make(Kind::HeaderEdit, n, p, l, t, w, h); }
// A duplicate-client indicator beside its client field: a count in fuchsia, "??" until counted.
constexpr Entry Indicator(const char* n, int top) {
    return Header(n, "Sheet07", 324, top, 30, 20).Text("??").Centred().FontColour(kFuchsia)
        .Hidden();
}
constexpr Entry Combo(const char* n, const char* p, int l, int t, int w, int h) {
    Entry e = Make(Kind::Combo, n, p, l, t, w, h);
    e.combo = ComboStyle::PickOnly;  // every combo is pick-only on the form unless marked free text
    return e;
}
constexpr Entry Page(const char* n, const char* caption) {
    return Make(Kind::Page, n, "Tabs", 0, 0, 0, 0).Text(caption);
}
using Col = Column;
constexpr Entry Column(const char* n, const char* grid, Col type, int width) {
    Entry e = Make(Kind::GridColumn, n, grid, 0, 0, width, 0);
    e.column = type;
    return e;
}

// Toolbar: top 34, height 45.
constexpr int kBarTop = 34, kBarHeight = 45;

constexpr Entry kTable[] = {
    // The red warning band lies under the header and toolbar: it shows around them.
    Panel("PanelWarning", kWindow, 0, 0, 825, 81).Colour(kRed).Hidden(),

    Make(Kind::PageControl, "Tabs", kWindow, 0, 56, 825, 513).Font(12),
    Page("Sheet01", "VO"), Page("Sheet02", "VD"), Page("Sheet03", "VN"),
    Page("Sheet04", "Equipements"), Page("Sheet05", "Frevo"), Page("Sheet06", "Photos"),
    Page("Sheet07", "Client"), Page("Sheet08", "Véhicules"), Page("Sheet09", "Projet"),

    // Tab pages: three labelled columns at left 93 (labels from x 5), 400 (labels 48 px to the
    // left) and 640 (labels 22 px to the left), rows every 22 px; list labels go above lists.
    // Sheet01: used vehicle (identity left, dates and sale middle, money right)
    Number("cNVO", "Sheet01", 93, 6, 100, 21),
    Combo("cInfoMarque", "Sheet01", 93, 28, 230, 21),
    Combo("cInfoModele", "Sheet01", 93, 50, 230, 21),
    Memo("cInfoVersion", "Sheet01", 93, 72, 230, 43).Max(50),
    Combo("cCarrosserie", "Sheet01", 93, 116, 230, 21),
    Combo("cEnergie", "Sheet01", 93, 138, 230, 21),
    Combo("cBoiteVitesse", "Sheet01", 93, 160, 230, 21),
    Combo("cNbPortes", "Sheet01", 93, 182, 100, 21),
    Number("cNbPlaces", "Sheet01", 93, 204, 100, 21),
    Number("cCV", "Sheet01", 93, 226, 100, 21),
    Number("cKMS", "Sheet01", 93, 248, 100, 21),
    Combo("cInfoCouleur", "Sheet01", 93, 270, 230, 21).FreeText().Max(20),
    Edit("cImmatriculation", "Sheet01", 93, 292, 120, 21),
    Edit("cChassis", "Sheet01", 93, 314, 230, 21).Max(25),
    Date("cMEC", "Sheet01", 93, 336, 110, 21),
    Combo("cSite", "Sheet01", 93, 358, 230, 21),
    Combo("cVendeur", "Sheet01", 93, 380, 230, 21),
    Combo("cOrigine", "Sheet01", 93, 402, 230, 21),
    Combo("cOrigineVendeur", "Sheet01", 93, 424, 230, 21),
    Combo("cLieuStockage", "Sheet01", 93, 446, 230, 21),
    Date("cDateEntree", "Sheet01", 400, 6, 110, 21),
    Date("cDateOrdre", "Sheet01", 400, 28, 110, 21),
    Date("cDateDisponibilite", "Sheet01", 400, 50, 110, 21),
    Date("cDateLivraison", "Sheet01", 400, 72, 110, 21),
    Combo("cAcheteur", "Sheet01", 400, 94, 180, 21).FreeText().Max(20),
    Edit("cCP", "Sheet01", 400, 116, 60, 21).Max(5),
    Combo("cDestination", "Sheet01", 400, 138, 180, 21),
    Combo("cModeTVA", "Sheet01", 400, 160, 180, 21),
    Edit("cIntermediaire", "Sheet01", 400, 182, 180, 21).Max(20),
    Number("cMtComIntermediaire", "Sheet01", 400, 204, 100, 21),
    Number("cMtComVendeur", "Sheet01", 400, 226, 100, 21),
    Combo("cFlagPrepaEsthetique", "Sheet01", 400, 248, 100, 21),
    Combo("cFlagPrepaCarrosserie", "Sheet01", 400, 270, 100, 21),
    Combo("cFlagPrepaMecanique", "Sheet01", 400, 292, 100, 21),
    Combo("cFlagEligible", "Sheet01", 400, 314, 100, 21),
    Combo("cDureeGarantie", "Sheet01", 400, 336, 180, 21),
    Combo("cTypeGarantie", "Sheet01", 400, 358, 180, 21),
    Date("cDateValidationGarantie", "Sheet01", 400, 380, 110, 21),
    Number("cPrixGarantie", "Sheet01", 400, 402, 100, 21),
    Date("cDatePresFinancement", "Sheet01", 400, 424, 110, 21),
    Date("cDatePaiement", "Sheet01", 400, 446, 110, 21),
    Number("cPrixReprise", "Sheet01", 640, 6, 100, 21),
    Number("cMontantReprise", "Sheet01", 640, 28, 100, 21),
    Edit("cCommentaireReprise", "Sheet01", 640, 50, 170, 21).Max(20),
    Number("cPrixVente", "Sheet01", 640, 72, 100, 21),
    Number("cTPVO", "Sheet01", 640, 94, 100, 21),
    Edit("ccTVA", "Sheet01", 640, 116, 100, 21),
    Combo("cTypeFinancement", "Sheet01", 640, 138, 170, 21),
    Combo("cFinanceur", "Sheet01", 640, 160, 170, 21),
    Number("cVFinancement", "Sheet01", 640, 182, 100, 21),
    Number("cComFinPrevue", "Sheet01", 640, 204, 100, 21),
    Number("cComFinRecue", "Sheet01", 640, 226, 100, 21),
    Edit("cNomImage", "Sheet01", 640, 248, 170, 21),
    Label("Label2", "Sheet01", 610, 276, 76, 17).Text("Marge brute:"),
    Edit("cMBrute", "Sheet01", 690, 274, 100, 21),
    Label("Label3", "Sheet01", 610, 298, 76, 17).Text("Totel Frevo:"),
    Edit("cTotFrevo", "Sheet01", 690, 296, 100, 21),
    Label("Label4", "Sheet01", 610, 320, 76, 17).Text("Marge nette:"),
    Edit("cMNette", "Sheet01", 690, 318, 100, 21),
    Shape("Shape1", "Sheet01", 796, 301, 10, 10).Hidden(),  // shown by its blinking only
    Button("czFeuilleMarge", "Sheet01", 640, 344, 170, 25).Text("Feuille de Marge").Hint("impression de la feuille de marge"),
    Memo("cCommentaires", "Sheet01", 640, 376, 170, 91).Max(250),
    // Sheet02: demonstration vehicle
    Number("cVDNVO", "Sheet02", 93, 6, 100, 21),
    Combo("cVDInfoMarque", "Sheet02", 93, 28, 230, 21),
    Combo("cVDInfoModele", "Sheet02", 93, 50, 230, 21),
    Memo("cVDInfoVersion", "Sheet02", 93, 72, 230, 43).Max(50),
    Combo("cVDInfoTypeVersion", "Sheet02", 93, 116, 230, 21),
    Combo("cVDCarrosserie", "Sheet02", 93, 138, 230, 21),
    Combo("cVDEnergie", "Sheet02", 93, 160, 230, 21),
    Combo("cVDBoiteVitesse", "Sheet02", 93, 182, 230, 21),
    Combo("cVDNbPortes", "Sheet02", 93, 204, 100, 21),
    Number("cVDNbPlaces", "Sheet02", 93, 226, 100, 21),
    Number("cVDCV", "Sheet02", 93, 248, 100, 21),
    Number("cVDKMS", "Sheet02", 93, 270, 100, 21),
    Date("cVDMEC", "Sheet02", 93, 292, 110, 21).Max(8),
    Edit("cVDImmatriculation", "Sheet02", 93, 314, 120, 21),
    Edit("cVDChassis", "Sheet02", 93, 336, 230, 21),
    Edit("cVDNomImage", "Sheet02", 93, 358, 230, 21),
    Combo("cVDInfoCouleur", "Sheet02", 400, 6, 180, 21).FreeText(),
    Combo("cVDInfoCouleurInt", "Sheet02", 400, 28, 180, 21).FreeText(),
    Combo("cVDSite", "Sheet02", 400, 50, 180, 21),
    Combo("cVDStatutVD", "Sheet02", 400, 72, 180, 21).FreeText(),
    Combo("cVDFlagNonDiffuse", "Sheet02", 400, 94, 100, 21),
    Edit("cVDCodeRemise", "Sheet02", 400, 116, 120, 21),
    Number("cVDPrixCatalogue", "Sheet02", 400, 138, 100, 21),
    Number("cVDPrixVente", "Sheet02", 400, 160, 100, 21),
    Memo("cVDUtilisateur", "Sheet02", 400, 182, 180, 65).Max(250),
    Memo("cVDCommentaires", "Sheet02", 400, 248, 180, 131).Max(250),
    ListBox("cVDInfoOptions", "Sheet02", 640, 28, 170, 390),
    Button("czVDOptions", "Sheet02", 640, 426, 170, 25).Text("Options"),
    // Sheet03: new vehicle (vehicle, order dates, financing and trade-in, options and accounting)
    Number("cVNNVO", "Sheet03", 93, 6, 90, 21),
    Combo("cVNInfoMarque", "Sheet03", 93, 28, 150, 21),
    Combo("cVNInfoModele", "Sheet03", 93, 50, 150, 21),
    Memo("cVNInfoVersion", "Sheet03", 93, 72, 150, 43).Max(50),
    Combo("cVNInfoTypeVersion", "Sheet03", 93, 116, 150, 21),
    Combo("cVNCarrosserie", "Sheet03", 93, 138, 150, 21),
    Combo("cVNEnergie", "Sheet03", 93, 160, 150, 21),
    Combo("cVNBoiteVitesse", "Sheet03", 93, 182, 150, 21),
    Combo("cVNNbPortes", "Sheet03", 93, 204, 90, 21),
    Number("cVNNbPlaces", "Sheet03", 93, 226, 90, 21),
    Number("cVNCV", "Sheet03", 93, 248, 90, 21),
    Combo("cVNInfoCouleur", "Sheet03", 93, 270, 150, 21).FreeText(),
    Combo("cVNInfoCouleurInt", "Sheet03", 93, 292, 150, 21).FreeText(),
    Edit("cVNImmatriculation", "Sheet03", 93, 314, 120, 21),
    Edit("cVNChassis", "Sheet03", 93, 336, 150, 21).Max(25),
    Date("cVNMEC", "Sheet03", 93, 358, 110, 21),
    Combo("cVNSite", "Sheet03", 93, 380, 150, 21),
    Combo("cVNVendeur", "Sheet03", 93, 402, 150, 21),
    Combo("cVNAcheteur", "Sheet03", 93, 424, 150, 21).FreeText(),
    Edit("cVNCP", "Sheet03", 93, 446, 60, 21),
    Date("cVNDateOrdre", "Sheet03", 300, 6, 110, 21).Max(8),
    Date("cVNDateCdeVW", "Sheet03", 300, 28, 110, 21).Max(8),
    Date("cVNDateUpdateCde", "Sheet03", 300, 50, 110, 21).Max(8),
    Date("cVNDateFabrication", "Sheet03", 300, 72, 110, 21).Max(8),
    Date("cVNDateDisponibilite", "Sheet03", 300, 94, 110, 21).Max(8),
    Date("cVNDateLivrMaxi", "Sheet03", 300, 116, 110, 21).Max(8),
    Date("cVNDateLivraison", "Sheet03", 300, 138, 110, 21).Max(8),
    Date("cVNDateDeclareLivre", "Sheet03", 300, 160, 110, 21).Max(8),
    Date("cVNDateFacture", "Sheet03", 300, 182, 110, 21).Max(8),
    Date("cVNDateDebutGarantie", "Sheet03", 300, 204, 110, 21).Max(8),
    Date("cVNDateAnnulation", "Sheet03", 300, 226, 110, 21).Max(8),
    Date("cVNDatePresFinancement", "Sheet03", 300, 248, 110, 21).Max(8),
    Date("cVNDatePaiement", "Sheet03", 300, 270, 110, 21).Max(8),
    Combo("cVNStatutVN", "Sheet03", 300, 292, 115, 21).FreeText(),
    Combo("cVNStatutVD", "Sheet03", 300, 314, 115, 21).FreeText(),
    Combo("cVNFlagNonDiffuse", "Sheet03", 300, 336, 90, 21),
    Combo("cVNFlagEligible", "Sheet03", 300, 358, 90, 21),
    Combo("cVNDestination", "Sheet03", 300, 380, 115, 21),
    Edit("cVNCodeRemise", "Sheet03", 300, 402, 115, 21),
    Number("cVNPrixCatalogue", "Sheet03", 300, 424, 100, 21),
    Number("cVNPrixVente", "Sheet03", 300, 446, 100, 21),
    Combo("cVNTypeFinancement", "Sheet03", 470, 6, 150, 21),
    Combo("cVNTypeFinancementDelai", "Sheet03", 470, 28, 150, 21),
    Combo("cVNFinanceur", "Sheet03", 470, 50, 150, 21),
    Number("cVNVFinancement", "Sheet03", 470, 72, 100, 21),
    Number("cVNComFinPrevue", "Sheet03", 470, 94, 100, 21),
    Number("cVNComFinRecue", "Sheet03", 470, 116, 100, 21),
    Combo("cVNReprMarque", "Sheet03", 470, 138, 150, 21),
    Memo("cVNReprModele", "Sheet03", 470, 160, 150, 21),
    Number("cVNReprNVO", "Sheet03", 470, 182, 100, 21),
    Number("cVNReprPrix", "Sheet03", 470, 204, 100, 21),
    Memo("cVNCommentaires", "Sheet03", 470, 226, 150, 65).Max(250),
    Memo("cVNUtilisateur", "Sheet03", 470, 292, 150, 43).Max(250),
    Memo("cVNCFMemo", "Sheet03", 470, 336, 150, 43),
    Label("LbResa1", "Sheet03", 470, 382, 150, 17),
    Label("LbResa2", "Sheet03", 470, 404, 150, 17),
    Label("LbResa3", "Sheet03", 470, 426, 150, 17),
    Label("LbResa4", "Sheet03", 470, 448, 150, 17),
    Label("LbDateFabrication", "Sheet03", 660, 8, 150, 17),
    ListBox("cVNInfoOptions", "Sheet03", 660, 50, 150, 131),
    Button("czVNOptions", "Sheet03", 660, 182, 150, 23).Text("Options"),
    Panel("PanelCompta", "Sheet03", 625, 210, 188, 258),
    Label("LbPanelCompta", "PanelCompta", 5, 3, 178, 17).Text("Suivi Comptabilité"),
    Date("cVNDateAchat", "PanelCompta", 93, 24, 90, 21).Max(8),
    Number("cVNMontantAchat", "PanelCompta", 93, 46, 90, 21),
    Combo("cVNSituationAchat", "PanelCompta", 93, 68, 90, 21),
    Date("cVNDateEcheance", "PanelCompta", 93, 90, 90, 21).Max(8),
    Date("cVNDateEchTresorerie", "PanelCompta", 93, 112, 90, 21).Max(8),
    Date("cVNDateEchReglement", "PanelCompta", 93, 134, 90, 21).Max(8),
    Number("cVNMontantAcompte", "PanelCompta", 93, 156, 90, 21),
    Date("cVNDateRecFinancement", "PanelCompta", 93, 178, 90, 21).Max(8),
    Date("cVNDateRecPaiement", "PanelCompta", 93, 200, 90, 21).Max(8),
    Number("cVNSolde", "PanelCompta", 93, 222, 90, 21),
    // Sheet04: equipment (list labels go above the lists)
    ListBox("cInfoEquiInterieur", "Sheet04", 8, 26, 396, 180),
    Button("czCmdEquiInt", "Sheet04", 254, 210, 150, 25).Text("Modifier la liste"),
    ListBox("cInfoEquiExterieur", "Sheet04", 412, 26, 396, 180),
    Button("czCmdEquiExt", "Sheet04", 658, 210, 150, 25).Text("Modifier la liste"),
    ListBox("cInfoEquiSecurite", "Sheet04", 8, 264, 396, 180),
    Button("czCmdEquiSec", "Sheet04", 254, 448, 150, 25).Text("Modifier la liste"),
    ListBox("cInfoComplement", "Sheet04", 412, 264, 396, 180),
    Button("czCmdEquiInf", "Sheet04", 658, 448, 150, 25).Text("Modifier la liste"),
    // Sheet05: refurbishment costs (grid, then the margin-sheet amounts and the totals)
    // Grid columns add up to at most 780 px, so that 802 px with frame and scroll bar show them all.
    Grid("ngFrevo", "Sheet05", 8, 6, 802, 320),
    Column("IconColumn", "ngFrevo", Col::Image, 24).Text(""),
    Column("idFrevo", "ngFrevo", Col::Text, 50).Text("N°"),
    Column("DateFrevo", "ngFrevo", Col::Date, 88).Text("Date"),
    Column("LibelleFrevo", "ngFrevo", Col::Combo, 168).Text("Libellé").Max(50),
    Column("NComptable", "ngFrevo", Col::Text, 80).Text("N° compte").Max(10),
    Column("NomFournisseur", "ngFrevo", Col::Combo, 140).Text("Fournisseur").Max(20),
    Column("NFacture", "ngFrevo", Col::Text, 80).Text("N° facture").Max(10),
    Column("TypeFrevo", "ngFrevo", Col::Combo, 70).Text("Type"),
    Column("MontantHT", "ngFrevo", Col::Number, 80).Text("Montant HT").Amount(),
    Label("cFrevoInfo", "Sheet05", 8, 334, 300, 17).Text("Frevo FDM et Totaux"),
    Number("cFrevoPrevFDM", "Sheet05", 93, 356, 100, 21),
    Number("cFrevoFixeFDM", "Sheet05", 93, 378, 100, 21),
    Number("cFrevoIntFDM", "Sheet05", 93, 400, 100, 21),
    Number("cFrevoExtFDM", "Sheet05", 93, 422, 100, 21),
    Number("cFrevoTotFDM", "Sheet05", 93, 444, 100, 21),
    Number("cFrevoPrevision", "Sheet05", 400, 356, 100, 21),
    Number("cFrevoFixe", "Sheet05", 400, 378, 100, 21),
    Number("cFrevoInterne", "Sheet05", 400, 400, 100, 21),
    Number("cFrevoExterne", "Sheet05", 400, 422, 100, 21),
    Number("cFrevo", "Sheet05", 400, 444, 100, 21),
    Date("aNxDatePickerGrid", "Sheet05", 640, 356, 110, 21).Hidden(),
    // Sheet06: photos (local folder left, the vehicle's photos right)
    Edit("cTxtPathImage", "Sheet06", 93, 6, 420, 21),
    Button("czCmdSelPathListImage", "Sheet06", 517, 5, 36, 23).Text("...").Hint("définir le chemin de recherche des clichés"),
    Button("czCmdRefreshListImage", "Sheet06", 557, 5, 90, 23).Text("Actualiser").Hint("actualisation de la liste des clichés"),
    ListView("cListImageSource", "Sheet06", 8, 56, 250, 236).Text("Photos du dossier"),
    Image("ImageSelection", "Sheet06", 8, 298, 240, 180),
    Button("czCmdAssociateImage", "Sheet06", 266, 120, 90, 40).Text("Associer >>").Hint("transfert du cliché sélectionné"),
    Button("czCmdAssociateImageBlur", "Sheet06", 266, 168, 90, 40).Text("Flouter >>").Hint("floutage avant transfert"),
    ListView("cListImageVO", "Sheet06", 364, 56, 200, 236).Text("Photos du véhicule"),
    Memo("Memo", "Sheet06", 364, 298, 200, 180),
    Image("ImageVO", "Sheet06", 572, 56, 240, 180),
    Image("ImageNoPhoto", "Sheet06", 572, 56, 240, 180).Hidden(),
    Image("ImageMini", "Sheet06", 572, 244, 120, 90),
    Image("VOImage", "Sheet06", 700, 244, 112, 84).Hidden(),
    Button("czCmdDefaultImageVO", "Sheet06", 572, 342, 240, 25).Text("Photo principale").Hint("cliché par défaut du véhicule"),
    Button("czCmdDeleteImageVO", "Sheet06", 572, 373, 240, 25).Text("Supprimer la photo").Hint("suppression du cliché sélectionné"),
    // Sheet07: client (identity left, situation middle, notes right, actions grid below)
    Combo("aCliCivilite", "Sheet07", 93, 6, 100, 21),
    Memo("aCliNom", "Sheet07", 93, 28, 230, 21),
    Memo("aCliPrenom", "Sheet07", 93, 50, 230, 21),
    Memo("aCliAdresse1", "Sheet07", 93, 72, 230, 21),
    Memo("aCliAdresse2", "Sheet07", 93, 94, 230, 21),
    Edit("aCliCP", "Sheet07", 93, 116, 60, 21).Max(5),
    // A town takes more than the five characters of a postcode ("Saint-Germain-en-Laye").
    Edit("aCliVille", "Sheet07", 93, 138, 230, 21).Max(50),
    Combo("aCliPays", "Sheet07", 93, 160, 230, 21),
    Memo("aCliTelDom", "Sheet07", 93, 182, 140, 21),
    Memo("aCliMobile", "Sheet07", 93, 204, 140, 21),
    Memo("aCliTelBur", "Sheet07", 93, 226, 140, 21),
    Memo("aCliEmail", "Sheet07", 93, 248, 230, 21),
    Indicator("DblNom", 28),
    Indicator("DblIdent", 50),
    Indicator("DblTelDom", 182),
    Indicator("DblMobile", 204),
    Date("aCliDateNaissance", "Sheet07", 400, 6, 110, 21),
    Combo("aCliSituationFamille", "Sheet07", 400, 28, 180, 21),
    Number("aCliNbEnfants", "Sheet07", 400, 50, 60, 21),
    Memo("aCliProfession", "Sheet07", 400, 72, 180, 21),
    Memo("aCliEmployeur", "Sheet07", 400, 94, 180, 21),
    Combo("aCliOrigine", "Sheet07", 400, 116, 180, 21),
    Combo("aSite", "Sheet07", 400, 138, 180, 21),
    Combo("aidCom", "Sheet07", 400, 160, 180, 21),
    Memo("aCliObservations", "Sheet07", 640, 6, 170, 175),
    Button("JvXPBtnNewAction", "Sheet07", 640, 190, 82, 45).Text("Action").Hint("ajout d'une nouvelle action"),
    Button("JvXPBtnSMS", "Sheet07", 728, 190, 82, 45).Text("SMS").Hint("envoi d'un SMS pour test"),
    // One action takes a block of two lines, its comment wrapped.
    Grid("ngAction", "Sheet07", 8, 272, 802, 206).RowHeight(36),
    Column("NxImage", "ngAction", Col::Image, 22).Text(""),
    Column("idAction", "ngAction", Col::Text, 36).Text("N°"),
    Column("DateAction", "ngAction", Col::Date, 76).Text("Date"),
    Column("idCom", "ngAction", Col::Combo, 74).Text("Vendeur"),
    Column("TypeAction", "ngAction", Col::List, 64).Text("Type"),
    Column("SujetAction", "ngAction", Col::List, 80).Text("Sujet"),
    Column("CommentaireAction", "ngAction", Col::Memo, 140).Text("Commentaire"),
    Column("DateRelance", "ngAction", Col::Date, 76).Text("Relance"),
    Column("idComRelance", "ngAction", Col::Combo, 62).Text("Par"),
    Column("SujetRelance", "ngAction", Col::List, 66).Text("Sujet"),
    Column("PrioriteRelance", "ngAction", Col::List, 36).Text("Prio."),
    Column("NxBtn7", "ngAction", Col::Button, 24).Text("+7j").Hidden(),
    Column("NxBtn365", "ngAction", Col::Button, 24).Text("+1an").Hidden(),
    // Sheet08: client vehicles (list on top, the selected vehicle below)
    Grid("ngVehicles", "Sheet08", 8, 6, 802, 140),
    Column("cvNxImage", "ngVehicles", Col::Image, 24).Text(""),
    Column("cvidVehicle", "ngVehicles", Col::Text, 50).Text("N°").Hidden(),
    Column("cvInfoImmat", "ngVehicles", Col::Text, 110).Text("Immat.").Centred(),
    Column("cvInfoVehicle", "ngVehicles", Col::Text, 250).Text("Véhicule"),
    Column("cvInfoVersion", "ngVehicles", Col::Text, 340).Text("Version"),
    Combo("vInfoMarque", "Sheet08", 93, 156, 230, 21),
    Combo("vInfoModele", "Sheet08", 93, 178, 230, 21),
    Memo("vInfoVersion", "Sheet08", 93, 200, 230, 21).Max(50),
    Memo("vInfoTypeVersion", "Sheet08", 93, 222, 230, 21).Max(50),
    Edit("vImmatriculation", "Sheet08", 93, 244, 120, 21),
    Date("vMEC", "Sheet08", 93, 266, 110, 21),
    Number("vKMS", "Sheet08", 93, 288, 100, 21),
    Combo("vTypeVO", "Sheet08", 93, 310, 230, 21),
    Combo("vSite", "Sheet08", 93, 332, 230, 21).FreeText(),
    Date("vDateOrdre", "Sheet08", 93, 354, 110, 21),
    Combo("vTypeFinancement", "Sheet08", 400, 156, 180, 21),
    Combo("vAbbrFinancement", "Sheet08", 400, 178, 180, 21),
    Number("vMensualiteFinancement", "Sheet08", 400, 200, 100, 21),
    Date("vDateFinFinancement", "Sheet08", 400, 222, 110, 21),
    Date("vDateFinGarantie", "Sheet08", 400, 244, 110, 21),
    Combo("vSatisfVehicle", "Sheet08", 400, 266, 180, 21),
    Combo("vSatisfSAV", "Sheet08", 400, 288, 180, 21),
    Date("vDateLastSAV", "Sheet08", 640, 156, 110, 21),
    Number("vKmLastSAV", "Sheet08", 640, 178, 100, 21),
    Date("vDateNextSAV", "Sheet08", 640, 200, 110, 21),
    Number("vKmNextSAV", "Sheet08", 640, 222, 100, 21),
    Memo("vLieuEntretien1", "Sheet08", 640, 244, 170, 21).Max(50),
    Memo("vLieuEntretien2", "Sheet08", 640, 266, 170, 21).Max(50),
    Label("zLbKmLastSAV", "Sheet08", 744, 180, 30, 17).Text("km"),
    Label("zLbKmNextSAV", "Sheet08", 744, 224, 30, 17).Text("km"),
    Button("JvXPBtnNewVehicle", "Sheet08", 728, 310, 82, 45).Text("Véhicule").Hint("ajout d'un nouveau véhicule"),
    // Sheet09: next purchase (dates, the four wish lists, then two models with their choices)
    Date("cPACliDateProchainAchat", "Sheet09", 93, 6, 110, 21),
    Date("cPAPADateSpirit", "Sheet09", 400, 6, 110, 21).Max(8),
    ListBox("cPAPATypeVO", "Sheet09", 8, 60, 196, 170),
    ListBox("cPAPASegment", "Sheet09", 210, 60, 196, 170),
    ListBox("cPAPACarrosserie", "Sheet09", 412, 60, 196, 170),
    ListBox("cPAPAEnergie", "Sheet09", 614, 60, 196, 170),
    Label("zLbPAAutresModeles", "Sheet09", 8, 240, 200, 17).Text("Autres Modèles:"),
    Combo("cPAPAMarque1", "Sheet09", 93, 262, 230, 21),
    Combo("cPAPAModele1", "Sheet09", 93, 284, 230, 21),
    Combo("cPAPAMarque2", "Sheet09", 400, 262, 180, 21),
    Combo("cPAPAModele2", "Sheet09", 400, 284, 180, 21),
    ListBox("cPAPAChoix1", "Sheet09", 93, 330, 230, 148),
    ListBox("cPAPAChoix2", "Sheet09", 400, 330, 230, 148),

    // Record header: six read-only fields over the toolbar row.
    Header("xcInfoNVO", kWindow, 8, 2, 73, 31).Disabled().Font(16),
    Header("xcInfoTitre", kWindow, 80, 2, 289, 31).Disabled().Font(16),
    Header("xcIdentity", kWindow, 8, 2, 361, 31).Hidden().Font(16).FontColour(kFuchsia),
    Header("xcInfoField1", kWindow, 368, 2, 169, 31).Disabled().Font(16),
    Header("xcInfoField2", kWindow, 536, 2, 145, 31).Disabled().Font(16),
    Header("xcInfoField3", kWindow, 680, 2, 145, 31).Disabled().Font(16),

    // Toolbar, over the right end of the tab strip.
    Button("JvXPBtnSweep", kWindow, 448, kBarTop, 46, kBarHeight).Icon("sweep").Hidden()
        .Hint("suppression des enregistrements VN annulés"),
    Button("JvXPBtnSuppr", kWindow, 496, kBarTop, 46, kBarHeight).Icon("delete")
        .Hint("suppression de l'enregistrement"),
    Button("JvXPBtnPrint", kWindow, 544, kBarTop, 46, kBarHeight).Icon("print")
        .Hint("impression de la fiche du véhicule"),
    Button("JvXPBtnSearch", kWindow, 592, kBarTop, 60, kBarHeight).Icon("search")
        .Hint("recherche d'un client ou d'un véhicule"),
    Button("JvXPBtnNewVO", kWindow, 656, kBarTop, 68, kBarHeight).Icon("new").Text("VO")
        .Hint("nouveau véhicule"),
    Button("JvXPBtnSave", kWindow, 728, kBarTop, 46, kBarHeight).Icon("save").Disabled()  // enabled while a change is pending
        .Hint("enregistrement des modifications"),
    Button("JvXPBtnActualize", kWindow, 776, kBarTop, 46, kBarHeight).Icon("reload")
        .Hint("rechargement des informations du véhicule"),

    // Bottom strip: the selected options of a VD or VN, then record navigation.
    Label("LbInfoOptions", kWindow, 8, 573, 672, 18),
    Button("JvXPPrev", kWindow, 688, 570, 62, 24).Text("<< Enrg.Préc.").Font(9).Disabled()
        .Hint("enregistrement précédent"),
    Button("JvXPNext", kWindow, 752, 570, 66, 24).Text(">> Enrg.Suiv.").Font(9).Disabled()
        .Hint("enregistrement suivant"),

    // Diagnostic labels below the client area; a super-administrator's window grows to them.
    Label("LbDebugInfo0", kWindow, 8, 598, 560, 17).FontColour(kRed).Font(10),
    Label("LbDebugInfo1", kWindow, 8, 615, 560, 17).Hidden(),
    Label("LbDebugInfo2", kWindow, 8, 632, 560, 17).Hidden(),
    Label("LbDebugInfo3", kWindow, 8, 649, 560, 17).Hidden(),
    Label("LbVersion", kWindow, 576, 598, 241, 17),
    Label("LbIdTVO", kWindow, 576, 615, 116, 17),
    Label("LbIDCustomer", kWindow, 700, 615, 117, 17),
    Label("LbHttpRoot", kWindow, 576, 632, 241, 17).Hidden(),
    Label("LbBaseHRef", kWindow, 576, 649, 241, 17).Hidden(),

    // Search panel; opening it moves it under the search button.
    Panel("Panel1", kWindow, 66, 624, 681, 521).Hidden(),
    Button("TSNVO", "Panel1", 10, 8, 70, 36),
    Static("TSLbNVO", "Panel1", 14, 16, 62, 20).Text("N°VO").Centred(),
    Button("TSImmat", "Panel1", 82, 8, 70, 36),
    Static("TSLbImmat", "Panel1", 86, 16, 62, 20).Text("Immatricul.").Centred(),
    Button("TSClient", "Panel1", 154, 8, 70, 36),
    Static("TSLbClient", "Panel1", 158, 16, 62, 20).Text("Nom Client").Centred(),
    Button("TSMobile", "Panel1", 226, 8, 70, 36),
    Static("TSLbMobile", "Panel1", 230, 16, 62, 20).Text("Mobile").Centred(),
    Button("TSTelephone", "Panel1", 298, 8, 70, 36),
    Static("TSLbTelephone", "Panel1", 302, 16, 62, 20).Text("Téléphone").Centred(),
    Label("ncbLbTypeVO", "Panel1", 380, 10, 90, 17).Text("Type Véhicule :"),
    Combo("ncbTypeVO", "Panel1", 474, 8, 100, 21),
    Label("ncbLbSite", "Panel1", 380, 34, 90, 17).Text("Site :"),
    Combo("ncbSite", "Panel1", 474, 32, 100, 21).FreeText(),
    Button("JvXPBtnSearchPlus", "Panel1", 582, 8, 90, 45).Text("plus+50enrg."),
    Label("LbSearch", "Panel1", 10, 62, 90, 17).Text("à rechercher :"),
    Memo("ncbSearch", "Panel1", 104, 58, 470, 24).Max(50),
    Label("ncbInfoSearch", "Panel1", 582, 62, 90, 17).Hidden(),
    Label("ncbLabel", "Panel1", 10, 88, 662, 17),
    Grid("ngSearch", "Panel1", 8, 108, 665, 405),
    Column("ngsIndex", "ngSearch", Col::Number, 40).Text("N°"),
    Column("ngsImage", "ngSearch", Col::Image, 64),
    Column("ngsInfo1", "ngSearch", Col::Text, 90),
    Column("ngsInfo2", "ngSearch", Col::Text, 110),
    Column("ngsInfo3", "ngSearch", Col::Text, 130),
    Column("ngsInfo4", "ngSearch", Col::Text, 110),
    Column("ngsInfo5", "ngSearch", Col::Text, 90),

    // Splash, on top of everything while a record loads.
    Panel("PanelSplash", kWindow, 16, 16, 793, 545),
    Image("ImageSplash", "PanelSplash", 246, 110, 300, 200),
    Label("LbSplash", "PanelSplash", 16, 340, 761, 30).Font(16).Centred(),
    Label("LbConcession", "PanelSplash", 16, 380, 761, 30).Text("NomConcession").Font(16).Centred().Hidden(),
    Label("LbSplashState", "PanelSplash", 96, 430, 601, 60).Font(14).Centred(),
};

}  // namespace

std::span<const Entry> Controls() { return kTable; }

const Entry* Find(std::string_view name) {
    auto it = std::find_if(std::begin(kTable), std::end(kTable),
                           [&](const Entry& e) { return name == e.name; });
    return it == std::end(kTable) ? nullptr : &*it;
}

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Label: return "label";
    case Kind::StaticText: return "static text";
    case Kind::Edit: return "edit";
    case Kind::NumberEdit: return "number edit";
    case Kind::DatePicker: return "date picker";
    case Kind::Combo: return "combo";
    case Kind::Memo: return "memo";
    case Kind::ListBox: return "list box";
    case Kind::ListView: return "list view";
    case Kind::Grid: return "grid";
    case Kind::GridColumn: return "grid column";
    case Kind::Button: return "button";
    case Kind::Image: return "image";
    case Kind::Shape: return "shape";
    case Kind::Panel: return "panel";
    case Kind::HeaderEdit: return "header edit";
    case Kind::PageControl: return "page control";
    case Kind::Page: return "page";
    }
    return "?";
}

}  // namespace tarmel::inventory
