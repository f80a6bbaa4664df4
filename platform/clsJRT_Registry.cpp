#include "platform/clsJRT_Registry.h"

#include "core/clsError.h"

#include <QStringList>

#include <cmath>
#include <iterator>
#include <limits>

namespace {

using R = clsJRT_Registry;

constexpr qint32 lValueReadFailure = 1003;
constexpr qint32 lKeyDoesNotExist = 1004;
constexpr qint32 lNoKeyOpened = 1006;
constexpr qint32 lUnimplementedType = 1007;
constexpr qint32 lUnknownError = 1009;
constexpr qint32 lCannotOpenParent = 1000;
constexpr qint32 lTypeMismatch = 13;
constexpr qint32 lOverflow = 6;

const char* const sOpenKey = "OpenKey <funct> --- clsJRT_Registry";
const char* const sCloseKey = "CloseKey <sub> --- clsJRT_Registry";
const char* const sValueLet = "Value <property let> --- clsJRT_Registry";
const char* const sValueGet = "Value <property get> --- clsJRT_Registry";

// The predefined root keys, from HKEY_CLASSES_ROOT (0x80000000) on.
const char* const asRootNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

clsError Failure(qint32 lCode, const char* sSource, const char* sDescription) {
    return clsError::FromCode(lCode, QLatin1String(sSource), QLatin1String(sDescription));
}

clsError Unknown(qint32 lResult, const char* sSource) {
    return clsError::FromCode(lUnknownError, QLatin1String(sSource),
                              QStringLiteral("Unknown Error No. %1").arg(lResult));
}

clsError OpenFailure(qint32 lResult) {
    switch (lResult) {
    case R::ResultNotFound:
        return Failure(lKeyDoesNotExist, sOpenKey, "Key does not exist");
    case R::ResultNoParent:
        return Failure(lCannotOpenParent, sOpenKey, "Cann't open parent key.");
    default:
        return Unknown(lResult, sOpenKey);
    }
}

// The root key's name and the names of the sub-key's path; empty for a root
// key that is not one of the predefined ones.
QStringList KeyPath(qint32 lRootKey, const QString& sSubKey) {
    const quint32 lRoot = quint32(lRootKey) - 0x80000000U;
    if (lRoot >= std::size(asRootNames)) {
        return {};
    }
    return QStringList(QLatin1String(asRootNames[lRoot])) +
           sSubKey.split(u'\\', Qt::SkipEmptyParts);
}

QString TextOf(const QVariant& vData) {
    if (!vData.canConvert<QString>()) {
        throw clsError(lTypeMismatch, QLatin1String(sValueLet), QStringLiteral("Type mismatch"));
    }
    return vData.toString();
}

// A number rounds half to even, as the conversion to a 32-bit integer does.
qint32 DwordOf(const QVariant& vData) {
    bool bNumber = false;
    const double dValue = std::nearbyint(vData.toDouble(&bNumber));
    if (!bNumber) {
        throw clsError(lTypeMismatch, QLatin1String(sValueLet), QStringLiteral("Type mismatch"));
    }
    if (!(dValue >= std::numeric_limits<qint32>::min() &&
          dValue <= std::numeric_limits<qint32>::max())) {
        throw clsError(lOverflow, QLatin1String(sValueLet), QStringLiteral("Overflow"));
    }
    return qint32(dValue);
}

} // namespace

clsJRT_Registry::clsJRT_Registry() = default;

clsJRT_Registry::~clsJRT_Registry() = default;

void clsJRT_Registry::SetValue(const QString& sValueName, qint32 rtType, const QVariant& vData) {
    if (!oStore) {
        throw Failure(lNoKeyOpened, sValueLet, "No key opened");
    }
    if (rtType == RegSz) {
        oStore->SetValue(sValueName, TextOf(vData));
    } else if (rtType == RegDword) {
        oStore->SetValue(sValueName, DwordOf(vData));
    } else {
        throw Failure(lUnimplementedType, sValueLet, "Unimplemented registry type");
    }
}

QVariant clsJRT_Registry::Value(const QString& sValueName, qint32 rtType) const {
    if (!oStore) {
        throw Failure(lNoKeyOpened, sValueGet, "No key opened.");
    }
    if (rtType != RegSz && rtType != RegDword) {
        throw Failure(lUnimplementedType, sValueGet, "Unimplemented registry type.");
    }
    if (!oStore->Contains(sValueName)) {
        throw Failure(lValueReadFailure, sValueGet, "Failure during value read.");
    }
    const QVariant vStored = oStore->Value(sValueName);
    const int iWanted = rtType == RegSz ? QMetaType::QString : QMetaType::Int;
    return vStored.typeId() == iWanted ? vStored : QVariant();
}

void clsJRT_Registry::CloseKey() {
    if (!oStore) {
        return;
    }
    const qint32 lResult = oStore->Save();
    if (lResult != ResultSuccess) {
        throw Unknown(lResult, sCloseKey);
    }
    oStore.reset();
}

qint32 clsJRT_Registry::OpenMachineKey(const QString& sNewSubKey, bool bCreate) {
    SetRootKey(lHKeyLocalMachine);
    SetSubKey(sNewSubKey);
    SetAutoCreate(bCreate);
    return OpenKey();
}

qint32 clsJRT_Registry::OpenKey() {
    oStore.reset();
    const QStringList asKey = KeyPath(lRootKey, sSubKey);
    qint32 lDisposition = 0;
    const qint32 lResult = asKey.isEmpty()
                               ? qint32(ResultInvalidHandle)
                               : clsSettingsKey::Open(asKey, bAutoCreate, oStore, lDisposition);
    if (lResult != ResultSuccess) {
        oStore.reset();
        throw OpenFailure(lResult);
    }
    return lDisposition;
}
