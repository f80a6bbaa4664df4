#include "engine/clsCommPort.h"

QString clsCommPort::SettingsString() const {
    static constexpr char16_t asParityLetters[] = u"EONMS";
    const QString sParity = lParity >= ParityEven && lParity <= ParitySpace
                                ? QString(QChar(asParityLetters[lParity]))
                                : QString();
    return QStringLiteral("%1,%2,%3,%4")
        .arg(lBaudRate)
        .arg(sParity)
        .arg(iDataBits)
        .arg(QString::number(double(fStopBits), 'g', 7));
}
