#include "platform/clsSerialControl.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlRows.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

using Failure = clsSerialControl::Failure;

// 14 characters, the last but one above 0x7F
const QByteArray aReply = "A1B2C3D4E5F6\xE9\r";

enum eMode { ByteMode, TextMode };

QVariant AsRead(eMode iMode, const QByteArray& aBytes) {
    return iMode == TextMode ? QVariant(QString::fromLatin1(aBytes)) : QVariant(aBytes);
}

// A control whose COM3 is a pty and COM4 a device that does not exist,
// recording what each receive event read.
struct Bench {
    clsPseudoTerminal oTerminal;
    clsSerialControl oControl{[this](qint16 iPort) {
        return iPort == 3   ? oTerminal.SlavePath()
               : iPort == 4 ? QStringLiteral("/dev/tessivar-absent")
                            : QString();
    }};
    QVariantList avReads;

    Bench() {
        oControl.SetCommPort(3);
        oControl.SetSettings("57600,N,8,1");
        QObject::connect(&oControl, &clsSerialControl::OnComm,
                         [this] { avReads << oControl.Input(); });
    }
    // As the serial link opens for the target byte and for the replies.
    Failure Open(eMode iMode = ByteMode) {
        oControl.SetInputMode(iMode == TextMode ? clsSerialControl::comInputModeText
                                                : clsSerialControl::comInputModeBinary);
        oControl.SetRThreshold(iMode == TextMode ? 14 : 1);
        oControl.SetInputLen(iMode == TextMode ? 14 : 0);
        return oControl.SetPortOpen(true);
    }
};

// Opens COM3 from a child process. bForbidden makes the device node
// unreadable and the child nobody (root ignores permissions); otherwise the
// test opens it too while the child holds it, as a second program would.
Failure OpenInChild(Bench& oBench, bool bForbidden) {
    int aReport[2], aRelease[2];
    if (::pipe(aReport) != 0 || ::pipe(aRelease) != 0) {
        return {-1, "no pipe"};
    }
    const pid_t lChild = ::fork();
    if (lChild == 0) {
        ::close(aRelease[1]);
        const bool bReady =
            !bForbidden ||
            (::chmod(qPrintable(oBench.oTerminal.SlavePath()), 0) == 0 &&
             ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
        const Failure oFailure = bReady ? oBench.Open() : Failure{-1, "cannot become nobody"};
        const QByteArray aLine =
            QByteArray::number(oFailure.lNumber) + ' ' + oFailure.sDescription.toUtf8();
        const bool bReported = ::write(aReport[1], aLine.constData(), aLine.size()) > 0;
        ::close(aReport[1]);
        char yRelease = 0;
        // holds the port until the test is done with it
        ::_exit(bReported && ::read(aRelease[0], &yRelease, 1) >= 0 ? 0 : 1);
    }
    ::close(aReport[1]);
    ::close(aRelease[0]);
    QFile oReport;
    oReport.open(aReport[0], QIODevice::ReadOnly, QFile::AutoCloseHandle);
    const QByteArray aLine = oReport.readAll();
    const qsizetype lSpace = aLine.indexOf(' ');
    const Failure oFailure =
        bForbidden ? Failure{aLine.left(lSpace).toInt(), QString::fromUtf8(aLine.mid(lSpace + 1))}
                   : oBench.Open();
    ::close(aRelease[1]);
    ::waitpid(lChild, nullptr, 0);
    return oFailure;
}

double CpuSeconds() {
    timespec oTime{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &oTime);
    return static_cast<double>(oTime.tv_sec) + static_cast<double>(oTime.tv_nsec) / 1e9;
}

struct SettingsRow {
    const char* sName;
    const char* sSettings;
    qint32 lNumber;
    // the setting the open names, or the line's speed and stop bits after it
    const char* sRefused;
    speed_t lSpeed;
    bool bTwoStopBits;
};

struct ArrivalRow {
    const char* sName;
    eMode iMode;
    QByteArray aBeforeOpen;
    // each written on its own
    QByteArrayList aPieces;
    // one per receive event
    QByteArrayList aReads;
};

struct FailureRow {
    const char* sName;
    qint16 iPort;
    bool bOpenFirst;
    Failure (*pProvoke)(Bench& oBench);
    qint32 lNumber;
    // "<pty>" stands for the pty's device, "<group>" for the group owning it
    const char* sWords;
};

} // namespace

