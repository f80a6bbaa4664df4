#include "app/mdlMain.h"

#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "ui/frmMain.h"

#include <memory>

namespace {
std::unique_ptr<frmMain> gfrmMain;
std::unique_ptr<clsApplication> goApplication;
} // namespace

namespace mdlMain {

void Main() {
    // The window exists before the application object only because it is
    // the object's host; it loads when it is shown, after the reset.
    mdlComms::BindNewDevices();
    gfrmMain = std::make_unique<frmMain>();
    goApplication = std::make_unique<clsApplication>(*gfrmMain);
    goApplication->Reset();
    gfrmMain->Attach(*goApplication);
    gfrmMain->show();
}

clsApplication& App() {
    return *goApplication;
}

frmMain& MainForm() {
    return *gfrmMain;
}

// The window goes first, then the application object, which stores
// nothing as it goes.
void End() {
    gfrmMain.reset();
    goApplication.reset();
}

} // namespace mdlMain
