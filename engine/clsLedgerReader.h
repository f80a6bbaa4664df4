#pragma once

#include "core/mdlOrdinaryFile.h"

#include <QByteArray>
#include <QFile>
#include <QJsonObject>

#include <functional>

// The ledger of uploads read back a line at a time, from its start or from
// where its last entries begin, so that memory stays the same whatever its
// size. It takes no lock: writers add whole lines at the end.
class clsLedgerReader {
public:
    // No entry is longer; a longer line is damaged.
    static constexpr qint64 lLongestLine = 64 * 1024;

    struct Entry {
        // The line as the ledger holds it, without its end.
        QByteArray aLine;
        QJsonObject oFields;
    };
    using EntryTaker = std::function<void(const Entry& oEntry)>;
    // lLine counts the ledger's lines from 1.
    using DamageTaker = std::function<void(qint64 lLine)>;

    // Opens the ledger sPath where it is an ordinary file, without waiting on
    // anything else the name leads to; sWhy says why not.
    mdlOrdinaryFile::eOpened Open(const QString& sPath, QString& sWhy);
    // Reading begins at the last lCount entries, looked for from the end.
    bool StartAtLast(qint64 lCount);
    // Hands out each entry and each damaged line from where reading begins
    // to the end; a second Read goes over the same lines, none added since.
    // False when the file could not be read to the end.
    bool Read(const EntryTaker& oEntry, const DamageTaker& oDamaged);
    QString ErrorString() const { return oFile.errorString(); }

private:
    // The line from lStart to lEnd, its line end excluded, as an entry.
    bool IsEntry(qint64 lStart, qint64 lEnd);
    // The line that ends where reading reached: handed out, or skipped
    // when empty.
    void Take(const QByteArray& aLine, bool bLong, qint64 lLine, const EntryTaker& oEntry,
              const DamageTaker& oDamaged);
    // Lines ended before where reading begins, counted once, when a damaged
    // line needs its number.
    qint64 LinesBefore();
    bool ReadAt(qint64 lAt, char* pInto, qint64 lBytes);

    QFile oFile;
    qint64 lFrom = 0;
    // Where reading ends; none until the first Read or StartAtLast.
    qint64 lTo = -1;
    qint64 lLinesBefore = -1;
};
