#include "tests/support/clsPrivateRegistry.h"

#include "platform/clsRegistryHives.h"

#include <QCoreApplication>

namespace {

const QString sTests = QStringLiteral("Software\\Tessivar tests");

QString OwnKey() {
    return sTests + u'\\' + QString::number(QCoreApplication::applicationPid());
}

} // namespace

clsPrivateRegistry::clsPrivateRegistry() {
    clsRegistryHives oHives;
    oHives.sMachine =
        QStringLiteral("HKEY_CURRENT_USER\\") + OwnKey() + QStringLiteral("\\machine");
    oHives.sUser = QStringLiteral("HKEY_CURRENT_USER\\") + OwnKey() + QStringLiteral("\\user");
    clsRegistryHives::Use(oHives);
}

// The key all tests share goes with the last of them: a key that still
// holds keys is not deleted.
clsPrivateRegistry::~clsPrivateRegistry() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(OwnKey().utf16()));
    ::RegDeleteKeyW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(sTests.utf16()));
    clsRegistryHives::Use(clsRegistryHives());
}
