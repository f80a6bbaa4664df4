#pragma once

#include <QString>

// Where the program finds its help.
namespace mdlHelpLocation {

// The help file of a program in sProgramFolder: in the folder help beside
// it, else where an install puts it, in share/tessivar/help beside its bin
// folder; the first when neither exists.
QString HelpFilePath(const QString& sProgramFolder);

} // namespace mdlHelpLocation
