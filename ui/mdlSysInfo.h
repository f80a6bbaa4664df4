#pragma once

#include <QString>

class QWidget;

// What the About window's System Info opens.
namespace mdlSysInfo {

// Opens what the system tells of itself, beside oAbout: on Windows its own
// information tool, MSINFO32.EXE, started without waiting for it; elsewhere
// a window of the program's own with what support asks for. False when
// nothing opened.
bool Open(QWidget& oAbout);

// The full path of MSINFO32.EXE as the registry names it, or an empty text
// when none is installed. Windows only.
QString ToolPath();

} // namespace mdlSysInfo
