// Decisions of a record load that need no widget: the record kind, the user block, the date
// limits and the user's rights, all read from the record document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/dates.h"
#include "server/xml/txml.h"

namespace tarmel {

struct RecordKind {
    std::string kind;      // "_TVO", "_TVD", "_TVN", "_TCL"
    std::string table;     // "tVO" or "TVC"
    std::string typeCode;  // TypeVO, or its stand-in (vehicles only)
    std::string family() const { return kind.size() >= 4 ? kind.substr(2, 2) : std::string(); }
};

// customerShown: LbIDCustomer holds something. typeVO and statutVD come from the record element.
RecordKind DecideRecordKind(bool customerShown, std::string_view typeVO, std::string_view statutVD,
                            int idTypeVO);

struct UserBlock {
    std::string concession, site, name, lastSite;
};
UserBlock ReadUserBlock(const TXml& record);

// The group names of the user, as written ("USER_compta", "SVO", ...).
std::vector<std::string> ReadGroupNames(const TXml& record);

// A date limit: year 0 stands for "none".
struct DateLimits {
    Date deb, debFrevo, debClarum, fin, serverToday;
    bool read() const { return deb.year != 0; }
};
// Reads "OptDates" while no start limit is set yet; start limits after the server's today reset
// every limit but the server's today.
void ReadDateLimits(const TXml& record, DateLimits& limits);
// "dd/mm/yyyy", or the zero date's text for none.
std::string LimitText(const Date& date);

struct Rights {
    bool site = false, compta = false, clarum = false, superAdmin = false;
};

// The user may work on the record's site.
bool SiteRight(std::string_view userSite, std::string_view recordSite, std::string_view recordOwner,
               std::string_view idUser, bool newRecord);

// Whether the user belongs to one of the ";"-delimited groups. No group counts without the site
// right; on a record that is not new, CLARUM answers with the right already held.
bool GetDataRights(std::string_view groups, const std::vector<std::string>& groupNames,
                   const Rights& rights, bool newRecord);

// The rights of a load, in the order they are decided (CLARUM starts true).
Rights DecideRights(const std::vector<std::string>& groupNames, bool siteRight, bool newRecord);

}  // namespace tarmel
