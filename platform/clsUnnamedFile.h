#pragma once

#include <QByteArray>
#include <QString>

// Bytes for the programs this one starts, in a file that no folder names:
// however this program or they end, a kill included, nothing is left
// behind. The programs started after Hold read them from their start by
// the path PathInChildren names, while this object lives.
class clsUnnamedFile {
public:
    clsUnnamedFile() = default;
    ~clsUnnamedFile();
    clsUnnamedFile(const clsUnnamedFile&) = delete;
    clsUnnamedFile& operator=(const clsUnnamedFile&) = delete;

    // Once; false with sWhy when the bytes could not be held.
    bool Hold(const QByteArray& aBytes, QString& sWhy);
    QString PathInChildren() const;

private:
    int lHandle = -1;
};
