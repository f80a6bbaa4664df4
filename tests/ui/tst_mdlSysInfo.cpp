#include "tests/support/mdlRows.h"
#include "ui/mdlSysInfo.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

struct LookupRow {
    const char* sName;
    QStringList asNames;
    const char* sFound;
};

const LookupRow aLookups[] = {
    {"first in the list's order", {"plain", "second", "first"}, "second"},
    {"none installed", {"plain", "absent"}, ""},
};

} // namespace

class tst_mdlSysInfo : public QObject {
    Q_OBJECT

    QTemporaryDir oFolder;

    void Make(const QString& sName, QFileDevice::Permissions aPermissions) {
        QFile oFile(oFolder.filePath(sName));
        QVERIFY(oFile.open(QIODevice::WriteOnly));
        QVERIFY(oFile.setPermissions(aPermissions));
    }

private slots:
    void initTestCase() {
        Make(QStringLiteral("plain"), QFileDevice::ReadOwner);
        Make(QStringLiteral("first"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        Make(QStringLiteral("second"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    void firstInstalled_data() { mdlRows::Add(aLookups); }

    void firstInstalled() {
        QFETCH(LookupRow, oRow);
        const QString sFound = mdlSysInfo::FirstInstalled(oRow.asNames, {oFolder.path()});
        QCOMPARE(sFound, *oRow.sFound ? oFolder.filePath(QLatin1String(oRow.sFound)) : QString());
    }
};

QTEST_GUILESS_MAIN(tst_mdlSysInfo)
#include "tst_mdlSysInfo.moc"
