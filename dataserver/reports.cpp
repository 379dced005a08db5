// The PDF forms, drawn with cairo's PDF surface; texts are the database's Latin-1, converted to
// UTF-8 for cairo so that accented letters print as they are.
#include "dataserver/reports.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "dataserver/cellformat.h"
#include "dataserver/querystring.h"
#include "dataserver/refusal.h"
#include "dataserver/sqlsession.h"
#include "dataserver/textutil.h"
#include "dataserver/uploads.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

using Row = std::map<std::string, std::string>;

// The server's own read: every row of a prepared statement with one integer parameter, cells
// formatted as in the answers (dates dd/mm/yyyy, amounts with two decimals).
std::vector<Row> Rows(SqlSession& db, const char* sql, long long id) {
    std::vector<Row> rows;
    std::unique_ptr<SqlStatement> st = db.Prepare(sql);
    st->Bind(1, static_cast<int64_t>(id));
    while (st->Step()) {
        Row row;
        for (int i = 0; i < st->Columns(); ++i) row[st->Name(i)] = st->Cell(i);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string Get(const Row& row, const std::string& key) {
    auto it = row.find(key);
    return it == row.end() ? std::string() : it->second;
}

// A JPEG file as a cairo image, with the original bytes attached so the PDF embeds them as they
// are; nullptr when the file is missing or not a readable JPEG.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// The largest photo side a sheet decodes, in pixels.
constexpr unsigned kMaxPhotoSide = 8000;

cairo_surface_t* LoadJpeg(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    auto* bytes = new std::string(std::istreambuf_iterator<char>(in), {});
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = &OnJpegError;
    // Changed between setjmp and a possible longjmp: volatile, so its value survives the jump.
    cairo_surface_t* volatile surface = nullptr;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        if (surface != nullptr) cairo_surface_destroy(surface);
        delete bytes;
        return nullptr;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes->data()),
                 static_cast<unsigned long>(bytes->size()));
    jpeg_read_header(&info, TRUE);
    // A photo's size is checked from its header, before libjpeg allocates for it (a progressive
    // file claiming 65500 x 65500 pixels would otherwise take gigabytes), and libjpeg's own
    // working memory is bounded too.
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxPhotoSide ||
        info.image_height > kMaxPhotoSide) {
        jpeg_destroy_decompress(&info);
        delete bytes;
        return nullptr;
    }
    info.mem->max_memory_to_use = 64L * 1024 * 1024;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    if (width <= 0 || height <= 0 || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        delete bytes;
        return nullptr;
    }
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        jpeg_destroy_decompress(&info);
        delete bytes;
        return nullptr;
    }
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<unsigned char> line(static_cast<size_t>(width) * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* rowPointer = line.data();
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, &rowPointer, 1);
        auto* out = reinterpret_cast<uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            out[x] =
                (uint32_t{line[x * 3]} << 16) | (uint32_t{line[x * 3 + 1]} << 8) | line[x * 3 + 2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    cairo_surface_mark_dirty(surface);
    cairo_surface_set_mime_data(
        surface, CAIRO_MIME_TYPE_JPEG, reinterpret_cast<const unsigned char*>(bytes->data()),
        bytes->size(), [](void* p) { delete static_cast<std::string*>(p); }, bytes);
    return surface;
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// An A4 document written top to bottom, with a new page when the current one is full.
class Sheet {
public:
    explicit Sheet(std::string& out) {
        surface_ = cairo_pdf_surface_create_for_stream(&AppendToString, &out, kWidth, kHeight);
        cr_ = cairo_create(surface_);
        cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
    }
    ~Sheet() {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    void Title(const std::string& utf8) {
        Need(40);
        Font(18, true);
        Text(kMargin, y_ + 18, utf8);
        y_ += 30;
        cairo_set_line_width(cr_, 1);
        cairo_move_to(cr_, kMargin, y_);
        cairo_line_to(cr_, kWidth - kMargin, y_);
        cairo_stroke(cr_);
        y_ += 12;
    }
    void Heading(const std::string& utf8) {
        Need(36);
        y_ += 8;
        Font(12, true);
        Text(kMargin, y_ + 12, utf8);
        y_ += 20;
    }
    // A line of text from the database (Latin-1).
    void Plain(const std::string& latin1, double size = 10) {
        Need(size + 6);
        Font(size, false);
        Text(kMargin, y_ + size, tarmel::Utf8FromLatin1(latin1));
        y_ += size + 5;
    }
    // "label : value" with the label in UTF-8 (the program's own text) and the value in Latin-1.
    void Field(const std::string& label, const std::string& latin1) {
        Labelled(label, latin1, false);
    }
    // "label : amount" with the amount's last digit on one right edge, so that the figures of a
    // block line up as on a paper sheet.
    void Amount(const std::string& label, const std::string& latin1) {
        Labelled(label, latin1, true);
    }
    // A table row: cells (Latin-1, or UTF-8 when header) at the given x offsets; a cell whose x
    // is negative ends at -x instead (amounts, right-aligned).
    void TableRow(const std::vector<std::string>& cells, const std::vector<double>& xs,
                  bool header) {
        Need(15);
        Font(9, header);
        for (size_t i = 0; i < cells.size() && i < xs.size(); ++i) {
            const std::string text = header ? cells[i] : tarmel::Utf8FromLatin1(cells[i]);
            if (xs[i] < 0)
                TextEndingAt(kMargin - xs[i], y_ + 9, text);
            else
                Text(kMargin + xs[i], y_ + 9, text);
        }
        y_ += 13;
    }
    void Image(cairo_surface_t* image, double maxWidth, double maxHeight) {
        const double w = cairo_image_surface_get_width(image);
        const double h = cairo_image_surface_get_height(image);
        const double scale = std::min(maxWidth / w, maxHeight / h);
        Need(h * scale + 10);
        cairo_save(cr_);
        cairo_translate(cr_, kMargin, y_);
        cairo_scale(cr_, scale, scale);
        cairo_set_source_surface(cr_, image, 0, 0);
        cairo_paint(cr_);
        cairo_restore(cr_);
        y_ += h * scale + 10;
    }
    void Gap(double points) { y_ += points; }

    bool Finish() {
        cairo_show_page(cr_);
        cairo_surface_finish(surface_);
        return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS;
    }

private:
    static constexpr double kWidth = 595.28, kHeight = 841.89, kMargin = 50;
    static constexpr double kAmountRight = 240;  // from the margin: where amounts end

    void Need(double height) {
        if (y_ + height <= kHeight - kMargin) return;
        cairo_show_page(cr_);
        y_ = kMargin;
    }
    void Font(double size, bool bold) {
        cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr_, size);
    }
    void Text(double x, double baseline, const std::string& utf8) {
        cairo_set_source_rgb(cr_, 0, 0, 0);
        cairo_move_to(cr_, x, baseline);
        cairo_show_text(cr_, utf8.c_str());
    }
    // A label and its value on one line; nothing when the value is empty.
    void Labelled(const std::string& label, const std::string& latin1, bool amount) {
        if (TrimWhitespace(latin1).empty()) return;
        Need(16);
        Font(10, true);
        Text(kMargin, y_ + 10, label);
        Font(10, false);
        const std::string value = tarmel::Utf8FromLatin1(latin1);
        if (amount)
            TextEndingAt(kMargin + kAmountRight, y_ + 10, value);
        else
            Text(kMargin + 160, y_ + 10, value);
        y_ += 15;
    }
    void TextEndingAt(double right, double baseline, const std::string& utf8) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, utf8.c_str(), &extents);
        Text(right - extents.x_advance, baseline, utf8);
    }

    cairo_surface_t* surface_;
    cairo_t* cr_;
    double y_ = kMargin;
};

