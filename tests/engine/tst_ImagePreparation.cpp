#include "engine/clsUploadSummary.h"
#include "records/clsFileTable.h"
#include "tests/records/mdlRecordChecks.h"
#include "tests/support/clsPreparation.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

using Ranges = QList<QPair<qint32, qint32>>;

struct CommandRow {
    const char* sName;
    QByteArray aCommands;
    int iTarget, iFill;
    QList<qint16> aiSectors;
    Ranges aProtected;
};

// clang-format off
const CommandRow aCommandFiles[] = {
    {"kind in either case, X and empty erase", "18\n5A\n3,4000,7FFF,r\n4,0,3FFF,X\n5,8000,8FFF,\n",
     24, 0x5A, {4, 5}, {{0x4000, 0x7FFF}}},
    {"unprotect with end 0 reaches the top", "16\n01\n0,0,FFFF,R\n1,8000,0,E\n", 22, 0x01, {1},
     {{0, 0x7FFF}}},
    {"blank lines skipped", "16\r\nFF\r\n\r\n0,0,FF,R\r\n   \r\n1,100,1FF,E\r\n\r\n", 22, 0xFF, {1},
     {{0, 0xFF}}},
    {"spaces around fields, a fifth field", "15\nff\n 7 , 3ff000 , 40ffff , R , x\n", 21, 0xFF,
     {}, {{0x3FF000, 0x40FFFF}}},
    {"sectors 0 and 255", "16\nFF\n0,0,FF,E\n255,100,1FF,E\n", 22, 0xFF, {0, 255}, {}},
};
// clang-format on

struct FailureRow {
    const char* sName;
    QByteArray aInput;
    QString sError;
};

const QString sNoTarget =
    "2003 GetTargetID <sub> --- clsApplication: Unable to determine expected target ID.";
const QString sLine = "2010 clsApplication.InitMemoryImage: Command file line ";
const QString sSector = "has a sector number that is not a 16-bit decimal integer: ";

// clang-format off
const FailureRow aCommandFailures[] = {
    {"empty file", "", sNoTarget},
    {"target above FF", "100\r\nFF\r\n", sNoTarget},
    {"target without an image", "17\r\nFF\r\n",
     "2009 clsApplication.InitMemoryImage: Unable to create flash image in memory."},
    {"blank fill line", "16\r\n\r\n", sLine + "2 is not a hexadecimal fill value: \"\"."},
    {"sector not a number, counting a blank line", "16\nFF\n\nS,0,F,E\n",
     sLine + "4 " + sSector + "\"S,0,F,E\"."},
    {"sector 256 erased", "16\nFF\n1,0,F,E\n256,10,1F,E\n",
     sLine + "4 erases sector 256, which is not a sector from 0 to 255: \"256,10,1F,E\"."},
    {"sector -1 erased", "16\nFF\n-1,0,F,E\n",
     sLine + "3 erases sector -1, which is not a sector from 0 to 255: \"-1,0,F,E\"."},
    {"kind missing", "16\nFF\n1,4000,7FFF\n",
     sLine + "3 has fewer than four fields: \"1,4000,7FFF\"."},
    // Fields are read in order: the start's fault comes before the missing end's.
    {"start before a missing end", "16\nFF\n1,ZZ\n",
     sLine + "3 has an address that is not a 32-bit hexadecimal number: \"1,ZZ\"."},
    {"end below start", "16\nFF\n1,7FFF,4000,E\n",
     "2100 clsFlashImage.UnRestrict: Invalid memory address passed"},
};
// clang-format on

} // namespace

class tst_ImagePreparation : public QObject {
    Q_OBJECT

    clsPreparation oUnit;
    std::optional<clsApplication>& oApp = oUnit.oApp;

