#include "engine/mdlTextUtil.h"

#include "records/mdlHex.h"

#include <algorithm>
#include <limits>

namespace {

// The value of plain hexadecimal digits, or nothing when it exceeds lMax.
std::optional<quint32> HexNumber(const QString& sText, quint32 lMax) {
    const QString sDigits = mdlTextUtil::Trim(sText);
    if (sDigits.isEmpty()) {
        return std::nullopt;
    }
    quint64 lValue = 0;
    for (const QChar sDigit : sDigits) {
        const int iDigit = mdlHex::DigitValue(sDigit);
        if (iDigit < 0) {
            return std::nullopt;
        }
        lValue = lValue * 16 + static_cast<quint64>(iDigit);
        if (lValue > lMax) {
            return std::nullopt;
        }
    }
    return static_cast<quint32>(lValue);
}

// A character that acts on a terminal, or is not seen there.
bool IsHidden(char32_t lCode) {
    const QChar::Category iKind = QChar::category(lCode);
    return iKind == QChar::Other_Control || iKind == QChar::Other_Format;
}

} // namespace

namespace mdlTextUtil {

QString Trim(const QString& sText) {
    qsizetype lFirst = 0;
    qsizetype lEnd = sText.size();
    while (lFirst < lEnd && sText.at(lFirst) == QLatin1Char(' ')) {
        ++lFirst;
    }
    while (lEnd > lFirst && sText.at(lEnd - 1) == QLatin1Char(' ')) {
        --lEnd;
    }
    return sText.mid(lFirst, lEnd - lFirst);
}

QStringList SplitText(QString sText, const QString& sDelimiter, bool bTrim) {
    QStringList aFields;
    // An empty delimiter would be found at every position without ever
    // shortening the rest.
    if (!sDelimiter.isEmpty()) {
        qsizetype lAt = sText.indexOf(sDelimiter);
        while (lAt >= 0) {
            aFields.append(sText.left(lAt));
            sText.remove(0, lAt + sDelimiter.size());
            lAt = sText.indexOf(sDelimiter);
        }
    }
    aFields.append(sText);
    if (bTrim) {
        for (QString& sField : aFields) {
            sField = Trim(sField);
        }
    }
    return aFields;
}

QString Visible(QStringView sText) {
    QString sShown;
    for (const QChar sChar : sText) {
        const char16_t iCode = sChar.unicode();
        if (IsHidden(iCode)) {
            sShown += iCode < 0x100 ? QStringLiteral("\\x%1").arg(iCode, 2, 16, QLatin1Char('0'))
                                    : QStringLiteral("\\u%1").arg(iCode, 4, 16, QLatin1Char('0'));
        } else {
            sShown += sChar;
        }
    }
    return sShown;
}

QString VisibleJson(QStringView sJson) {
    QString sShown;
    bool bInString = false;
    bool bEscaped = false;
    // Where the text not yet copied begins: copied in runs, as few lines
    // hold anything to escape.
    qsizetype lCopied = 0;
    for (qsizetype i = 0; i < sJson.size(); ++i) {
        const QChar sChar = sJson.at(i);
        if (bEscaped) {
            bEscaped = false;
            continue;
        }
        bEscaped = sChar == u'\\';
        bInString = bInString != (sChar == u'"');
        if (!bInString || (sChar >= u' ' && sChar < u'\x7F')) {
            continue;
        }
        // A character beyond 16 bits comes in two halves, escaped both or neither.
        const bool bPair =
            sChar.isHighSurrogate() && i + 1 < sJson.size() && sJson.at(i + 1).isLowSurrogate();
        if (!IsHidden(bPair ? QChar::surrogateToUcs4(sChar, sJson.at(i + 1)) : sChar.unicode())) {
            continue;
        }
        sShown += sJson.sliced(lCopied, i - lCopied);
        for (const QChar sHalf : sJson.sliced(i, bPair ? 2 : 1)) {
            sShown += QStringLiteral("\\u%1").arg(sHalf.unicode(), 4, 16, QLatin1Char('0'));
        }
        i += bPair ? 1 : 0;
        lCopied = i + 1;
    }
    return sShown.append(sJson.sliced(lCopied));
}

QString Quoted(QStringView sText, qsizetype lMaxChars) {
    QString sQuoted = QStringLiteral("\"");
    for (const QChar sChar : sText.first(std::min(sText.size(), lMaxChars))) {
        if (sChar == u'\t') {
            sQuoted += QStringLiteral("\\t");
        } else if (sChar == u'\\' || sChar == u'"') {
            sQuoted += QLatin1Char('\\') + sChar;
        } else {
            sQuoted += Visible(QStringView(&sChar, 1));
        }
    }
    sQuoted += QLatin1Char('"');
    if (sText.size() > lMaxChars) {
        sQuoted += QStringLiteral(" and %L1 characters more").arg(sText.size() - lMaxChars);
    }
    return sQuoted;
}

QString Duration(qint64 lMs) {
    const qint64 lSeconds = (lMs + 500) / 1000;
    return lSeconds < 60 ? QStringLiteral("%1 s").arg(lSeconds)
                         : QStringLiteral("%1 min %2 s").arg(lSeconds / 60).arg(lSeconds % 60);
}

std::optional<quint8> HexToByte(const QString& sText) {
    const auto lValue = HexNumber(sText, std::numeric_limits<quint8>::max());
    if (!lValue) {
        return std::nullopt;
    }
    return static_cast<quint8>(*lValue);
}

std::optional<qint32> HexToLong(const QString& sText) {
    const auto lValue = HexNumber(sText, std::numeric_limits<quint32>::max());
    if (!lValue) {
        return std::nullopt;
    }
    return static_cast<qint32>(*lValue);
}

std::optional<qint16> TextToInteger(const QString& sText) {
    const QString sNumber = Trim(sText);
    const bool bSigned =
        sNumber.startsWith(QLatin1Char('-')) || sNumber.startsWith(QLatin1Char('+'));
    const QStringView sDigits = QStringView(sNumber).mid(bSigned ? 1 : 0);
    const bool bDigitsOnly =
        !sDigits.isEmpty() && std::all_of(sDigits.begin(), sDigits.end(), [](QChar sDigit) {
            return sDigit >= QLatin1Char('0') && sDigit <= QLatin1Char('9');
        });
    bool bOk = false;
    const int iValue = bDigitsOnly ? sNumber.toInt(&bOk, 10) : 0;
    if (!bOk || iValue < std::numeric_limits<qint16>::min() ||
        iValue > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<qint16>(iValue);
}

} // namespace mdlTextUtil
