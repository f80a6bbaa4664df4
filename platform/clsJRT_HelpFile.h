#pragma once

#include <QString>

// The program's help file: its path and the window that asks for help.
class clsJRT_HelpFile {
public:
    const QString& Filename() const { return sFilename; }
    // Accepts only a path that names an existing ordinary file; otherwise
    // raises error 1103 and keeps the previous path.
    void SetFilename(const QString& sNewName);

    qint32 RequestingWindow() const { return lRequestingWindow; }
    void SetRequestingWindow(qint32 lNewHandle) { lRequestingWindow = lNewHandle; }

private:
    QString sFilename;
    qint32 lRequestingWindow = 0;
};
