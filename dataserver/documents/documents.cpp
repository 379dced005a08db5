// The document builders. The client scans these documents with its substring reader, so their
// shape is strict: entries without attributes, every child written in every entry (an empty value
// as a start tag and its closing tag), lists of one key standing together.
#include "dataserver/documents/documents.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dataserver/sqlsession.h"
#include "dataserver/xmlanswer.h"

namespace tarmel::dataserver {

namespace {

// The message of a read that failed, as a value: false while every read went through.
// A builder stops at the first one and answers it instead of its document.
struct [[nodiscard]] Fault {
    std::string message;
    explicit operator bool() const { return !message.empty(); }
};

BuiltDocument Failed(Fault fault) {
    return {std::string(), std::move(fault.message)};
}

BuiltDocument Built(AnswerWriter& w) {
    return {w.Finish(), std::string()};
}

// A statement of the session. One that cannot be prepared, or whose step fails, has no (more)
// rows, and fault() tells why.
class Statement {
public:
    Statement(SqlSession& db, std::string_view sql) : st_(db.Prepare(sql)) {}

    Statement& Bind(int i, std::string_view text) {
        st_->Bind(i, text);
        return *this;
    }
    Statement& Bind(int i, int64_t value) {
        st_->Bind(i, value);
        return *this;
    }
    // True on a row; false once the rows are done, or when the statement failed.
    bool Step() { return st_->Step(); }
    // What stopped the statement; false while it has not failed.
    Fault fault() const { return {st_->error()}; }
    std::string Cell(int col) const { return st_->Cell(col); }
    std::string Text(int col) const { return st_->Text(col); }
    int64_t Int(int col) const { return st_->Int(col); }
    int Columns() const { return st_->Columns(); }
    std::string Name(int col) const { return st_->Name(col); }

private:
    std::unique_ptr<SqlStatement> st_;
};

std::string Param(const QueryParams& params, std::string_view name) {
    auto v = FindParam(params, name);
    return v ? *v : std::string();
}

// A decimal identifier, or nullopt-like -1 when the text is not one (a new record's "0" or
// "-1" is a number and simply matches no row).
bool ParseId(std::string_view text, int64_t& id) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty()) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.size() > 18) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    id = text[0] == '-' ? -v : v;
    return true;
}

// Every column of the current row as one child each, named after the column.
void WriteRow(AnswerWriter& w, const Statement& st) {
    for (int c = 0; c < st.Columns(); ++c) w.Value(XmlName(st.Name(c)), st.Cell(c));
}

// The dealership whose description and lists apply: its own rows when it has some, else the
// group's ("*").
Fault StructureOwner(SqlSession& db, const std::string& concession, std::string& owner) {
    Statement st(db, "SELECT 1 FROM tStructure WHERE Concession = ? LIMIT 1");
    st.Bind(1, concession);
    owner = st.Step() ? concession : std::string("*");
    return st.fault();
}

// Whether the dealership code is one of the group's dealerships; the group-level code (or an
// unknown one) sees the lists of every dealership.
Fault IsDealership(SqlSession& db, const std::string& concession, bool& dealership) {
    Statement st(db, "SELECT 1 FROM tSites WHERE Concession = ? LIMIT 1");
    st.Bind(1, concession);
    dealership = st.Step();
    return st.fault();
}

