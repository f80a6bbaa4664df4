#include "engine/mdlErrorTable.h"

#include "core/mdlErrorCodes.h"
#include "platform/clsSerialControl.h"
#include "records/clsFlashImage.h"
#include "records/clsJRT_SRecord.h"
#include "resources/mdlResources.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using mdlErrorTable::eClass;
using mdlErrorTable::iContents;
using mdlErrorTable::iNoHelp;
using mdlErrorTable::Report;
using mdlResources::LoadResString;

// A line of a box: a string-table entry, or one of these, which the table
// has no entry for.
constexpr auto iDescription = static_cast<eRes>(0);
constexpr auto iNone = static_cast<eRes>(-1);

struct Row {
    qint32 lCode;
    eClass iClass;
    // Run's box lines; none for a code Run does not foresee.
    std::array<eRes, 2> aiRunLines;
    // Which of them the last status line repeats.
    int iWordsLine;
    int iTopic;
    bool bFilesOpen;
    // The words of the board that the dialogue fails with the code; none
    // for a code the dialogue drops.
    eRes iBoardWords;
    // The one source Run foresees the code from; any, when null.
    const char* sSource = nullptr;
    // The last code of a series that begins with lCode.
    qint32 lLastCode = 0;
};

using enum eClass;
using namespace mdlErrorCodes;
using Image = clsFlashImage;
using Codec = clsJRT_SRecord;

// Code, class, Run's box lines, the one its status line repeats, Run's help
// topic, files open when Run failed, the words of a board failed with it.
// clang-format off
constexpr Row aRows[] = {
    {OpenAppFileFailed, Files, {iDescription, iNone}, 0, 7, false, iNone},
    {OpenCmdFileFailed, Files, {iDescription, iNone}, 0, 8, false, iNone},
    {NoCommandFileName, Files, {eRes::NoCommandFileName, eRes::CheckRecordFileName}, 0, 9, true,
     iNone},
    {NoTargetID, Files, {iDescription, iNone}, 0, 10, true, iNone},
    {CommsFailed, Board, {iDescription, iNone}, 0, 1, true, iNone},
    {WrongTarget, Board, {iNone, iNone}, 0, iNoHelp, false, eRes::WrongTarget},
    {ResendLimit, Board, {iNone, iNone}, 0, iNoHelp, false, eRes::ResendLimit},
    {ProgrammingError, Board, {iNone, iNone}, 0, iNoHelp, false, eRes::ProgrammingError},
    {UploadCancelled, Declined, {iNone, iNone}, 0, iNoHelp, false, iNone},
    {NoFlashImage, Files, {iDescription, iNone}, 0, iContents, true, iNone},
    {BadCommandLine, Files, {iDescription, iNone}, 0, iContents, true, iNone},
    {SerialFieldUnusable, Files, {iDescription, iNone}, 0, iContents, true, iNone},
    {CounterUnusable, Files, {iDescription, iNone}, 0, iContents, true, iDescription},
    {Image::InvalidAddress, Files, {iDescription, eRes::MayBeCorrupt}, 0, iContents, true, iNone},
    {Image::RestrictedByte, Files, {eRes::FilesDisagree, iDescription}, 1, iContents, true, iNone},
    {Image::AlreadyWritten, Files, {iDescription, eRes::MayBeCorrupt}, 0, 0, true, iNone},
    {Codec::NotAnSRecord, Files, {eRes::MayBeCorrupt, eRes::NotAnSRecord}, 1, 0, true, iNone},
    {Codec::CheckSumMismatch, Files, {eRes::MayBeCorrupt, eRes::CheckSumError}, 1, 0, true, iNone},
    // Ours: a count that disagrees with the line's length. A count out of
    // range stays an unforeseen error, as the box has always had it.
    {Codec::InvalidByteCount, Files, {eRes::MayBeCorrupt, iDescription}, 1, iContents, true, iNone,
     "clsJRT_SRecord.Record"},
    {Codec::FieldNotANumber, Files, {eRes::MayBeCorrupt, iDescription}, 1, iContents, true, iNone},
    {clsSerialControl::lFirstSeriesNumber, Link, {iDescription, iNone}, 0, iContents, true,
     iDescription, nullptr, clsSerialControl::lLastSeriesNumber},
};
// clang-format on