// The dealership block at the head of every form.
void DealershipBlock(Sheet& sheet, SqlSession& db, const std::string& concession) {
    std::unique_ptr<SqlStatement> st = db.Prepare(
        "SELECT RaisonSociale, Adresse, CP, Ville, Telephone FROM tConcessions "
        "WHERE Concession = ?1");
    st->Bind(1, concession);
    if (st->Step()) {
        sheet.Plain(st->Text(0), 13);
        sheet.Plain(st->Text(1));
        sheet.Plain(st->Text(2) + " " + st->Text(3) + (st->Text(4).empty() ? "" : "  -  ") +
                    st->Text(4));
    } else {
        sheet.Plain(concession, 13);
    }
    sheet.Gap(10);
}

const char* kVehicleSql =
    "SELECT v.*, s.cNom AS NomVendeur FROM tVehicles v LEFT JOIN tStaff s ON s.idCom = v.Vendeur "
    "WHERE v.idVO = ?1";

void VehicleIdentity(Sheet& sheet, const Row& v) {
    sheet.Field("Véhicule",
                Get(v, "InfoMarque") + " " + Get(v, "InfoModele") + " " + Get(v, "InfoVersion"));
    sheet.Field("N°", Get(v, "NVO"));
    sheet.Field("Immatriculation", Get(v, "Immatriculation"));
    sheet.Field("Châssis", Get(v, "Chassis"));
    sheet.Field("Mise en circulation", Get(v, "MEC"));
    sheet.Field("Kilométrage", Get(v, "KMS"));
}

