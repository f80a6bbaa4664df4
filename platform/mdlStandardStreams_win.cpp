#include "platform/mdlStandardStreams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

HANDLE HandleOf(std::FILE* oStream) {
    return ::GetStdHandle(oStream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
}

bool IsConsole(HANDLE hStream) {
    DWORD lMode = 0;
    return ::GetConsoleMode(hStream, &lMode) != 0;
}

} // namespace

namespace mdlStandardStreams {

// Output that goes to a file or a pipe gets the bytes the Unix build
// writes: no line end becomes CR LF on the way. Nothing else is needed:
// files are opened as handles of their own, never in a closed stream's
// place, and a closed pipe fails a write without ending the program.
void Prepare() {
    for (std::FILE* oStream : {stdout, stderr}) {
        const HANDLE hStream = HandleOf(oStream);
        if (hStream != nullptr && hStream != INVALID_HANDLE_VALUE) {
            ::_setmode(::_fileno(oStream), _O_BINARY);
        }
    }
}

std::optional<bool> ToConsole(std::FILE* oStream, const QString& sText) {
    const HANDLE hStream = HandleOf(oStream);
    if (!IsConsole(hStream)) {
        return std::nullopt;
    }
    const auto* pLeft = reinterpret_cast<const wchar_t*>(sText.utf16());
    for (auto lLeft = DWORD(sText.size()); lLeft > 0;) {
        DWORD lWritten = 0;
        if (!::WriteConsoleW(hStream, pLeft, lLeft, &lWritten, nullptr) || lWritten == 0) {
            return false;
        }
        pLeft += lWritten;
        lLeft -= lWritten;
    }
    return true;
}

// The progress is taken back with escapes that a console follows only when
// asked to, from Windows 10 on; an older one shows no progress.
bool ReadyForProgress() {
    const HANDLE hOut = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD lMode = 0;
    return ::GetConsoleMode(hOut, &lMode) &&
           ::SetConsoleMode(hOut, lMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool ErrorsOnTerminal() {
    DWORD lMode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &lMode);
}

// A process has one console at most.
bool OutputsShareTerminal() {
    DWORD lMode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &lMode) &&
           ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &lMode);
}

// The screen buffer's width, where the cursor wraps; the window may show
// less of it.
qsizetype Width() {
    CONSOLE_SCREEN_BUFFER_INFO oInfo{};
    const bool bKnown = ::GetConsoleScreenBufferInfo(::GetStdHandle(STD_OUTPUT_HANDLE), &oInfo) &&
                        oInfo.dwSize.X > 0;
    return bKnown ? oInfo.dwSize.X : 80;
}

} // namespace mdlStandardStreams