    // The image as srec_cat would make it: the fill value, 0 in protected
    // ranges and aData from address 0 on.
    void VerifyImage(quint8 yFill, const Ranges& aProtected, const QByteArray& aData = {}) {
        const clsFlashImage& oImage = oApp->FlashImage();
        QByteArray aExpected(oImage.Top() + 1, char(yFill));
        for (const auto& [lFirst, lLast] : aProtected) {
            aExpected.replace(lFirst, lLast - lFirst + 1, QByteArray(lLast - lFirst + 1, '\0'));
        }
        aExpected.replace(0, aData.size(), aData);
        QVERIFY(mdlRecordChecks::Bytes(oImage) == aExpected);
        QCOMPARE(oImage.RestrictedRanges(), aProtected);
    }

private slots:
    void init() { oUnit.Renew(); }

    // After a failure the window resets the application object; the next
    // Run must find no file of this one open.
    void cleanup() {
        oApp->Reset();
        QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(1));
    }

    void commandFiles_data() { mdlRows::Add(aCommandFiles); }

    void commandFiles() {
        QFETCH(CommandRow, oRow);
        QCOMPARE(oUnit.Prepare(oRow.aCommands, QByteArray()), QString());
        QCOMPARE(oApp->TargetID(), oRow.iTarget);
        QCOMPARE(oApp->Sectors(), oRow.aiSectors);
        VerifyImage(quint8(oRow.iFill), oRow.aProtected);
    }

    void commandFileFailures_data() { mdlRows::Add(aCommandFailures); }

    void commandFileFailures() {
        QFETCH(FailureRow, oRow);
        QCOMPARE(oUnit.Prepare(oRow.aInput, "S9030000FC\r\n"), oRow.sError);
        QCOMPARE(oApp->TargetID() == 0, oRow.sError.startsWith(QLatin1String("2003")));
    }

    // Every line of the application file is read and counted, headers too,
    // also past what 16 bits count.
    void dotPerHundredLines() {
        QCOMPARE(oUnit.Prepare("16\r\nFF\r\n", QByteArray("S0030000FC\r\n").repeated(32800)),
                 QString());
        QCOMPARE(oUnit.oHost.Lines().last(2),
                 (QStringList{"Reading 'S' records" + QStringLiteral(" .").repeated(328),
                              "Flash image created"}));
    }

    // A file written by an independent tool, read by us and by it: the same
    // image, cell by cell.
    void independentTool() {
        QByteArray aBlob(20'000, '\0');
        QRandomGenerator(11).fillRange(reinterpret_cast<quint32*>(aBlob.data()), aBlob.size() / 4);
        // S2 with a header, short lines, in lower case.
        const QByteArray aRecords = mdlExternalTools::Run(
            "srec_cat", {oUnit.Write("blob.bin", aBlob), "-binary", "-offset", "0x100", "-o", "-",
                         "-execution-start-address=0x100", "-address-length=3", "-header=HDR",
                         "-line-length=20"});
        const QString sOracleInput = oUnit.Write("oracle.s19", aRecords);
        QCOMPARE(oUnit.Prepare("16\r\nFF\r\n1,0,0,E\r\n0,C000,CFFF,R\r\n",
                               aRecords.toLower().replace('s', 'S')),
                 QString());
        const QByteArray aExpected = mdlExternalTools::Run(
            "srec_cat", {sOracleInput, "-fill", "0xFF", "0", "0xC000", "-o", "-", "-binary"});
        VerifyImage(0xFF, {{0xC000, 0xCFFF}}, aExpected);
    }

    // The upload walks the same image afterwards: the summary must leave it
    // where it found it, also at its end.
    void summaryLeavesTheWalkWhereItWas() {
        QCOMPARE(oUnit.Prepare("16\r\nFF\r\n", QByteArray()), QString());
        clsFlashImage& oImage = oApp->FlashImage();
        oImage.Export();
        clsUploadSummary::Of(*oApp);
        QCOMPARE(oImage.Export().Address(), 8);
        while (mdlRaised::Text([&] { oImage.Export(); }).isEmpty()) {
        }
        clsUploadSummary::Of(*oApp);
        QVERIFY(mdlRaised::Text([&] { oImage.Export(); }).startsWith("2104 "));
    }
};

QTEST_GUILESS_MAIN(tst_ImagePreparation)
#include "tst_ImagePreparation.moc"