// "User", "GNames" and "OptDates" of the requesting user.
Fault WriteUserBlocks(SqlSession& db, AnswerWriter& w, const QueryParams& params,
                      std::string_view today) {
    int64_t userId = 0;
    std::string concession, site, name, us1, groups;
    if (ParseId(Param(params, "UserID"), userId)) {
        Statement st(db, "SELECT Concession, UserSite, Name_, US1, Groups FROM tUsers "
                         "WHERE idUser = ?");
        st.Bind(1, userId);
        if (st.Step()) {
            concession = st.Text(0);
            site = st.Text(1);
            name = st.Text(2);
            us1 = st.Text(3);
            groups = st.Text(4);
        }
        if (st.fault()) return st.fault();
    }
    w.Open("User");
    w.Value("UserConcession", concession);
    w.Value("UserSite", site);
    w.Value("Name_", name);
    w.Value("US1", us1);
    w.Close("User");
    w.Open("GNames");
    size_t start = 0;
    while (start <= groups.size()) {
        size_t end = groups.find(';', start);
        if (end == std::string::npos) end = groups.size();
        if (end > start) w.Value("GName", groups.substr(start, end - start));
        start = end + 1;
    }
    w.Close("GNames");
    w.Open("OptDates");
    Statement st(db, "SELECT Opt_LimiteDateDeb, Opt_LimiteDateDebFrevo, Opt_LimiteDateDebClarum "
                     "FROM tOptDates WHERE Concession = ?");
    st.Bind(1, concession);
    if (st.Step()) {
        w.Value("Opt_LimiteDateDeb", st.Cell(0));
        w.Value("Opt_LimiteDateDebFrevo", st.Cell(1));
        w.Value("Opt_LimiteDateDebClarum", st.Cell(2));
    }
    if (st.fault()) return st.fault();
    w.Value("Now", today);
    w.Close("OptDates");
    return {};
}

// One list of rows: container, then one item per row with every selected column.
Fault WriteList(SqlSession& db, AnswerWriter& w, const char* container, const char* item,
                const char* sql, int64_t key, const char* aliasOf = nullptr,
                const char* alias = nullptr) {
    Statement st(db, sql);
    st.Bind(1, key);
    w.Open(container);
    while (st.Step()) {
        w.Open(item);
        WriteRow(w, st);
        if (aliasOf) {
            for (int c = 0; c < st.Columns(); ++c) {
                if (st.Name(c) == aliasOf) w.Value(alias, st.Cell(c));
            }
        }
        w.Close(item);
    }
    w.Close(container);
    return st.fault();
}

// One list of entries with the named children, one per column of the statement; the parameter
// ?1 is the dealership code when bindConcession is set.
struct KeyedList {
    const char* container;
    const char* item;
    std::string sql;
    std::vector<const char*> names;
    bool bindConcession;
};

Fault WriteKeyed(SqlSession& db, AnswerWriter& w, const KeyedList& list,
                 const std::string& concession) {
    Statement st(db, list.sql.c_str());
    if (list.bindConcession) st.Bind(1, concession);
    w.Open(list.container);
    while (st.Step()) {
        w.Open(list.item);
        int c = 0;
        for (const char* n : list.names) w.Value(n, st.Text(c++));
        w.Close(list.item);
    }
    w.Close(list.container);
    return st.fault();
}

}  // namespace

std::string ServerToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900);
    return buf;
}

BuiltDocument BuildStructDocument(SqlSession& db, const QueryParams& params) {
    std::string owner;
    if (Fault f = StructureOwner(db, Param(params, "UserConcession"), owner)) return Failed(f);
    Statement st(db,
                 "SELECT descInfo, idNum, txtInfo, vInfo, tag, defval, xWidth, xLeft, xTop, "
                 "xHeight, xLength, tInfo, tControl, color, xNotNull, enabled, fieldInfo "
                 "FROM tStructure WHERE Concession = ? ORDER BY Position");
    st.Bind(1, owner);
    static const char* const kNames[] = {"descInfo", "idNum",  "txtInfo", "vInfo",   "tag",
                                         "defval",   "width",  "left",    "top",     "height",
                                         "length",   "tInfo",  "tControl", "color",  "notNull",
                                         "enabled",  "fieldInfo"};
    AnswerWriter w("axStructS");
    while (st.Step()) {
        w.Open("axStruct");
        for (int c = 0; c < 17; ++c) w.Value(kNames[c], st.Cell(c));
        w.Close("axStruct");
    }
    if (st.fault()) return Failed(st.fault());
    return Built(w);
}