bool CommercialSheet(Sheet& sheet, SqlSession& db, const EndpointConfig& config, const Row& v,
                     const std::string& family, bool withPrices) {
    DealershipBlock(sheet, db, Get(v, "Concession"));
    sheet.Title(family + " - Fiche Commerciale");
    const std::string image = Get(v, "NomImage");
    if (!image.empty() && IsSafePhotoName(image + ".jpg")) {
        if (cairo_surface_t* photo = LoadJpeg(config.photos + "/" + image + ".jpg")) {
            sheet.Image(photo, 320, 240);
            cairo_surface_destroy(photo);
        }
    }
    VehicleIdentity(sheet, v);
    sheet.Field("Énergie", Get(v, "Energie"));
    sheet.Field("Boîte de vitesses", Get(v, "BoiteVitesse"));
    sheet.Field("Carrosserie", Get(v, "Carrosserie"));
    sheet.Field("Couleur", Get(v, "InfoCouleur"));
    sheet.Field("Couleur intérieure", Get(v, "InfoCouleurInt"));
    sheet.Field(
        "Portes / places",
        Get(v, "NbPortes") + (Get(v, "NbPlaces").empty() ? "" : " / " + Get(v, "NbPlaces")));
    sheet.Field("Puissance fiscale", Get(v, "CV"));
    sheet.Field("Garantie", Get(v, "TypeGarantie") + " " + Get(v, "DureeGarantie"));
    sheet.Field("Site", Get(v, "Site"));
    sheet.Field("Vendeur", Get(v, "NomVendeur"));
    if (withPrices) {
        sheet.Field("Prix de vente TTC", Get(v, "PrixVente"));
        sheet.Field("Prix catalogue", Get(v, "PrixCatalogue"));
    }
    for (const auto& [column, label] : std::vector<std::pair<std::string, std::string>>{
             {"InfoOptions", "Options"},
             {"InfoEquiInterieur", "Équipements intérieurs"},
             {"InfoEquiExterieur", "Équipements extérieurs"},
             {"InfoEquiSecurite", "Sécurité"},
             {"InfoComplement", "Complément"}}) {
        const std::string text = Get(v, column);
        if (text.empty()) continue;
        sheet.Heading(label);
        // A list holds a few dozen items; a stored text of thousands must not make a sheet of
        // thousands of pages.
        constexpr int kMaxItems = 200;
        int items = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find_first_of("\r\n;", start);
            if (end == std::string::npos) end = text.size();
            std::string item(TrimWhitespace(std::string_view(text).substr(start, end - start)));
            if (!item.empty() && ++items > kMaxItems) {
                sheet.Plain("...");
                break;
            }
            if (!item.empty()) sheet.Plain(item);
            start = end + 1;
        }
    }
    std::vector<Row> reservations =
        Rows(db,
             "SELECT DResaMax, Vendeur, Acheteur, Commentaire FROM tReservations WHERE idVO = ?1 "
             "ORDER BY idResa",
             std::stoll(Get(v, "idVO")));
    if (!reservations.empty()) {
        sheet.Heading("Réservation");
        for (const Row& r : reservations) {
            sheet.Plain(Msg("jusqu'au ") + Get(r, "DResaMax") + " - " + Get(r, "Acheteur") + " (" +
                        Get(r, "Vendeur") + ") " + Get(r, "Commentaire"));
        }
    }
    return true;
}

