#include "mdlResources.h"

#include <QFile>
#include <QTest>

class tst_mdlResources : public QObject {
    Q_OBJECT

private slots:
    void stringTableEntries_data() {
        QTest::addColumn<int>("iID");
        QTest::addColumn<QString>("sText");
        const QList<QPair<int, const char*>> aTable = {
            {5, "OK"},
            {6, "&System Info..."},
            {8, "MSINFO32 failed to start."},
            {10, "Tessivar"},
            {15, "Version"},
            {25, "Build Date:"},
            {101, "&File"},
            {102, "&Open..."},
            {103, "E&xit"},
            {104, "&Help"},
            {105, "Help &Topics"},
            {106, "&About Tessivar..."},
            {107, "&Comm Port Number"},
            {108, "&Application Data File"},
            {109, "&Browse..."},
            {110, "&Run"},
            {111, "&Stop"},
            {112, "Open File"},
            {113, "'S' Record Files (*.s37; *.s19)|*.s37;*.s19|All Files (*.*)|*.*"},
            {114, "R&eset"},
            {200, "Application file opened"},
            {201, "Command file opened"},
            {202, "Application file closed"},
            {203, "Command file closed"},
            {204, "Target ID:"},
            {205, "Reading 'S' records"},
            {206, "Flash image created"},
            {207, "Target board is ready to receive."},
            {208, "Memory image initialized"},
            {209, "Erasing sectors"},
            {210, "Uploading data records"},
            {211, "Uploading error - No records transferred."},
            {212, "Upload Complete"},
            {213, "records transferred."},
            {214, "No response from board."},
            {275, "WARNING: Uploading records may overwrite existing data."},
            {276, "Select OK to continue download, CANCEL to abort."},
            {277, "Reset the controller by removing and reapplying power to the circuit board."},
            {300, "Comms"},
            {301, "PortNumber"},
            {302, "BaudRate"},
            {303, "StopBits"},
            {304, "DataBits"},
            {305, "Handshaking"},
            {306, "Recent Files"},
            {310, "opened"},
            {311, "closed"},
            {500, "Error Number: "},
            {501, "Unable to determine command file name."},
            {502, "Check that the record file name is valid."},
            {503, "Application file may be corrupt."},
            {504, "Flash chip programming error."},
            {505, "Maximum number of resends requested."},
            {506, "Application not designed for this target board."},
            {507, "Line in application file is not an 'S' record."},
            {508, "Line in application file has a checksum error."},
            {509, "Application & command file do not agree."},
            {510, "Unable to establish comms with target."},
            {511, "Unable to open application file."},
            {512, "Unable to determine expected target ID."},
            {513, "Unknown response from board - Upload Terminated"},
            {514, "An unknown error occurred during the upload."},
            {520, "Upload terminated."},
            {521, "Help not available"},
        };
        for (const auto& [iID, sText] : aTable) {
            QTest::addRow("%d", iID) << iID << QString::fromUtf8(sText);
        }
    }

    void stringTableEntries() {
        QFETCH(int, iID);
        QFETCH(QString, sText);
        QCOMPARE(mdlResources::LoadResString(iID), sText);
    }

    void aboutTextsNameQuellis() {
        QVERIFY(mdlResources::LoadResString(20).contains(QStringLiteral("Quellis")));
        QVERIFY(
            mdlResources::LoadResString(30).contains(QStringLiteral("copy"), Qt::CaseInsensitive));
    }

    void numbersOutsideTheTableGiveEmptyText() {
        for (const int iID : {0, 4, 7, 116, 215, 499, 522, -1}) {
            QVERIFY2(mdlResources::LoadResString(iID).isEmpty(), qPrintable(QString::number(iID)));
        }
    }

    void executableSettings() {
        QCOMPARE(mdlResources::Title(), QStringLiteral("Tessivar"));
        QCOMPARE(QStringLiteral("%1.%2.%3")
                     .arg(mdlResources::VersionMajor())
                     .arg(mdlResources::VersionMinor())
                     .arg(mdlResources::VersionRevision()),
                 QStringLiteral("2.6.0"));
        QCOMPARE(mdlResources::Comments(), QStringLiteral("27 January 2005"));
        QCOMPARE(mdlResources::HelpFileName(), QStringLiteral("qmx4.hlp"));
    }

    void iconsAreSvgResources() {
        for (const char* sName : {"QUELLIS_ICON", "PLUGIN_ICON", "PLUGOUT_ICON"}) {
            QFile oIcon(mdlResources::IconPath(QString::fromLatin1(sName)));
            QVERIFY2(oIcon.open(QIODevice::ReadOnly), sName);
            QVERIFY2(oIcon.readAll().contains("<svg"), sName);
        }
    }
};

QTEST_GUILESS_MAIN(tst_mdlResources)
#include "tst_mdlResources.moc"
