#include "engine/clsApplication.h"
#include "engine/clsUploadSummary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The whole preparation from file bytes, as Run meets them: the input up to
// the first "%%\n" is the command file (target, fill, region lines), the
// rest the application file. Both go through the file reader (line ends,
// long lines, NULs), then the codec, the image and a whole walk of the
// upload's records. A failure must be one of ours; a walk must account for
// no more records than the image can hold.
namespace {

const QByteArray aSplit = "%%\n";

class clsQuietHost : public clsEngineHost {
public:
    void Status(const QString&) override {}
    void ShowWaitDots() override {}
    void SetMousePointer(eMousePointer) override {}
};

const QTemporaryDir& Folder() {
    static const QTemporaryDir oDir;
    return oDir;
}

QString Put(const QDir& oDir, const char* sName, QByteArrayView aBytes) {
    const QString sPath = oDir.filePath(QLatin1String(sName));
    QFile oFile(sPath);
    if (!oFile.open(QIODevice::WriteOnly) ||
        oFile.write(aBytes.data(), aBytes.size()) != aBytes.size()) {
        std::abort(); // the fuzzer's own folder must take its files
    }
    return sPath;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* iArgCount, char*** aArgs) {
    // The application object asks for the program's folder.
    static QCoreApplication oQtApplication(*iArgCount, *aArgs);
    // Every reset reads the line settings: from a store of the fuzzer's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Folder().path()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t lSize) {
    const QTemporaryDir& oDir = Folder();
    const QByteArrayView aInput(aData, qsizetype(lSize));
    const qsizetype lSplit = aInput.indexOf(aSplit);
    const QByteArrayView aCommands = lSplit < 0 ? QByteArrayView("12\nFF\n") : aInput.first(lSplit);
    const QByteArrayView aRecords = lSplit < 0 ? aInput : aInput.sliced(lSplit + aSplit.size());
    Put(QDir(oDir.path()), "unit.cmd", aCommands);
    const QString sPath = Put(QDir(oDir.path()), "unit.s19", aRecords);

    clsQuietHost oHost;
    clsApplication oApp(oHost);
    try {
        oApp.PrepareUpload(sPath);
        const clsUploadSummary oSummary = clsUploadSummary::Of(oApp);
        if (oSummary.lRecordsToSend > oSummary.lImageSize || oSummary.lImageSize < 1) {
            std::abort();
        }
    } catch (const clsError&) {
    }
    return 0;
}
