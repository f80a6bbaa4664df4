#include <QDirIterator>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t lSize);
// Only the targets that need it define it.
extern "C" int LLVMFuzzerInitialize(int* iArgCount, char*** aArgs) __attribute__((weak));

// Feeds every file below the folders named on the command line to the fuzz
// entry point, so that a corpus runs as an ordinary test.
int main(int iArgCount, char** aArgs) {
    if (LLVMFuzzerInitialize != nullptr) {
        LLVMFuzzerInitialize(&iArgCount, &aArgs);
    }
    int iInputs = 0;
    for (int i = 1; i < iArgCount; ++i) {
        QDirIterator oFiles(QString::fromLocal8Bit(aArgs[i]), QDir::Files,
                            QDirIterator::Subdirectories);
        while (oFiles.hasNext()) {
            QFile oFile(oFiles.next());
            if (!oFile.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(oFile.fileName()));
                return 1;
            }
            const QByteArray aInput = oFile.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(aInput.constData()),
                                   static_cast<std::size_t>(aInput.size()));
            ++iInputs;
        }
    }
    std::printf("%d inputs replayed\n", iInputs);
    return iInputs > 0 ? 0 : 1;
}
