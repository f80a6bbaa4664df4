#include "platform/mdlSettingsText.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <cstring>
#include <optional>

namespace {

QByteArray Hex(uchar yByte) {
    return QByteArray::number(yByte, 16).rightJustified(2, '0');
}

bool IsControl(uchar yByte) {
    return yByte < 0x20 || yByte == 0x7F;
}

QByteArray Quoted(const QString& sText) {
    QByteArray aQuoted = "\"";
    for (const char yByte : sText.toUtf8()) {
        if (yByte == '"' || yByte == '\\') {
            aQuoted += '\\';
            aQuoted += yByte;
        } else if (IsControl(uchar(yByte))) {
            aQuoted += "\\x" + Hex(uchar(yByte));
        } else {
            aQuoted += yByte;
        }
    }
    return aQuoted + '"';
}

// The text between the quotes of sValue; nothing when it is not one quoted text.
std::optional<QString> Unquoted(const QString& sValue) {
    static const QRegularExpression oQuoted(
        QStringLiteral(R"(^"(?:[^"\\]++|\\["\\]|\\x[0-9A-Fa-f]{2})*+"$)"));
    if (!oQuoted.match(sValue).hasMatch()) {
        return std::nullopt;
    }
    QString sText;
    for (qsizetype i = 1; i < sValue.size() - 1; ++i) {
        if (sValue.at(i) == u'\\' && sValue.at(++i) == u'x') {
            sText += QChar(sValue.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else {
            sText += sValue.at(i);
        }
    }
    return sText;
}

// A value as the file holds it: a QString, a qint32 or, for a quoted text
// it cannot read, nothing. A text a person wrote by hand without quotes is
// kept as written.
QVariant ValueOf(const QString& sWritten) {
    const QString sValue = sWritten.trimmed();
    if (const std::optional<QString> sText = Unquoted(sValue)) {
        return *sText;
    }
    bool bNumber = false;
    const qint32 lNumber = sValue.toInt(&bNumber);
    if (bNumber) {
        return lNumber;
    }
    return sValue.startsWith(u'"') ? QVariant() : QVariant(sValue);
}

// Takes one line into aEntries, or leaves it out.
void ReadLine(QByteArrayView aLine, QString& sSection, mdlSettingsText::Entries& aEntries) {
    QStringDecoder oUtf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString sLine = oUtf8.decode(aLine);
    if (oUtf8.hasError() || sLine.startsWith(u';')) {
        return;
    }
    if (sLine.endsWith(u'\r')) {
        sLine.chop(1);
    }
    if (sLine.size() > 2 && sLine.startsWith(u'[') && sLine.endsWith(u']')) {
        sSection = sLine.sliced(1, sLine.size() - 2);
        aEntries.insert(sSection, QVariant());
        return;
    }
    const qsizetype lEquals = sLine.indexOf(u'=');
    const QVariant vValue = lEquals > 0 ? ValueOf(sLine.sliced(lEquals + 1)) : QVariant();
    if (!sSection.isEmpty() && vValue.isValid()) {
        aEntries.insert(sSection + u'/' + sLine.first(lEquals), vValue);
    }
}

} // namespace

namespace mdlSettingsText {

Entries Parse(QByteArrayView aText) {
    Entries aEntries;
    QString sSection;
    qsizetype lEnd = 0;
    for (qsizetype lStart = 0; (lEnd = aText.indexOf('\n', lStart)) >= 0; lStart = lEnd + 1) {
        ReadLine(aText.sliced(lStart, lEnd - lStart), sSection, aEntries);
    }
    return aEntries;
}

QByteArray Text(const Entries& aEntries) {
    QMap<QString, QByteArray> aSections;
    for (auto it = aEntries.cbegin(); it != aEntries.cend(); ++it) {
        const qsizetype lSlash = it.key().indexOf(u'/');
        QByteArray& aLines = aSections[lSlash < 0 ? it.key() : it.key().first(lSlash)];
        if (lSlash >= 0) {
            aLines +=
                it.key().sliced(lSlash + 1).toUtf8() + '=' +
                (it.value().typeId() == QMetaType::Int ? QByteArray::number(it.value().toInt())
                                                       : Quoted(it.value().toString())) +
                '\n';
        }
    }
    QByteArray aText;
    for (auto it = aSections.cbegin(); it != aSections.cend(); ++it) {
        aText += '[' + it.key().toUtf8() + "]\n" + it.value() + '\n';
    }
    return aText;
}

QString Name(const QString& sName) {
    if (sName.isEmpty()) {
        return QStringLiteral("@");
    }
    QByteArray aName;
    for (const char yByte : sName.toUtf8()) {
        if (IsControl(uchar(yByte)) || std::strchr("%/\\=[];\"@", yByte) != nullptr) {
            aName += '%' + Hex(uchar(yByte)).toUpper();
        } else {
            aName += yByte;
        }
    }
    return QString::fromUtf8(aName);
}

} // namespace mdlSettingsText
