#include "platform/clsSettingsKey.h"

#include "platform/clsRegistryHives.h"

#include <QMap>

#include <cstring>

namespace {

using Place = clsRegistryHives::Key;

const wchar_t* Wide(const QString& sText) {
    return reinterpret_cast<const wchar_t*>(sText.utf16());
}

// hKey is set only where the key opened.
LONG OpenPlace(const Place& oPlace, REGSAM lAccess, HKEY& hKey) {
    HKEY hOpened = nullptr;
    const LONG lResult = ::RegOpenKeyExW(oPlace.hRoot, Wide(oPlace.sPath), 0, lAccess, &hOpened);
    if (lResult == ERROR_SUCCESS) {
        hKey = hOpened;
    }
    return lResult;
}

// Opens oPlace for reading and writing, making it where it is missing.
LONG Create(const Place& oPlace, HKEY& hKey, DWORD& lDisposition) {
    HKEY hOpened = nullptr;
    const LONG lResult = ::RegCreateKeyExW(oPlace.hRoot, Wide(oPlace.sPath), 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, &hOpened, &lDisposition);
    if (lResult == ERROR_SUCCESS) {
        hKey = hOpened;
    }
    return lResult;
}

bool Exists(const Place& oPlace) {
    HKEY hKey = nullptr;
    const LONG lResult = OpenPlace(oPlace, KEY_READ, hKey);
    if (lResult == ERROR_SUCCESS) {
        ::RegCloseKey(hKey);
    }
    return lResult != ERROR_FILE_NOT_FOUND;
}

// Whether this user may write oPlace, or make it below the nearest key
// that exists.
bool MayWrite(Place oPlace) {
    for (;;) {
        HKEY hKey = nullptr;
        const LONG lResult = OpenPlace(oPlace, KEY_WRITE, hKey);
        if (lResult == ERROR_SUCCESS) {
            ::RegCloseKey(hKey);
            return true;
        }
        if (lResult != ERROR_FILE_NOT_FOUND || oPlace.sPath.isEmpty()) {
            return false;
        }
        oPlace.sPath.truncate(std::max<qsizetype>(oPlace.sPath.lastIndexOf(u'\\'), 0));
    }
}

// The value as stored: a QString, a qint32, or nothing for any other type.
// A text keeps all it holds but the one NUL that ends it.
QVariant Read(HKEY hKey, const QString& sValueName) {
    DWORD lType = 0;
    DWORD lSize = 0;
    QByteArray aData;
    LONG lResult = ERROR_MORE_DATA;
    while (lResult == ERROR_MORE_DATA) {
        aData.resize(qsizetype(lSize));
        lResult = ::RegQueryValueExW(hKey, Wide(sValueName), nullptr, &lType,
                                     reinterpret_cast<BYTE*>(aData.data()), &lSize);
    }
    if (lResult != ERROR_SUCCESS) {
        return {};
    }
    if (lType == REG_DWORD && lSize == sizeof(qint32)) {
        qint32 lValue = 0;
        std::memcpy(&lValue, aData.constData(), sizeof lValue);
        return lValue;
    }
    if (lType != REG_SZ) {
        return {};
    }
    QString sText(reinterpret_cast<const QChar*>(aData.constData()), qsizetype(lSize / 2));
    if (sText.endsWith(QChar(0))) {
        sText.chop(1);
    }
    return sText;
}

LONG Write(HKEY hKey, const QString& sValueName, const QVariant& vData) {
    if (vData.typeId() == QMetaType::QString) {
        const QString sText = vData.toString();
        return ::RegSetValueExW(hKey, Wide(sValueName), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(sText.utf16()),
                                DWORD((sText.size() + 1) * 2));
    }
    const qint32 lValue = vData.toInt();
    return ::RegSetValueExW(hKey, Wide(sValueName), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&lValue), sizeof lValue);
}

} // namespace

struct clsSettingsKey::Stored {
    // Where values are read; none for a key still to be made.
    HKEY hKey = nullptr;
    // Whether hKey is the key saves go to, open for writing.
    bool bWritable = false;
    // Where saves go: the key read, or the user's own for a key read from
    // the machine's.
    Place oSaved;
    QMap<QString, QVariant> aChanged;
    // A new key is saved even without a value.
    bool bCreated = false;

    Stored() = default;
    Stored(const Stored&) = delete;
    Stored& operator=(const Stored&) = delete;
    ~Stored() {
        if (hKey != nullptr) {
            ::RegCloseKey(hKey);
        }
    }

    // Opens oPlace for reading and writing, or for reading alone where it
    // may not be written; makes it where bCreate is set.
    LONG Open(const Place& oPlace, bool bCreate, bool& bExisted) {
        oSaved = oPlace;
        DWORD lDisposition = REG_OPENED_EXISTING_KEY;
        LONG lResult = bCreate ? Create(oPlace, hKey, lDisposition)
                               : OpenPlace(oPlace, KEY_READ | KEY_WRITE, hKey);
        bWritable = lResult == ERROR_SUCCESS;
        if (lResult == ERROR_ACCESS_DENIED && OpenPlace(oPlace, KEY_READ, hKey) == ERROR_SUCCESS) {
            lResult = ERROR_SUCCESS;
        }
        bExisted = lDisposition == REG_OPENED_EXISTING_KEY;
        return lResult;
    }

