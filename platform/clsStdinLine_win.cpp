#include "platform/clsStdinLine.h"

#include "platform/clsInputThread.h"

std::unique_ptr<QObject> clsStdinLine::Watch(const std::function<void(const QByteArray&)>& oTake) {
    clsInputThread* pInput = clsInputThread::Instance();
    if (pInput == nullptr) {
        return nullptr;
    }
    auto oWatch = std::make_unique<QObject>();
    QObject::connect(pInput, &clsInputThread::PieceRead, oWatch.get(), oTake);
    return oWatch;
}
