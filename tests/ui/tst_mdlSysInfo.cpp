#include "platform/clsRegistryHives.h"
#include "tests/support/clsPrivateRegistry.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "ui/mdlSysInfo.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <optional>

// Where the About window finds the system's information tool on Windows:
// the two values of the machine's registry, read as the look-up reads them.
namespace {

// A text value's bytes as stored, with or without the NUL that ends it.
QByteArray Stored(const QString& sText, bool bEnded) {
    const QByteArray aBytes(reinterpret_cast<const char*>(sText.utf16()), sText.size() * 2);
    return bEnded ? aBytes + QByteArray(2, 0) : aBytes;
}

// The system counts a NUL right after the data as its end; a character
// there keeps a text stored without one.
void Write(const QString& sKey, const QString& sName, const QByteArray& aBytes) {
    const clsRegistryHives::Key oKey =
        clsRegistryHives::Below(clsRegistryHives::Current().sMachine, sKey);
    const QByteArray aGuarded = aBytes + Stored(QStringLiteral("!"), false);
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(oKey.hRoot, reinterpret_cast<const wchar_t*>(oKey.sPath.utf16()), 0,
                          nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr) != ERROR_SUCCESS ||
        ::RegSetValueExW(hKey, reinterpret_cast<const wchar_t*>(sName.utf16()), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(aGuarded.constData()),
                         DWORD(aBytes.size())) != ERROR_SUCCESS) {
        qFatal("cannot write the registry");
    }
    ::RegCloseKey(hKey);
}

struct ToolRow {
    const char* sName;
    // The bytes of the value PATH; none when it is not there.
    std::optional<QByteArray> aPath;
    // Whether the value MSINFO names a folder, and that folder holds the tool.
    bool bFolder, bToolInFolder;
    // TOOL stands for the tool in that folder.
    QString sTool;
};

} // namespace

class tst_mdlSysInfo : public QObject {
    Q_OBJECT

    clsPrivateRegistry oRegistry;

private slots:
    void cleanup() {
        QSettings(clsRegistryHives::Current().sMachine, QSettings::NativeFormat).remove("");
    }

    void toolPath_data() {
        const QString sGone = QStringLiteral("C:\\gone\\msinfo32.exe");
        // clang-format off
        mdlRows::Add<ToolRow>({
            {"PATH taken unchecked, its NUL dropped", Stored(sGone, true), true, true, sGone},
            {"PATH without its NUL taken whole", Stored(sGone, false), false, false, sGone},
            {"PATH with no bytes: no tool, MSINFO not asked", QByteArray(), true, true, ""},
            {"no PATH: the tool in MSINFO's folder", std::nullopt, true, true, "TOOL"},
            {"no PATH, no tool in MSINFO's folder", std::nullopt, true, false, ""},
        });
        // clang-format on
    }

    void toolPath() {
        QFETCH(ToolRow, oRow);
        const QTemporaryDir oFolder;
        const QString sFolder = QDir::toNativeSeparators(oFolder.path());
        if (oRow.aPath) {
            Write("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", *oRow.aPath);
        }
        if (oRow.bFolder) {
            Write("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", Stored(sFolder, true));
        }
        if (oRow.bToolInFolder) {
            mdlTestFiles::Write(QDir(oFolder.path()), "MSINFO32.EXE", "MZ");
        }
        QCOMPARE(mdlSysInfo::ToolPath(),
                 QString(oRow.sTool).replace("TOOL", sFolder + "\\MSINFO32.EXE"));
        // None of these is a program that starts.
        QWidget oAbout;
        QVERIFY(!mdlSysInfo::Open(oAbout));
    }
};

QTEST_MAIN(tst_mdlSysInfo)
#include "tst_mdlSysInfo.moc"
