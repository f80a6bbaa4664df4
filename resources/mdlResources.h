#pragma once

#include <QString>

// The program's fixed resources: the string table, the icons and the
// executable's title, version, comments and help-file name.
namespace mdlResources {

// The string-table entry iID; an empty text for a number the table lacks.
QString LoadResString(int iID);

QString Title();
// The caption of the program's own windows: the maker's name and entry 10.
QString WindowTitle();
int VersionMajor();
int VersionMinor();
int VersionRevision();
// The comments text of the executable: its build date.
QString Comments();
QString HelpFileName();

// Resource path of an icon by its name, such as "QUELLIS_ICON".
QString IconPath(const QString& sIconName);

} // namespace mdlResources
