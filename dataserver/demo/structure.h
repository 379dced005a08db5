// The demo dealership's structure description: the page entries of the four record kinds, the
// field entries of every page (hidden key fields first, then every data control of the window's
// inventory, placed where the inventory places it) and the column entries of the two grids.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dataserver/sqlsession.h"

namespace tarmel::dataserver::demo {

// One entry of the description, as stored in tStructure and written in "axStruct". Texts are
// Latin-1; positions and sizes are twips.
struct StructEntry {
    std::string descInfo;
    int idNum = 0;
    std::string txtInfo;
    std::string vInfo;
    std::string tag;
    std::string defval;
    int width = 0, left = 0, top = 0, height = 0;
    int length = 0;
    int tInfo = 0;     // a datatype:: code (formdesc/fieldkinds.h)
    int tControl = 0;  // a kind:: code
    int color = 0;
    std::string notNull;  // "TRUE" or "FALSE"
    int enabled = 0;
    std::string fieldInfo;
};

// One tab page of a record kind (number 1 to 9) or the record-level entry (number 0).
struct PageDef {
    const char* kind;  // "_TVO", "_TVD", "_TVN", "_TCL"
    int number;
    const char* caption;   // UTF-8
    const char* fieldKey;  // the page entry's vInfo, carried by its fields as descInfo
    const char* table;     // the page entry's tag
    const char* prefix;    // the page entry's defval
};

// The pages of every record kind, in document order.
const std::vector<PageDef>& DemoPages();

// The whole description in document order: page entries, then the field entries of each field
// key (once, even when several kinds share the page), then "gFrev" and "gAct".
std::vector<StructEntry> DemoStructure();

// Writes entries as the description of one dealership ("*" for the whole group).
bool InsertStructure(SqlSession& db, std::string_view concession,
                     const std::vector<StructEntry>& entries, std::string& error);

}  // namespace tarmel::dataserver::demo
