#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <csignal>
#include <functional>

#include <grp.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// Work done in a forked copy of the test: what must not touch the test's
// own process (another user, a file size limit), what may hang, and
// copies that run side by side as two programs would.
namespace mdlForked {

struct Child {
    pid_t lPid;
    int lOutput;
};

// Runs oWork in the copy, which ends with it, whatever it raised.
inline Child Start(const std::function<QString()>& oWork) {
    int aPipe[2];
    if (::pipe(aPipe) != 0) {
        qFatal("no pipe");
    }
    const pid_t lPid = ::fork();
    if (lPid == 0) {
        ::close(aPipe[0]);
        try {
            const QByteArray aOutput = oWork().toUtf8();
            ::_exit(::write(aPipe[1], aOutput.constData(), aOutput.size()) == aOutput.size() ? 0
                                                                                             : 1);
        } catch (...) {
            ::_exit(2);
        }
    }
    ::close(aPipe[1]);
    return {lPid, aPipe[0]};
}

// What the work returned; "hung", and the copy killed, past lMsecs.
inline QString Finish(const Child& oChild, int lMsecs = 20'000) {
    QByteArray aOutput;
    const QDeadlineTimer oDeadline(lMsecs);
    char aChunk[4096];
    ssize_t lRead = 1;
    while (lRead > 0) {
        pollfd oPoll{oChild.lOutput, POLLIN, 0};
        if (::poll(&oPoll, 1, static_cast<int>(oDeadline.remainingTime())) <= 0) {
            ::kill(oChild.lPid, SIGKILL);
            aOutput = "hung";
            break;
        }
        lRead = ::read(oChild.lOutput, aChunk, sizeof aChunk);
        aOutput.append(aChunk, qMax<ssize_t>(lRead, 0));
    }
    ::close(oChild.lOutput);
    ::waitpid(oChild.lPid, nullptr, 0);
    return QString::fromUtf8(aOutput);
}

inline QString Run(const std::function<QString()>& oWork) {
    return Finish(Start(oWork));
}

// As Run, the copy without root's rights, so that a file's mode stands in
// its way.
inline QString RunAsNobody(const std::function<QString()>& oWork) {
    return Run([&] {
        const bool bNobody =
            ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        return bNobody ? oWork() : QStringLiteral("cannot become nobody");
    });
}

} // namespace mdlForked
