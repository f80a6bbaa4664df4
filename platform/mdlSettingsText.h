#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// The text of the settings file where there is no registry. A key is a
// section named by its path from the root key; a REG_DWORD is a bare
// decimal integer, a REG_SZ a quoted text with "\" escapes:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Quellis\Tessivar\2.6.0\Comms]
//   PortNumber=1
//   StopBits="1.5"
//
// Lines starting with ";" are remarks (files of earlier versions end with
// one that counts their bytes).
namespace mdlSettingsText {

// Section "key" stands for a key alone; "key/name" for a value of the key:
// a QString (REG_SZ) or a qint32 (REG_DWORD).
using Entries = QMap<QString, QVariant>;

// Every line it can take; a line that the end of the text cuts, or that it
// cannot read, is left out and the rest kept.
Entries Parse(QByteArrayView aText);
QByteArray Text(const Entries& aEntries);

// A name as the file writes it in a section's name or before "=": "%" and
// what would end a name, a line or a key there as %XX; the empty name as
// "@".
QString Name(const QString& sName);

} // namespace mdlSettingsText
