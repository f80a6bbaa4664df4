#pragma once

#include <QString>

class clsHelpViewer;

// The program's help file: its path and the window that asks for help.
class clsJRT_HelpFile {
public:
    const QString& Filename() const { return sFilename; }
    // Accepts only a path that names an existing ordinary file, or whose
    // name is a pattern that one matches (stored as given); otherwise raises
    // error 1103 and keeps the previous path.
    void SetFilename(const QString& sNewName);

    qint32 RequestingWindow() const { return lRequestingWindow; }
    void SetRequestingWindow(qint32 lNewHandle) { lRequestingWindow = lNewHandle; }

    // What shows the file; not owned. Without one, showing and closing fail.
    void SetViewer(clsHelpViewer* oNewViewer) { oViewer = oNewViewer; }

    // Both pass the stored name and window as they are, even when never set.
    // Shows the file's contents; raises error 1102 when it cannot.
    void ShowHelp();
    // Closes what ShowHelp opened; raises error 1101 when it cannot.
    void CloseFile();

private:
    QString sFilename;
    qint32 lRequestingWindow = 0;
    clsHelpViewer* oViewer = nullptr;
};
