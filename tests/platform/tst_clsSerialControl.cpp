#include "platform/clsSerialControl.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"

#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

// 14 characters, the last but one above 0x7F
const QByteArray aReply = "A1B2C3D4E5F6\xE9\r";

QVariant AsRead(bool bText, const QByteArray& aBytes) {
    return bText ? QVariant(QString::fromLatin1(aBytes)) : QVariant(aBytes);
}

QString Text(const clsSerialControl::Failure& oFailure) {
    return QStringLiteral("%1 %2").arg(oFailure.lNumber).arg(oFailure.sDescription);
}

// Whether another copy of the program could claim sDevice now.
bool ClaimedElsewhere(const QString& sDevice) {
    const int lClaim = mdlSerialLine::Claim(sDevice);
    mdlSerialLine::Unclaim(lClaim);
    return lClaim == mdlSerialLine::lTakenElsewhere;
}

// Counts the wake-ups of descriptors watched by the loop while it lives.
struct SocketWakeUps : QObject {
    int iCount = 0;
    SocketWakeUps() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* pEvent) override {
        iCount += pEvent->type() == QEvent::SockAct;
        return false;
    }
};

// A control whose COM3 is a pty, recording what each receive event read.
struct Bench {
    clsPseudoTerminal oTerminal;
    QString sPort3 = oTerminal.SlavePath();
    clsSerialControl oControl{[this](qint16 iPort) {
        return QStringList{{}, {}, {}, sPort3}.value(iPort);
    }};
    QVariantList avReads;

    Bench() {
        oControl.SetCommPort(3);
        QObject::connect(&oControl, &clsSerialControl::OnComm,
                         [this] { avReads << oControl.Input(); });
    }
    // As the serial link opens for the target byte and for the replies.
    clsSerialControl::Failure Open(bool bText = false) {
        oControl.SetInputMode(bText ? clsSerialControl::comInputModeText
                                    : clsSerialControl::comInputModeBinary);
        oControl.SetRThreshold(bText ? 14 : 1);
        oControl.SetInputLen(bText ? 14 : 0);
        return oControl.SetPortOpen(true);
    }
};

// sSettings taken, then the port opened.
QString Opened(Bench& oBench, const char* sSettings) {
    const clsSerialControl::Failure oRefused = oBench.oControl.SetSettings(sSettings);
    return Text(oRefused) + (oRefused ? QString() : Text(oBench.Open()));
}

// COM3 opened where the device node is unreadable, by a copy of the test
// that is nobody (root ignores permissions).
QString OpenAsNobody(Bench& oBench) {
    return ::chmod(qPrintable(oBench.oTerminal.SlavePath()), 0) == 0
               ? mdlForked::RunAsNobody([&] { return Text(oBench.Open()); })
               : QStringLiteral("cannot make the device unreadable");
}

// COM3 opened while another program holds it: by its own name, or by
// another that Qt's lock file does not know, as another copy of this
// program would (root passes the exclusive mode).
QString OpenHeld(Bench& oBench, bool bByLink) {
    const QTemporaryDir oDir;
    const QString sLink = oDir.filePath("port");
    QFile::link(oBench.oTerminal.SlavePath(), sLink);
    QSerialPort oOther(bByLink ? sLink : oBench.oTerminal.SlavePath());
    const bool bHeld = oOther.open(QIODevice::ReadWrite) &&
                       (!bByLink || ::flock(int(oOther.handle()), LOCK_EX) == 0);
    return bHeld ? Text(oBench.Open()) : QStringLiteral("not held");
}

struct ArrivalRow {
    const char* sName;
    bool bText;
    QByteArrayList aPieces; // each written on its own
    QByteArrayList aReads;  // one per receive event
};

struct FailureRow {
    const char* sName;
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
    void oneEventPerByteOrReply_data() {
        QByteArrayList aByteByByte;
        for (char yByte : aReply) {
            aByteByByte << QByteArray(1, yByte);
        }
        const QByteArrayList aBytes = {"\x13", QByteArray(1, '\0'), "\x11", "\xE9"};
        const ArrivalRow aRows[] = {
            {"bytes: XON, NUL, XOFF, 0xE9", false, aBytes, aBytes},
            {"reply byte by byte", true, aByteByByte, {aReply}},
            {"two replies in one write", true, {aReply + aReply}, {aReply, aReply}},
        };
        mdlRows::Add(aRows);
    }

