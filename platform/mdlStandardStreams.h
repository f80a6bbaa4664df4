#pragma once

#include <QString>

#include <cstdio>
#include <optional>

// A console program's standard streams, where the platforms differ:
// what they need before the first file opens, how text reaches a console,
// and what a terminal on standard output can show.
namespace mdlStandardStreams {

// At the start, before any file is opened or anything written.
void Prepare();
// Where oStream is a Windows console: sText shown there as it is, whatever
// the console's code page, and whether it was. Nothing elsewhere: the
// stream takes the text's UTF-8 bytes as they are.
std::optional<bool> ToConsole(std::FILE* oStream, const QString& sText);
// Whether standard output is a terminal that the progress can be drawn on,
// and taken back, in place; on Windows the console is made ready for it.
bool ReadyForProgress();
// Whether standard error shows on a terminal.
bool ErrorsOnTerminal();
// Whether standard output and standard error show on one terminal, where
// the one follows the other line by line.
bool OutputsShareTerminal();
// The columns of the terminal on standard output; 80 when unknown.
qsizetype Width();

} // namespace mdlStandardStreams
