#include "engine/clsSerialField.h"

#include "engine/mdlEngineErrors.h"

#include <limits>

namespace {

constexpr qint64 lHighestAddress = 0xFFFFFFFF;

clsError Unusable(const clsSerialField& oField, const QString& sWhat) {
    return clsError::FromCode(
        mdlEngineErrors::SerialFieldUnusable, QStringLiteral("clsSerialField.Check"),
        QStringLiteral("The serial number at %1 %2.").arg(oField.Range(), sWhat));
}

} // namespace

clsSerialField::Given clsSerialField::Parse(const QString& sText, bool bWithFirst) {
    using eProblem = Given::eProblem;
    const QStringList asParts = sText.split(QLatin1Char(':'));
    QString sAddress = asParts.first();
    if (sAddress.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        sAddress.remove(0, 2);
    }
    bool bAddress = false;
    bool bBytes = false;
    const qint64 lAddress = sAddress.toLongLong(&bAddress, 16);
    const int iBytes = asParts.value(1).toInt(&bBytes);
    if (asParts.size() < 2 || asParts.size() > (bWithFirst ? 3 : 2) || !bAddress || lAddress < 0 ||
        lAddress > lHighestAddress || !bBytes || iBytes < 1 || iBytes > iMostBytes) {
        return {.iProblem = eProblem::Form};
    }
    Given oGiven{.oField = clsSerialField(lAddress, qint16(iBytes))};
    if (asParts.size() == 3) {
        bool bFirst = false;
        oGiven.oFirst = asParts.at(2).toLongLong(&bFirst);
        if (!bFirst || *oGiven.oFirst < 0 || *oGiven.oFirst > oGiven.oField->Largest()) {
            oGiven.iProblem = eProblem::First;
        }
    }
    return oGiven;
}

qint64 clsSerialField::Largest() const {
    // The counter could not step past a signed 64-bit count's last number.
    return iBytes >= iMostBytes ? std::numeric_limits<qint64>::max() - 1
                                : (qint64(1) << (8 * iBytes)) - 1;
}

void clsSerialField::Check(const clsFlashImage& oImage) const {
    if (LastAddress() > oImage.Top()) {
        throw Unusable(*this,
                       QStringLiteral("reaches past the image's top, %1").arg(Hex(oImage.Top())));
    }
    for (const auto& [lFirst, lLast] : oImage.RestrictedRanges()) {
        if (lFirst <= LastAddress() && lAddress <= lLast) {
            throw Unusable(*this, QStringLiteral("lies in the protected range %1 to %2")
                                      .arg(Hex(lFirst), Hex(lLast)));
        }
    }
    for (qint64 lCell = lAddress; lCell <= LastAddress(); ++lCell) {
        if (oImage.Written(qint32(lCell))) {
            throw Unusable(
                *this,
                QStringLiteral("lies over data of the application file at %1").arg(Hex(lCell)));
        }
    }
}

void clsSerialField::Stamp(clsFlashImage& oImage, qint64 lNumber) const {
    for (qint16 i = 0; i < iBytes; ++i) {
        const int iShift = 8 * (iBytes - 1 - i);
        oImage.SetData(qint32(lAddress + i), quint8(quint64(lNumber) >> iShift));
    }
}

bool clsSerialField::Holds(const clsJRT_SRecord& oRecord) const {
    const qint64 lFirst = oRecord.Address();
    return lFirst <= LastAddress() && lAddress < lFirst + oRecord.DataByteCount();
}

QString clsSerialField::Range() const {
    return iBytes == 1 ? Hex(lAddress)
                       : Hex(lAddress) + QStringLiteral(" to ") + Hex(LastAddress());
}

QString clsSerialField::Hex(qint64 lValue) {
    return QStringLiteral("0x") + QString::number(lValue, 16).toUpper();
}
