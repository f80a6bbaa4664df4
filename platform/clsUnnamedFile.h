#pragma once

#include <QByteArray>
#include <QString>

// Bytes for the programs this one starts, in a file that goes with the last
// handle open on it: however this program or they end, a kill included,
// nothing is left behind. The programs started after Hold read them from
// their start by the path PathInChildren names, while this object lives.
// On Unix no folder names the file. On Windows it lies in the temporary
// folder, to be deleted as its last handle closes: a reader opens it
// sharing its deletion, or not at all.
class clsUnnamedFile {
public:
    clsUnnamedFile() = default;
    ~clsUnnamedFile();
    clsUnnamedFile(const clsUnnamedFile&) = delete;
    clsUnnamedFile& operator=(const clsUnnamedFile&) = delete;

    // Once; false with sWhy when the bytes could not be held.
    bool Hold(const QByteArray& aBytes, QString& sWhy);
    const QString& PathInChildren() const { return sPathInChildren; }

private:
    // The file's descriptor or handle, -1 until it is made.
    qintptr lHandle = -1;
    QString sPathInChildren;
};
