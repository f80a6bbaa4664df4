#pragma once

#include "tests/support/clsPrivateRegistry.h"

#include <QTemporaryDir>
#include <QTest>

// Settings and data folders of this test's own, for it and the programs it
// starts: no test reads or changes a person's ports or files, and tests
// that run at once never share them. Made before the first use of either.
// Where settings live in the registry, keys of its own for this test alone.
class clsPrivateHome {
public:
    clsPrivateHome() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(oDir.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(oDir.filePath(QStringLiteral("data"))));
    }

    QString Path() const { return oDir.path(); }

private:
    QTemporaryDir oDir;
    clsPrivateRegistry oRegistry;
};
