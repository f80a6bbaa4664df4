#include "platform/clsSettingsKey.h"

#include "platform/clsJRT_Registry.h"

#include <QSettings>

namespace {

using R = clsJRT_Registry;

// QSettings names a key's default value ".".
QString StoreKey(const QString& sValueName) {
    return sValueName.isEmpty() ? QStringLiteral(".") : sValueName;
}

} // namespace

struct clsSettingsKey::Stored {
    std::unique_ptr<QSettings> oSettings;
};

clsSettingsKey::clsSettingsKey(std::unique_ptr<Stored> oNewStored)
    : oStored(std::move(oNewStored)) {}

clsSettingsKey::~clsSettingsKey() = default;

// The registry itself. QSettings opens a key for writing by creating it, so
// whether it existed is asked of its parent first.
qint32 clsSettingsKey::Open(const QStringList& asKey, bool bCreate,
                            std::unique_ptr<clsSettingsKey>& oKey, qint32& lDisposition) {
    const QSettings oParent(asKey.first(asKey.size() - 1).join(u'\\'), QSettings::NativeFormat);
    const bool bExisted =
        asKey.size() == 1 || oParent.childGroups().contains(asKey.last(), Qt::CaseInsensitive);
    if (!bExisted && !bCreate) {
        return R::ResultNotFound;
    }
    auto oStored = std::make_unique<Stored>();
    oStored->oSettings = std::make_unique<QSettings>(asKey.join(u'\\'), QSettings::NativeFormat);
    oKey.reset(new clsSettingsKey(std::move(oStored)));
    lDisposition = bExisted ? R::OpenedExistingKey : R::CreatedNewKey;
    return R::ResultSuccess;
}

bool clsSettingsKey::Contains(const QString& sValueName) const {
    return oStored->oSettings->contains(StoreKey(sValueName));
}

QVariant clsSettingsKey::Value(const QString& sValueName) const {
    return oStored->oSettings->value(StoreKey(sValueName));
}

void clsSettingsKey::SetValue(const QString& sValueName, const QVariant& vData) {
    oStored->oSettings->setValue(StoreKey(sValueName), vData);
}

qint32 clsSettingsKey::Save() {
    oStored->oSettings->sync();
    return oStored->oSettings->status() == QSettings::NoError ? R::ResultSuccess
                                                              : R::ResultAccessDenied;
}
