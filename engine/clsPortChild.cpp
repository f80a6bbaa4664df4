#include "engine/clsPortChild.h"

clsPortChild::clsPortChild(int iNewFailed) : iFailed(iNewFailed) {
    connect(&oProcess, &QProcess::readyReadStandardOutput, this,
            [this] { PassOn(QProcess::StandardOutput, false); });
    connect(&oProcess, &QProcess::readyReadStandardError, this,
            [this] { PassOn(QProcess::StandardError, false); });
    connect(&oProcess, &QProcess::finished, this, &clsPortChild::OnFinished);
    connect(&oProcess, &QProcess::errorOccurred, this, &clsPortChild::OnErrorOccurred);
}

// The process, ended as it is destroyed, would otherwise finish into the
// members already gone.
clsPortChild::~clsPortChild() {
    oProcess.disconnect(this);
}

void clsPortChild::Start(const QString& sProgram, const QStringList& asArguments) {
    oSinceStart.start();
    if (!oProcess.Launch(sProgram, asArguments)) {
        NotStarted(oProcess.errorString());
    }
}

int clsPortChild::Status() const {
    return sTrouble.isEmpty() ? iExitCode : iFailed;
}

QString clsPortChild::Result() const {
    if (sTrouble.isEmpty() || sLastLine.isEmpty()) {
        return sTrouble + sLastLine;
    }
    return QStringLiteral("%1; its last line: %2").arg(sTrouble, sLastLine);
}

// Whole lines only, so that no other port's line lands within one.
void clsPortChild::PassOn(QProcess::ProcessChannel iChannel, bool bAtEnd) {
    oProcess.setReadChannel(iChannel);
    QByteArray& aPending = aPartial[iChannel];
    aPending += oProcess.readAll();
    if (bAtEnd && !aPending.isEmpty() && !aPending.endsWith('\n')) {
        aPending += '\n';
    }
    qsizetype lStart = 0;
    for (qsizetype lEnd = 0; (lEnd = aPending.indexOf('\n', lStart)) >= 0; lStart = lEnd + 1) {
        Show(iChannel, QString::fromUtf8(aPending.sliced(lStart, lEnd - lStart)));
    }
    aPending.remove(0, lStart);
    if (iChannel == QProcess::StandardOutput) {
        emit OpenLineCame(QString::fromUtf8(aPending));
    }
}

void clsPortChild::Show(QProcess::ProcessChannel iChannel, const QString& sLine) {
    if (iChannel == QProcess::StandardOutput && !sLine.trimmed().isEmpty()) {
        sLastLine = sLine;
    }
    emit LineCame(sLine, iChannel);
}

void clsPortChild::OnFinished(int iNewExitCode, QProcess::ExitStatus iExitStatus) {
    PassOn(QProcess::StandardOutput, true);
    PassOn(QProcess::StandardError, true);
    iExitCode = iNewExitCode;
    if (iExitStatus == QProcess::CrashExit) {
        sTrouble = QStringLiteral("crashed or was killed");
    }
    End();
}

// A program that never started sends no finish.
void clsPortChild::OnErrorOccurred(QProcess::ProcessError iError) {
    if (iError == QProcess::FailedToStart) {
        NotStarted(oProcess.errorString());
    }
}

void clsPortChild::NotStarted(const QString& sWhy) {
    sTrouble = QStringLiteral("could not start: ") + sWhy;
    End();
}

void clsPortChild::End() {
    lElapsedMs = oSinceStart.elapsed();
    emit Ended();
}