    // A byte goes after the event of the one before; no event comes twice.
    void oneEventPerByteOrReply() {
        QFETCH(ArrivalRow, oRow);
        Bench oBench;
        QVERIFY(!oBench.Open(oRow.bText));
        QVariantList avExpected;
        for (const QByteArray& aPiece : oRow.aPieces) {
            const qsizetype lEvents = oBench.avReads.size();
            QVERIFY(oBench.oTerminal.Write(aPiece));
            QTest::qWait(oRow.bText ? 20 : 0);
            QTRY_VERIFY(oRow.bText || oBench.avReads.size() == lEvents + 1);
        }
        for (const QByteArray& aRead : oRow.aReads) {
            avExpected << AsRead(oRow.bText, aRead);
        }
        QTRY_COMPARE(oBench.avReads, avExpected);
        QTest::qWait(50);
        QCOMPARE(oBench.avReads, avExpected);
    }

    // As the text-mode switch does: every byte queued before the close
    // leaves, a text one byte a character; no byte that came before the
    // reopen, or before the input was emptied, is an event after it; the
    // line is neither hung up nor set back to its earlier rate, and no other
    // copy takes the device in between.
    void reopenStartsAFreshSession() {
        Bench oBench;
        QVERIFY(!oBench.oControl.SetSettings("19200,n,8,2") && !oBench.Open());
        const termios oLine = oBench.oTerminal.Settings();
        QVERIFY(::cfgetospeed(&oLine) == B19200 && (oLine.c_cflag & CSTOPB) != 0);
        QVERIFY(oBench.oTerminal.Write("Z"));
        QThread::msleep(20);
        const QString sText = QString::fromLatin1("S1\0\xE9\xFF", 5);
        // the close reads the stray byte while it lets the output leave
        QVERIFY(!oBench.oControl.Output(sText) && !oBench.oControl.SetPortOpen(false));
        QCOMPARE(oBench.oTerminal.Read(5, 5000), QByteArray("S1\0\xE9\xFF", 5));
        // The UART may still hold the last bytes: the rate stays as it was.
        const termios oClosed = oBench.oTerminal.Settings();
        QVERIFY((oClosed.c_cflag & HUPCL) == 0 && (oClosed.c_cflag & CSTOPB) != 0 &&
                ::cfgetospeed(&oClosed) == B19200);
        QVERIFY(ClaimedElsewhere(oBench.oTerminal.SlavePath()));
        QVERIFY(oBench.oTerminal.Write("stale"));
        QThread::msleep(20);
        QVERIFY(!oBench.Open(true) && oBench.oTerminal.Write("late"));
        QThread::msleep(20);
        oBench.oControl.SetInBufferCount(0);
        QVERIFY(oBench.oTerminal.Write(aReply));
        QTRY_COMPARE(oBench.avReads, QVariantList{AsRead(true, aReply)});
        QVERIFY(!oBench.oControl.SetPortOpen(false));
        QTRY_VERIFY(!ClaimedElsewhere(oBench.oTerminal.SlavePath()));
    }

