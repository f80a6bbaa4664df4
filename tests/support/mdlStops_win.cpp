#include "tests/support/mdlStops.h"

#include <windows.h>

namespace {

bool SendBreak(const QProcess& oProgram) {
    return oProgram.processId() > 0 &&
           ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, DWORD(oProgram.processId()));
}

} // namespace

namespace mdlStops {

QList<Stop> All() {
    return {{"Ctrl+Break", &SendBreak}};
}

// A console event reaches only the programs on the sender's console: a test
// run with none makes one. The program's own process group keeps the
// event from this one.
void Prepare(QProcess& oProgram) {
    if (::GetConsoleCP() == 0) {
        ::FreeConsole();
        ::AllocConsole();
    }
    oProgram.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* pArguments) {
        pArguments->flags |= CREATE_NEW_PROCESS_GROUP;
        pArguments->flags &= ~DWORD(CREATE_NO_WINDOW);
    });
}

} // namespace mdlStops
