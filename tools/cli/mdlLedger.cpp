#include "tools/cli/mdlLedger.h"

#include "engine/clsLedgerEntry.h"
#include "engine/clsLedgerReader.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "platform/mdlDataPaths.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlExitStatus.h"
#include "tools/cli/mdlTextTable.h"

#include <QFileInfo>

namespace {

const auto sUsage = QStringLiteral("usage: tessivar-cli ledger [--json] [--last N]\n");

struct Options {
    QCommandLineOption oJson{QStringLiteral("json"),
                             QStringLiteral("The entries as the ledger holds them, one line of "
                                            "JSON each.")};
    QCommandLineOption oLast{QStringLiteral("last"), QStringLiteral("Only the last N entries."),
                             QStringLiteral("N")};
};

// --last as a count of entries, 0 for all; nothing when it is no count.
std::optional<qsizetype> LastCount(const QCommandLineParser& oParser, const Options& oOptions) {
    if (!oParser.isSet(oOptions.oLast)) {
        return 0;
    }
    bool bNumber = false;
    const qsizetype lLast = oParser.value(oOptions.oLast).toLongLong(&bNumber);
    return bNumber && lLast >= 1 ? std::optional(lLast) : std::nullopt;
}

QString Shown(const std::optional<qint64>& oValue) {
    return oValue ? QString::number(*oValue) : QStringLiteral("-");
}

// The board's serial number, and what became of it where the board did not
// take it.
QString SerialCell(const std::optional<clsLedgerEntry::Recorded::SerialUse>& oSerial) {
    if (!oSerial) {
        return QStringLiteral("-");
    }
    const QString sNumber = Shown(oSerial->lNumber);
    if (oSerial->bUsed) {
        return sNumber;
    }
    return sNumber +
           (oSerial->bReturned ? QStringLiteral(" returned") : QStringLiteral(" not returned"));
}

// The cells of an entry, for a terminal: whatever the ledger holds moves no
// cursor and splits no row.
QStringList Row(const QJsonObject& oFields) {
    const clsLedgerEntry::Recorded oEntry = clsLedgerEntry::Read(oFields);
    QStringList asRow = {
        oEntry.oStart.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
        oEntry.sDevice ? *oEntry.sDevice : QStringLiteral("COM") + Shown(oEntry.lPort),
        QFileInfo(oEntry.sFile).fileName(),
        Shown(oEntry.lTarget),
        Shown(oEntry.lRecords),
        oEntry.sResult.value_or(QStringLiteral("-")) +
            (oEntry.lCode ? QLatin1Char(' ') + QString::number(*oEntry.lCode) : QString()),
        QString::number(oEntry.dDuration, 'f', 1) + QStringLiteral(" s"),
        SerialCell(oEntry.oSerial)};
    for (QString& sCell : asRow) {
        sCell = mdlTextUtil::Visible(sCell);
    }
    return asRow;
}

// Writes sPending to standard output once it holds lAtLeast characters:
// in pieces that cost few writes, however many lines the ledger has.
void Flush(clsConsole& oConsole, QString& sPending, qsizetype lAtLeast = 0) {
    if (sPending.size() >= lAtLeast) {
        oConsole.Out(sPending);
        sPending.clear();
    }
}

constexpr qsizetype lPiece = 32 * 1024;

// The rows under their headings, the columns as wide as the rows shown
// need: measured on a first reading, printed on a second, so that no more
// than a row is kept.
bool Table(clsLedgerReader& oReader, clsConsole& oConsole,
           const clsLedgerReader::DamageTaker& oDamaged) {
    const QStringList asHeadings = {"time",    "port",   "file",     "target",
                                    "records", "result", "duration", "serial"};
    QList<qsizetype> aWidths(asHeadings.size(), 0);
    bool bSerials = false;
    bool bRead = oReader.Read(
        [&](const clsLedgerReader::Entry& oEntry) {
            const QStringList asRow = Row(oEntry.oFields);
            mdlTextTable::Fit(aWidths, asRow);
            bSerials = bSerials || asRow.last() != QLatin1String("-");
        },
        oDamaged);
    if (!bRead) {
        return false;
    }
    // Only where serial numbers were given out does the column tell anything.
    const auto Printed = [&](QStringList asRow) {
        if (!bSerials) {
            asRow.removeLast();
        }
        return mdlTextTable::Line(asRow, aWidths);
    };
    mdlTextTable::Fit(aWidths, asHeadings);
    QString sPending = Printed(asHeadings);
    bRead = oReader.Read(
        [&](const clsLedgerReader::Entry& oEntry) {
            sPending += Printed(Row(oEntry.oFields));
            Flush(oConsole, sPending, lPiece);
        },
        {});
    Flush(oConsole, sPending);
    return bRead;
}

// The ledger's lines as they stand, but for the control characters in them.
bool Json(clsLedgerReader& oReader, clsConsole& oConsole,
          const clsLedgerReader::DamageTaker& oDamaged) {
    QString sPending;
    const bool bRead = oReader.Read(
        [&](const clsLedgerReader::Entry& oEntry) {
            sPending +=
                mdlTextUtil::VisibleJson(QString::fromUtf8(oEntry.aLine)) + QLatin1Char('\n');
            Flush(oConsole, sPending, lPiece);
        },
        oDamaged);
    Flush(oConsole, sPending);
    return bRead;
}

int Show(clsConsole& oConsole, bool bJson, qsizetype lLast) {
    const QString sPath = mdlDataPaths::LedgerFile();
    const QString sShownPath = mdlTextUtil::Visible(sPath);
    const auto Unread = [&](const QString& sWhy) {
        oConsole.Err(QStringLiteral("tessivar-cli: the ledger %1 could not be read: %2\n")
                         .arg(sShownPath, sWhy));
        return mdlExitStatus::FilesFailed;
    };
    clsLedgerReader oReader;
    QString sWhy;
    switch (oReader.Open(sPath, sWhy)) {
    case mdlOrdinaryFile::eOpened::Missing: {
        const QString sNone =
            QStringLiteral("No uploads recorded yet: %1 does not exist.\n").arg(sShownPath);
        // Standard output holds lines of JSON alone.
        if (bJson) {
            oConsole.Err(sNone);
        } else {
            oConsole.Out(sNone);
        }
        return mdlExitStatus::Done;
    }
    case mdlOrdinaryFile::eOpened::Refused:
        return Unread(sWhy);
    case mdlOrdinaryFile::eOpened::Opened:
        break;
    }
    const auto oDamaged = [&](qint64 lLine) {
        oConsole.Err(QStringLiteral("tessivar-cli: line %1 of %2 is damaged; skipped.\n")
                         .arg(lLine)
                         .arg(sShownPath));
    };
    if ((lLast == 0 || oReader.StartAtLast(lLast)) &&
        (bJson ? Json(oReader, oConsole, oDamaged) : Table(oReader, oConsole, oDamaged))) {
        return mdlExitStatus::Done;
    }
    return Unread(oReader.ErrorString());
}

} // namespace

