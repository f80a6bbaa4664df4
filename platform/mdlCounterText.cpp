#include "platform/mdlCounterText.h"

#include <QByteArrayView>

#include <algorithm>
#include <optional>

namespace {

const auto sRange = QStringLiteral("from 0 to 9223372036854775807");

struct Text {
    QByteArrayView aWhole;
    // What is not read yet.
    QByteArrayView aRest;
};

struct Counter {
    std::optional<qint64> oNext;
    std::optional<QList<qint64>> oReturned;
};

bool IsSpace(char cByte) {
    return cByte == ' ' || cByte == '\t' || cByte == '\r' || cByte == '\n';
}

void SkipSpace(Text& oText) {
    while (!oText.aRest.empty() && IsSpace(oText.aRest.front())) {
        oText.aRest = oText.aRest.sliced(1);
    }
}

// Reads cWanted after any whitespace; false when something else comes.
bool Take(Text& oText, char cWanted) {
    SkipSpace(oText);
    if (oText.aRest.empty() || oText.aRest.front() != cWanted) {
        return false;
    }
    oText.aRest = oText.aRest.sliced(1);
    return true;
}

QString Unexpected(const Text& oText) {
    return QStringLiteral("not of the form {\"next\": N, \"returned\": [N, ...]} at byte %1")
        .arg(oText.aWhole.size() - oText.aRest.size() + 1);
}

// Plain digits up to the next delimiter, as JSON writes them (no leading
// zero), that a 64-bit count holds. A sign, a fraction or an exponent is
// read along, and refused.
std::optional<qint64> TakeNumber(Text& oText) {
    SkipSpace(oText);
    qsizetype lLength = 0;
    while (lLength < oText.aRest.size() && !IsSpace(oText.aRest.at(lLength)) &&
           !QByteArrayView(",]}").contains(oText.aRest.at(lLength))) {
        ++lLength;
    }
    const QByteArrayView aDigits = oText.aRest.first(lLength);
    oText.aRest = oText.aRest.sliced(lLength);
    const bool bDigits = !aDigits.empty() && (aDigits.size() == 1 || aDigits.front() != '0') &&
                         std::all_of(aDigits.begin(), aDigits.end(),
                                     [](char cByte) { return cByte >= '0' && cByte <= '9'; });
    bool bHeld = false;
    const qint64 lNumber = bDigits ? aDigits.toLongLong(&bHeld) : 0;
    return bHeld ? std::optional(lNumber) : std::nullopt;
}

// Empty when what follows is a list of numbers, read into alNumbers.
QString TakeList(Text& oText, QList<qint64>& alNumbers) {
    const QString sNotList =
        QStringLiteral("\"returned\" is not a list of whole numbers ") + sRange;
    if (!Take(oText, '[')) {
        return sNotList;
    }
    if (Take(oText, ']')) {
        return {};
    }
    do {
        const std::optional<qint64> oNumber = TakeNumber(oText);
        if (!oNumber) {
            return sNotList;
        }
        alNumbers.append(*oNumber);
    } while (Take(oText, ','));
    return Take(oText, ']') ? QString() : Unexpected(oText);
}

// One key and its value into oCounter; empty when they are good.
QString TakeMember(Text& oText, Counter& oCounter) {
    if (!Take(oText, '"')) {
        return Unexpected(oText);
    }
    const qsizetype lEnd = oText.aRest.indexOf('"');
    const QByteArrayView aKey = oText.aRest.first(std::max<qsizetype>(lEnd, 0));
    if (lEnd < 0 || (aKey != "next" && aKey != "returned")) {
        return QStringLiteral("it holds a key other than \"next\" and \"returned\"");
    }
    oText.aRest = oText.aRest.sliced(lEnd + 1);
    if (!Take(oText, ':')) {
        return Unexpected(oText);
    }
    const QString sKey = QString::fromLatin1(aKey);
    if (aKey == "next" ? oCounter.oNext.has_value() : oCounter.oReturned.has_value()) {
        return QStringLiteral("\"%1\" is there twice").arg(sKey);
    }
    if (aKey == "returned") {
        return TakeList(oText, oCounter.oReturned.emplace());
    }
    oCounter.oNext = TakeNumber(oText);
    return oCounter.oNext ? QString() : QStringLiteral("\"next\" is not a whole number ") + sRange;
}

// Empty when alReturned (sorted here) are distinct numbers below lNext.
QString Unfit(qint64 lNext, QList<qint64>& alReturned) {
    std::sort(alReturned.begin(), alReturned.end());
    const auto oTwice = std::adjacent_find(alReturned.cbegin(), alReturned.cend());
    if (oTwice != alReturned.cend()) {
        return QStringLiteral("\"returned\" holds %1 twice").arg(*oTwice);
    }
    if (!alReturned.isEmpty() && alReturned.last() >= lNext) {
        return QStringLiteral("\"returned\" holds %1, which is not below \"next\"")
            .arg(alReturned.last());
    }
    return {};
}

} // namespace

namespace mdlCounterText {

QString Damage(const QByteArray& aText, qint64& lNext, QList<qint64>& alReturned) {
    Text oText{aText, aText};
    Counter oCounter;
    if (!Take(oText, '{')) {
        return Unexpected(oText);
    }
    do {
        if (const QString sWhy = TakeMember(oText, oCounter); !sWhy.isEmpty()) {
            return sWhy;
        }
    } while (Take(oText, ','));
    if (!Take(oText, '}')) {
        return Unexpected(oText);
    }
    SkipSpace(oText);
    if (!oText.aRest.empty()) {
        return Unexpected(oText);
    }
    if (!oCounter.oNext || !oCounter.oReturned) {
        return QStringLiteral("\"%1\" is missing")
            .arg(oCounter.oNext ? QStringLiteral("returned") : QStringLiteral("next"));
    }
    if (const QString sWhy = Unfit(*oCounter.oNext, *oCounter.oReturned); !sWhy.isEmpty()) {
        return sWhy;
    }
    lNext = *oCounter.oNext;
    alReturned = *oCounter.oReturned;
    return {};
}

} // namespace mdlCounterText
