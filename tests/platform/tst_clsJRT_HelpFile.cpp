#include "platform/clsHelpViewer.h"
#include "platform/clsJRT_HelpFile.h"
#include "tests/support/mdlRaised.h"

#include <QTest>

namespace {

// Stands in for the help window, which platform code cannot reach.
class clsFakeViewer : public clsHelpViewer {
public:
    bool bAgrees = true;
    bool Show(const QString&, qint32, int) override { return bAgrees; }
    bool Close(const QString&, qint32) override { return bAgrees; }
};

} // namespace

class tst_clsJRT_HelpFile : public QObject {
    Q_OBJECT

private slots:
    // Without a viewer, or with one that cannot, showing and closing fail.
    void showAndClose() {
        clsJRT_HelpFile oHelp;
        clsFakeViewer oViewer;
        const auto oShowAndClose = [&] {
            return mdlRaised::Text([&] { oHelp.ShowHelp(); }) + '|' +
                   mdlRaised::Text([&] { oHelp.CloseFile(); });
        };
        const QString sFailed =
            "1102 clsJRT_HelpFile.ShowHelp: Unable to display requested help window.|"
            "1101 CloseFile <sub> --- clsJRT_HelpFile: Unable to close help file window.";
        QCOMPARE(oShowAndClose(), sFailed);
        oHelp.SetViewer(&oViewer);
        QCOMPARE(oShowAndClose(), "|");
        oViewer.bAgrees = false;
        QCOMPARE(oShowAndClose(), sFailed);
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_HelpFile)
#include "tst_clsJRT_HelpFile.moc"