bool MarginSheet(Sheet& sheet, SqlSession& db, const Row& v) {
    DealershipBlock(sheet, db, Get(v, "Concession"));
    sheet.Title("VO - Feuille de Marge");
    VehicleIdentity(sheet, v);
    sheet.Field("Date d'entrée", Get(v, "DateEntree"));
    sheet.Field("Date de livraison", Get(v, "DateLivraison"));
    sheet.Field("Acheteur", Get(v, "Acheteur"));
    sheet.Field("Destination", Get(v, "Destination"));
    sheet.Heading("Frais de remise en état");
    const std::vector<double> xs = {0, 62, 220, 320, 390, -495};
    sheet.TableRow({"Date", "Libellé", "Fournisseur", "Facture", "Type", "Montant HT"}, xs, true);
    std::vector<Row> lines =
        Rows(db,
             "SELECT DateFrevo, LibelleFrevo, NomFournisseur, NFacture, TypeFrevo, MontantHT FROM "
             "[tVO - Frevo] WHERE idVO = ?1 ORDER BY DateFrevo, idFrevo",
             std::stoll(Get(v, "idVO")));
    double total = 0;
    std::map<std::string, double> byType;
    for (const Row& line : lines) {
        sheet.TableRow(
            {Get(line, "DateFrevo"), Get(line, "LibelleFrevo"), Get(line, "NomFournisseur"),
             Get(line, "NFacture"), Get(line, "TypeFrevo"), Get(line, "MontantHT")},
            xs, false);
        const double amount = std::atof(Get(line, "MontantHT").c_str());
        total += amount;
        byType[UpperAscii(Get(line, "TypeFrevo"))] += amount;
    }
    auto money = [](double value) { return FormatMoney(value); };
    sheet.Gap(4);
    sheet.Amount("Frais fixes", money(byType["FIXE"]));
    sheet.Amount("Frais internes", money(byType["INTERNE"]));
    sheet.Amount("Frais externes", money(byType["EXTERNE"]));
    sheet.Amount("Total des frais", money(total));
    sheet.Heading("Marge");
    sheet.Amount("Prix d'achat", Get(v, "MontantAchat"));
    sheet.Amount("Valeur de reprise", Get(v, "PrixReprise"));
    sheet.Amount("Prix de vente TTC", Get(v, "PrixVente"));
    sheet.Amount("TVA", Get(v, "cTVA"));
    sheet.Amount("Marge brute", Get(v, "MBrute"));
    sheet.Amount("Marge nette", Get(v, "MNette"));
    return true;
}

bool ClientSheet(Sheet& sheet, SqlSession& db, const Row& c) {
    DealershipBlock(sheet, db, Get(c, "Concession"));
    sheet.Title("Fiche Clarum");
    sheet.Field("Client",
                Get(c, "CliCivilite") + " " + Get(c, "CliNom") + " " + Get(c, "CliPrenom"));
    sheet.Field("N° client", Get(c, "idClient"));
    sheet.Field("Adresse", Get(c, "CliAdresse1"));
    sheet.Field("", Get(c, "CliAdresse2"));
    sheet.Field("Ville", Get(c, "CliCP") + " " + Get(c, "CliVille"));
    sheet.Field("Téléphone", Get(c, "CliTelDom"));
    sheet.Field("Mobile", Get(c, "CliMobile"));
    sheet.Field("Bureau", Get(c, "CliTelBur"));
    sheet.Field("Courriel", Get(c, "CliEmail"));
    sheet.Field("Profession", Get(c, "CliProfession"));
    sheet.Field("Site", Get(c, "Site"));
    sheet.Field("Client depuis le", Get(c, "DateCreation"));
    const long long id = std::stoll(Get(c, "idClient"));
    std::vector<Row> vehicles =
        Rows(db,
             "SELECT Immatriculation, InfoMarque, InfoModele, MEC, DateFinGarantie FROM "
             "TVehiclesClarum WHERE idClient = ?1 ORDER BY idTVO",
             id);
    if (!vehicles.empty()) {
        sheet.Heading("Véhicules");
        const std::vector<double> xs = {0, 90, 200, 330, 410};
        sheet.TableRow({"Immatriculation", "Marque", "Modèle", "Mise en circ.", "Fin de garantie"},
                       xs, true);
        for (const Row& v : vehicles) {
            sheet.TableRow({Get(v, "Immatriculation"), Get(v, "InfoMarque"), Get(v, "InfoModele"),
                            Get(v, "MEC"), Get(v, "DateFinGarantie")},
                           xs, false);
        }
    }
    std::vector<Row> actions = Rows(
        db,
        "SELECT a.DateAction, s.cNom AS Qui, a.CommentaireAction, a.DateRelance FROM tActions a "
        "LEFT JOIN tStaff s ON s.idCom = a.idCom WHERE a.idClient = ?1 ORDER BY a.DateAction, "
        "a.idAction",
        id);
    if (!actions.empty()) {
        sheet.Heading("Actions");
        const std::vector<double> xs = {0, 70, 170, 420};
        sheet.TableRow({"Date", "Par", "Commentaire", "Relance"}, xs, true);
        for (const Row& a : actions) {
            std::string comment = Get(a, "CommentaireAction");
            for (char& ch : comment) {
                if (ch == '\r' || ch == '\n') ch = ' ';
            }
            if (comment.size() > 45) comment = comment.substr(0, 42) + "...";
            sheet.TableRow({Get(a, "DateAction"), Get(a, "Qui"), comment, Get(a, "DateRelance")},
                           xs, false);
        }
    }
    const std::string wish = Get(c, "PAMarque1") + " " + Get(c, "PAModele1");
    if (!TrimWhitespace(wish).empty() || !Get(c, "CliDateProchainAchat").empty()) {
        sheet.Heading("Prochain achat");
        sheet.Field("Date prévue", Get(c, "CliDateProchainAchat"));
        sheet.Field("Premier choix", wish);
        sheet.Field("Second choix", Get(c, "PAMarque2") + " " + Get(c, "PAModele2"));
        sheet.Field("Énergie", Get(c, "PAEnergie"));
        sheet.Field("Carrosserie", Get(c, "PACarrosserie"));
    }
    return true;
}

}  // namespace

