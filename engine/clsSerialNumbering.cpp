#include "engine/clsSerialNumbering.h"

clsSerialNumbering::clsSerialNumbering(const clsSerialField& oNewField, const QString& sStorePath,
                                       std::optional<qint64> oNewFirst)
    : oField(oNewField), oStore(sStorePath), oFirst(oNewFirst) {}

qint64 clsSerialNumbering::Prepare() {
    if (oFirst) {
        oStore.Start(*oFirst);
        oFirst.reset();
    }
    return oStore.Peek(oField.Largest());
}

qint64 clsSerialNumbering::StampBoard(clsFlashImage& oImage) {
    const qint64 lNumber = oStore.Take(oField.Largest());
    oTaken = lNumber;
    oField.Stamp(oImage, lNumber);
    return lNumber;
}

std::optional<clsSerialNumbering::Use> clsSerialNumbering::Settle(bool bUsed) {
    if (!oTaken) {
        return std::nullopt;
    }
    Use oUse{.oField = oField,
             .sStore = oStore.Path(),
             .lNumber = *oTaken,
             .bUsed = bUsed,
             .bReturned = false,
             .sFailure = {}};
    oTaken.reset();
    if (!bUsed) {
        try {
            oStore.Return(oUse.lNumber);
            oUse.bReturned = true;
        } catch (const clsError& oError) {
            oUse.sFailure = oError.Description();
        }
    }
    return oUse;
}
