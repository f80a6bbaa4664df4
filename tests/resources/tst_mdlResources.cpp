#include "resources/mdlResources.h"

#include <QImageReader>
#include <QTest>

class tst_mdlResources : public QObject {
    Q_OBJECT

private slots:

    // Each icon the windows show, in a form this platform's Qt reads: the
    // Windows Qt has no SVG support.
    void iconLoads_data() {
        QTest::addColumn<QString>("sName");
        for (const char* sName : {"QUELLIS_ICON", "PLUGIN_ICON", "PLUGOUT_ICON"}) {
            QTest::newRow(sName) << QString::fromLatin1(sName);
        }
    }

    void iconLoads() {
        QFETCH(QString, sName);
        QImageReader oReader(mdlResources::IconPath(sName));
        QVERIFY2(!oReader.read().isNull(), qPrintable(oReader.errorString()));
    }
};

QTEST_GUILESS_MAIN(tst_mdlResources)
#include "tst_mdlResources.moc"
