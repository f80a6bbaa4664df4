#include "platform/clsInputThread.h"

#include <thread>
#include <windows.h>

namespace {

void ReadAll(HANDLE hInput, clsInputThread& oThread) {
    for (;;) {
        char aChunk[256];
        DWORD lRead = 0;
        ::SetLastError(ERROR_SUCCESS);
        const bool bRead = ::ReadFile(hInput, aChunk, sizeof aChunk, &lRead, nullptr);
        // A console's read that Ctrl+C cut short: the Stop comes as its own
        // event, and the input goes on.
        if (bRead && lRead == 0 && ::GetLastError() == ERROR_OPERATION_ABORTED) {
            continue;
        }
        // A console gives nothing for a line that starts with Ctrl+Z.
        emit oThread.PieceRead(QByteArray(aChunk, bRead ? int(lRead) : 0));
        if (!bRead || lRead == 0) {
            return;
        }
    }
}

} // namespace

clsInputThread* clsInputThread::Instance() {
    static clsInputThread* const pThread = []() -> clsInputThread* {
        const HANDLE hInput = ::GetStdHandle(STD_INPUT_HANDLE);
        if (hInput == nullptr || hInput == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        auto* pNew = new clsInputThread;
        std::thread([hInput, pNew] { ReadAll(hInput, *pNew); }).detach();
        return pNew;
    }();
    return pThread;
}
