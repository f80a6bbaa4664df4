#include "platform/clsSettingsKey.h"

#include "platform/clsFileLock.h"
#include "platform/mdlDataPaths.h"
#include "platform/mdlDurableFile.h"
#include "platform/mdlSettingsText.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

using mdlSettingsText::Entries;

// A settings file holds a few dozen lines; anything near this is none.
constexpr qint64 lLargestFile = 16 * 1024 * 1024;
// A live copy saves within milliseconds; one stopped while it saved must
// not hold the window for longer than this.
constexpr int lSaveWaitMs = 5000;

// The file's entries as they stand; no lock is needed, since every save
// replaces the file whole.
qint32 ReadEntries(Entries& aEntries) {
    QByteArray aText;
    QString sWhy;
    switch (mdlDurableFile::ReadWhole(mdlDataPaths::SettingsFile(), lLargestFile, aText, sWhy)) {
    case mdlDurableFile::eOpened::Refused:
        return clsSettingsKey::ResultAccessDenied;
    case mdlDurableFile::eOpened::Missing:
    case mdlDurableFile::eOpened::Opened:
        break;
    }
    aEntries = mdlSettingsText::Parse(aText);
    return clsSettingsKey::ResultSuccess;
}

// A key exists when it or a key below it has an entry.
bool KeyExists(const Entries& aEntries, const QString& sGroup) {
    const QList<QString> asKeys = aEntries.keys();
    return std::any_of(asKeys.cbegin(), asKeys.cend(), [&](const QString& sKey) {
        return sKey == sGroup || sKey.startsWith(sGroup + u'/') || sKey.startsWith(sGroup + u'\\');
    });
}

} // namespace

struct clsSettingsKey::Stored {
    // The key's section.
    QString sGroup;
    Entries aRead;
    // Set since the open, by their names in the file.
    QMap<QString, QVariant> aChanged;
    // A new key is saved even without a value.
    bool bCreated = false;

    QString Key(const QString& sValueName) const {
        return sGroup + u'/' + mdlSettingsText::Name(sValueName);
    }
};

clsSettingsKey::clsSettingsKey(std::unique_ptr<Stored> oNewStored)
    : oStored(std::move(oNewStored)) {}

clsSettingsKey::~clsSettingsKey() = default;

qint32 clsSettingsKey::Open(const QStringList& asKey, bool bCreate,
                            std::unique_ptr<clsSettingsKey>& oKey, qint32& lDisposition) {
    const QString sFolder = QFileInfo(mdlDataPaths::SettingsFile()).path();
    if (!QFileInfo(sFolder).isDir() && !QDir().mkpath(sFolder)) {
        return ResultNoParent;
    }
    auto oStored = std::make_unique<Stored>();
    if (const qint32 lResult = ReadEntries(oStored->aRead); lResult != ResultSuccess) {
        return lResult;
    }
    oStored->sGroup = asKey.first();
    for (const QString& sName : asKey.sliced(1)) {
        oStored->sGroup += u'\\' + mdlSettingsText::Name(sName);
    }
    const bool bExisted = KeyExists(oStored->aRead, oStored->sGroup);
    if (!bExisted && !bCreate) {
        return ResultNotFound;
    }
    oStored->bCreated = !bExisted;
    oKey.reset(new clsSettingsKey(std::move(oStored)));
    lDisposition = bExisted ? OpenedExistingKey : CreatedNewKey;
    return ResultSuccess;
}

bool clsSettingsKey::Contains(const QString& sValueName) const {
    const QString sKey = oStored->Key(sValueName);
    return oStored->aChanged.contains(sKey) || oStored->aRead.contains(sKey);
}

QVariant clsSettingsKey::Value(const QString& sValueName) const {
    const QString sKey = oStored->Key(sValueName);
    return oStored->aChanged.value(sKey, oStored->aRead.value(sKey));
}

void clsSettingsKey::SetValue(const QString& sValueName, const QVariant& vData) {
    oStored->aChanged.insert(oStored->Key(sValueName), vData);
}

// Under the lock the file is read again, so that a value another copy
// saved since this one read it stays.
qint32 clsSettingsKey::Save() {
    if (oStored->aChanged.isEmpty() && !oStored->bCreated) {
        return ResultSuccess;
    }
    clsFileLock oLock(mdlDataPaths::SettingsFile());
    if (!oLock.Lock(lSaveWaitMs)) {
        return oLock.Busy() ? ResultBusy : ResultAccessDenied;
    }
    Entries aEntries;
    if (const qint32 lResult = ReadEntries(aEntries); lResult != ResultSuccess) {
        return lResult;
    }
    if (oStored->bCreated && !KeyExists(aEntries, oStored->sGroup)) {
        aEntries.insert(oStored->sGroup, QVariant());
    }
    aEntries.insert(oStored->aChanged);
    QString sWhy;
    switch (mdlDurableFile::Replace(mdlDataPaths::SettingsFile(), mdlSettingsText::Text(aEntries),
                                    sWhy)) {
    case mdlDurableFile::eWritten::Written:
        break;
    case mdlDurableFile::eWritten::NoRoom:
        return ResultDiskFull;
    case mdlDurableFile::eWritten::Refused:
        return ResultAccessDenied;
    }
    oStored->aRead = aEntries;
    oStored->aChanged.clear();
    oStored->bCreated = false;
    return ResultSuccess;
}

QString clsSettingsKey::StoreName() {
    return QStringLiteral("the settings file ") + mdlDataPaths::SettingsFile();
}