bool ParseReportSelection(std::string_view text, ReportSelection& selection) {
    text = TrimWhitespace(text);
    std::string_view digits;
    if (StartsWithNoCase(text, "idVO=")) {
        selection.vehicle = true;
        digits = text.substr(5);
    } else if (StartsWithNoCase(text, "idClient=")) {
        selection.vehicle = false;
        digits = text.substr(9);
    } else {
        return false;
    }
    if (digits.empty() || digits.size() > 15) return false;
    long long id = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + (c - '0');
    }
    selection.id = id;
    return true;
}

bool RenderReport(Database& db, const EndpointConfig& config, std::string_view reportName,
                  const ReportSelection& selection, std::string& pdf, std::string& error) {
    const std::string name(TrimWhitespace(reportName));
    bool ok = false;
    db.Read([&](SqlSession& conn) {
        if (EqualsNoCase(name, "Fiche Clarum")) {
            if (selection.vehicle) {
                error = Msg("La fiche Clarum se demande pour un client (idClient=)");
                return;
            }
            std::vector<Row> client =
                Rows(conn, "SELECT * FROM tClients WHERE idClient = ?1", selection.id);
            if (client.empty()) {
                error = Msg("Client introuvable : ") + std::to_string(selection.id);
                return;
            }
            Sheet sheet(pdf);
            ok = ClientSheet(sheet, conn, client[0]) && sheet.Finish();
            return;
        }
        if (!selection.vehicle) {
            error = Msg("Ce rapport se demande pour un véhicule (idVO=)");
            return;
        }
        std::vector<Row> vehicle = Rows(conn, kVehicleSql, selection.id);
        if (vehicle.empty()) {
            error = Msg("Véhicule introuvable : ") + std::to_string(selection.id);
            return;
        }
        for (const char* family : {"VO", "VD", "VN"}) {
            const std::string sheetName = std::string(family) + " - Fiche Commerciale";
            if (EqualsNoCase(name, sheetName) || EqualsNoCase(name, sheetName + "2")) {
                const bool variant = name.size() > sheetName.size();
                Sheet sheet(pdf);
                ok = CommercialSheet(sheet, conn, config, vehicle[0], family, !variant) &&
                     sheet.Finish();
                return;
            }
        }
        if (EqualsNoCase(name, "VO - Feuille de Marge")) {
            Sheet sheet(pdf);
            ok = MarginSheet(sheet, conn, vehicle[0]) && sheet.Finish();
            return;
        }
        error = Msg("Rapport inconnu : ") + name;
    });
    if (!ok && error.empty()) error = Msg("Le rapport n'a pas pu être produit");
    return ok;
}

void HandleReport(Database& db, const EndpointConfig& config, const Request& request,
                  Response& response) {
    auto select = FindParam(request.params, "rptSelect");
    auto name = FindParam(request.params, "rptName");
    ReportSelection selection;
    std::string error, pdf;
    if (!select || !name || !ParseReportSelection(*select, selection)) {
        error =
            Msg("Paramètres rptSelect (idVO= ou idClient= suivi du numéro) et rptName attendus");
    } else if (RenderReport(db, config, *name, selection, pdf, error)) {
        response.contentType = "application/pdf";
        response.body = std::move(pdf);
        return;
    }
    response = Refusal(Endpoint::Report, error);
}

}  // namespace tarmel::dataserver
