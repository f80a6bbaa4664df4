#include "engine/mdlComms.h"
#include "engine/mdlPortChoice.h"
#include "platform/clsPortBindings.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTest>

// A port chosen as text: a number 1 to 16 or a device, and which port two
// choices name.
namespace {

struct ChoiceRow {
    const char* sName;
    QString sText;
    // Nothing for a choice that names no port.
    std::optional<qint16> oPort;
    QString sDevice = {};
};

// clang-format off
const ChoiceRow aChoices[] = {
    {"the first number", "1", 1},
    {"the last number", "16", 16},
    {"past the last number", "17", std::nullopt},
    {"a device", "/dev/ttyUSB0", 0, "/dev/ttyUSB0"},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(ChoiceRow)

class tst_mdlPortChoice : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void of_data() { mdlRows::Add(aChoices); }

    void of() {
        QFETCH(ChoiceRow, oRow);
        const std::optional<mdlPortChoice::Choice> oChoice = mdlPortChoice::Of(oRow.sText);
        QCOMPARE(oChoice.has_value(), oRow.oPort.has_value());
        if (oChoice) {
            QCOMPARE(oChoice->iPort, *oRow.oPort);
            QCOMPARE(oChoice->sDevice, oRow.sDevice);
        }
    }

    void identity_data() {
        QTest::addColumn<QString>("sText");
        QTest::addColumn<bool>("bDevice"); // the identity is the device, not the number
        QTest::newRow("a number bound to no device stays a number") << "3" << false;
        QTest::newRow("a number bound to the device is the device") << "2" << true;
        QTest::newRow("a link is the device it leads to") << "link" << true;
    }

    // Port 2 stands for the device, and a link leads to it.
    void identity() {
        QFETCH(QString, sText);
        QFETCH(bool, bDevice);
        const QDir oDir(oHome.Path());
        const QString sDevice =
            QFileInfo(mdlTestFiles::Write(oDir, "device", {})).canonicalFilePath();
        QFile::link(sDevice, oDir.filePath("link"));
        clsPortBindings oBindings(mdlComms::CommsKeyPath());
        QVERIFY(oBindings.Bind(2, sDevice) && oBindings.Store());
        const QString sChoice = sText == "link" ? oDir.filePath("link") : sText;
        QCOMPARE(mdlPortChoice::Identity(sChoice), bDevice ? sDevice : sText);
    }
};

QTEST_GUILESS_MAIN(tst_mdlPortChoice)
#include "tst_mdlPortChoice.moc"
