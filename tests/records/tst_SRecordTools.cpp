#include "clsFile.h"
#include "clsFileTable.h"
#include "clsFlashImage.h"
#include "mdlExternalTools.h"
#include "mdlTestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// Files written by independent S-record tools from a known blob, imported
// the way image preparation imports them, must give exactly the blob.
class tst_SRecordTools : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

private slots:
    void importsWhatToolsWrite_data() {
        QTest::addColumn<QString>("sProgram");
        QTest::addColumn<QStringList>("aArguments"); // IN: the blob, OUT: the S-record file
        QTest::addColumn<qint32>("lOffset");
        QTest::addColumn<int>("iSize");
        QTest::addColumn<QString>("sMustHold"); // a record kind the file must show
        const QStringList aSrecCat{"IN", "-binary", "-offset", "OFFSET", "-o", "OUT", "-motorola"};
        QTest::newRow("srec_cat, header and S5 count")
            << "srec_cat" << aSrecCat << 0x100 << 3000 << "S5";
        QTest::newRow("srec_cat, S3 of 64 bytes")
            << "srec_cat" << aSrecCat + QStringList{"-address-length=4", "-obs=64"} << 0x12345
            << 20000 << "S3";
        QTest::newRow("srec_cat, S2 of 7 bytes, own header, start address")
            << "srec_cat"
            << aSrecCat + QStringList{"-address-length=3", "-obs=7", "-header", "Tessivar test",
                                      "-execution-start-address=0x1234"}
            << 0x7000 << 5000 << "S8";
        QTest::newRow("srec_cat, 46-character lines")
            << "srec_cat" << aSrecCat + QStringList{"-line-length=46"} << 0 << 4000 << "S1";
        QTest::newRow("srec_cat, S6 count of 70,000 records")
            << "srec_cat" << aSrecCat + QStringList{"-address-length=3", "-obs=1"} << 0 << 70000
            << "S6";
        const QStringList aObjcopy{"-I", "binary", "-O", "srec", "--change-addresses=OFFSET",
                                   "IN", "OUT"};
        QTest::newRow("objcopy") << "objcopy" << aObjcopy << 0x4000 << 3000 << "S1";
        QTest::newRow("objcopy, S3 of 32 bytes")
            << "objcopy" << aObjcopy + QStringList{"--srec-forceS3", "--srec-len=32"} << 0x10
            << 3000 << "S3";
        QTest::newRow("objcopy, S2 near the top")
            << "objcopy" << aObjcopy << 0x7FFFF - 6000 << 6001 << "S2";
    }

    void importsWhatToolsWrite() {
        QFETCH(QString, sProgram);
        QFETCH(QStringList, aArguments);
        QFETCH(qint32, lOffset);
        QFETCH(int, iSize);
        QFETCH(QString, sMustHold);
        QByteArray aBlob(iSize, 0x33);
        QRandomGenerator(quint32(iSize))
            .fillRange(reinterpret_cast<quint32*>(aBlob.data()), iSize / 4);
        const QString sBlob = mdlTestFiles::Write(QDir(oDir.path()), "blob.bin", aBlob);
        const QString sRecords = oDir.filePath("out.srec");
        aArguments.replaceInStrings(QRegularExpression("^IN$"), sBlob);
        aArguments.replaceInStrings(QRegularExpression("^OUT$"), sRecords);
        aArguments.replaceInStrings("OFFSET", "0x" + QString::number(lOffset, 16));
        mdlExternalTools::Run(sProgram, aArguments);
        QVERIFY(mdlTestFiles::Read(sRecords).contains("\n" + sMustHold.toLatin1()));

        const quint8 yFill = 0x5A;
        clsFlashImage oImage;
        oImage.Create(19);
        oImage.Clear(yFill);
        clsFile oFile;
        const qint16 iNumber = oFile.OpenInputRead(sRecords);
        QVERIFY(iNumber > 0);
        auto& oTable = clsFileTable::Instance();
        clsJRT_SRecord oRecord;
        while (!oTable.EndOfFile(iNumber)) {
            oRecord.SetRecord(oTable.LineInput(iNumber));
            oImage.Import(oRecord);
            oRecord.Reset();
        }
        for (qint32 lCell = 0; lCell <= 0x7FFFF; ++lCell) {
            const bool bInBlob = lCell >= lOffset && lCell < lOffset + iSize;
            const auto yWanted = bInBlob ? quint8(aBlob[lCell - lOffset]) : yFill;
            if (oImage.Data(lCell) != yWanted) {
                QFAIL(qPrintable(QStringLiteral("cell 0x%1").arg(lCell, 0, 16)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_SRecordTools)
#include "tst_SRecordTools.moc"
