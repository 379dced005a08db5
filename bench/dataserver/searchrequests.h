// The search panel's plate search and the way the client writes a statement into its request
// target, shared by the data server benchmarks.
#pragma once

#include <string>

namespace tarmel::bench {

// The search panel's statement for kind 1 (plate), all families, no site, one dealership.
inline std::string PlateSearch(const std::string& text, const std::string& dealership) {
    return "SELECT TypeVO, idTVO as VO_ID, StatutVD, NVO as VO_NO, Immatriculation AS VO_IMMAT, "
           "[InfoMarque], [InfoModele], InfoVersion AS VO_VERSION, Acheteur AS VO_BUYER, DateOrdre "
           "AS VO_ORDRE, Immatriculation AS VO_Result, Site as VO_SITE, Concession, idOwner FROM "
           "TVehicles Where (Concession='" +
           dealership + "') and ((Immatriculation like '%" + text +
           "%')) ORDER BY Immatriculation, DateOrdre desc";
}

// A statement as the client sends it: "%" as "%25", blanks as "%20", "#" as "%23".
inline std::string TargetText(const std::string& sql) {
    std::string out;
    for (char c : sql) {
        if (c == '%')
            out += "%25";
        else if (c == ' ')
            out += "%20";
        else if (c == '#')
            out += "%23";
        else
            out += c;
    }
    return out;
}

}  // namespace tarmel::bench
