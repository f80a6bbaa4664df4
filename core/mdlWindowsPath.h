#pragma once

#include <QString>

#include <string>

// Windows only: a path as the system's wide-character calls take it, as Qt
// gives it to them: absolute, with the prefix that lifts the limit of 260
// characters. A path in the system's own namespaces stays as it is.
namespace mdlWindowsPath {

std::wstring Native(const QString& sPath);

} // namespace mdlWindowsPath
