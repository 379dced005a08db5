// The header and closing phases of UpdateTabDesc: everything a load decides before the pages are
// filled (documents, user, date limits, record kind, header, identifiers, rights, the foreign
// dealership rule) and after (warranty fields, header texts, splash).
#pragma once

#include <stdexcept>

#include "server/xml/txml.h"

namespace tarmel {

class TAxTarmel;

// The structure description or the value lists were never received (a start while the server
// was down): the pages cannot be built.
struct MissingDescription : std::runtime_error {
    MissingDescription() : std::runtime_error("Description de la structure ou des listes introuvable") {}
};

// Returns the value source of pages 0 to 7: the record element of the record document, emptied
// for a record of another dealership. Throws MissingDescription when reload is asked and a
// description file is missing.
TXml UpdateTabDescHeader(TAxTarmel& window, bool reload);

void UpdateTabDescClosing(TAxTarmel& window);

}  // namespace tarmel
