#include "ui/mdlSysInfo.h"

#include "platform/clsPortBindings.h"
#include "platform/mdlDataPaths.h"
#include "resources/mdlResources.h"
#include "ui/frmSysInfo.h"

#include <QFile>
#include <QStringList>
#include <QSysInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

QString GroupName(gid_t lGroup) {
    const group* pGroup = ::getgrgid(lGroup);
    return pGroup != nullptr ? QString::fromLocal8Bit(pGroup->gr_name) : QString::number(lGroup);
}

// The groups the program runs with, its own first.
std::vector<gid_t> Groups() {
    std::vector<gid_t> alGroups(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    alGroups.resize(std::size_t(std::max(::getgroups(int(alGroups.size()), alGroups.data()), 0)));
    alGroups.insert(alGroups.begin(), ::getegid());
    return alGroups;
}

QString User() {
    const passwd* pUser = ::getpwuid(::geteuid());
    QStringList asGroups;
    for (const gid_t lGroup : Groups()) {
        asGroups << GroupName(lGroup);
    }
    asGroups.removeDuplicates();
    return (pUser != nullptr ? QString::fromLocal8Bit(pUser->pw_name)
                             : QString::number(::geteuid())) +
           QStringLiteral(", in the groups ") + asGroups.join(QStringLiteral(", "));
}

// Who may open sDevice, from its owner group and the access the system
// grants; the device itself is never opened.
QString Access(const QString& sDevice) {
    const QByteArray aPath = QFile::encodeName(sDevice);
    struct stat oStat {};
    if (::stat(aPath.constData(), &oStat) != 0) {
        return QStringLiteral("cannot be examined");
    }
    const std::vector<gid_t> alGroups = Groups();
    const bool bMember =
        std::find(alGroups.cbegin(), alGroups.cend(), oStat.st_gid) != alGroups.cend();
    const bool bOpens = ::access(aPath.constData(), R_OK | W_OK) == 0;
    const QString sGroup = GroupName(oStat.st_gid);
    QString sAccess =
        QStringLiteral("group %1, which you are %2in; you may %3open it for reading and writing")
            .arg(sGroup, bMember ? QString() : QStringLiteral("not "),
                 bOpens ? QString() : QStringLiteral("not "));
    // Joining root's group is never the cure.
    if (!bOpens && !bMember && oStat.st_gid != 0) {
        sAccess += QStringLiteral(" (sudo usermod -aG %1 $USER, then log in again)").arg(sGroup);
    }
    return sAccess;
}

// The serial devices found, each with what the system tells of it.
QStringList Devices() {
    QStringList asLines;
    const QStringList asFound = clsPortBindings::FoundDevices();
    const QStringList asKnown = clsPortBindings::Descriptions(asFound);
    for (qsizetype lFound = 0; lFound < asFound.size(); ++lFound) {
        const QString& sDevice = asFound.at(lFound);
        const QString& sKnown = asKnown.at(lFound);
        asLines << QStringLiteral("  ") + sDevice +
                       (sKnown.isEmpty() ? QString() : QStringLiteral(": ") + sKnown);
        asLines << QStringLiteral("    ") + Access(sDevice);
    }
    return asLines.isEmpty() ? QStringList(QStringLiteral("  none found")) : asLines;
}

QString Report() {
    using namespace mdlResources;
    const QStringList asLines =
        QStringList{QStringLiteral("%1 %2.%3.%4")
                        .arg(Title())
                        .arg(VersionMajor())
                        .arg(VersionMinor())
                        .arg(VersionRevision()),
                    QStringLiteral("System: ") + QSysInfo::prettyProductName() +
                        QStringLiteral(", ") + QSysInfo::currentCpuArchitecture(),
                    QStringLiteral("Kernel: ") + QSysInfo::kernelType() + QLatin1Char(' ') +
                        QSysInfo::kernelVersion(),
                    QStringLiteral("Qt: ") + QLatin1String(qVersion()) +
                        QStringLiteral(" (built with " QT_VERSION_STR ")"),
                    QStringLiteral("User: ") + User(),
                    QStringLiteral("Settings file: ") + mdlDataPaths::SettingsFile(),
                    QStringLiteral("Ledger: ") + mdlDataPaths::LedgerFile(),
                    QStringLiteral("Serial devices:")} +
        Devices();
    return asLines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

namespace mdlSysInfo {

bool Open(QWidget& oAbout) {
    (new frmSysInfo(Report(), &oAbout))->show();
    return true;
}

} // namespace mdlSysInfo
