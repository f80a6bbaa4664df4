#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class clsBoardFlash;

// What the board saw of a session, for the summary. Times are nanoseconds
// on the session's clock.
struct clsSimSummary {
    struct BadLine {
        qint32 lLine;
        QByteArray aText;
        QString sWhy;
    };

    qint32 lBoard = 1; // of those played one after the other
    quint8 yTarget = 0;
    quint8 yAnnounced = 0;
    // Times the program under test opened the port.
    qint32 lPortOpens = 0;
    QByteArray aAnswer;
    bool bAnswerRight = false;
    qint32 lBaudRate = 0; // of the port, when the answer came
    bool bBaudRight = false;
    qint32 lLines = 0; // copies sent again included
    QList<qint32> alEraseSectors;
    qint32 lDataRecords = 0;
    qint32 lResendRequests = 0;
    bool bTerminateSeen = false;
    bool bTerminateWhole = false;
    QList<BadLine> aBadLines;
    qint64 lTargetByteAt = -1;
    qint64 lLastLineAt = -1;
    // From writing a reply to the first byte of the next line.
    QList<qint64> alTurnarounds;
    // How much later, or earlier, than due the replies were written, all told.
    qint64 lRepliesLate = 0;
    qint64 lRepliesEarly = 0;
    QString sEnded;

    QJsonObject ToJson(const clsBoardFlash& oFlash) const;
};
