#include "ui/frmMain.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

class clsPaintCounter : public QObject {
public:
    int iPaints = 0;

protected:
    bool eventFilter(QObject* oWatched, QEvent* oEvent) override {
        iPaints += oEvent->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(oWatched, oEvent);
    }
};

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

    frmMain* oWindow = nullptr;
    QPlainTextEdit* oBox = nullptr;

private slots:
    void init() {
        oWindow = new frmMain;
        oWindow->resize(300, 120);
        oWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(oWindow));
        oBox = oWindow->findChild<QPlainTextEdit*>(QStringLiteral("txtStatus"));
    }

    void cleanup() { delete oWindow; }

    // An event run inside a status write could tear down what the writer
    // still uses, so none may run; the text must be on screen all the same,
    // without a repaint per dot and without scrolling.
    void writingPaintsAtOnceButRunsNoEvents() {
        bool bTimerRan = false;
        QTimer::singleShot(0, this, [&] { bTimerRan = true; });
        QPointer<QObject> oDoomed = new QObject;
        oDoomed->deleteLater();
        clsPaintCounter oCounter;
        oBox->viewport()->installEventFilter(&oCounter);
        oWindow->Status(QStringLiteral("Reading 'S' records"));
        QCOMPARE(oCounter.iPaints, 1);
        for (int i = 0; i < 2000; ++i) {
            oWindow->ShowWaitDots();
            oWindow->Status(QString::number(i));
        }
        QVERIFY2(oCounter.iPaints < 200, qPrintable(QString::number(oCounter.iPaints)));
        QVERIFY(!bTimerRan && !oDoomed.isNull());
        QTRY_VERIFY(bTimerRan);
        QCOMPARE(oBox->verticalScrollBar()->value(), 0);
    }

    void mousePointer() {
        oWindow->SetMousePointer(clsEngineHost::vbHourglass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        oWindow->SetMousePointer(clsEngineHost::vbArrowHourglass);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
        oWindow->SetMousePointer(clsEngineHost::vbDefault);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