const Row* Find(qint32 lCode) {
    const auto oFound = std::find_if(std::begin(aRows), std::end(aRows), [&](const Row& oRow) {
        return lCode == oRow.lCode || (lCode > oRow.lCode && lCode <= oRow.lLastCode);
    });
    return oFound == std::end(aRows) ? nullptr : &*oFound;
}

QString Line(eRes iLine, const clsError& oError) {
    return iLine == iDescription ? oError.Description() : LoadResString(iLine);
}

bool RunForesees(const Row& oRow, const clsError& oError) {
    return oRow.aiRunLines.front() != iNone &&
           (oRow.sSource == nullptr || oError.Source() == QLatin1String(oRow.sSource));
}

QStringList RunLines(const Row& oRow, const clsError& oError) {
    QStringList asLines;
    for (const eRes iLine : oRow.aiRunLines) {
        if (iLine != iNone) {
            asLines << Line(iLine, oError);
        }
    }
    return asLines;
}

Report Unforeseen(eClass iClass, const QString& sLine, const QString& sWords) {
    return {.iClass = iClass,
            .bForeseen = false,
            .asLines = {sLine},
            .iTopic = iNoHelp,
            .sWords = sWords,
            .bFilesClosed = false};
}

} // namespace

namespace mdlErrorTable {

Report OfRun(const clsError& oError) {
    const Row* pRow = Find(oError.Code());
    if (pRow == nullptr || !RunForesees(*pRow, oError)) {
        return Unforeseen(pRow == nullptr ? eClass::Files : pRow->iClass,
                          QStringLiteral("Unknown error in cmdRunStop event handler."),
                          QStringLiteral("Unknown error while opening files."));
    }
    const QStringList asLines = RunLines(*pRow, oError);
    return {.iClass = pRow->iClass,
            .bForeseen = true,
            .asLines = asLines,
            .iTopic = pRow->iTopic,
            .sWords = asLines.at(pRow->iWordsLine),
            .bFilesClosed = pRow->bFilesOpen};
}

std::optional<Report> OfDialogue(const clsError& oError) {
    const Row* pRow = Find(oError.Code());
    if (pRow != nullptr && pRow->iClass == eClass::Declined) {
        // Ends as Stop ends it, with no box.
        return Report{.iClass = eClass::Declined,
                      .bForeseen = true,
                      .asLines = {},
                      .iTopic = iNoHelp,
                      .sWords = {},
                      .bFilesClosed = false};
    }
    if (pRow == nullptr || pRow->iBoardWords == iNone) {
        return std::nullopt;
    }
    if (pRow->iClass == eClass::Link) {
        return OfLinkFailure(oError.Description());
    }
    const QString sWords = Line(pRow->iBoardWords, oError);
    return Report{.iClass = eClass::Board,
                  .bForeseen = true,
                  .asLines = {sWords},
                  .iTopic = iContents,
                  .sWords = sWords,
                  .bFilesClosed = true};
}

Report OfLinkFailure(const QString& sDescription) {
    // A failed link is not one the help foresees.
    return {.iClass = eClass::Link,
            .bForeseen = true,
            .asLines = {sDescription},
            .iTopic = iNoHelp,
            .sWords = sDescription,
            .bFilesClosed = false};
}

Report OfFileChoice(const clsError& oError, bool bCheckName) {
    if (oError.Code() != mdlErrorCodes::NoCommandFileName) {
        return Unforeseen(eClass::Files,
                          QStringLiteral("Unknown error in mnuFileOpen event handler."), {});
    }
    const Row& oRow = *Find(oError.Code());
    const QStringList asLines = RunLines(oRow, oError);
    return {.iClass = eClass::Files,
            .bForeseen = true,
            .asLines = bCheckName ? asLines : asLines.mid(0, 1),
            .iTopic = oRow.iTopic,
            .sWords = asLines.first(),
            .bFilesClosed = false};
}

QString BoxText(qint32 lCode, const QStringList& asLines) {
    return LoadResString(eRes::ErrorNumber) + QString::number(lCode) + QStringLiteral("\r\n") +
           asLines.join(QStringLiteral("\r\n"));
}

} // namespace mdlErrorTable
