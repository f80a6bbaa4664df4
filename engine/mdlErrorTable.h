#pragma once

#include "core/clsError.h"
#include "platform/clsHelpViewer.h"

#include <QStringList>

#include <optional>

// What an error means, in one table: the lines of its box, its help topic,
// the words of the last status line and the class of failure a script tells
// apart by the exit status. The window, the upload's sequence and the
// headless command all read it here.
namespace mdlErrorTable {

enum class eClass { Files, Board, Link, Declined };

// A Help button that opens the help's contents rather than a topic.
constexpr int iContents = clsHelpViewer::iContents;
// No Help button: the box of an unforeseen error.
constexpr int iNoHelp = -2;

// A failure as the technician and a script are told of it.
struct Report {
    eClass iClass = eClass::Files;
    // False for an error the box words as unknown.
    bool bForeseen = false;
    // The box's lines under "Error Number: " and the code.
    QStringList asLines;
    int iTopic = iNoHelp;
    // What failed, as the last status line and the ledger say it; a failed
    // board's line goes on with " - Upload terminated.".
    QString sWords;
    // Both files were open: the application object is reset and the log
    // says they closed.
    bool bFilesClosed = false;
};

// oError as a failed Run reports it: preparing the files or opening the port.
Report OfRun(const clsError& oError);
// oError as the board's dialogue reports it; nothing for an error it drops.
std::optional<Report> OfDialogue(const clsError& oError);
// The serial line failed under the upload, as sDescription tells.
Report OfLinkFailure(const QString& sDescription);
// oError as a choice of the application file reports it; bCheckName adds
// the advice to check the name.
Report OfFileChoice(const clsError& oError, bool bCheckName);
// "Error Number: ", the code as the window shows it and asLines, each on a
// line of its own, separated by CR LF.
QString BoxText(qint32 lCode, const QStringList& asLines);

} // namespace mdlErrorTable
