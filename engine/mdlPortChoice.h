#pragma once

#include <QString>

#include <optional>

// Which port a technician's choice names: a port number 1 to 16, or a
// device (its path; on Windows its COM name). Every face takes a choice
// given as text alike.
namespace mdlPortChoice {

struct Choice {
    // 0 when a device is named.
    qint16 iPort = 0;
    // Empty when a number is given.
    QString sDevice;
};

// A port number 1 to 16 given as text; 0 when it is none.
qint16 Number(const QString& sText);
// sText as a number or, where it is none, a device; nothing for a number
// out of range, or no text.
std::optional<Choice> Of(const QString& sText);
// The device sText, a number or a device, stands for, links followed; empty
// for a number bound to no device.
QString Device(const QString& sText);
// What tells two choices apart: the device, or a number bound to none.
QString Identity(const QString& sText);

} // namespace mdlPortChoice
