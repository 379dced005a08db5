// Operations that later subsystems own, as the start-up and the page rules call them today.
// Each one moves to its subsystem's folder when that subsystem is built (record/, search/,
// sublists/, photos/), and its line here is deleted.
#include "mainwindow/axtarmelimpl1.h"

namespace tarmel {

// Nothing can be pending before change detection exists.
bool TAxTarmel::SaveChanges() { return true; }

void TAxTarmel::HttpGetSearchInfo(int) {}
void TAxTarmel::HttpGetDblInfo() {}
void TAxTarmel::LoadInfoFrevo() {}
void TAxTarmel::LoadInfoCliche() {}
void TAxTarmel::LoadInfoAction() {}
void TAxTarmel::LoadInfoVehicle() {}

}  // namespace tarmel
