#pragma once

#include <QProcess>
#include <QTest>

// Runs the headless command as a person or a script would.
namespace mdlCli {

struct Outcome {
    int iExitCode;
    QByteArray aOut, aErr;
};

// Reads oCli's read channel into aOut until it holds aMark, or oCli is
// silent for 20 s.
inline void ReadUntil(QProcess& oCli, QByteArray& aOut, const QByteArray& aMark) {
    while (!aOut.contains(aMark) && oCli.waitForReadyRead(20'000)) {
        aOut += oCli.readAll();
    }
}

// oCli's exit code once it ends: -1 when it did not within a minute and
// was killed, -2 when it crashed.
inline int Finish(QProcess& oCli) {
    if (!oCli.waitForFinished(60'000)) {
        oCli.kill();
        oCli.waitForFinished();
        return -1;
    }
    return oCli.exitStatus() == QProcess::NormalExit ? oCli.exitCode() : -2;
}

// sStdoutFile, when given, takes the program's standard output. A program
// that does not finish within a minute is killed and fails the test; one
// built with AddressSanitizer is stopped past 300 MB.
inline Outcome RunProgram(const QString& sProgram, const QStringList& asArguments,
                          const QString& sStdoutFile = {}) {
    QProcess oCli;
    QProcessEnvironment oEnvironment = QProcessEnvironment::systemEnvironment();
    oEnvironment.insert("ASAN_OPTIONS",
                        oEnvironment.value("ASAN_OPTIONS") + ":hard_rss_limit_mb=300");
    oCli.setProcessEnvironment(oEnvironment);
    if (!sStdoutFile.isEmpty()) {
        oCli.setStandardOutputFile(sStdoutFile);
    }
    oCli.start(sProgram, asArguments);
    const int iExitCode = Finish(oCli);
    return {iExitCode, oCli.readAllStandardOutput(),
            iExitCode == -1 ? "did not finish within a minute" : oCli.readAllStandardError()};
}

inline Outcome Run(const QStringList& asArguments, const QString& sStdoutFile = {}) {
    return RunProgram(QStringLiteral(TESSIVAR_CLI), asArguments, sStdoutFile);
}

} // namespace mdlCli
