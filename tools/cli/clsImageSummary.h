#pragma once

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>

class clsApplication;

// What an upload of a prepared image would do: found by walking the image
// the way the upload does, one exported record after another.
class clsImageSummary {
public:
    // Walks oApp's image from address 0; leaves its byte pointer at the end.
    explicit clsImageSummary(clsApplication& oApp);

    QJsonObject ToJson() const;
    QString ToText() const;

private:
    void AddRecordLine(const QString& sLine);
    double LineSeconds() const;

    quint8 yTargetID = 0;
    qint32 lBaudRate = 0;
    quint8 yFillValue = 0;
    QList<qint16> aiEraseOrder;
    QList<QPair<qint32, qint32>> aProtected;
    qint32 lImageSize = 0;
    qint32 lRecords = 0;
    qint32 lCheckSum = 0;
    qint32 lUnrestricted = 0;
    qint64 lLineBytes = 0;
};
