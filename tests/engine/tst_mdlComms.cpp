#include "engine/mdlComms.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsPreparation.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlRows.h"

#include <QTest>

namespace {

struct StoredRow {
    const char* sName;
    QByteArray aStored; // lines of the key
    qint16 iNumber;
    QString sSettings;
    qint32 lHandshaking;
};

const QString sDefaults = "57600,N,8,1";
// clang-format off
const StoredRow aStoredSettings[] = {
    {"every value read", "PortNumber=4\nBaudRate=9600\nStopBits=\"1.5\"\nDataBits=7\nHandshaking=0",
     4, "9600,N,7,1.5", 0},
    {"stop bits with a decimal comma, a negative port", "StopBits=\"1,5\"\nPortNumber=-1", 1,
     "57600,N,8,1.5", 3},
    {"port 0 is kept", "PortNumber=0", 0, sDefaults, 3},
    {"out of range", "PortNumber=17\nBaudRate=0\nStopBits=\"3\"\nDataBits=9\nHandshaking=4", 1,
     sDefaults, 3},
};
// clang-format on

struct OpenRow {
    const char* sName;
    bool bBound;
    qint32 lParity;
    QString sError; // its beginning
};

const QString sEstablishCom = " EstablishCom <sub> --- mdlComms: ";
// clang-format off
const OpenRow aOpens[] = {
    {"target 22 at 19200 baud", true, 2, ""},
    {"number bound to no device", false, 2, "8002" + sEstablishCom + "COM1"},
    {"settings the port refuses", true, 9,
     "2004" + sEstablishCom + "Unable to establish comms with target."},
};
// clang-format on

} // namespace

class tst_mdlComms : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    clsPreparation oUnit;
    clsApplication& App() { return *oUnit.oApp; }

private slots:
    void init() {
        oUnit.oHost.SerialPort().SetPortOpen(false);
        QFile::remove(mdlDataPaths::SettingsFile());
        oUnit.Renew();
    }

    void storedSettings_data() { mdlRows::Add(aStoredSettings); }

    // Read at every reset of the application object, value by value.
    void storedSettings() {
        QFETCH(StoredRow, oRow);
        // Where earlier versions left them: a new place would lose them.
        mdlTestFiles::Write(QDir(), mdlDataPaths::SettingsFile(),
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms]\n" +
                                oRow.aStored + "\n");
        App().Reset();
        QCOMPARE(App().CommSettings().Number(), oRow.iNumber);
        QCOMPARE(App().CommSettings().SettingsString(), oRow.sSettings);
        QCOMPARE(App().CommSettings().Handshaking(), oRow.lHandshaking);
    }

    void establishCom_data() { mdlRows::Add(aOpens); }

    // The rate comes from the target and is stored with the next store.
    // Closing a port that is not open is no failure, and is reported too.
    void establishCom() {
        QFETCH(OpenRow, oRow);
        clsPseudoTerminal oLine;
        oUnit.oHost.asDevices = QStringList{oRow.bBound ? oLine.SlavePath() : QString()};
        QCOMPARE(oUnit.Prepare("16\r\nFF\r\n", "S9030000FC\r\n"), QString());
        App().CommSettings().SetParity(oRow.lParity);
        const QString sError = mdlRaised::Text([&] { App().OpenPort(); });
        QVERIFY2(oRow.sError.isEmpty() ? sError.isEmpty() : sError.startsWith(oRow.sError),
                 qPrintable(sError));
        QCOMPARE(oUnit.oHost.SerialPort().PortOpen(), sError.isEmpty());
        App().ClosePort();
        App().ClosePort();
        const QStringList asOpened = sError.isEmpty() ? QStringList{"COM1 opened"} : QStringList();
        QCOMPARE(oUnit.oHost.Lines().mid(7), asOpened + QStringList(2, "COM1 closed"));
        QVERIFY(!oUnit.oHost.SerialPort().PortOpen());
        mdlComms::StoreCommSettings(App().Registry(), App().CommSettings());
        App().Reset();
        QCOMPARE(App().CommSettings().SettingsString(), "19200,N,8,1");
    }

    // The first reset creates the key, so that the next one reads it. What
    // the window changed is stored by the window; the application object
    // stores nothing as it goes.
    void nothingStoredAtTheEnd() {
        clsJRT_Registry oRegistry;
        oRegistry.SetSubKey(mdlComms::CommsKeyPath());
        QCOMPARE(oRegistry.OpenKey(), clsJRT_Registry::OpenedExistingKey);
        App().CommSettings().SetNumber(9);
        oUnit.Renew();
        QCOMPARE(App().CommSettings().Number(), qint16(1));
        App().CommSettings().SetNumber(9);
        mdlComms::StoreCommSettings(App().Registry(), App().CommSettings());
        oUnit.Renew();
        QCOMPARE(App().CommSettings().Number(), qint16(9));
    }
};

QTEST_GUILESS_MAIN(tst_mdlComms)
#include "tst_mdlComms.moc"
