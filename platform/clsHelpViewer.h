#pragma once

#include <QString>

// Shows a help file on behalf of a window; the program's help window is one.
class clsHelpViewer {
public:
    static constexpr int iContents = -1;
    virtual ~clsHelpViewer() = default;
    // Shows sFile at topic iTopic's section, or its contents for iContents;
    // false when it cannot.
    virtual bool Show(const QString& sFile, qint32 lWindow, int iTopic) = 0;
    // Closes what Show opened for sFile and lWindow; false when it cannot.
    virtual bool Close(const QString& sFile, qint32 lWindow) = 0;
};
