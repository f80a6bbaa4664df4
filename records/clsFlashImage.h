#pragma once

#include "records/clsFlagArray.h"
#include "records/clsJRT_SRecord.h"
#include "records/clsRangeFlags.h"

#include <QDataStream>
#include <QList>
#include <QPair>

#include <vector>

// The byte image of a target board's flash while an upload is prepared and
// sent. Each cell knows whether a record wrote it and whether it is
// restricted (never programmed): writing a restricted cell or a cell twice
// is an error, which catches overlapping records and records that reach
// into protected areas. A byte pointer walks the image for Export.
class clsFlashImage {
public:
    // Codes above the object-error base; 2103 is ours for an image used
    // before its first Create.
    enum eCode : qint32 {
        InvalidAddress = 2100,
        RestrictedByte = 2101,
        AlreadyWritten = 2102,
        NotCreated = 2103,
        EndOfImage = 2104,
    };

    qint32 ByteAddress() const { return lBytePointer; }
    // The highest address, as the last Create set it.
    qint32 Top() const { return lTop; }
    quint8 Data(qint32 lAddress) const;
    void SetData(qint32 lAddress, quint8 yNewData);
    // Whether a record or SetData wrote the cell since the last Clear.
    bool Written(qint32 lAddress) const;

    // Sizes the image for the target and returns its top address, or 0 when
    // the target has no image or the memory cannot be had.
    qint32 Create(quint8 yTargetID);
    // Unrestricted cells get the value and become unwritten.
    void Clear(quint8 yInitialValue = 0);
    // Ranges are inclusive; an UnRestrict end of 0 means the top.
    void Restrict(qint32 lStartAddress, qint32 lEndAddress);
    void UnRestrict(qint32 lStartAddress = 0, qint32 lEndAddress = 0);

    // Places the data bytes of a data record (types 1 to 3) and returns how
    // many it placed.
    qint16 Import(const clsJRT_SRecord& oRecord);
    // The ones' complement of the low byte of the unrestricted cells' sum.
    qint32 CheckSum() const;
    qint32 UnrestrictedBytes() const;
    // The runs of restricted cells, each as its first and last address.
    QList<QPair<qint32, qint32>> RestrictedRanges() const;

    // Where a walk stands: the byte pointer and the end flag, so that a look
    // ahead can come back to it.
    struct clsWalkPosition {
        qint32 lBytePointer;
        bool bEndOfImage;
    };
    clsWalkPosition WalkPosition() const { return {lBytePointer, bEndOfImage}; }
    void SetWalkPosition(const clsWalkPosition& oPosition);

    bool IncrementBP();
    bool DecrementBP();
    void ResetBP();
    // The next record from the byte pointer on; error 2104 past the end.
    clsJRT_SRecord Export();

    // The cells whole, values and flags, for another program; Read makes
    // the image the one written, or returns false, changing nothing, for a
    // stream that holds no image of a known target.
    void Write(QDataStream& oStream) const;
    bool Read(QDataStream& oStream);

private:
    void RequireCells(const char* sMember) const;
    const clsFlagArray& Restricted() const { return aRestricted.Flags(); }
    void WriteCell(qint64 lAddress, quint8 yNewData);
    qint32 PlaceCleanRun(qint32 lStart, std::span<const quint8> aBytes);
    void SetRestricted(const char* sMember, qint32 lStart, qint32 lEnd, bool bValue);
    void SkipRestricted();

    std::vector<quint8> aValues;
    clsFlagArray aWritten;
    clsRangeFlags aRestricted;
    qint32 lTop = 0;
    qint32 lBytePointer = 0;
    bool bEndOfImage = false;
    quint8 yTargetID = 0;
};
