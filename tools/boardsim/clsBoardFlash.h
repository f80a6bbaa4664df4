#pragma once

#include <QByteArray>
#include <QString>

#include <span>

// The board's flash: every byte holds the fill value until a data record
// writes it.
class clsBoardFlash {
public:
    clsBoardFlash(qint32 lSize, quint8 yFill);

    bool Fits(qint32 lAddress, qsizetype lCount) const;
    // Only where it fits.
    void Write(qint32 lAddress, std::span<const quint8> aData);

    qint32 Size() const { return qint32(aBytes.size()); }
    QString Sha256() const;
    bool SaveTo(const QString& sPath) const;

private:
    QByteArray aBytes;
};
