#include "platform/clsChildProcess.h"

#include <QByteArray>

#include <windows.h>

namespace {

// The job every child is made in: the system closes it when this process
// ends, however it ends, and ends them with it.
HANDLE ChildrenJob() {
    static const HANDLE hJob = [] {
        const HANDLE hNew = ::CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION oLimits{};
        oLimits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (hNew != nullptr && !::SetInformationJobObject(hNew, JobObjectExtendedLimitInformation,
                                                          &oLimits, sizeof oLimits)) {
            ::CloseHandle(hNew);
            return HANDLE(nullptr);
        }
        return hNew;
    }();
    return hJob;
}

// What makes a process in the children's job from its first instruction,
// so that no moment is left in which it could outlive this one.
class clsInJob {
public:
    clsInJob() {
        SIZE_T lSize = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &lSize);
        aList.resize(qsizetype(lSize));
        auto* pList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(aList.data());
        if (::InitializeProcThreadAttributeList(pList, 1, 0, &lSize)) {
            oStartup.lpAttributeList = pList;
            // The list keeps the job's address, not the job.
            bReady = hJob != nullptr &&
                     ::UpdateProcThreadAttribute(pList, 0, PROC_THREAD_ATTRIBUTE_JOB_LIST, &hJob,
                                                 sizeof hJob, nullptr, nullptr);
        }
    }
    ~clsInJob() {
        if (oStartup.lpAttributeList != nullptr) {
            ::DeleteProcThreadAttributeList(oStartup.lpAttributeList);
        }
    }
    clsInJob(const clsInJob&) = delete;
    clsInJob& operator=(const clsInJob&) = delete;

    bool Ready() const { return bReady; }
    // Into the arguments of the process about to be made.
    void Apply(QProcess::CreateProcessArguments& oArguments) {
        oStartup.StartupInfo = *oArguments.startupInfo;
        oStartup.StartupInfo.cb = sizeof oStartup;
        oArguments.startupInfo = &oStartup.StartupInfo;
        oArguments.flags |= EXTENDED_STARTUPINFO_PRESENT | CREATE_NEW_PROCESS_GROUP;
        // Qt gives a program started without a console window a console of
        // its own; a child must share this one to be sent Stop.
        if (::GetConsoleCP() != 0) {
            oArguments.flags &= ~DWORD(CREATE_NO_WINDOW);
        }
    }

private:
    HANDLE hJob = ChildrenJob();
    QByteArray aList;
    STARTUPINFOEXW oStartup{};
    bool bReady = false;
};

} // namespace

bool clsChildProcess::Launch(const QString& sProgram, const QStringList& asArguments) {
    clsInJob oInJob;
    if (!oInJob.Ready()) {
        setErrorString(QStringLiteral("no job to end it with this program: ") + qt_error_string());
        return false;
    }
    setCreateProcessArgumentsModifier(
        [&oInJob](QProcess::CreateProcessArguments* pArguments) { oInJob.Apply(*pArguments); });
    start(sProgram, asArguments);
    setCreateProcessArgumentsModifier({});
    return true;
}

// The child runs in a process group of its own, in which Ctrl+C is off.
void clsChildProcess::SendStop(qint64 lProcessId, int /*iSignal*/) {
    ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, DWORD(lProcessId));
}