    // The machine's key, read where it exists, for saves that go to oUser.
    LONG ReadMachine(const Place& oMachine, const Place& oUser, bool bCreate, bool& bExisted) {
        oSaved = oUser;
        const LONG lResult = OpenPlace(oMachine, KEY_READ, hKey);
        bExisted = lResult == ERROR_SUCCESS;
        return lResult == ERROR_FILE_NOT_FOUND && bCreate ? ERROR_SUCCESS : lResult;
    }

    // Opens the key saves go to for writing. The user's key, made here from
    // the machine's, starts as a whole copy of it; one that another copy of
    // the program made meanwhile is kept as it is.
    LONG OpenForSaving() {
        HKEY hSaved = nullptr;
        DWORD lDisposition = 0;
        const LONG lResult = Create(oSaved, hSaved, lDisposition);
        if (lResult != ERROR_SUCCESS) {
            return lResult;
        }
        if (lDisposition == REG_CREATED_NEW_KEY && hKey != nullptr) {
            if (const LONG lCopied = ::RegCopyTreeW(hKey, nullptr, hSaved);
                lCopied != ERROR_SUCCESS) {
                ::RegCloseKey(hSaved);
                return lCopied;
            }
        }
        if (hKey != nullptr) {
            ::RegCloseKey(hKey);
        }
        hKey = hSaved;
        bWritable = true;
        return ERROR_SUCCESS;
    }
};

clsSettingsKey::clsSettingsKey(std::unique_ptr<Stored> oNewStored)
    : oStored(std::move(oNewStored)) {}

clsSettingsKey::~clsSettingsKey() = default;

// A key named under the local machine is kept there where this user may
// write it; otherwise the user's own key of the same path is used whole
// where it exists, and else the machine's is read and the first save makes
// the user's.
qint32 clsSettingsKey::Open(const QStringList& asKey, bool bCreate,
                            std::unique_ptr<clsSettingsKey>& oKey, qint32& lDisposition) {
    auto oStored = std::make_unique<Stored>();
    const QString sPath = asKey.sliced(1).join(u'\\');
    const clsRegistryHives& oHives = clsRegistryHives::Current();
    const Place oMachine = clsRegistryHives::Below(oHives.sMachine, sPath);
    const Place oUser = clsRegistryHives::Below(oHives.sUser, sPath);
    bool bExisted = false;
    LONG lResult = ERROR_SUCCESS;
    if (asKey.first() != QLatin1String("HKEY_LOCAL_MACHINE")) {
        lResult = oStored->Open(clsRegistryHives::Below(asKey.first(), sPath), bCreate, bExisted);
    } else if (oHives.oMayWriteMachine ? oHives.oMayWriteMachine(sPath) : MayWrite(oMachine)) {
        lResult = oStored->Open(oMachine, bCreate, bExisted);
    } else if (Exists(oUser)) {
        lResult = oStored->Open(oUser, false, bExisted);
    } else {
        lResult = oStored->ReadMachine(oMachine, oUser, bCreate, bExisted);
    }
    if (lResult != ERROR_SUCCESS) {
        return qint32(lResult);
    }
    oStored->bCreated = !bExisted;
    oKey.reset(new clsSettingsKey(std::move(oStored)));
    lDisposition = bExisted ? OpenedExistingKey : CreatedNewKey;
    return ResultSuccess;
}

bool clsSettingsKey::Contains(const QString& sValueName) const {
    return oStored->aChanged.contains(sValueName) ||
           (oStored->hKey != nullptr &&
            ::RegQueryValueExW(oStored->hKey, Wide(sValueName), nullptr, nullptr, nullptr,
                               nullptr) == ERROR_SUCCESS);
}

QVariant clsSettingsKey::Value(const QString& sValueName) const {
    if (const auto it = oStored->aChanged.constFind(sValueName); it != oStored->aChanged.cend()) {
        return *it;
    }
    return oStored->hKey != nullptr ? Read(oStored->hKey, sValueName) : QVariant();
}

void clsSettingsKey::SetValue(const QString& sValueName, const QVariant& vData) {
    oStored->aChanged.insert(sValueName, vData);
}

qint32 clsSettingsKey::Save() {
    if (oStored->aChanged.isEmpty() && !oStored->bCreated) {
        return ResultSuccess;
    }
    if (!oStored->bWritable) {
        if (const LONG lResult = oStored->OpenForSaving(); lResult != ERROR_SUCCESS) {
            return qint32(lResult);
        }
    }
    for (auto it = oStored->aChanged.cbegin(); it != oStored->aChanged.cend(); ++it) {
        if (const LONG lResult = Write(oStored->hKey, it.key(), it.value());
            lResult != ERROR_SUCCESS) {
            return qint32(lResult);
        }
    }
    oStored->aChanged.clear();
    oStored->bCreated = false;
    return ResultSuccess;
}

QString clsSettingsKey::StoreName() {
    return QStringLiteral("the registry");
}
