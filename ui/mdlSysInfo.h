#pragma once

#include <QString>

// Finding and starting the system's information tool.
namespace mdlSysInfo {

// The full path of the tool, or an empty text when none is installed. On
// Windows, MSINFO32.EXE as the registry names it; elsewhere the first of
// the desktops' own tools that is installed.
QString ToolPath();

// Starts sPath without waiting for it; false when it did not start.
bool Start(const QString& sPath);

} // namespace mdlSysInfo
