#pragma once

#include <QString>

// The two files of an upload as they were when opened for it: what the
// ledger records of them.
struct clsOpenedFiles {
    // The application file's absolute path.
    QString sFile;
    qint64 lFileSize = 0;
    // Empty until the files were opened, and for a file that cannot be read.
    QString sFileSha256;
    QString sCommandFileSha256;

    // sFile and its command file sCommandFile as they are now.
    static clsOpenedFiles Of(const QString& sFile, const QString& sCommandFile);
    // The SHA-256 of an ordinary file, in hex; empty when it cannot be read.
    static QString Sha256(const QString& sPath);
};
