#include "resources/mdlResources.h"
#include "tests/support/clsPrivateHome.h"
#include "ui/frmPressMsg.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

class tst_frmPressMsg : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    // The plug is pulled out and put back at each tick of its timer.
    void plugSwapsAtEachTick() {
        frmPressMsg oPrompt;
        oPrompt.show();
        auto* tmrPlug = oPrompt.findChild<QTimer*>("tmrPlug");
        QVERIFY(tmrPlug->isActive());
        const auto* picPress = oPrompt.findChild<QLabel*>("picPress");
        for (const char* sIconName : {"PLUGIN_ICON", "PLUGOUT_ICON", "PLUGIN_ICON"}) {
            const QIcon oIcon(mdlResources::IconPath(sIconName));
            QCOMPARE(picPress->pixmap().toImage(),
                     oIcon.pixmap(picPress->size(), picPress->devicePixelRatioF()).toImage());
            QMetaObject::invokeMethod(tmrPlug, "timeout");
        }
    }
};

QTEST_MAIN(tst_frmPressMsg)
#include "tst_frmPressMsg.moc"
