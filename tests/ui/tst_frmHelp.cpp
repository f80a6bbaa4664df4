#include "tests/support/mdlRows.h"
#include "ui/clsHelpWindowViewer.h"

#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

namespace {

const QString sHelpFile = QStringLiteral(TESSIVAR_HELP_FILE);

struct TopicRow {
    const char* sName;
    int iTopic;
    QString sAnchor; // at the top of the page shown
};

// clang-format off
const TopicRow aTopics[] = {
    {"0: application file corrupt", 0, "topic-0"},
    {"contents", clsHelpViewer::iContents, "top"},
};
// clang-format on

// The anchor of the heading at the top of the page as shown; empty for none.
QString AnchorOnTop(const QTextBrowser& oPage) {
    const QTextBlock oTop = oPage.cursorForPosition(QPoint(4, 4)).block();
    const QStringList asNames = oTop.charFormat().anchorNames();
    return asNames.isEmpty() ? QString() : asNames.first();
}

} // namespace

class tst_frmHelp : public QObject {
    Q_OBJECT

    clsHelpWindowViewer* oViewer = nullptr;

    template <typename Control> Control& Find(const char* sName) {
        return *oViewer->Window()->findChild<Control*>(QString::fromLatin1(sName));
    }

private slots:
    void init() { oViewer = new clsHelpWindowViewer; }
    void cleanup() { delete oViewer; }

    void topic_data() { mdlRows::Add(aTopics); }

    // Each topic of the error boxes opens its own section, also in a help
    // window that already shows another.
    void topic() {
        QFETCH(TopicRow, oRow);
        QVERIFY(oViewer->Show(sHelpFile, 0, oRow.iTopic == 0 ? 7 : 0));
        QVERIFY(oViewer->Show(sHelpFile, 0, oRow.iTopic));
        QVERIFY(QTest::qWaitForWindowExposed(oViewer->Window()));
        QCOMPARE(AnchorOnTop(Find<QTextBrowser>("txtHelpPage")), oRow.sAnchor);
    }

    void missingFileIsNotShown() {
        QVERIFY(!oViewer->Show(sHelpFile + QStringLiteral(".missing"), 0, 7));
        QVERIFY(oViewer->Window() == nullptr);
    }
};

QTEST_MAIN(tst_frmHelp)
#include "tst_frmHelp.moc"