    void failures_data() {
        const FailureRow aRows[] = {
            {"port bound to no device",
             [](Bench& o) { return o.oControl.SetCommPort(9), Text(o.Open()); },
             "8002 COM9 is bound to no device"},
            {"COM3 standing for COM3, named once",
             [](Bench& o) { return o.sPort3 = QStringLiteral("COM3"), Text(o.Open()); },
             "8002 COM3: the device does not exist"},
            // An upload reopens its port: a binding changed in between waits
            // for the next upload, which sets the port again.
            {"binding changed between two opens, then the missing device named",
             [](Bench& o) {
                 const QStringList asFirst = {Text(o.Open()), Text(o.oControl.SetPortOpen(false))};
                 o.sPort3 = QStringLiteral("/dev/tessivar-absent");
                 return (asFirst + QStringList{Text(o.Open()), Text(o.oControl.SetPortOpen(false)),
                                               Text(o.oControl.SetCommPort(3)), Text(o.Open())})
                     .join(QString());
             },
             "0 0 0 0 0 8002 COM3 (/dev/tessivar-absent): the device does not exist"},
            {"1,5 stop bits (none on Linux)", [](Bench& o) { return Opened(o, "57600,N,8,1,5"); },
             "0 8015 COM3 (<pty>) refused the line setting 1.5 stop bits"},
            {"parity a pty drops", [](Bench& o) { return Opened(o, "57600,E,8,1"); },
             "0 8015 COM3 (<pty>) refused the line setting parity E"},
            {"7 data bits a pty drops", [](Bench& o) { return Opened(o, "9600,N,7,1"); },
             "0 8015 COM3 (<pty>) refused the line setting 7 data bits"},
            {"opened by a second control",
             [](Bench& o) {
                 clsSerialControl oOther([&o](qint16) { return o.oTerminal.SlavePath(); });
                 return QStringList{Text(o.Open()), Text(oOther.SetPortOpen(true)),
                                    Text(o.oControl.SetPortOpen(false))}
                     .join(QString());
             },
             "0 8005 COM1 (<pty>) is already open"},
            {"permission denied", OpenAsNobody,
             "8010 COM3 (<pty>): permission denied. Make the user a member of the group "
             "\"<group>\""},
            {"in use by another program", [](Bench& o) { return OpenHeld(o, false); },
             "8010 COM3 (<pty>) is in use"},
            {"in use under another name", [](Bench& o) { return OpenHeld(o, true); },
             "8010 COM3 (<pty>) is in use"},
            {"device gone while the port opens",
             [](Bench& o) {
                 bInputFlushFails = true;
                 return Text(o.Open());
             },
             "8020 COM3 (<pty>): reading or writing failed, and the port was closed"},
            {"stop bits missing", [](Bench& o) { return Opened(o, "57600,N,8"); },
             "380 Invalid property value"},
        };
        mdlRows::Add(aRows);
    }

    // Each leaves the port closed.
    void failures() {
        QFETCH(FailureRow, oRow);
        if (QByteArray(QTest::currentDataTag()) == "permission denied" && ::geteuid() != 0) {
            QSKIP("only root can become another user to meet the permission");
        }
        QTest::failOnWarning(QRegularExpression("not open"));
        Bench oBench;
        const QString sDevice = oBench.oTerminal.SlavePath();
        struct stat oNode {};
        ::stat(qPrintable(sDevice), &oNode);
        const QString sWords = QString::fromUtf8(oRow.sWords)
                                   .replace("<pty>", sDevice)
                                   .replace("<group>", ::getgrgid(oNode.st_gid)->gr_name);
        const QString sFailure = oRow.pProvoke(oBench);
        QVERIFY2(sFailure.startsWith(sWords), qPrintable(sFailure));
        QVERIFY(!oBench.oControl.PortOpen());
    }

    // Held, as while the overwrite question is open, the event waits for
    // the release; then a handler that reads nothing is called again only
    // when more arrives.
    void heldEventComesOnRelease() {
        Bench oBench;
        QObject::disconnect(&oBench.oControl, &clsSerialControl::OnComm, nullptr, nullptr);
        QSignalSpy oEvents(&oBench.oControl, &clsSerialControl::OnComm);
        QVERIFY(!oBench.Open(true));
        oBench.oControl.SetEventsHeld(true);
        QVERIFY(oBench.oTerminal.Write(aReply));
        QTest::qWait(100);
        QCOMPARE(oEvents.size(), 0);
        oBench.oControl.SetEventsHeld(false);
        QTRY_COMPARE(oEvents.size(), 1);
        QTest::qWait(50);
        QCOMPARE(oEvents.size(), 1);
    }

    // The other end goes away while bytes wait to be sent: one failure, and
    // the port closed.
    void hangUpMidTransfer() {
        Bench oBench;
        QSignalSpy oFailed(&oBench.oControl, &clsSerialControl::Failed);
        QVERIFY(!oBench.Open());
        QVERIFY(!oBench.oControl.Output(QByteArray(4096, 'x')));
        oBench.oTerminal.CloseMaster();
        QCOMPARE(oBench.oControl.Flush().lNumber, clsSerialControl::ReadError);
        QTRY_COMPARE(oFailed.size(), 1);
        QCOMPARE(oFailed[0][0].toInt(), 8020);
        QVERIFY(!oBench.oControl.PortOpen());
        // what is sent next fails as the line did
        QCOMPARE(oBench.oControl.Output(QByteArray("x")).lNumber, clsSerialControl::ReadError);
        // A notifier left on the dead line would wake the loop without end.
        SocketWakeUps oWakeUps;
        QTest::qWait(300);
        QCOMPARE(oWakeUps.iCount, 0);
        QCOMPARE(oFailed.size(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_clsSerialControl)
#include "tst_clsSerialControl.moc"