namespace mdlLedger {

int Run(clsConsole& oConsole, const QByteArrayList& aArguments) {
    QCommandLineParser oParser;
    oParser.setApplicationDescription(
        QStringLiteral("Lists the uploads the window and the upload verb recorded, newest last,\n"
                       "from the ledger $XDG_DATA_HOME/Quellis/Tessivar/uploads.jsonl: time,\n"
                       "port, file, target, records sent, result and duration, and the\n"
                       "board's serial number where any entry listed has one."));
    const Options oOptions;
    oParser.addOptions({oOptions.oJson, oOptions.oLast});
    if (const std::optional<int> oDone =
            mdlCommandLine::Parse(oParser, sUsage, aArguments, oConsole)) {
        return *oDone;
    }
    const std::optional<qsizetype> oLast = LastCount(oParser, oOptions);
    if (!oLast) {
        return mdlCommandLine::UsageError(oConsole, sUsage,
                                          QStringLiteral("--last takes a whole number from 1."));
    }
    if (!oParser.positionalArguments().isEmpty()) {
        return mdlCommandLine::UsageError(oConsole, sUsage,
                                          QStringLiteral("ledger takes no arguments."));
    }
    return Show(oConsole, oParser.isSet(oOptions.oJson), *oLast);
}

} // namespace mdlLedger
