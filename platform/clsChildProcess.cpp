#include "platform/clsChildProcess.h"

clsChildProcess::clsChildProcess() {
    setStandardInputFile(QProcess::nullDevice());
}

void clsChildProcess::Stop(int iSignal) {
    // A process already gone has no id, and a Stop sent to none would strike
    // us all.
    if (processId() > 0) {
        SendStop(processId(), iSignal);
    }
}
