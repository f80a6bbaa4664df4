#pragma once

#include <QProcess>
#include <QTest>

// Runs the headless command as a person or a script would.
namespace mdlCli {

struct Outcome {
    int iExitCode;
    QByteArray aOut, aErr;
};

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
    if (!oCli.waitForFinished(60'000)) {
        oCli.kill();
        oCli.waitForFinished();
        return {-1, {}, "did not finish within a minute"};
    }
    return {oCli.exitStatus() == QProcess::NormalExit ? oCli.exitCode() : -2,
            oCli.readAllStandardOutput(), oCli.readAllStandardError()};
}

inline Outcome Run(const QStringList& asArguments, const QString& sStdoutFile = {}) {
    return RunProgram(QStringLiteral(TESSIVAR_CLI), asArguments, sStdoutFile);
}

} // namespace mdlCli
