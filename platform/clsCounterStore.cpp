#include "platform/clsCounterStore.h"

#include "core/mdlErrorCodes.h"
#include "platform/clsFileLock.h"
#include "platform/mdlCounterText.h"
#include "platform/mdlDurableFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace {

// A counter file is a line; anything near this is no counter.
constexpr qint64 lLargestFile = 64 * 1024;
// A live holder changes the file in milliseconds, or in seconds on a slow
// share.
constexpr int lWaitMs = 10000;

} // namespace

qint64 clsCounterStore::Start(qint64 lFirst) {
    qint64 lNext = 0;
    Change("Start", [&](std::optional<State> oState) {
        State oStarted = oState.value_or(State{lFirst, {}});
        oStarted.lNext = std::max(oStarted.lNext, lFirst);
        lNext = oStarted.lNext;
        return oStarted;
    });
    return lNext;
}

qint64 clsCounterStore::Peek(qint64 lLargest) {
    return Hand("Peek", lLargest, false);
}

qint64 clsCounterStore::Take(qint64 lLargest) {
    return Hand("Take", lLargest, true);
}

void clsCounterStore::Return(qint64 lNumber) {
    Change("Return", [&](std::optional<State> oRead) {
        State oState = Existing("Return", oRead);
        QList<qint64>& alReturned = oState.alReturned;
        // A number the counter has not reached goes out from it anyway.
        if (lNumber < oState.lNext && !alReturned.contains(lNumber)) {
            alReturned.insert(std::lower_bound(alReturned.begin(), alReturned.end(), lNumber),
                              lNumber);
        }
        return oState;
    });
}

std::optional<clsCounterStore::State> clsCounterStore::Read(const char* sMember) const {
    QByteArray aText;
    QString sWhy;
    switch (mdlDurableFile::ReadWhole(sPath, lLargestFile, aText, sWhy)) {
    case mdlDurableFile::eOpened::Missing:
        return std::nullopt;
    case mdlDurableFile::eOpened::Refused:
        throw Failure(sMember, QStringLiteral("cannot be read: %1").arg(sWhy));
    case mdlDurableFile::eOpened::Opened:
        break;
    }
    State oState;
    const QString sDamage = mdlCounterText::Damage(aText, oState.lNext, oState.alReturned);
    if (!sDamage.isEmpty()) {
        throw Failure(sMember, QStringLiteral("is damaged (%1); no number goes out of it until "
                                              "it is mended")
                                   .arg(sDamage));
    }
    return oState;
}

clsCounterStore::State clsCounterStore::Existing(const char* sMember,
                                                 const std::optional<State>& oState) const {
    if (oState) {
        return *oState;
    }
    throw Failure(
        sMember,
        QStringLiteral("does not exist; a first number starts it, as in --serial 7000:4:100"));
}

void clsCounterStore::Write(const char* sMember, const State& oState) const {
    QJsonArray aReturned;
    for (const qint64 lNumber : oState.alReturned) {
        aReturned.append(lNumber);
    }
    const QByteArray aText = QJsonDocument(QJsonObject{{QStringLiteral("next"), oState.lNext},
                                                       {QStringLiteral("returned"), aReturned}})
                                 .toJson(QJsonDocument::Compact) +
                             '\n';
    if (QString sWhy;
        mdlDurableFile::Replace(sPath, aText, sWhy) != mdlDurableFile::eWritten::Written) {
        throw Failure(sMember, QStringLiteral("cannot be written: %1").arg(sWhy));
    }
}

void clsCounterStore::Change(const char* sMember,
                             const std::function<State(std::optional<State>)>& oChange) {
    // Before its folder is made: a name ending in a slash would become one.
    if (sPath.endsWith(u'/') || !mdlOrdinaryFile::NotOrdinary(sPath).isEmpty()) {
        throw Failure(sMember, QStringLiteral("is not a file"));
    }
    clsFileLock oLock(sPath);
    if (!oLock.Lock(lWaitMs)) {
        throw Failure(sMember, oLock.Busy()
                                   ? QStringLiteral("is ") + oLock.ErrorString()
                                   : QStringLiteral("cannot be locked: ") + oLock.ErrorString());
    }
    Write(sMember, oChange(Read(sMember)));
}

qint64 clsCounterStore::Hand(const char* sMember, qint64 lLargest, bool bTake) {
    qint64 lDue = 0;
    Change(sMember, [&](std::optional<State> oRead) {
        State oState = Existing(sMember, oRead);
        lDue = Due(sMember, oState, lLargest);
        if (bTake && !oState.alReturned.removeOne(lDue)) {
            ++oState.lNext;
        }
        return oState;
    });
    return lDue;
}

qint64 clsCounterStore::Due(const char* sMember, const State& oState, qint64 lLargest) const {
    const qint64 lDue = oState.alReturned.isEmpty() ? oState.lNext : oState.alReturned.first();
    // The counter must be able to move on past the number it gives.
    const qint64 lMost = std::min(lLargest, std::numeric_limits<qint64>::max() - 1);
    if (lDue > lMost) {
        throw Failure(sMember, QStringLiteral("has run out: its next number, %1, is past %2, the "
                                              "largest the serial number's bytes hold")
                                   .arg(lDue)
                                   .arg(lMost));
    }
    return lDue;
}

clsError clsCounterStore::Failure(const char* sMember, const QString& sWhy) const {
    return clsError::FromCode(mdlErrorCodes::CounterUnusable,
                              QStringLiteral("clsCounterStore.") + QLatin1String(sMember),
                              QStringLiteral("The serial number store %1 %2.").arg(sPath, sWhy));
}
