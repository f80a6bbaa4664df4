#include "platform/clsTerminalEnd.h"

#include "platform/clsInputThread.h"

#include <windows.h>

// A console has no job in front and jobs behind: every program attached to
// it may read what is typed there, and none is stopped for reading, so
// there is no turn to wait for here.
QString clsTerminalEnd::EndKeys() {
    return QStringLiteral("Ctrl+Z and Enter");
}

clsTerminalEnd::clsTerminalEnd() {
    DWORD lMode = 0;
    if (!::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &lMode)) {
        return;
    }
    clsInputThread* pInput = clsInputThread::Instance();
    oWatch = std::make_unique<QObject>();
    connect(pInput, &clsInputThread::PieceRead, oWatch.get(), [this](const QByteArray& aPiece) {
        if (aPiece.isEmpty()) {
            emit Ended();
        }
    });
}
