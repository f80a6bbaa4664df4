#include "platform/mdlStandardStreams.h"

#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mdlStandardStreams {

// A standard stream the caller closed would be the number of the next file
// opened (a settings file, the stop signals' pipe), and the log would be
// written into it: the upload was stopped by its own prompt. Each is held
// open on /dev/null for reading only, so that output to it is still lost
// and told. A closed pipe is output lost, with its own exit status, and
// must not end an upload half way.
void Prepare() {
    for (int iStream = STDIN_FILENO; iStream <= STDERR_FILENO; ++iStream) {
        if (::fcntl(iStream, F_GETFD) == -1) {
            // The lowest free number: this stream's.
            ::open("/dev/null", O_RDONLY);
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
}

std::optional<bool> ToConsole(std::FILE* /*oStream*/, const QString& /*sText*/) {
    return std::nullopt;
}

bool ReadyForProgress() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool ErrorsOnTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool OutputsShareTerminal() {
    struct stat oOut {};
    struct stat oErr {};
    return ::isatty(STDOUT_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1 &&
           ::fstat(STDOUT_FILENO, &oOut) == 0 && ::fstat(STDERR_FILENO, &oErr) == 0 &&
           oOut.st_rdev == oErr.st_rdev;
}

qsizetype Width() {
    winsize oSize{};
    const bool bKnown = ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &oSize) == 0 && oSize.ws_col > 0;
    return bKnown ? oSize.ws_col : 80;
}

} // namespace mdlStandardStreams
