#include "tools/cli/mdlLedger.h"

#include "engine/clsUploadLedger.h"
#include "tools/cli/clsConsole.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlExitStatus.h"
#include "tools/cli/mdlTextTable.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

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

struct Entry {
    QByteArray aLine;
    QJsonObject oFields;
};

// The ledger's entries in the order they were added; a damaged line is
// skipped with a note on standard error.
QList<Entry> Entries(clsConsole& oConsole, const QByteArray& aText, const QString& sPath) {
    QList<Entry> aEntries;
    const QList<QByteArray> aLines = aText.split('\n');
    for (qsizetype i = 0; i < aLines.size(); ++i) {
        if (aLines.at(i).isEmpty()) {
            continue;
        }
        const QJsonDocument oLine = QJsonDocument::fromJson(aLines.at(i));
        if (oLine.isObject()) {
            aEntries.append({aLines.at(i), oLine.object()});
        } else {
            oConsole.Err(QStringLiteral("tessivar-cli: line %1 of %2 is damaged; skipped.\n")
                             .arg(i + 1)
                             .arg(sPath));
        }
    }
    return aEntries;
}

QString Shown(const QJsonValue& vValue) {
    return vValue.isNull() || vValue.isUndefined() ? QStringLiteral("-")
                                                   : vValue.toVariant().toString();
}

// The board's serial number, and what became of it where the board did not
// take it.
QString SerialCell(const QJsonValue& vSerial) {
    const QJsonObject oSerial = vSerial.toObject();
    if (oSerial.isEmpty()) {
        return QStringLiteral("-");
    }
    const QString sNumber = Shown(oSerial[QStringLiteral("number")]);
    if (oSerial[QStringLiteral("used")].toBool()) {
        return sNumber;
    }
    return sNumber + (oSerial[QStringLiteral("returned")].toBool()
                          ? QStringLiteral(" returned")
                          : QStringLiteral(" not returned"));
}

QStringList Row(const QJsonObject& oEntry) {
    const QDateTime oStart =
        QDateTime::fromString(oEntry[QStringLiteral("start")].toString(), Qt::ISODateWithMs);
    const QJsonValue vDevice = oEntry[QStringLiteral("device")];
    const QJsonValue vCode = oEntry[QStringLiteral("code")];
    return {oStart.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            vDevice.isString() ? vDevice.toString()
                               : QStringLiteral("COM") + Shown(oEntry[QStringLiteral("port")]),
            QFileInfo(oEntry[QStringLiteral("file")].toString()).fileName(),
            Shown(oEntry[QStringLiteral("target")]),
            Shown(oEntry[QStringLiteral("records")]),
            Shown(oEntry[QStringLiteral("result")]) +
                (vCode.isNull() ? QString() : QLatin1Char(' ') + Shown(vCode)),
            QString::number(oEntry[QStringLiteral("duration")].toDouble(), 'f', 1) +
                QStringLiteral(" s"),
            SerialCell(oEntry[QStringLiteral("serial")])};
}

// The rows under their headings.
QString Table(const QList<Entry>& aEntries) {
    QList<QStringList> aRows = {
        {"time", "port", "file", "target", "records", "result", "duration", "serial"}};
    bool bSerials = false;
    for (const Entry& oEntry : aEntries) {
        aRows.append(Row(oEntry.oFields));
        bSerials = bSerials || aRows.last().last() != QLatin1String("-");
    }
    // Only where serial numbers were given out does the column tell anything.
    if (!bSerials) {
        for (QStringList& asRow : aRows) {
            asRow.removeLast();
        }
    }
    return mdlTextTable::Table(aRows);
}

int Show(clsConsole& oConsole, bool bJson, qsizetype lLast) {
    const QString sPath = clsUploadLedger::FilePath();
    QFile oFile(sPath);
    if (!oFile.exists()) {
        const QString sNone =
            QStringLiteral("No uploads recorded yet: %1 does not exist.\n").arg(sPath);
        // Standard output holds lines of JSON alone.
        if (bJson) {
            oConsole.Err(sNone);
        } else {
            oConsole.Out(sNone);
        }
        return mdlExitStatus::Done;
    }
    if (!oFile.open(QIODevice::ReadOnly)) {
        oConsole.Err(QStringLiteral("tessivar-cli: the ledger %1 could not be read: %2\n")
                         .arg(sPath, oFile.errorString()));
        return mdlExitStatus::FilesFailed;
    }
    QList<Entry> aEntries = Entries(oConsole, oFile.readAll(), sPath);
    if (lLast > 0 && lLast < aEntries.size()) {
        aEntries = aEntries.last(lLast);
    }
    if (!bJson) {
        oConsole.Out(Table(aEntries));
        return mdlExitStatus::Done;
    }
    for (const Entry& oEntry : aEntries) {
        oConsole.Out(QString::fromUtf8(oEntry.aLine) + QLatin1Char('\n'));
    }
    return mdlExitStatus::Done;
}

int Ledger(clsConsole& oConsole, const QByteArrayList& aArguments) {
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

} // namespace

namespace mdlLedger {

int Run(const QByteArrayList& aArguments) {
    clsConsole oConsole;
    const int iStatus = Ledger(oConsole, aArguments);
    return mdlExitStatus::Final(iStatus, oConsole);
}

} // namespace mdlLedger
