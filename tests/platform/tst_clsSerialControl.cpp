#include "platform/clsSerialControl.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <dlfcn.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace {
// Set, the next flush of the input fails as on a device that went away.
bool bInputFlushFails = false;
} // namespace

// The device can go away between any two calls of an open; a pty's master
// cannot be closed at such a moment, so the failure is played here.
extern "C" int tcflush(int lFile, int lQueue) noexcept {
    using Flush = int (*)(int, int);
    static const auto pFlush = reinterpret_cast<Flush>(::dlsym(RTLD_NEXT, "tcflush"));
    if (lQueue == TCIFLUSH && std::exchange(bInputFlushFails, false)) {
        errno = EIO;
        return -1;
    }
    return pFlush(lFile, lQueue);
}

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
    QString sPort3 = oTerminal.SlavePath();
    clsSerialControl oControl{[this](qint16 iPort) {
        return iPort == 3   ? sPort3
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

QString Text(const Failure& oFailure) {
    return QStringLiteral("%1 %2").arg(oFailure.lNumber).arg(oFailure.sDescription);
}

// COM3 opened where the device node is unreadable, by a copy of the test
// that is nobody (root ignores permissions).
QString OpenAsNobody(Bench& oBench) {
    return ::chmod(qPrintable(oBench.oTerminal.SlavePath()), 0) == 0
               ? mdlForked::RunAsNobody([&] { return Text(oBench.Open()); })
               : QStringLiteral("cannot make the device unreadable");
}

// COM3 opened while a port the control does not know holds it, as another
// program would.
QString OpenHeld(Bench& oBench) {
    QSerialPort oOther(oBench.oTerminal.SlavePath());
    return oOther.open(QIODevice::ReadWrite) ? Text(oBench.Open()) : QStringLiteral("not held");
}

// COM3 opened while another copy of the program holds it by another name,
// which Qt's lock file does not know, and root passes the exclusive mode.
QString OpenHeldByLink(Bench& oBench) {
    const QTemporaryDir oDir;
    const QString sLink = oDir.filePath("port");
    QFile::link(oBench.oTerminal.SlavePath(), sLink);
    QSerialPort oOther(sLink);
    const bool bHeld =
        oOther.open(QIODevice::ReadWrite) && ::flock(int(oOther.handle()), LOCK_EX) == 0;
    return bHeld ? Text(oBench.Open()) : QStringLiteral("not held");
}

struct SettingsRow {
    const char* sName;
    const char* sSettings;
    qint32 lNumber;
    // the setting the open names
    const char* sRefused;
};

struct ArrivalRow {
    const char* sName;
    eMode iMode;
    // each written on its own
    QByteArrayList aPieces;
    // one per receive event
    QByteArrayList aReads;
};

struct FailureRow {
    const char* sName;
    qint16 iPort;
    bool bOpenFirst;
    QString (*pProvoke)(Bench& oBench);
    // the number, then words; "<pty>" stands for the pty's device, "<group>"
    // for the group owning it
    const char* sWords;
};

} // namespace

class tst_clsSerialControl : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:

    void settingsReachTheLine_data() {
        const SettingsRow aRows[] = {
            {"19200 baud, two stop bits", "19200,n,8,2", 0, ""},
            {"1,5 stop bits (none on Linux)", "57600,N,8,1,5", 8015, "1.5 stop bits"},
            {"parity a pty drops", "57600,E,8,1", 8015, "parity E"},
            {"7 data bits a pty drops", "9600,N,7,1", 8015, "7 data bits"},
            {"unknown parity", "57600,X,8,1", 380, "Invalid property value"},
            {"9 data bits", "57600,N,9,1", 380, "Invalid property value"},
            {"3 stop bits", "57600,N,8,3", 380, "Invalid property value"},
            {"stop bits missing", "57600,N,8", 380, "Invalid property value"},
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
        QVERIFY(oRow.lNumber != 0 ||
                (::cfgetospeed(&oLine) == B19200 && (oLine.c_cflag & CSTOPB) != 0));
    }

    void oneEventPerByteOrReply_data() {
        QByteArrayList aByteByByte;
        for (char yByte : aReply) {
            aByteByByte << QByteArray(1, yByte);
        }
        const QByteArrayList aBytes = {"\x13", QByteArray(1, '\0'), "\x11", "\xE9"};
        const ArrivalRow aRows[] = {
            {"bytes: XON, NUL, XOFF, 0xE9", ByteMode, aBytes, aBytes},
            {"reply byte by byte", TextMode, aByteByByte, {aReply}},
            {"two replies in one write", TextMode, {aReply + aReply}, {aReply, aReply}},
        };
        mdlRows::Add(aRows);
    }

    void oneEventPerByteOrReply() {
        QFETCH(ArrivalRow, oRow);
        Bench oBench;
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

    // As the text-mode switch does: every byte queued before the close
    // leaves, a text one byte a character; no byte that came before the
    // reopen is an event after it, the reply after it is one, and the line
    // is not hung up.
    void reopenStartsAFreshSession() {
        Bench oBench;
        QVERIFY(!oBench.Open(ByteMode));
        QVERIFY(oBench.oTerminal.Write("Z"));
        QThread::msleep(20);
        QString sText;
        for (int i = 0; i < 3000; ++i) {
            sText += QChar(i % 256);
        }
        // the close reads the stray byte while it lets the output leave
        QVERIFY(!oBench.oControl.Output(sText));
        QVERIFY(!oBench.oControl.SetPortOpen(false));
        QCOMPARE(oBench.oTerminal.Read(3000, 5000), sText.toLatin1());
        QVERIFY((oBench.oTerminal.Settings().c_cflag & HUPCL) == 0);
        QVERIFY(oBench.oTerminal.Write("stale"));
        QThread::msleep(20);
        QVERIFY(!oBench.Open(TextMode));
        QVERIFY(oBench.oTerminal.Write(aReply));
        QTRY_COMPARE(oBench.avReads, QVariantList{AsRead(TextMode, aReply)});
        QTest::qWait(50);
        QCOMPARE(oBench.avReads.size(), 1);
    }

    // An upload reopens its port: a binding changed in between waits for
    // the next upload, which sets the port again.
    void reopenKeepsItsDevice() {
        Bench oBench;
        QVERIFY(!oBench.Open() && !oBench.oControl.SetPortOpen(false));
        oBench.sPort3 = QStringLiteral("/dev/tessivar-absent");
        QVERIFY(!oBench.Open() && !oBench.oControl.SetPortOpen(false));
        QVERIFY(!oBench.oControl.SetCommPort(3));
        QCOMPARE(oBench.Open().lNumber, clsSerialControl::PortInvalid);
    }

    // Held, the event waits for the release; then a handler that reads
    // nothing is called again only when more arrives.
    void heldEventComesOnRelease() {
        Bench oBench;
        QObject::disconnect(&oBench.oControl, &clsSerialControl::OnComm, nullptr, nullptr);
        QSignalSpy oEvents(&oBench.oControl, &clsSerialControl::OnComm);
        QVERIFY(!oBench.Open(TextMode));
        oBench.oControl.SetEventsHeld(true);
        QVERIFY(oBench.oTerminal.Write(aReply));
        QTest::qWait(100);
        QCOMPARE(oEvents.size(), 0);
        oBench.oControl.SetEventsHeld(false);
        QTRY_COMPARE(oEvents.size(), 1);
        QTest::qWait(50);
        QCOMPARE(oEvents.size(), 1);
    }

    void failures_data() {
        const auto pOpen = [](Bench& oBench) { return Text(oBench.Open()); };
        const FailureRow aRows[] = {
            {"port bound to no device", 9, false, pOpen, "8002 COM9 is bound to no device"},
            {"device does not exist", 4, false, pOpen,
             "8002 COM4 (/dev/tessivar-absent): the device does not exist"},
            {"opened by a second control", 3, true,
             [](Bench& oBench) {
                 clsSerialControl oOther(
                     [&oBench](qint16) { return oBench.oTerminal.SlavePath(); });
                 return Text(oOther.SetPortOpen(true));
             },
             "8005 COM1 (<pty>) is already open"},
            {"permission denied", 3, false, OpenAsNobody,
             "8010 COM3 (<pty>): permission denied. Make the user a member of the group "
             "\"<group>\""},
            {"in use by another program", 3, false, OpenHeld, "8010 COM3 (<pty>) is in use"},
            {"in use under another name", 3, false, OpenHeldByLink, "8010 COM3 (<pty>) is in use"},
            {"closing a closed port", 3, false,
             [](Bench& oBench) { return Text(oBench.oControl.SetPortOpen(false)); },
             "8012 COM3 (<pty>) is not open"},
            {"output on a closed port", 3, false,
             [](Bench& oBench) { return Text(oBench.oControl.Output(QByteArray("x"))); },
             "8018 COM3 (<pty>) is not open"},
            {"other end gone before the output left", 3, true,
             [](Bench& oBench) {
                 oBench.oControl.Output(QByteArray("S9030000FC\r\n"));
                 oBench.oTerminal.CloseMaster();
                 return Text(oBench.oControl.Flush());
             },
             "8020 COM3 (<pty>): reading or writing failed, and the port was closed"},
            {"other end gone before the next record", 3, true,
             [](Bench& oBench) {
                 oBench.oTerminal.CloseMaster();
                 oBench.oControl.SetOutBufferCount(0);
                 return Text(oBench.oControl.Output(QByteArray("S9030000FC\r\n")));
             },
             "8020 COM3 (<pty>): reading or writing failed, and the port was closed"},
            {"device gone while the port opens", 3, false,
             [](Bench& oBench) {
                 bInputFlushFails = true;
                 return Text(oBench.Open());
             },
             "8020 COM3 (<pty>): reading or writing failed, and the port was closed"},
            {"buffer size while open", 3, true,
             [](Bench& oBench) { return Text(oBench.oControl.SetInBufferSize(256)); },
             "8000 COM3 (<pty>) is open"},
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
        const QString sFailure = oRow.pProvoke(oBench);
        QVERIFY2(sFailure.startsWith(sWords), qPrintable(sFailure));
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
        const std::clock_t lStart = std::clock();
        QTest::qWait(1000);
        const double dSpent = double(std::clock() - lStart) / CLOCKS_PER_SEC;
        qInfo("CPU time over one second after the hang-up: %.3f s", dSpent);
        QVERIFY(dSpent < 0.25);
        QCOMPARE(oFailed.size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_clsSerialControl)
#include "tst_clsSerialControl.moc"
