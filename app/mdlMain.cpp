#include "app/mdlMain.h"

#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "platform/clsStopSignals.h"
#include "ui/frmMain.h"

#include <QCoreApplication>

#include <utility>

namespace {
// Plain pointers, freed by End() alone: the display's plugin calls exit()
// when the display goes away, and no widget may be destroyed after that.
frmMain* gfrmMain = nullptr;
clsApplication* goApplication = nullptr;
clsStopSignals* goStopSignals = nullptr;

// A closed terminal, a shutdown or a kill ends the program as its close box
// does, so that an upload under way is stopped and kept in the ledger. An
// open box holds back neither the window's own close nor the exit, which
// ends the box's loop too.
void EndOnStopSignal() {
    gfrmMain->close();
    QCoreApplication::exit(0);
}
} // namespace

namespace mdlMain {

void Main() {
    // The window exists before the application object only because it is
    // the object's host; it loads when it is shown, after the reset.
    mdlComms::BindNewDevices();
    gfrmMain = new frmMain();
    goApplication = new clsApplication(*gfrmMain);
    goApplication->Reset();
    gfrmMain->Attach(*goApplication);
    gfrmMain->show();
    goStopSignals = new clsStopSignals();
    QObject::connect(goStopSignals, &clsStopSignals::Received, gfrmMain, &EndOnStopSignal);
}

// The window goes first, then the application object, which stores
// nothing as it goes.
void End() {
    delete std::exchange(goStopSignals, nullptr);
    delete std::exchange(gfrmMain, nullptr);
    delete std::exchange(goApplication, nullptr);
}

} // namespace mdlMain
