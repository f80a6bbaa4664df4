#include "engine/clsApplication.h"
#include "engine/mdlUploadRules.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class clsQuietHost : public clsEngineHost {
public:
    void Status(const QString&) override {}
    void ShowWaitDots() override {}
    void SetMousePointer(eMousePointer) override {}
};

// Every byte the upload puts on the line after the board's answer, in its
// order: the erase commands, the records that are not blank and the
// terminate record, each made by the functions the upload itself calls.
QByteArray UploadLines(clsApplication& oApp) {
    using namespace mdlUploadRules;
    QByteArray aLines;
    for (const qint16 iSector : EraseOrder(oApp.Sectors())) {
        aLines += EraseCommand(quint8(iSector)).Record().toLatin1() + '\0';
    }
    clsFlashImage& oImage = oApp.FlashImage();
    oImage.ResetBP();
    while (const auto oRecord = NextRecordToSend(oImage, oApp.FillValue())) {
        aLines += oRecord->Record().toLatin1() + '\0';
    }
    return aLines + TerminateBytes(oApp.TargetID());
}

} // namespace

// Usage: upload_lines FILE LINES; FILE with its .cmd beside it. LINES is
// what bench/minimal-host.c sends.
int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: upload_lines FILE LINES\n", stderr);
        return 2;
    }
    const QCoreApplication oQtApplication(argc, argv);
    // Preparation reads the line settings: from a store of its own.
    const QTemporaryDir oHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(oHome.path()));
    clsQuietHost oHost;
    clsApplication oApp(oHost);
    try {
        oApp.PrepareUpload(QString::fromLocal8Bit(argv[1]));
    } catch (const clsError& oError) {
        std::fprintf(stderr, "upload_lines: %s\n", oError.what());
        return 1;
    }
    const QByteArray aLines = UploadLines(oApp);
    QFile oOutput(QString::fromLocal8Bit(argv[2]));
    if (!oOutput.open(QIODevice::WriteOnly) || oOutput.write(aLines) != aLines.size()) {
        std::fprintf(stderr, "upload_lines: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
