// Page changes: unsaved changes are saved before leaving a page, and a page's sub-list is loaded
// the first time the page is shown for a record.
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/controls.h"
#include "mainwindow/toolkit/grid.h"

namespace tarmel {

bool TAxTarmel::TabsChanging() {
    if (!Control("JvXPBtnSave")->isEnabled()) return true;
    return SaveChanges();
}

void TAxTarmel::ForgetLoadedSubLists() {
    Form.SubListLoaded.fill(false);
    for (auto* lines : {&Form.FrevoRows, &Form.ActionLines})
        lines->resize(std::min<size_t>(lines->size(), 1));
    for (auto* icons : {&Form.FrevoIcons, &Form.ActionIcons})
        icons->resize(std::min<size_t>(icons->size(), 1));
    for (const char* name : {"ngFrevo", "ngVehicles"})
        if (auto* grid = Ctl<ui::Grid>(QString::fromLatin1(name))) grid->setRowCount(0);
    Form.VehicleIcons.clear();
}

void TAxTarmel::TabsChange() {
    if (Form.Building) return;  // whoever builds the pages calls this once they are built
    const int page = Ctl<ui::PageControl>("Tabs")->currentIndex();
    if (page >= 0 && page < int(Form.SubListLoaded.size()) && !Form.SubListLoaded[size_t(page)])
        LoadSubList(page);
    HideSplash();
}

// One dispatch by page position: the pages with a sub-list, and the loader of each.
void TAxTarmel::LoadSubList(int page) {
    using Loader = void (TAxTarmel::*)();
    static constexpr std::array<Loader, 9> kLoaders = {
        nullptr,                          // Sheet01 used vehicle
        nullptr,                          // Sheet02 demonstration vehicle
        &TAxTarmel::GetInfoReservation,   // Sheet03 new vehicle: reservation labels
        nullptr,                          // Sheet04 equipment
        &TAxTarmel::LoadInfoFrevo,        // Sheet05 refurbishment costs
        &TAxTarmel::LoadPhotoPage,        // Sheet06 photos
        &TAxTarmel::LoadInfoAction,       // Sheet07 client actions
        &TAxTarmel::LoadVehiclePage,      // Sheet08 client vehicles
        nullptr,                          // Sheet09 next purchase
    };
    const Loader loader = kLoaders[size_t(page)];
    if (!loader) return;
    (this->*loader)();
    Form.SubListLoaded[size_t(page)] = true;
}

void TAxTarmel::LoadPhotoPage() {
    LoadInfoCliche();
    GetDataImages();
}

void TAxTarmel::LoadVehiclePage() {
    Record.SelectedVehicle = 0;  // the first row is selected
    LoadInfoVehicle();
}

}  // namespace tarmel
