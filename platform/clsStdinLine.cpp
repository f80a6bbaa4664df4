#include "platform/clsStdinLine.h"

#include <QEventLoop>

std::optional<QString> clsStdinLine::Read() {
    QByteArray aLine;
    bool bEnded = false;
    QEventLoop oLoop;
    const std::unique_ptr<QObject> oWatch = Watch([&](const QByteArray& aPiece) {
        aLine += aPiece;
        if (aPiece.isEmpty() || aLine.contains('\n')) {
            bEnded = true;
            oLoop.quit();
        }
    });
    if (!oWatch) {
        return std::nullopt;
    }
    pWaiting = &oLoop;
    oLoop.exec();
    pWaiting = nullptr;
    if (!bEnded || aLine.isEmpty()) {
        return std::nullopt;
    }
    // A last line without its end is still the answer.
    return QString::fromUtf8(aLine.split('\n').constFirst());
}

void clsStdinLine::Abandon() {
    if (pWaiting) {
        pWaiting->quit();
    }
}
