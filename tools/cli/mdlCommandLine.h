#pragma once

#include <QByteArrayList>
#include <QCommandLineParser>
#include <QString>

#include <optional>

class clsConsole;

// What every verb of the headless command does alike with its command line:
// --help and --version, the words of a usage error, and a file path checked
// against the bytes the system gave.
namespace mdlCommandLine {

// Such as "tessivar-cli 2.6.0".
QString Version();

// Parses aArguments, as the system gave them after the verb, for oParser's
// options and --help and --version. Nothing when the verb is to go on;
// otherwise the help, the version or a usage error was shown, and the exit
// status is returned. sUsage: the verb's "usage: " lines.
std::optional<int> Parse(QCommandLineParser& oParser, const QString& sUsage,
                         const QByteArrayList& aArguments, clsConsole& oConsole);
// Shows sWhy, which may quote an argument and is escaped, and sUsage on
// standard error; returns the usage status.
int UsageError(clsConsole& oConsole, const QString& sUsage, const QString& sWhy);
// FILE, the application file, in the help.
void AddFileArgument(QCommandLineParser& oParser);
// The one positional argument; empty when there are none or more.
QString OneFile(const QCommandLineParser& oParser);

// True when sPath, parsed from aArguments (an argument or an option's
// value), names the file or device its bytes name.
// Otherwise says so on standard error and, with bJson, as JSON error 2000:
// bytes that are not valid UTF-8 would name another file, or none, and then
// be reported as a file that cannot be opened.
bool IsFaithfulPath(clsConsole& oConsole, const QByteArrayList& aArguments, const QString& sPath,
                    bool bJson);

} // namespace mdlCommandLine
