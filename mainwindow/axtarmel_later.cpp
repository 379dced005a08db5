// Operations of the subsystems still to be built (saving, search, the grids, the local photo
// folder). Each does nothing yet; it moves to its subsystem's folder when that subsystem is built
// (record/, search/, sublists/, photos/), and its line here is deleted.
#include "mainwindow/axtarmelimpl1.h"

namespace tarmel {

// Saving is not built yet: nothing is sent, and the answer lets the page change so that the window
// stays usable; the page's statement stays pending in its page until the record is reloaded.
bool TAxTarmel::SaveChanges() { return true; }

void TAxTarmel::HttpGetSearchInfo(int) {}
void TAxTarmel::HttpGetDblInfo() {}
void TAxTarmel::LoadInfoFrevo() {}
void TAxTarmel::LoadInfoCliche() {}
void TAxTarmel::LoadInfoAction() {}
void TAxTarmel::LoadInfoVehicle() {}

}  // namespace tarmel