BuiltDocument BuildEquipDocument(SqlSession& db, const QueryParams& params) {
    const std::string concession = Param(params, "UserConcession");
    bool own = false;
    if (Fault f = IsDealership(db, concession, own)) return Failed(f);
    // A dealership sees its own sites, staff and new-vehicle catalogue; the group sees all.
    const char* const ownOrAll = own ? "= ?1" : "= ?1 OR 1 = 1";
    AnswerWriter w("AxInfoEquip");

    // Parameter lists: each type's entries together, in the order the types were first
    // created; the empty choice first, then the seeded items, then the items users added. The
    // VAT rate ("TauxTVA") is each dealership's own: its rows name the dealership as their item.
    w.Open("ParsS");
    {
        const std::string pars =
            std::string("SELECT RubricType, RubricText FROM ListRubrics r "
                        "WHERE RubricType <> 'TauxTVA' OR RubricItem ") +
            ownOrAll +
            " ORDER BY "
            "(SELECT min(rowid) FROM ListRubrics s WHERE s.RubricType = r.RubricType), "
            "CASE WHEN RubricText = '..' THEN 0 WHEN RubricIndex > 0 THEN 1 ELSE 2 END, "
            "RubricIndex, rowid";
        Statement st(db, pars.c_str());
        st.Bind(1, concession);
        while (st.Step()) {
            w.Open("Pars");
            w.Value("type", st.Text(0));
            w.Value("text", st.Text(1));
            w.Close("Pars");
        }
        if (st.fault()) return Failed(st.fault());
        const std::string sql =
            std::string("SELECT Site FROM tSites WHERE Concession ") + ownOrAll + " ORDER BY Site";
        Statement sites(db, sql.c_str());
        sites.Bind(1, concession);
        while (sites.Step()) {
            w.Open("Pars");
            w.Value("type", "Site");
            w.Value("text", sites.Text(0));
            w.Close("Pars");
        }
        if (sites.fault()) return Failed(sites.fault());
    }
    w.Close("ParsS");

    const std::string where = std::string(" WHERE VConcession ") + ownOrAll;
    const KeyedList lists[] = {
        {"InfoComS", "InfoCom",
         std::string("SELECT idCom, cNom, Site FROM tStaff WHERE Concession ") + ownOrAll +
             " ORDER BY cNom",
         {"idCom", "cNom", "Site"}, true},
        {"MarksS", "Marks", "SELECT DISTINCT VMarque FROM ListModels ORDER BY VMarque", {"vMark"},
         false},
        {"ModelsS", "Models",
         "SELECT VMarque, VModele FROM ListModels GROUP BY VMarque, VModele "
         "ORDER BY VMarque, VModele",
         {"vMark", "vModel"}, false},
        {"VNMarksS", "VNMarks",
         "SELECT VMarque FROM ListVersions" + where + " GROUP BY VMarque ORDER BY VMarque",
         {"vnMark"}, true},
        {"VNModelsS", "VNModels",
         "SELECT VMarque, VModele FROM ListVersions" + where +
             " GROUP BY VMarque, VModele ORDER BY VMarque, VModele",
         {"vnMark", "vnModel"}, true},
        {"VNVersionsS", "VNVersions",
         "SELECT VModele, VVersion FROM ListVersions" + where +
             " GROUP BY VModele, VVersion ORDER BY VModele, min(rowid)",
         {"vnModel", "vnVers"}, true},
    };
    for (const KeyedList& list : lists) {
        if (Fault f = WriteKeyed(db, w, list, concession)) return Failed(f);
    }

    w.Open("InfoSiteS");
    {
        const std::string sql =
            std::string("SELECT Site, Marques, MontantFraisDossier FROM tSites WHERE Concession ") +
            ownOrAll + " ORDER BY Site";
        Statement st(db, sql.c_str());
        st.Bind(1, concession);
        while (st.Step()) {
            w.Open("InfoSite");
            w.Value("Site", st.Text(0));
            w.Value("Marques", st.Text(1));
            w.Value("MontantFraisDossier", st.Cell(2));
            w.Close("InfoSite");
        }
        if (st.fault()) return Failed(st.fault());
    }
    w.Close("InfoSiteS");

    // Option lists of the list-box fields: container key + "S", entries named by the key.
    {
        Statement keys(db, "SELECT ListKey FROM tOptionLists GROUP BY ListKey ORDER BY min(rowid)");
        std::vector<std::string> names;
        while (keys.Step()) names.push_back(keys.Text(0));
        if (keys.fault()) return Failed(keys.fault());
        for (const std::string& key : names) {
            const std::string item = XmlName(key);
            Statement st(db, "SELECT Abbr, eText FROM tOptionLists WHERE ListKey = ? "
                             "ORDER BY Position, rowid");
            st.Bind(1, key);
            w.Open(item + "S");
            while (st.Step()) {
                w.Open(item);
                w.Value("Abbr", st.Text(0));
                w.Value("eText", st.Text(1));
                w.Close(item);
            }
            if (st.fault()) return Failed(st.fault());
            w.Close(item + "S");
        }
    }
    return Built(w);
}

