#include "bench/mdlImportFile.h"

#include <QFile>

#include <cstdio>

// The whole-process figure set against objcopy and srec_cat: parses an
// application file into the id-21 image filled with 0xFF and prints the
// image's checksum; with an output path it also writes the image out, so
// that a run can be compared byte for byte with the other tools' output.
int main(int iArgCount, char** aArgs) {
    if (iArgCount < 2 || iArgCount > 3) {
        std::fprintf(stderr, "usage: srec_import FILE.s37 [IMAGE.bin]\n");
        return 2;
    }
    clsFlashImage oImage;
    oImage.Create(21);
    oImage.Clear(0xFF);
    try {
        mdlImportFile::ImportFile(QString::fromLocal8Bit(aArgs[1]), oImage);
    } catch (const clsError& oError) {
        std::fprintf(stderr, "%s\n", oError.what());
        return 1;
    }
    std::printf("checksum %d\n", oImage.CheckSum());
    if (iArgCount == 3) {
        QByteArray aImage(oImage.Top() + 1, Qt::Uninitialized);
        for (qint32 lCell = 0; lCell <= oImage.Top(); ++lCell) {
            aImage[lCell] = char(oImage.Data(lCell));
        }
        QFile oOutput(QString::fromLocal8Bit(aArgs[2]));
        if (!oOutput.open(QIODevice::WriteOnly) || oOutput.write(aImage) != aImage.size()) {
            std::fprintf(stderr, "cannot write %s\n", aArgs[2]);
            return 1;
        }
    }
    return 0;
}
