// Operations of the subsystems still to be built (search, the grids, the local photo
// folder). Each does nothing yet; it moves to its subsystem's folder when that subsystem is built
// (record/, search/, sublists/, photos/), and its line here is deleted.
#include "mainwindow/axtarmelimpl1.h"

namespace tarmel {

void TAxTarmel::LoadInfoCliche() {}

}  // namespace tarmel
