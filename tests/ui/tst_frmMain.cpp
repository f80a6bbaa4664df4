#include "frmMain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

// Counts the paint events of one widget.
class clsPaintCounter : public QObject {
public:
    int iPaints = 0;

protected:
    bool eventFilter(QObject* oWatched, QEvent* oEvent) override {
        if (oEvent->type() == QEvent::Paint) {
            ++iPaints;
        }
        return QObject::eventFilter(oWatched, oEvent);
    }
};

QPlainTextEdit& StatusBox(frmMain& oWindow) {
    return *oWindow.findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"));
}

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

private slots:
    void windowCarriesTitleIconAndReadOnlyLog() {
        frmMain oWindow;
        QCOMPARE(oWindow.windowTitle(), QStringLiteral("Tessivar"));
        QVERIFY(!oWindow.windowIcon().isNull());
        QVERIFY(!oWindow.windowIcon().pixmap(32, 32).isNull());
        QVERIFY(StatusBox(oWindow).isReadOnly());
        QCOMPARE(StatusBox(oWindow).verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void boxShowsTheLogText() {
        frmMain oWindow;
        oWindow.Status(QStringLiteral("Erasing sectors"));
        oWindow.ShowWaitDots();
        oWindow.ShowWaitDots();
        oWindow.Status(QString());
        oWindow.ShowWaitDots();
        QCOMPARE(oWindow.StatusText(), QStringLiteral("Erasing sectors . .\r\n ."));
        QCOMPARE(StatusBox(oWindow).toPlainText(), QStringLiteral("Erasing sectors . .\n ."));
        oWindow.ClearStatus();
        QCOMPARE(oWindow.StatusText(), QString());
        QCOMPARE(StatusBox(oWindow).toPlainText(), QString());
        oWindow.Status(QStringLiteral("Target ID: 22"));
        QCOMPARE(StatusBox(oWindow).toPlainText(), QStringLiteral("Target ID: 22"));
    }

    void writingTheLogRunsNoPendingEvents() {
        frmMain oWindow;
        oWindow.show();
        bool bTimerRan = false;
        QTimer::singleShot(0, this, [&] { bTimerRan = true; });
        QPointer<QObject> oDoomed = new QObject;
        oDoomed->deleteLater();
        oWindow.Status(QStringLiteral("Reading 'S' records"));
        oWindow.ShowWaitDots();
        QVERIFY(!bTimerRan);
        QVERIFY(!oDoomed.isNull());
        QTRY_VERIFY(bTimerRan);
    }

    void textIsPaintedAtOnceButRepaintsAreThrottled() {
        frmMain oWindow;
        oWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&oWindow));
        QCoreApplication::processEvents();
        clsPaintCounter oCounter;
        StatusBox(oWindow).viewport()->installEventFilter(&oCounter);
        oWindow.Status(QStringLiteral("Flash image created"));
        QCOMPARE(oCounter.iPaints, 1);
        for (int i = 0; i < 2000; ++i) {
            oWindow.ShowWaitDots();
        }
        QVERIFY2(oCounter.iPaints < 200, qPrintable(QString::number(oCounter.iPaints)));
    }

    void writingDoesNotScrollTheBox() {
        frmMain oWindow;
        oWindow.resize(300, 120);
        oWindow.show();
        for (int i = 0; i < 50; ++i) {
            oWindow.Status(QStringLiteral("line %1").arg(i));
        }
        QPlainTextEdit& oBox = StatusBox(oWindow);
        QCoreApplication::processEvents();
        QCOMPARE(oBox.verticalScrollBar()->value(), 0);
    }

    void mousePointer() {
        frmMain oWindow;
        oWindow.SetMousePointer(clsEngineHost::vbHourglass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        oWindow.SetMousePointer(clsEngineHost::vbArrowHourglass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
        oWindow.SetMousePointer(clsEngineHost::vbDefault);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
