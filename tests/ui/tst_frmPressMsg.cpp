#include "resources/mdlResources.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmPressMsg.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace {

struct CloseRow {
    const char* sName;
    void (*Close)(QDialog& oWindow);
};

const CloseRow aCloses[] = {
    {"closed", [](QDialog& oWindow) { oWindow.close(); }},
    {"Esc", [](QDialog& oWindow) { QTest::keyClick(&oWindow, Qt::Key_Escape); }},
};

} // namespace

class tst_frmPressMsg : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QPointer<frmPressMsg> oPrompt;

    void Show() {
        oPrompt = new frmPressMsg;
        oPrompt->show();
    }

    void Tick() {
        QMetaObject::invokeMethod(oPrompt->findChild<QTimer*>(QStringLiteral("tmrPlug")),
                                  "timeout");
    }

    bool Shows(const char* sIconName) const {
        const auto* picPress = oPrompt->findChild<QLabel*>(QStringLiteral("picPress"));
        const QIcon oIcon(mdlResources::IconPath(QLatin1String(sIconName)));
        return !picPress->pixmap().isNull() &&
               picPress->pixmap().toImage() ==
                   oIcon.pixmap(picPress->size(), picPress->devicePixelRatioF()).toImage();
    }

private slots:
    void init() { Show(); }
    void cleanup() { delete oPrompt; }

    // The plug is pulled out and put back each second until the prompt is
    // closed; a closed prompt is gone and the next one starts afresh.
    void plugSwapsEachSecondUntilClosed_data() { mdlRows::Add(aCloses); }

    void plugSwapsEachSecondUntilClosed() {
        QFETCH(CloseRow, oRow);
        const auto* tmrPlug = oPrompt->findChild<QTimer*>(QStringLiteral("tmrPlug"));
        QVERIFY(tmrPlug->isActive() && tmrPlug->interval() == 1000);
        QVERIFY(Shows("PLUGIN_ICON"));
        Tick();
        QVERIFY(Shows("PLUGOUT_ICON"));
        Tick();
        QVERIFY(Shows("PLUGIN_ICON"));
        Tick();
        oRow.Close(*oPrompt);
        QTRY_VERIFY(oPrompt.isNull());
        Show();
        QVERIFY(Shows("PLUGIN_ICON"));
    }
};

QTEST_MAIN(tst_frmPressMsg)
#include "tst_frmPressMsg.moc"
