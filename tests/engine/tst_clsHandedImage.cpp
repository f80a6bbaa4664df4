#include "engine/clsHandedImage.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

// The image a several-port run hands each port's upload in a file.
class tst_clsHandedImage : public QObject {
    Q_OBJECT

private slots:
    // The bound on the file's size refuses no image Load would take: the
    // largest target's, its flags in the most runs (every other cell
    // restricted, the rest written), every sector, paths longer than the
    // system opens.
    void largestImageTaken() {
        clsHandedImage oHanded;
        clsFlashImage& oImage = oHanded.oPrepared.oImage;
        const qint32 lTop = oImage.Create(21);
        for (qint32 lCell = 1; lCell <= lTop; lCell += 2) {
            oImage.Restrict(lCell, lCell);
        }
        for (qint32 lCell = 0; lCell <= lTop; lCell += 2) {
            oImage.SetData(lCell, 0x5A);
        }
        oHanded.oPrepared.yTargetID = 21;
        oHanded.oPrepared.aiSectors = QList<qint16>(32767, 255);
        oHanded.oPrepared.sRecFile = oHanded.oFiles.sFile = QString(8192, u'x');
        const QTemporaryDir oDir;
        QString sWhy;
        const std::optional<clsHandedImage> oLoaded = clsHandedImage::Load(
            mdlTestFiles::Write(QDir(oDir.path()), "image", oHanded.Bytes()), sWhy);
        QVERIFY2(oLoaded, qPrintable(sWhy));
        QCOMPARE(oLoaded->oPrepared.oImage.CheckSum(), oImage.CheckSum());
        QCOMPARE(oLoaded->oPrepared.oImage.RestrictedRanges().size(), (lTop + 1) / 2);
    }
};

QTEST_GUILESS_MAIN(tst_clsHandedImage)
#include "tst_clsHandedImage.moc"
