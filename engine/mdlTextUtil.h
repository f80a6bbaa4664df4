#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Text helpers for reading the command file.
namespace mdlTextUtil {

// sText without the spaces (only spaces) at either end.
QString Trim(const QString& sText);

// Cuts sText at every sDelimiter; with bTrim, spaces around each field go.
// Never returns fewer than one field.
QStringList SplitText(QString sText, const QString& sDelimiter, bool bTrim);

// sText with its control characters written as escapes (\x1B), so that
// showing it on a terminal never acts on the terminal.
QString Visible(QStringView sText);
// sJson, valid JSON, with the control characters in its strings written as
// \u escapes, which JSON reads as the same characters.
QString VisibleJson(QStringView sJson);
// sText for a message: at most lMaxChars characters of it, in double
// quotes, with control characters written as escapes (\t, \x1B) so that
// quoting a line never moves a terminal's cursor or ends a message early.
QString Quoted(QStringView sText, qsizetype lMaxChars = 80);

// lMs to the nearest second, such as "55 s" or "2 min 55 s".
QString Duration(qint64 lMs);

// Hexadecimal digits, spaces around them allowed, as one byte; nothing for
// any other text or a value above FF.
std::optional<quint8> HexToByte(const QString& sText);
// Up to 32 bits of hexadecimal digits read as a signed 32-bit value, so
// that FFFFFFFF is -1.
std::optional<qint32> HexToLong(const QString& sText);
// A decimal integer with an optional sign, in the signed 16-bit range.
std::optional<qint16> TextToInteger(const QString& sText);

} // namespace mdlTextUtil