BuiltDocument BuildVehicleDocument(SqlSession& db, const QueryParams& params,
                                   std::string_view today) {
    AnswerWriter w("AxInfoVO");
    if (Fault f = WriteUserBlocks(db, w, params, today)) return Failed(f);
    int64_t idTVO = 0, idVO = 0;
    w.Open("tVO");
    if (ParseId(Param(params, "idTVO"), idTVO)) {
        Statement st(db, "SELECT * FROM tVehicles WHERE idTVO = ?");
        st.Bind(1, idTVO);
        if (st.Step()) {
            WriteRow(w, st);
            // The client takes its vehicle identifier from "idtVO" when present.
            w.Value("idtVO", std::to_string(idTVO));
            idVO = st.Int(0);
        }
        if (st.fault()) return Failed(st.fault());
    }
    w.Close("tVO");
    // A new or unknown vehicle gets empty lists (identifier 0 matches no row).
    if (Fault f = WriteList(
            db, w, "ImageS", "Image",
            "SELECT NomImage, NumImage, DateImage FROM [tVO - Liens Images] WHERE idVO = ? "
            "ORDER BY NumImage, idImage",
            idVO)) {
        return Failed(f);
    }
    if (Fault f = WriteList(
            db, w, "ResaS", "Resa",
            "SELECT DResaMax, Vendeur, Acheteur, Commentaire FROM tReservations WHERE idVO = ? "
            "ORDER BY DResaMax, idResa",
            idVO)) {
        return Failed(f);
    }
    if (Fault f = WriteList(
            db, w, "FrevoS", "Frevo",
            "SELECT idFrevo, DateFrevo, LibelleFrevo, NComptable, NomFournisseur, NFacture, "
            "TypeFrevo, MontantHT, idVO FROM [tVO - Frevo] WHERE idVO = ? "
            "ORDER BY DateFrevo, idFrevo",
            idVO)) {
        return Failed(f);
    }
    return Built(w);
}

BuiltDocument BuildClientDocument(SqlSession& db, const QueryParams& params,
                                  std::string_view today) {
    AnswerWriter w("AxInfoCL");
    if (Fault f = WriteUserBlocks(db, w, params, today)) return Failed(f);
    int64_t idClient = 0;
    const bool known = ParseId(Param(params, "idClient"), idClient);
    w.Open("TVC");
    if (known) {
        Statement st(db, "SELECT * FROM tClients WHERE idClient = ?");
        st.Bind(1, idClient);
        if (st.Step()) WriteRow(w, st);
        if (st.fault()) return Failed(st.fault());
    }
    w.Close("TVC");
    if (!known) idClient = 0;
    if (Fault f = WriteList(
            db, w, "TActS", "TAct",
            "SELECT * FROM tActions WHERE idClient = ? ORDER BY DateAction DESC, idAction DESC",
            idClient)) {
        return Failed(f);
    }
    if (Fault f = WriteList(
            db, w, "TVehS", "TVeh",
            "SELECT * FROM TVehiclesClarum WHERE idClient = ? ORDER BY DateOrdre DESC, idTVO DESC",
            idClient, "idTVO", "idtVO")) {
        return Failed(f);
    }
    return Built(w);
}

}  // namespace tarmel::dataserver
