#include "app/mdlMain.h"

#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "platform/clsStopSignals.h"
#include "ui/frmMain.h"

#include <QCoreApplication>

#include <memory>

namespace {
std::unique_ptr<frmMain> gfrmMain;
std::unique_ptr<clsApplication> goApplication;
std::unique_ptr<clsStopSignals> goStopSignals;

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
    gfrmMain = std::make_unique<frmMain>();
    goApplication = std::make_unique<clsApplication>(*gfrmMain);
    goApplication->Reset();
    gfrmMain->Attach(*goApplication);
    gfrmMain->show();
    goStopSignals = std::make_unique<clsStopSignals>();
    QObject::connect(goStopSignals.get(), &clsStopSignals::Received, gfrmMain.get(),
                     &EndOnStopSignal);
}

// The window goes first, then the application object, which stores
// nothing as it goes.
void End() {
    goStopSignals.reset();
    gfrmMain.reset();
    goApplication.reset();
}

} // namespace mdlMain
