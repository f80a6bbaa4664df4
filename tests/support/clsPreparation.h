#pragma once

#include "engine/clsApplication.h"
#include "tests/support/clsRecordingHost.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>

#include <optional>

// An application object over a recording host, and a folder of its own for
// the files it prepares.
class clsPreparation {
public:
    clsPreparation() { Renew(); }

    // A new host and application object, as after the window's reset.
    void Renew() {
        oApp.reset();
        oHost.Clear();
        oApp.emplace(oHost);
    }

    QString Write(const QString& sName, const QByteArray& aContent) {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

    // Prepares unit.s19 with unit.cmd as Run does; returns what stopped it.
    QString Prepare(const QByteArray& aCommands, const QByteArray& aRecords) {
        Write("unit.cmd", aCommands);
        const QString sPath = Write("unit.s19", aRecords);
        return mdlRaised::Text([&] { oApp->PrepareUpload(sPath); });
    }

    QTemporaryDir oDir;
    clsRecordingHost oHost;
    std::optional<clsApplication> oApp;
};
