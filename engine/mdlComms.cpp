#include "engine/mdlComms.h"

#include "core/mdlSteps.h"
#include "engine/clsCommPort.h"
#include "engine/mdlEngineErrors.h"
#include "platform/clsJRT_Registry.h"
#include "platform/clsPortBindings.h"
#include "platform/clsSerialControl.h"
#include "records/clsBoardTarget.h"
#include "resources/mdlResources.h"

#include <functional>

namespace {

using mdlResources::LoadResString;
using mdlSteps::Ignoring;

const QString sEstablishCom = QStringLiteral("EstablishCom <sub> --- mdlComms");

// The control answers Qt's way; the engine raises.
void Check(const clsSerialControl::Failure& oFailure) {
    if (oFailure) {
        throw clsError(oFailure.lNumber, QStringLiteral("mscCommPort"), oFailure.sDescription);
    }
}

// Opens the line settings' key of oRegistry, creating it; the disposition.
qint32 OpenCommsKey(clsJRT_Registry& oRegistry) {
    return oRegistry.OpenMachineKey(mdlComms::CommsKeyPath(), true);
}

// Hands a stored integer between lLowest and lHighest to oSet.
void ReadInteger(const clsJRT_Registry& oRegistry, eRes iNameEntry, qint32 lLowest, qint32 lHighest,
                 const std::function<void(qint32)>& oSet) {
    const QVariant vData = oRegistry.Value(LoadResString(iNameEntry), clsJRT_Registry::RegDword);
    if (vData.typeId() == QMetaType::Int && vData.toInt() >= lLowest && vData.toInt() <= lHighest) {
        oSet(vData.toInt());
    }
}

// The stop bits stored as text, with "." or ","; 0 when they are none of
// 1, 1.5 and 2.
float StopBitsFrom(const QVariant& vData) {
    if (vData.typeId() != QMetaType::QString) {
        return 0;
    }
    bool bNumber = false;
    const float fStopBits =
        vData.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toFloat(&bNumber);
    return bNumber && (fStopBits == 1.0F || fStopBits == 1.5F || fStopBits == 2.0F) ? fStopBits : 0;
}

void ReadCommSettings(const clsJRT_Registry& oRegistry, clsCommPort& oSettings) {
    Ignoring([&] {
        ReadInteger(oRegistry, eRes::PortNumberValue, 0, clsPortBindings::iLastPort,
                    [&](qint32 lValue) { oSettings.SetNumber(qint16(lValue)); });
    });
    Ignoring([&] {
        ReadInteger(oRegistry, eRes::BaudRateValue, 1, std::numeric_limits<qint32>::max(),
                    [&](qint32 lValue) { oSettings.SetBaudRate(lValue); });
    });
    Ignoring([&] {
        const float fStopBits = StopBitsFrom(
            oRegistry.Value(LoadResString(eRes::StopBitsValue), clsJRT_Registry::RegSz));
        if (fStopBits != 0) {
            oSettings.SetStopBits(fStopBits);
        }
    });
    Ignoring([&] {
        ReadInteger(oRegistry, eRes::DataBitsValue, 5, 8,
                    [&](qint32 lValue) { oSettings.SetDataBits(qint16(lValue)); });
    });
    Ignoring([&] {
        ReadInteger(oRegistry, eRes::HandshakingValue, 0, 3,
                    [&](qint32 lValue) { oSettings.SetHandshaking(lValue); });
    });
}

} // namespace

namespace mdlComms {

void EstablishCom(clsSerialControl& oPort, clsCommPort& oSettings, quint8 yTargetID) {
    try {
        oSettings.SetBaudRate(clsBoardTarget::For(yTargetID).lBaudRate);
        oPort.SetInputLen(0);
        oPort.SetRThreshold(1);
        oPort.SetInputMode(clsSerialControl::comInputModeBinary);
        Check(oPort.SetSettings(oSettings.SettingsString()));
        Check(oPort.SetCommPort(oSettings.Number()));
        oPort.SetInBufferCount(0);
        Check(oPort.SetPortOpen(true));
    } catch (const clsError& oError) {
        if (mdlComms::IsSerialControlError(oError.Number())) {
            throw clsError(oError.Number(), sEstablishCom, oError.Description());
        }
        throw mdlEngineErrors::Make(mdlEngineErrors::CommsFailed);
    }
}

void SetTextMode(clsSerialControl& oPort) {
    Check(oPort.SetPortOpen(false));
    oPort.SetInputMode(clsSerialControl::comInputModeText);
    Check(oPort.SetInBufferSize(256));
    oPort.SetRThreshold(14);
    oPort.SetInputLen(14);
    Check(oPort.SetOutBufferSize(512));
    oPort.SetSThreshold(0);
    Check(oPort.SetPortOpen(true));
}

void Send(clsSerialControl& oPort, const QByteArray& aBytes) {
    Check(oPort.Output(aBytes));
}

void SendWhole(clsSerialControl& oPort, const QByteArray& aBytes) {
    Send(oPort, aBytes);
    Check(oPort.Flush());
}

bool IsSerialControlError(qint32 lNumber) {
    return lNumber >= clsSerialControl::lFirstSeriesNumber &&
           lNumber <= clsSerialControl::lLastSeriesNumber;
}

void CloseCom(clsSerialControl& oPort) {
    try {
        Check(oPort.SetPortOpen(false));
    } catch (const clsError& oError) {
        if (oError.Number() != clsSerialControl::NotOpen) {
            throw;
        }
    }
}

void RestoreCommSettings(clsJRT_Registry& oRegistry, clsCommPort& oSettings) {
    qint32 lDisposition = 0;
    Ignoring([&] { lDisposition = OpenCommsKey(oRegistry); });
    if (lDisposition == clsJRT_Registry::OpenedExistingKey) {
        ReadCommSettings(oRegistry, oSettings);
    }
    Ignoring([&] { oRegistry.CloseKey(); });
}

void StoreCommSettings(clsJRT_Registry& oRegistry, const clsCommPort& oSettings) {
    Ignoring([&] { OpenCommsKey(oRegistry); });
    const auto Write = [&](eRes iNameEntry, qint32 rtType, const QVariant& vData) {
        Ignoring([&] { oRegistry.SetValue(LoadResString(iNameEntry), rtType, vData); });
    };
    Write(eRes::PortNumberValue, clsJRT_Registry::RegDword, oSettings.Number());
    Write(eRes::BaudRateValue, clsJRT_Registry::RegDword, oSettings.BaudRate());
    Write(eRes::StopBitsValue, clsJRT_Registry::RegSz, oSettings.StopBits());
    Write(eRes::DataBitsValue, clsJRT_Registry::RegDword, oSettings.DataBits());
    Write(eRes::HandshakingValue, clsJRT_Registry::RegDword, oSettings.Handshaking());
    Ignoring([&] { oRegistry.CloseKey(); });
}

QString CommsKeyPath() {
    return mdlResources::SettingsKeyPath() + LoadResString(eRes::CommsKey);
}

QString DeviceOf(qint16 iPort) {
    clsPortBindings oBindings(CommsKeyPath());
    oBindings.Load();
    return oBindings.Device(iPort);
}

void BindNewDevices() {
    clsPortBindings oBindings(CommsKeyPath());
    oBindings.Load();
    if (!oBindings.Adopt(clsPortBindings::FoundDevices()).isEmpty()) {
        oBindings.Store();
    }
}

} // namespace mdlComms
