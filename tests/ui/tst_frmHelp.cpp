#include "tests/support/mdlRows.h"
#include "ui/clsHelpWindowViewer.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

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
    {"1: no comms with the target", 1, "topic-1"},
    {"7: application file not opened", 7, "topic-7"},
    {"8: command file not opened", 8, "topic-8"},
    {"9: no command file name", 9, "topic-9"},
    {"10: no target id", 10, "topic-10"},
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

    void contentsLeadToTheirSections() {
        QVERIFY(oViewer->Show(sHelpFile, 0, clsHelpViewer::iContents));
        auto& oContents = Find<QTreeWidget>("lstContents");
        const QList<QTreeWidgetItem*> aFound =
            oContents.findItems(QStringLiteral("Serial ports on Linux"), Qt::MatchRecursive);
        QCOMPARE(aFound.size(), 1);
        QTest::mouseClick(oContents.viewport(), Qt::LeftButton, {},
                          oContents.visualItemRect(aFound.first()).center());
        QCOMPARE(AnchorOnTop(Find<QTextBrowser>("txtHelpPage")), "linux-access");
    }

    // Sections without every word leave the contents; Enter selects the
    // next place that holds one.
    void searchFindsSectionsAndPlaces() {
        QVERIFY(oViewer->Show(sHelpFile, 0, clsHelpViewer::iContents));
        auto& oSearch = Find<QLineEdit>("txtSearch");
        QTest::keyClicks(&oSearch, "DIALOUT usermod");
        auto& oContents = Find<QTreeWidget>("lstContents");
        QStringList asListed;
        for (QTreeWidgetItemIterator oItem(&oContents, QTreeWidgetItemIterator::NotHidden);
             *oItem != nullptr; ++oItem) {
            asListed << (*oItem)->text(0);
        }
        QCOMPARE(asListed, (QStringList{"Connecting the board", "Serial ports on Linux"}));
        const auto oEnter = [&] {
            QTest::keyClick(&oSearch, Qt::Key_Return);
            return Find<QTextBrowser>("txtHelpPage").textCursor();
        };
        const int iFirst = oEnter().position();
        const QTextCursor oFound = oEnter();
        QCOMPARE(oFound.selectedText(), "usermod");
        QCOMPARE(oFound.block().text().trimmed(), "sudo usermod -aG dialout $USER");
        // Past the last place, from the top again.
        int iPlace = oFound.position();
        for (int iLast = -1; iPlace > iLast && iPlace != iFirst;) {
            iLast = std::exchange(iPlace, oEnter().position());
        }
        QCOMPARE(iPlace, iFirst);
    }

    void missingFileIsNotShown() {
        QVERIFY(!oViewer->Show(sHelpFile + QStringLiteral(".missing"), 0, 7));
        QVERIFY(oViewer->Window() == nullptr);
    }

    // An error box is modal: the help its Help button opens must take
    // input while the box is still open, and stay when the box closes.
    void usableWhileAModalBoxIsOpen() {
        QMessageBox oBox(QMessageBox::Critical, QStringLiteral("FATAL ERROR"), QString());
        QString sTyped;
        QTimer::singleShot(0, this, [&] {
            QVERIFY(oViewer->Show(sHelpFile, 0, 1));
            auto& oSearch = Find<QLineEdit>("txtSearch");
            oSearch.setFocus();
            QTest::keyClick(oViewer->Window()->windowHandle(), 'x');
            sTyped = oSearch.text();
            oBox.done(0);
        });
        oBox.exec();
        QCOMPARE(sTyped, "x");
        QVERIFY(oViewer->Window() != nullptr && oViewer->Window()->isVisible());
        QVERIFY(oViewer->Close(sHelpFile, 0));
        QTRY_VERIFY(oViewer->Window() == nullptr);
    }
};

QTEST_MAIN(tst_frmHelp)
#include "tst_frmHelp.moc"
