// Record kind, user block, date limits and rights.
#include "record/recordrules.h"

#include <tuple>

#include "server/xml/texttools.h"

namespace tarmel {

RecordKind DecideRecordKind(bool customerShown, std::string_view typeVO, std::string_view statutVD,
                            int idTypeVO) {
    if (customerShown) return {"_TCL", "TVC", ""};
    RecordKind out;
    out.table = "tVO";
    out.typeCode = typeVO.empty() ? (idTypeVO == 1 ? "1" : "2") : std::string(typeVO);
    if (out.typeCode == "1")
        out.kind = "_TVO";
    else
        out.kind = !statutVD.empty() && idTypeVO == 3 ? "_TVD" : "_TVN";
    return out;
}

UserBlock ReadUserBlock(const TXml& record) {
    TXml user = record;
    XmlFind(user, "User");
    return {XmlValueOf(user, "UserConcession"), XmlValueOf(user, "UserSite"), XmlValueOf(user, "Name_"),
            XmlValueOf(user, "US1")};
}

std::vector<std::string> ReadGroupNames(const TXml& record) {
    TXml walk = record;
    XmlFind(walk, "GNames");
    std::vector<std::string> names;
    while (XmlNext(walk, "GName") > 0) {
        // An item is the whole element: <GName>COMPTA</GName>.
        names.emplace_back(walk.currentElement());
    }
    return names;
}

void ReadDateLimits(const TXml& record, DateLimits& limits) {
    if (limits.read()) return;
    TXml dates = record;
    XmlFind(dates, "OptDates");
    // Only the limits the document carries are read; an unreadable one counts as none.
    auto read = [&](std::string_view name, Date& into) {
        const std::string start = "<" + std::string(name) + ">";
        if (dates.currentElement().find(start) == std::string_view::npos) return;
        into = ParseShortDate(XmlValueOf(dates, name)).value_or(Date{});
    };
    read("Opt_LimiteDateDeb", limits.deb);
    read("Opt_LimiteDateDebFrevo", limits.debFrevo);
    read("Opt_LimiteDateDebClarum", limits.debClarum);
    read("Now", limits.serverToday);
    limits.fin = limits.serverToday;
    auto after = [](const Date& a, const Date& b) {
        return std::tie(a.year, a.month, a.day) > std::tie(b.year, b.month, b.day);
    };
    if (after(limits.deb, limits.fin) || after(limits.debFrevo, limits.fin) ||
        after(limits.debClarum, limits.fin)) {
        limits.deb = limits.debFrevo = limits.debClarum = limits.fin = Date{};
    }
}

std::string LimitText(const Date& date) {
    return date.year == 0 ? std::string("30/12/1899") : FormatDate(date);
}

bool SiteRight(std::string_view userSite, std::string_view recordSite, std::string_view recordOwner,
               std::string_view idUser, bool newRecord) {
    return userSite == "#" ||
           (!recordSite.empty() && UpperAscii(userSite).find(recordSite) != std::string::npos) ||
           (!recordOwner.empty() && recordOwner == idUser) || newRecord;
}

bool GetDataRights(std::string_view groups, const std::vector<std::string>& groupNames,
                   const Rights& rights, bool newRecord) {
    if (!rights.site) return false;
    for (const std::string& name : groupNames) {
        std::string token = UpperAscii(name);
        ReplaceAll(token, "USER_", "");
        token = ";" + token + ";";
        if (groups.find(token) == std::string_view::npos) continue;
        if (token == ";CLARUM;" && !newRecord) return rights.clarum;
        return true;
    }
    return false;
}

Rights DecideRights(const std::vector<std::string>& groupNames, bool siteRight, bool newRecord) {
    Rights rights;
    rights.site = siteRight;
    rights.compta = GetDataRights(";COMPTA;", groupNames, rights, newRecord);
    rights.clarum = true;
    rights.clarum = GetDataRights(";CLARUM;", groupNames, rights, newRecord);
    rights.superAdmin = GetDataRights(";SUPERADMINS;", groupNames, rights, newRecord);
    return rights;
}

}  // namespace tarmel
