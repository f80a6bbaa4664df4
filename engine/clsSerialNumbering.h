#pragma once

#include "engine/clsSerialField.h"
#include "platform/clsCounterStore.h"

#include <optional>

// Each board's own serial number: taken from the counter store as the
// board's upload begins, written into its image, and given back to the
// store when that upload does not complete, for the next board.
class clsSerialNumbering {
public:
    // What became of a board's number.
    struct Use {
        clsSerialField oField;
        QString sStore;
        qint64 lNumber = 0;
        // The board took its image whole.
        bool bUsed = false;
        bool bReturned = false;
        // Why a number that was not used could not go back; empty otherwise.
        QString sFailure;
    };

    // oNewFirst, when given, starts the store's counter at the first
    // Prepare; whoever starts several uploads on one store gives it once.
    clsSerialNumbering(const clsSerialField& oNewField, const QString& sStorePath,
                       std::optional<qint64> oNewFirst);

    const clsSerialField& Field() const { return oField; }
    const QString& StorePath() const { return oStore.Path(); }
    // Before any port opens: starts the counter at the first number, if
    // one was given and not yet applied, and returns the number the next
    // board gets; raises 2012 when the store has none for the field or
    // cannot be written.
    qint64 Prepare();
    // Takes the board's number and writes it into oImage; raises 2012 when
    // the store gives none.
    qint64 StampBoard(clsFlashImage& oImage);
    // The board's number used, or else given back; nothing when the board
    // took none.
    std::optional<Use> Settle(bool bUsed);

private:
    clsSerialField oField;
    clsCounterStore oStore;
    std::optional<qint64> oFirst;
    std::optional<qint64> oTaken;
};
