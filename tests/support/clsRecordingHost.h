#pragma once

#include "engine/clsEngineHost.h"
#include "engine/clsStatusText.h"
#include "platform/clsSerialControl.h"

#include <QList>
#include <QStringList>

// An engine host that keeps the status log and the pointer changes.
class clsRecordingHost : public clsEngineHost {
public:
    void Status(const QString& sStatusLine) override { oText.AppendLine(sStatusLine); }
    void ShowWaitDots() override { oText.AppendWaitDots(); }
    void SetMousePointer(eMousePointer iPointer) override { aiPointers.append(iPointer); }
    clsSerialControl& SerialPort() override { return oCommPort; }

    // Forgets the log and the pointer changes.
    void Clear() {
        oText = clsStatusText();
        aiPointers.clear();
    }

    const QString& Log() const { return oText.Text(); }
    QStringList Lines() const { return Log().split(QStringLiteral("\r\n")); }

    clsStatusText oText;
    QList<eMousePointer> aiPointers;
    // Port n is the device at index n - 1.
    QStringList asDevices;
    clsSerialControl oCommPort{[this](qint16 iPort) { return asDevices.value(iPort - 1); }};
};
