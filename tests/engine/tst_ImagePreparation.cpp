#include "clsApplication.h"
#include "clsFileTable.h"
#include "clsRecordingHost.h"
#include "mdlExternalTools.h"
#include "mdlTestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

using Pointer = clsEngineHost::eMousePointer;
using Ranges = QList<QPair<qint32, qint32>>;

// Region lines and the image a command file should give.
struct Expected {
    quint8 yTarget;
    quint8 yFill;
    QList<qint16> aiSectors;
    Ranges aProtected;
};

const QByteArray aExampleCommands = "16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,7FFF,E\r\n2,8000,FFFF,E\r\n";

// An S-record line with a correct checksum.
QByteArray Line(const QByteArray& aBody) {
    const QByteArray aBytes = QByteArray::fromHex(aBody.mid(2));
    int iSum = 0;
    for (const char c : aBytes) {
        iSum += static_cast<quint8>(c);
    }
    return aBody + QByteArray::number(255 - iSum % 256, 16).rightJustified(2, '0').toUpper() +
           "\r\n";
}

} // namespace

class tst_ImagePreparation : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;
    clsRecordingHost oHost;
    std::optional<clsApplication> oApp;

    QString Write(const QString& sName, const QByteArray& aContent) {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

    // Writes unit.cmd and unit.s19 and runs the preparation as Run does.
    // Returns the error that stopped it, if any.
    std::optional<clsError> Prepare(const QByteArray& aCommands, const QByteArray& aRecords) {
        Write(QStringLiteral("unit.cmd"), aCommands);
        oApp->SetRecFileName(Write(QStringLiteral("unit.s19"), aRecords));
        try {
            oApp->OpenFiles();
            oApp->GetTargetID();
            oApp->InitMemoryImage();
            oApp->BuildImage();
        } catch (const clsError& oError) {
            return oError;
        }
        return std::nullopt;
    }

    void VerifyImage(const Expected& oExpected) {
        clsFlashImage& oImage = oApp->FlashImage();
        QCOMPARE(oApp->TargetID(), oExpected.yTarget);
        QCOMPARE(oApp->FillValue(), oExpected.yFill);
        QCOMPARE(oApp->Sectors(), oExpected.aiSectors);
        qint32 lProtectedBytes = 0;
        for (const auto& [lFirst, lLast] : oExpected.aProtected) {
            lProtectedBytes += lLast - lFirst + 1;
        }
        QCOMPARE(oImage.UnrestrictedBytes(), oImage.Top() + 1 - lProtectedBytes);
        for (qint32 lAddress = 0; lAddress <= oImage.Top(); ++lAddress) {
            const bool bProtected = std::any_of(
                oExpected.aProtected.begin(), oExpected.aProtected.end(), [&](const auto& oRange) {
                    return lAddress >= oRange.first && lAddress <= oRange.second;
                });
            if (oImage.Data(lAddress) != (bProtected ? 0 : oExpected.yFill)) {
                QFAIL(qPrintable(QStringLiteral("cell %1").arg(lAddress, 0, 16)));
            }
        }
    }

    // An executable for address 0x1000 compiled here, as objcopy writes it.
    QByteArray CompiledProgram() {
        const QString sSource = Write(QStringLiteral("prog.c"),
                                      "static const char greeting[] = \"Tessivar test\";\n"
                                      "volatile int counter = 42;\n"
                                      "void _start(void) { for (;;) counter += greeting[counter "
                                      "% sizeof greeting]; }\n");
        const QString sProgram = oDir.filePath(QStringLiteral("prog"));
        mdlExternalTools::Run(QStringLiteral("cc"), {"-Os", "-nostdlib", "-static", "-fno-pic",
                                                     "-no-pie", "-Wl,--build-id=none",
                                                     "-Wl,-Ttext=0x1000", "-o", sProgram, sSource});
        return mdlExternalTools::Run(QStringLiteral("objcopy"),
                                     {"-O", "srec", sProgram, "/dev/stdout"});
    }

    QByteArray SrecCatRecords(const QStringList& asOptions) {
        QByteArray aBlob(20'000, '\0');
        QRandomGenerator oRandom(11);
        oRandom.fillRange(reinterpret_cast<quint32*>(aBlob.data()), aBlob.size() / 4);
        const QString sBlob = Write(QStringLiteral("blob.bin"), aBlob);
        return mdlExternalTools::Run(
            QStringLiteral("srec_cat"),
            QStringList{sBlob, "-binary", "-offset", "0x100", "-o", "-", "-motorola"} + asOptions);
    }

    static void VerifyError(const std::optional<clsError>& oError, int iCode,
                            const QString& sSource) {
        QVERIFY(oError);
        QCOMPARE(oError->Code(), iCode);
        QCOMPARE(oError->Source(), sSource);
    }

private slots:
    void init() {
        oHost = clsRecordingHost();
        oApp.emplace(oHost);
    }

    void cleanup() {
        oApp.reset();
        QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(1));
    }

    void theExampleCommandFile() {
        QVERIFY(!Prepare(aExampleCommands, "S9030000FC\r\n"));
        VerifyImage({22, 0xFF, {1, 2}, {{0, 0x3FFF}}});
        QCOMPARE(oHost.Lines(),
                 (QStringList{"Application file opened", "Command file opened", "Target ID: 22",
                              "Initializing memory image . . .", "Memory image initialized",
                              "Reading 'S' records", "Flash image created"}));
        QCOMPARE(oHost.aiPointers,
                 (QList<Pointer>{clsEngineHost::vbHourglass, clsEngineHost::vbDefault,
                                 clsEngineHost::vbHourglass, clsEngineHost::vbDefault}));
    }

    void commandFiles_data() {
        QTest::addColumn<QByteArray>("aCommands");
        QTest::addColumn<int>("iTarget");
        QTest::addColumn<int>("iFill");
        QTest::addColumn<QList<qint16>>("aiSectors");
        QTest::addColumn<Ranges>("aProtected");
        QTest::newRow("LF line ends") << QByteArray(aExampleCommands).replace("\r\n", "\n") << 22
                                      << 0xFF << QList<qint16>{1, 2} << Ranges{{0, 0x3FFF}};
        QTest::newRow("only two lines")
            << QByteArray("12\r\nAA\r\n") << 18 << 0xAA << QList<qint16>{} << Ranges{};
        QTest::newRow("kinds r, X and empty")
            << QByteArray("18\n5A\n3,4000,7FFF,r\n4,0,3FFF,X\n5,8000,8FFF,\n") << 24 << 0x5A
            << QList<qint16>{4, 5} << Ranges{{0x4000, 0x7FFF}};
        QTest::newRow("last address 0 means top")
            << QByteArray("16\n01\n0,0,FFFF,R\n1,8000,0,E\n") << 22 << 0x01 << QList<qint16>{1}
            << Ranges{{0, 0x7FFF}};
        QTest::newRow("blank lines between")
            << QByteArray("16\r\nFF\r\n\r\n0,0,FF,R\r\n   \r\n\r\n1,100,1FF,E\r\n\r\n") << 22
            << 0xFF << QList<qint16>{1} << Ranges{{0, 0xFF}};
        QTest::newRow("spaces, fifth field, lower-case hex")
            << QByteArray("15\nff\n 7 , 3ff000 , 40ffff , R , ignored\n") << 21 << 0xFF
            << QList<qint16>{} << Ranges{{0x3FF000, 0x40FFFF}};
        QTest::newRow("sector numbers above 255")
            << QByteArray("16\nFF\n300,0,FF,E\n-1,100,1FF,E\n") << 22 << 0xFF
            << QList<qint16>{300, -1} << Ranges{};
    }

    void commandFiles() {
        QFETCH(QByteArray, aCommands);
        QFETCH(int, iTarget);
        QFETCH(int, iFill);
        QFETCH(QList<qint16>, aiSectors);
        QFETCH(Ranges, aProtected);
        QVERIFY(!Prepare(aCommands, QByteArray()));
        VerifyImage({quint8(iTarget), quint8(iFill), aiSectors, aProtected});
    }

    void independentToolsAgreeCellByCell_data() {
        QTest::addColumn<QStringList>("asSrecCatOptions"); // none: a compiled program
        QTest::addColumn<bool>("bLowerCase");
        QTest::newRow("objcopy of a compiled program") << QStringList{} << false;
        QTest::newRow("S1, S5, S9, header")
            << QStringList{"-address-length=2", "-header=HDR", "-execution-start-address=0x100"}
            << false;
        QTest::newRow("S2, S5, S8, short lines")
            << QStringList{"-address-length=3", "-line-length=20", "-execution-start-address=0x100"}
            << false;
        QTest::newRow("S3, S5, S7, long lines")
            << QStringList{"-address-length=4", "-output_block_size=64",
                           "-execution-start-address=0x100"}
            << false;
        QTest::newRow("lower-case hex digits") << QStringList{"-address-length=2"} << true;
    }

    void independentToolsAgreeCellByCell() {
        QFETCH(QStringList, asSrecCatOptions);
        QFETCH(bool, bLowerCase);
        const QByteArray aRecords =
            asSrecCatOptions.isEmpty() ? CompiledProgram() : SrecCatRecords(asSrecCatOptions);
        const QString sOracleInput = Write(QStringLiteral("oracle.s19"), aRecords);
        QByteArray aOurInput = aRecords;
        if (bLowerCase) {
            aOurInput = aRecords.toLower().replace('s', 'S');
        }
        const auto oError = Prepare("16\r\nFF\r\n1,0,0,E\r\n0,C000,CFFF,R\r\n", aOurInput);
        QVERIFY2(!oError, oError ? qPrintable(oError->Description()) : "");

        QByteArray aExpected =
            mdlExternalTools::Run(QStringLiteral("srec_cat"), {sOracleInput, "-fill", "0xFF", "0",
                                                               "0x10000", "-o", "-", "-binary"});
        QCOMPARE(aExpected.size(), 0x10000);
        aExpected.replace(0xC000, 0x1000, QByteArray(0x1000, '\0'));
        for (qint32 lAddress = 0; lAddress < aExpected.size(); ++lAddress) {
            if (oApp->FlashImage().Data(lAddress) != static_cast<quint8>(aExpected[lAddress])) {
                QFAIL(qPrintable(QStringLiteral("cell %1").arg(lAddress, 0, 16)));
            }
        }
    }

    void targetIDStatusLine_data() {
        QTest::addColumn<QByteArray>("aFirstLine");
        QTest::addColumn<QString>("sStatus");
        QTest::newRow("18 is 24") << QByteArray("18") << "Target ID: 24";
        QTest::newRow("15 is 21") << QByteArray("15") << "Target ID: 21";
        QTest::newRow("lower case") << QByteArray("1a") << "Target ID: 26";
    }

    void targetIDStatusLine() {
        QFETCH(QByteArray, aFirstLine);
        QFETCH(QString, sStatus);
        Prepare(aFirstLine + "\r\n", QByteArray());
        QCOMPARE(oHost.Lines().value(2), sStatus);
    }

    void commandFileFailures_data() {
        QTest::addColumn<QByteArray>("aCommands");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sSource");
        QTest::addColumn<QString>("sDescription");
        QTest::addColumn<QList<Pointer>>("aiPointers");
        const QString sGetTarget = QStringLiteral("GetTargetID <sub> --- clsApplication");
        const QString sInit = QStringLiteral("clsApplication.InitMemoryImage");
        const QString sNoTarget = QStringLiteral("Unable to determine expected target ID.");
        const QList<Pointer> aNone;
        const QList<Pointer> aHourglass{clsEngineHost::vbHourglass};
        QTest::newRow("empty command file")
            << QByteArray() << 2003 << sGetTarget << sNoTarget << aNone;
        QTest::newRow("target not hex")
            << QByteArray("1G\r\nFF\r\n") << 2003 << sGetTarget << sNoTarget << aNone;
        QTest::newRow("target above FF")
            << QByteArray("116\r\nFF\r\n") << 2003 << sGetTarget << sNoTarget << aNone;
        QTest::newRow("target without image")
            << QByteArray("17\r\nFF\r\n") << 2009 << sInit
            << "Unable to create flash image in memory." << aHourglass;
        QTest::newRow("no fill line")
            << QByteArray("16\r\n") << 2010 << sInit
            << "Command file line 2 is not a hexadecimal fill value: \"\"" << aHourglass;
        QTest::newRow("blank fill line")
            << QByteArray("16\r\n\r\n") << 2010 << sInit
            << "Command file line 2 is not a hexadecimal fill value: \"\"" << aHourglass;
        QTest::newRow("three fields")
            << QByteArray("16\r\nFF\r\n1,4000,7FFF\r\n") << 2010 << sInit
            << "Command file line 3 has fewer than four fields: \"1,4000,7FFF\"" << aHourglass;
        QTest::newRow("sector not a number")
            << QByteArray("16\nFF\n\nS,4000,7FFF,E\n") << 2010 << sInit
            << "Command file line 4 has a sector number that is not a 16-bit decimal integer: "
               "\"S,4000,7FFF,E\""
            << aHourglass;
        QTest::newRow("address not hex")
            << QByteArray("16\nFF\n1,40G0,7FFF,E\n") << 2010 << sInit
            << "Command file line 3 has an address that is not a 32-bit hexadecimal number: "
               "\"1,40G0,7FFF,E\""
            << aHourglass;
        QTest::newRow("end below start")
            << QByteArray("16\nFF\n1,7FFF,4000,E\n") << 2100 << "clsFlashImage.UnRestrict"
            << "Invalid memory address passed" << aHourglass;
        QTest::newRow("protected range beyond the image")
            << QByteArray("16\nFF\n0,8000,10000,R\n") << 2100 << "clsFlashImage.Restrict"
            << "Invalid memory address passed" << aHourglass;
        QTest::newRow("negative address")
            << QByteArray("15\nFF\n0,FFFFFFFF,0,E\n") << 2100 << "clsFlashImage.UnRestrict"
            << "Invalid memory address passed" << aHourglass;
    }

    void commandFileFailures() {
        QFETCH(QByteArray, aCommands);
        QFETCH(int, iCode);
        QFETCH(QString, sSource);
        QFETCH(QString, sDescription);
        QFETCH(QList<Pointer>, aiPointers);
        const auto oError = Prepare(aCommands, "S9030000FC\r\n");
        VerifyError(oError, iCode, sSource);
        QCOMPARE(oError->Description(), sDescription);
        QCOMPARE(oHost.aiPointers, aiPointers);
        if (iCode == 2003) {
            QCOMPARE(oApp->TargetID(), quint8(0));
        }
    }

    void recordFailuresKeepTheLinesBefore_data() {
        QTest::addColumn<QByteArray>("aBadLine");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sSource");
        const QString sData = QStringLiteral("clsFlashImage.Data");
        QTest::newRow("checksum error")
            << QByteArray("S1050100AABB00\r\n") << 2201 << "clsJRT_SRecord.Record";
        QTest::newRow("not an S-record")
            << QByteArray("hello\r\n") << 2200 << "clsJRT_SRecord.Record";
        QTest::newRow("blank line") << QByteArray("\r\n") << 2200 << "clsJRT_SRecord.Record";
        QTest::newRow("overlap") << Line("S1050000EEEE") << 2102 << sData;
        QTest::newRow("into the protected range") << Line("S1053FFFEEEE") << 2101 << sData;
        QTest::newRow("past the top") << Line("S105FFFFEEEE") << 2100 << sData;
    }

    void recordFailuresKeepTheLinesBefore() {
        QFETCH(QByteArray, aBadLine);
        QFETCH(int, iCode);
        QFETCH(QString, sSource);
        const QByteArray aRecords = Line("S0060000484452") + Line("S10500001234") + aBadLine +
                                    Line("S10580005678") + Line("S9030000");
        const auto oError = Prepare("16\r\nFF\r\n0,3000,3FFF,R\r\n", aRecords);
        VerifyError(oError, iCode, sSource);
        clsFlashImage& oImage = oApp->FlashImage();
        QCOMPARE(oImage.Data(0), quint8(0x12));
        QCOMPARE(oImage.Data(1), quint8(0x34));
        QCOMPARE(oImage.Data(0x8000), quint8(0xFF));
        QCOMPARE(oHost.aiPointers.last(), clsEngineHost::vbDefault);
        QCOMPARE(oHost.Lines().last(), QStringLiteral("Reading 'S' records"));
    }

    void aResetAfterAnyFailureLeavesNothingBehind() {
        const QList<QPair<QByteArray, QByteArray>> aFailures = {
            {"1G\r\n", ""},
            {"17\r\nFF\r\n", ""},
            {"16\r\nFF\r\n1,4000\r\n", ""},
            {"16\r\nFF\r\n1,7FFF,4000,E\r\n", ""},
            {"16\r\nFF\r\n0,0,FF,R\r\n", Line("S10500001234")},
            {"16\r\nFF\r\n", Line("S10500001234") + Line("S10500001234")},
            {"16\r\nFF\r\n", "S1050000123400\r\n"},
        };
        const QByteArray aGoodRecords = Line("S10540001234") + Line("S9030000");
        QVERIFY(!Prepare(aExampleCommands, aGoodRecords));
        const qint32 lGoodCheckSum = oApp->FlashImage().CheckSum();
        for (const auto& [aCommands, aRecords] : aFailures) {
            oApp->Reset();
            QVERIFY(Prepare(aCommands, aRecords));
            oApp->Reset();
            QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(1));
            QVERIFY(!Prepare(aExampleCommands, aGoodRecords));
            QCOMPARE(oApp->Sectors(), (QList<qint16>{1, 2}));
            QCOMPARE(oApp->FlashImage().CheckSum(), lGoodCheckSum);
            QCOMPARE(oApp->FlashImage().Data(0x4000), quint8(0x12));
        }
    }

    void oneDotPerHundredLines() {
        // 100,000 data lines of 4 bytes each from srec_cat, plus its header,
        // count and end lines.
        QByteArray aBlob(400'000, '\0');
        QRandomGenerator oRandom(7);
        oRandom.fillRange(reinterpret_cast<quint32*>(aBlob.data()), aBlob.size() / 4);
        const QString sBlob = Write(QStringLiteral("blob.bin"), aBlob);
        const QByteArray aRecords = mdlExternalTools::Run(
            QStringLiteral("srec_cat"), {sBlob, "-binary", "-o", "-", "-motorola",
                                         "-address-length=4", "-output_block_size=4"});
        const qsizetype lLines = aRecords.count('\n');
        QVERIFY(lLines > 100'000);
        QVERIFY(!Prepare("15\r\n00\r\n", aRecords));
        const QString sReading = oHost.Lines().value(5);
        QCOMPARE(sReading.count(QStringLiteral(" .")), lLines / 100);
        for (qint32 lAddress = 0; lAddress < aBlob.size(); ++lAddress) {
            if (oApp->FlashImage().Data(lAddress) != static_cast<quint8>(aBlob[lAddress])) {
                QFAIL(qPrintable(QStringLiteral("cell %1").arg(lAddress)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_ImagePreparation)
#include "tst_ImagePreparation.moc"