Q_DECLARE_METATYPE(SettingsRow)
Q_DECLARE_METATYPE(ArrivalRow)
Q_DECLARE_METATYPE(FailureRow)

class tst_clsSerialControl : public QObject {
    Q_OBJECT

    QTemporaryDir oHome;

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", oHome.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", oHome.filePath("data").toLocal8Bit());
    }

    void settingsReachTheLine_data() {
        const SettingsRow aRows[] = {
            {"rate and two stop bits", "19200,n,8,2", 0, "", B19200, true},
            {"rate and one stop bit", "57600,N,8,1", 0, "", B57600, false},
            {"1,5 stop bits (none on Linux)", "57600,N,8,1,5", 8015, "1.5 stop bits", 0, false},
            {"parity a pty drops", "57600,E,8,1", 8015, "parity E", 0, false},
            {"7 data bits a pty drops", "9600,N,7,1", 8015, "7 data bits", 0, false},
            {"unknown parity", "57600,X,8,1", 380, "Invalid property value", 0, false},
            {"9 data bits", "57600,N,9,1", 380, "Invalid property value", 0, false},
            {"3 stop bits", "57600,N,8,3", 380, "Invalid property value", 0, false},
            {"stop bits missing", "57600,N,8", 380, "Invalid property value", 0, false},
        };
        mdlRows::Add(aRows);
    }

    // A setting the device does not keep fails the open and is named; a text
    // that is not settings is refused and the old one stays.
    void settingsReachTheLine() {
        QFETCH(SettingsRow, oRow);
        Bench oBench;
        Failure oFailure = oBench.oControl.SetSettings(oRow.sSettings);
        if (!oFailure) {
            oFailure = oBench.Open();
        }
        QCOMPARE(oFailure.lNumber, oRow.lNumber);
        QVERIFY2(oFailure.sDescription.contains(oRow.sRefused), qPrintable(oFailure.sDescription));
        QCOMPARE(oBench.oControl.Settings(), oRow.lNumber == 380 ? "57600,N,8,1" : oRow.sSettings);
        QCOMPARE(oBench.oControl.PortOpen(), oRow.lNumber == 0);
        const termios oLine = oBench.oTerminal.Settings();
        QVERIFY(oRow.lNumber != 0 || (::cfgetospeed(&oLine) == oRow.lSpeed &&
                                      ((oLine.c_cflag & CSTOPB) != 0) == oRow.bTwoStopBits));
    }

    void oneEventPerByteOrReply_data() {
        QByteArrayList aByteByByte;
        for (char yByte : aReply) {
            aByteByByte << QByteArray(1, yByte);
        }
        const QByteArrayList aBytes = {"\x13", QByteArray(1, '\0'), "\x11", "\xE9"};
        const ArrivalRow aRows[] = {
            {"bytes: XON, NUL, XOFF, 0xE9", ByteMode, {}, aBytes, aBytes},
            {"input from before the open", ByteMode, "stale", {"A"}, {"A"}},
            {"reply whole", TextMode, {}, {aReply}, {aReply}},
            {"reply as 1 + 13", TextMode, {}, {aReply.left(1), aReply.mid(1)}, {aReply}},
            {"reply as 7 + 7", TextMode, {}, {aReply.left(7), aReply.mid(7)}, {aReply}},
            {"reply byte by byte", TextMode, {}, aByteByByte, {aReply}},
            {"two replies in one write", TextMode, {}, {aReply + aReply}, {aReply, aReply}},
        };
        mdlRows::Add(aRows);
    }

    void oneEventPerByteOrReply() {
        QFETCH(ArrivalRow, oRow);
        Bench oBench;
        QVERIFY(oBench.oTerminal.Write(oRow.aBeforeOpen));
        QThread::msleep(20);
        QVERIFY(!oBench.Open(oRow.iMode));
        for (const QByteArray& aPiece : oRow.aPieces) {
            const qsizetype lEvents = oBench.avReads.size();
            QVERIFY(oBench.oTerminal.Write(aPiece));
            if (oRow.iMode == ByteMode) {
                // each byte alone: the next goes after the event of the last
                QTRY_COMPARE(oBench.avReads.size(), lEvents + 1);
            } else {
                QTest::qWait(20);
            }
        }
        QVariantList avExpected;
        for (const QByteArray& aRead : oRow.aReads) {
            avExpected << AsRead(oRow.iMode, aRead);
        }
        QTRY_COMPARE(oBench.avReads, avExpected);
        QTest::qWait(50);
        QCOMPARE(oBench.avReads, avExpected);
    }

    // As the text-mode switch does: a byte that came before the close is
    // never an event after it, the reply right after the reopen is one, and
    // the line is not hung up.
    void reopenStartsAFreshSession() {
        Bench oBench;
        QVERIFY(!oBench.Open(ByteMode));
        QVERIFY(oBench.oTerminal.Write("Z"));
        QThread::msleep(20);
        // the close reads the stray byte while it lets the output leave
        QVERIFY(!oBench.oControl.Output(QByteArray("ack")));
        QVERIFY(!oBench.oControl.SetPortOpen(false));
        QVERIFY((oBench.oTerminal.Settings().c_cflag & HUPCL) == 0);
        QVERIFY(!oBench.Open(TextMode));
        QVERIFY(oBench.oTerminal.Write(aReply.left(7)));
        QTest::qWait(20);
        QVERIFY(oBench.oTerminal.Write(aReply.mid(7)));
        QTRY_COMPARE(oBench.avReads, QVariantList{AsRead(TextMode, aReply)});
        QTest::qWait(50);
        QCOMPARE(oBench.avReads.size(), 1);
    }

    void heldEventsComeOnRelease() {
        Bench oBench;
        QVERIFY(!oBench.Open(TextMode));
        oBench.oControl.SetEventsHeld(true);
        QVERIFY(oBench.oTerminal.Write(aReply));
        QTest::qWait(100);
        QCOMPARE(oBench.avReads.size(), 0);
        oBench.oControl.SetEventsHeld(false);
        QTRY_COMPARE(oBench.avReads, QVariantList{AsRead(TextMode, aReply)});
    }

    // Another event comes only when more arrives.
    void handlerThatDoesNotReadIsNotCalledAgain() {
        Bench oBench;
        QObject::disconnect(&oBench.oControl, &clsSerialControl::OnComm, nullptr, nullptr);
        QSignalSpy oEvents(&oBench.oControl, &clsSerialControl::OnComm);
        QVERIFY(!oBench.Open(TextMode));
        QVERIFY(oBench.oTerminal.Write(aReply));
        QTRY_COMPARE(oEvents.size(), 1);
        QTest::qWait(50);
        QCOMPARE(oEvents.size(), 1);
        QCOMPARE(oBench.oControl.CommEvent(), clsSerialControl::comEvReceive);
    }

    void failures_data() {
        const auto pOpen = [](Bench& oBench) { return oBench.Open(); };
        const FailureRow aRows[] = {
            {"port bound to no device", 9, false, pOpen, 8002, "COM9 is bound to no device"},
            {"device does not exist", 4, false, pOpen, 8002,
             "COM4 (/dev/tessivar-absent): the device does not exist"},
            {"opened twice", 3, true, pOpen, 8005, "COM3 (<pty>) is already open"},
            {"opened by a second control", 3, true,
             [](Bench& oBench) {
                 clsSerialControl oOther(
                     [&oBench](qint16) { return oBench.oTerminal.SlavePath(); });
                 return oOther.SetPortOpen(true);
             },
             8005, "COM1 (<pty>) is already open"},
            {"permission denied", 3, false, [](Bench& oBench) { return OpenInChild(oBench, true); },
             8010,
             "COM3 (<pty>): permission denied. Make the user a member of the group \"<group>\""},
            {"in use by another program", 3, false,
             [](Bench& oBench) { return OpenInChild(oBench, false); }, 8010,
             "COM3 (<pty>) is in use"},
            {"closing a closed port", 3, false,
             [](Bench& oBench) { return oBench.oControl.SetPortOpen(false); }, 8012,
             "COM3 (<pty>) is not open"},
            {"output on a closed port", 3, false,
             [](Bench& oBench) { return oBench.oControl.Output(QByteArray("x")); }, 8018,
             "COM3 (<pty>) is not open"},
            {"buffer size while open", 3, true,
             [](Bench& oBench) { return oBench.oControl.SetInBufferSize(256); }, 8000,
             "COM3 (<pty>) is open"},
        };
        mdlRows::Add(aRows);
    }

    void failures() {
        QFETCH(FailureRow, oRow);
        if (QByteArray(QTest::currentDataTag()) == "permission denied" && ::geteuid() != 0) {
            QSKIP("only root can become another user to meet the permission");
        }
        Bench oBench;
        const QString sDevice = oBench.oTerminal.SlavePath();
        struct stat oNode {};
        ::stat(qPrintable(sDevice), &oNode);
        const QString sWords = QString::fromUtf8(oRow.sWords)
                                   .replace("<pty>", sDevice)
                                   .replace("<group>", ::getgrgid(oNode.st_gid)->gr_name);
        QVERIFY(!oRow.bOpenFirst || !oBench.Open());
        oBench.oControl.SetCommPort(oRow.iPort);
        const Failure oFailure = oRow.pProvoke(oBench);
        QCOMPARE(oFailure.lNumber, oRow.lNumber);
        QVERIFY2(oFailure.sDescription.contains(sWords), qPrintable(oFailure.sDescription));
    }

    // The other end goes away while bytes wait to be sent: one failure, the
    // port closed, and the process idle afterwards.
    void hangUpMidTransfer() {
        Bench oBench;
        QSignalSpy oFailed(&oBench.oControl, &clsSerialControl::Failed);
        QVERIFY(!oBench.Open());
        QVERIFY(!oBench.oControl.Output(QByteArray(4096, 'x')));
        oBench.oTerminal.CloseMaster();
        QTRY_COMPARE(oFailed.size(), 1);
        QCOMPARE(oFailed[0][0].toInt(), 8020);
        QVERIFY(!oBench.oControl.PortOpen());
        const double dStart = CpuSeconds();
        QTest::qWait(1000);
        const double dSpent = CpuSeconds() - dStart;
        qInfo("CPU time over one second after the hang-up: %.3f s", dSpent);
        QVERIFY(dSpent < 0.25);
        QCOMPARE(oFailed.size(), 1);
    }

    // Every byte queued before the close leaves, a text one byte a character.
    void closeLetsOutputLeave() {
        Bench oBench;
        QVERIFY(!oBench.Open());
        QString sText;
        for (int i = 0; i < 3000; ++i) {
            sText += QChar(i % 256);
        }
        QVERIFY(!oBench.oControl.Output(sText));
        QVERIFY(!oBench.oControl.SetPortOpen(false));
        QCOMPARE(oBench.oTerminal.Read(3000, 5000), sText.toLatin1());
    }
};

QTEST_GUILESS_MAIN(tst_clsSerialControl)
#include "tst_clsSerialControl.moc"
