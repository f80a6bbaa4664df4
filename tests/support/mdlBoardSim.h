#pragma once

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

// The board simulator, for the programs that talk to a board through it.
namespace mdlBoardSim {

// Starts it on sLink with asOptions; whether its link came within ten
// seconds. A link left by an earlier board would pass for this one's.
inline bool Start(QProcess& oBoard, const QString& sLink, const QStringList& asOptions) {
    QFile::remove(sLink);
    oBoard.start(QStringLiteral(TESSIVAR_BOARDSIM),
                 asOptions + QStringList{"--link", sLink, "--linger", "100"});
    return QTest::qWaitFor([&] { return QFileInfo(sLink).isSymLink(); }, 10'000);
}

// The lines of JSON in sPath, one object a line, from the byte lFrom on:
// a summary of one board a line, or the ledger's entries.
inline QList<QJsonObject> Lines(const QString& sPath, qint64 lFrom = 0) {
    QFile oFile(sPath);
    QList<QJsonObject> aLines;
    if (oFile.open(QIODevice::ReadOnly) && oFile.seek(lFrom)) {
        for (const QByteArray& aLine : oFile.readAll().split('\n')) {
            if (!aLine.isEmpty()) {
                aLines.append(QJsonDocument::fromJson(aLine).object());
            }
        }
    }
    return aLines;
}

} // namespace mdlBoardSim
