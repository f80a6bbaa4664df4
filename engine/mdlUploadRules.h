#pragma once

#include "engine/clsSerialField.h"
#include "records/clsFlashImage.h"
#include "records/clsJRT_SRecord.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The rules of the board dialogue that decide what goes on the line.
namespace mdlUploadRules {

// The board's replies after its target byte, compared whole and exactly.
inline constexpr char sAcknowledgeReply[] = "S60500000009F1";
inline constexpr char sResendReply[] = "S60500000002F8";
inline constexpr char sProgrammingErrorReply[] = "S60500000008F2";

// Every reply of the board after its target byte.
constexpr qint32 lReplyLength = 14;
// An erase command, such as "S6050000800377", without its 0x00.
constexpr qint32 lEraseCommandLength = 14;

// True when every data byte of the record holds the fill value: such a
// record is never sent.
bool IsBlank(const clsJRT_SRecord& oRecord, quint8 yFillValue);
// The next record of the image from its byte pointer on that is not blank
// or carries a byte of oKept; nothing once the image is exhausted.
std::optional<clsJRT_SRecord>
NextRecordToSend(clsFlashImage& oImage, quint8 yFillValue,
                 const std::optional<clsSerialField>& oKept = std::nullopt);
// Each command line and record goes out followed by one 0x00.
qint32 BytesOnLine(const clsJRT_SRecord& oRecord);
// The command that erases ySector: type 6, address 0, data 0x80 and the
// sector.
clsJRT_SRecord EraseCommand(quint8 ySector);
// Sectors are erased from the last region line back to the first.
QList<qint16> EraseOrder(const QList<qint16>& aiSectors);
// What ends an upload on the line for the target: its terminate record,
// with the 0x00 where one follows; empty for a target that gets none.
QByteArray TerminateBytes(quint8 yTargetID);

} // namespace mdlUploadRules
