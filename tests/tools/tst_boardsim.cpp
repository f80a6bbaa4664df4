#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

const QByteArray aAck = "S60500000009F1";
const QByteArray aResend = "S60500000002F8";

QByteArray Line(const char* sText) {
    return QByteArray(sText) + '\0';
}

const QByteArray aErase3 = Line("S6050000800377");
// Eight bytes at 0x4000 and at 0x8000.
const QByteArray aRecord4000 = Line("S10B4000000102030405060798");
const QByteArray aRecord8000 = Line("S10B80001011121314151617D8");
const QByteArray aTerminate22 = Line("S9030000FC");

// Uploads through the engine (tst_BoardDialogue) check the simulator's
// flash, answer check and faults; these rows hold what those cannot reach.
// The program under test at its plainest: the port opened, read, written
// and closed with POSIX calls.
class clsHost {
public:
    explicit clsHost(const QString& sNewPath) : sPath(sNewPath) { Reopen(); }
    ~clsHost() { ::close(lPort); }
    clsHost(const clsHost&) = delete;
    clsHost& operator=(const clsHost&) = delete;

    // As the serial link does after the target byte and before erasing,
    // closed for a moment.
    void Reopen() {
        ::close(lPort);
        QThread::msleep(20);
        lPort = ::open(QFile::encodeName(sPath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    void Write(const QByteArray& aBytes) {
        QCOMPARE(::write(lPort, aBytes.constData(), aBytes.size()), aBytes.size());
    }
    QByteArray Read(qsizetype lCount) {
        QByteArray aBytes;
        const QDeadlineTimer oDeadline(5000);
        while (aBytes.size() < lCount && !oDeadline.hasExpired()) {
            pollfd oPoll{lPort, POLLIN, 0};
            ::poll(&oPoll, 1, int(oDeadline.remainingTime()));
            char aChunk[64];
            const ssize_t lRead = ::read(lPort, aChunk, size_t(lCount - aBytes.size()));
            aBytes.append(aChunk, std::max<ssize_t>(lRead, 0));
        }
        return aBytes;
    }

private:
    QString sPath;
    int lPort = -1;
};

struct DialogueRow {
    const char* sName;
    QStringList asOptions;
    char yAnnounced;
    QByteArray aAnswer;
    QByteArrayList aLines;
    // To each line; after a line without one the host pauses before the next.
    QByteArrayList aReplies;
    const char* sSummary; // members the summary holds
};

// clang-format off
const DialogueRow aDialogues[] = {
    {"target 22: a sector, two records, terminate", {"--target", "22", "--fill", "00"}, 22,
     QByteArray("\x17\0", 2), {aErase3, aRecord4000, aRecord8000, aTerminate22},
     {aAck, aAck, aAck, ""},
     R"({"answer":[23,0],"answer_right":true,"lines":4,"erase_sectors":[3],"data_records":2,)"
     R"("resend_requests":0,"terminate_seen":true,"terminate_whole":true,"bad_lines":[]})"},
    {"target 21: bare terminate record, line quiet", {"--target", "21"}, 21,
     QByteArray("\x15\0", 2), {"S70500001F4794", aErase3}, {"", aAck},
     R"({"lines":2,"terminate_seen":true,"terminate_whole":true,"bad_lines":[]})"},
    {"terminate record without its 0x00", {"--target", "22"}, 22, QByteArray("\x17\0", 2),
     {"S9030000FC"}, {""}, R"({"terminate_seen":true,"terminate_whole":false,"bad_lines":[]})"},
    {"bare terminate record cut short", {"--target", "21"}, 21, QByteArray("\x15\0", 2),
     {"S70500001F47"}, {""}, R"({"terminate_seen":true,"terminate_whole":false,"bad_lines":[]})"},
    {"checksum error: a resend asked for", {"--target", "22"}, 22, QByteArray("\x17\0", 2),
     {Line("S10B4000000102030405060799")}, {aResend},
     R"({"resend_requests":1,"data_records":0,"bad_lines":[{"line":1,)"
     R"("text":"S10B4000000102030405060799","why":"Data checksum does not match record checksum"}]})"},
    {"record of another shape than the target's: a resend asked for", {"--target", "22"}, 22,
     QByteArray("\x17\0", 2), {Line("S3060000400001B8")}, {aResend},
     R"({"resend_requests":1,"data_records":0,"bad_lines":[{"line":1,"text":"S3060000400001B8",)"
     R"("why":"not of the shape the target takes"}]})"},
    {"resend fault: asked once, then acknowledged; the line keeps its number",
     {"--target", "22", "--fault", "2:resend", "--fault", "3:garbage"}, 22,
     QByteArray("\x17\0", 2), {aErase3, aRecord4000, aRecord4000, aRecord8000},
     {aAck, aResend, aAck, "S6050000000AF0"}, R"({"lines":4,"resend_requests":1,"data_records":2})"},
    {"wrong answer byte reported", {"--target", "22"}, 22, QByteArray("\x16\0", 2), {}, {},
     R"({"answer":[22,0],"answer_right":false,"ended":"linger"})"},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(DialogueRow)

class tst_boardsim : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;

    // Plays the row's side of the dialogue with the simulator and returns
    // its summary.
    QJsonObject Converse(const DialogueRow& oRow) {
        const QString sLink = oDir.filePath("board");
        QProcess oBoard;
        if (!mdlBoardSim::Start(oBoard, sLink,
                                oRow.asOptions + QStringList{"--delay", "0", "--summary",
                                                             oDir.filePath("summary"), "--flash",
                                                             oDir.filePath("flash")})) {
            return {};
        }
        {
            clsHost oHost(sLink);
            [&] { QCOMPARE(oHost.Read(1), QByteArray(1, oRow.yAnnounced)); }();
            oHost.Reopen();
            oHost.Write(oRow.aAnswer);
            oHost.Reopen();
            for (qsizetype i = 0; i < oRow.aLines.size(); ++i) {
                oHost.Write(oRow.aLines[i]);
                [&] { QCOMPARE(oHost.Read(oRow.aReplies[i].size()), oRow.aReplies[i]); }();
                if (oRow.aReplies[i].isEmpty() && i + 1 < oRow.aLines.size()) {
                    QThread::msleep(300);
                }
            }
        }
        if (!oBoard.waitForFinished(10'000) || oBoard.exitCode() != 0 ||
            QFileInfo(sLink).isSymLink()) {
            oBoard.kill();
            return {};
        }
        return mdlBoardSim::Lines(oDir.filePath("summary")).value(0);
    }

private slots:
    void dialogue_data() { mdlRows::Add(aDialogues); }

    void dialogue() {
        QFETCH(DialogueRow, oRow);
        const QJsonObject oSummary = Converse(oRow);
        QVERIFY2(!oSummary.isEmpty(), "the board did not end as it should");
        const QJsonObject oExpected = QJsonDocument::fromJson(oRow.sSummary).object();
        for (auto oMember = oExpected.begin(); oMember != oExpected.end(); ++oMember) {
            QVERIFY2(oSummary.value(oMember.key()) == oMember.value(), qPrintable(oMember.key()));
        }
        QCOMPARE(oSummary.value("flash_sha256").toString(),
                 mdlTestFiles::Sha256(mdlTestFiles::Read(oDir.filePath("flash"))));
    }
};

QTEST_GUILESS_MAIN(tst_boardsim)
#include "tst_boardsim.moc"
