#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

// Runs the independent tools the tests check us against.
namespace mdlExternalTools {

// Runs sProgram with asArguments and returns its standard output. An absent
// tool fails the row (the test command installs every tool, but a Windows
// program under Wine cannot start these Linux ones); a failed run stops the
// test program.
inline QByteArray Run(const QString& sProgram, const QStringList& asArguments) {
    const QString sPath = QStandardPaths::findExecutable(sProgram);
    if (sPath.isEmpty()) {
        QTest::qFail(qPrintable(sProgram + " is not installed; scripts/test installs it"), __FILE__,
                     __LINE__);
        return {};
    }
    QProcess oProcess;
    oProcess.start(sPath, asArguments);
    if (!oProcess.waitForFinished(120'000) || oProcess.exitStatus() != QProcess::NormalExit ||
        oProcess.exitCode() != 0) {
        qFatal("%s %s failed: %s", qPrintable(sProgram), qPrintable(asArguments.join(' ')),
               oProcess.readAllStandardError().constData());
    }
    return oProcess.readAllStandardOutput();
}

// What a target-22 board's 64 KiB flash holds after an upload of sFile,
// every byte no record wrote at the fill value 0xFF, as srec_cat makes it;
// with lSerialAt, lNumber there in four bytes, the most significant first.
inline QByteArray Flash22(const QString& sFile, qint32 lSerialAt = -1, qint64 lNumber = 0) {
    QByteArray aFlash =
        Run("srec_cat", {sFile, "-fill", "0xFF", "0", "0x10000", "-o", "-", "-binary"});
    for (int i = 0; lSerialAt >= 0 && i < 4; ++i) {
        aFlash[lSerialAt + i] = char(lNumber >> (8 * (3 - i)));
    }
    return aFlash;
}

} // namespace mdlExternalTools
