#include "tools/boardsim/clsSimOptions.h"

#include "tools/boardsim/clsSimTarget.h"

#include <QCommandLineParser>

namespace {

struct OptionText {
    const char* sName;
    const char* sValueName; // empty for a switch
    const char* sDefault;   // for the help only: clsSimOptions starts with these
    const char* sHelp;
};

// clang-format off
constexpr OptionText aOptionTexts[] = {
    {"target", "ID", "", "Target id of the board (decimal or 0x hex)."},
    {"announce", "ID", "", "Announce this byte instead of the target id (a wrong target byte)."},
    {"link", "PATH", "", "Make PATH a symbolic link to the port while the board runs."},
    {"delay", "MS", "300", "Announce MS ms after the port opens."},
    {"on-enter", "", "", "Announce when a line is read on standard input instead."},
    {"fill", "HEX", "FF", "The byte the flash holds where nothing was written."},
    {"linger", "MS", "500",
     "End once the port stays closed this long after the answer (with --boards, after the "
     "target byte)."},
    {"timeout", "SECONDS", "600", "End a board's session after this long in any case."},
    {"summary", "FILE", "", "Write the summary to FILE instead of standard output."},
    {"flash", "FILE", "", "Write the flash to FILE as a binary; with --boards, the last board's."},
    {"fault", "[B/]N:KIND[:ARG]", "",
     "At line N after the answer, of board B alone when given: resend, resend-always, "
     "program-error, garbage, lowercase, noise, slow:MS, silence or hangup. Repeatable."},
    {"boards", "N", "1",
     "Play N boards one after the other, each with a flash of its own: once a board's port stays "
     "closed, the next waits for it to open and announces itself. A summary line per board."},
    {"pace", "", "",
     "Take the time the characters need at the target's baud rate. A reply's write starts early "
     "by the least the simulator's own wake-up and write took lately, so that it is done when due."},
};
// clang-format on

void AddOptions(QCommandLineParser& oParser) {
    oParser.setApplicationDescription(
        QStringLiteral("Plays a target board on a pseudo-terminal: announces its target id, "
                       "checks the answer,\nanswers erase commands and data records as the "
                       "board's loader does, keeps what\nthey write and ends with a summary in "
                       "JSON."));
    oParser.addHelpOption();
    oParser.addVersionOption();
    for (const OptionText& oText : aOptionTexts) {
        const QString sDefault = QLatin1String(oText.sDefault);
        oParser.addOption(QCommandLineOption(
            QLatin1String(oText.sName),
            QLatin1String(oText.sHelp) +
                (sDefault.isEmpty() ? QString() : QStringLiteral(" Default: %1.").arg(sDefault)),
            QLatin1String(oText.sValueName)));
    }
}

// A whole number in decimal or, after "0x", in hexadecimal; iBase 16 reads
// hexadecimal either way.
bool ReadNumber(QString sText, int iBase, qint64 lMin, qint64 lMax, qint64& lValue) {
    bool bNumber = false;
    if (sText.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        sText.remove(0, 2);
        iBase = 16;
    }
    lValue = sText.toLongLong(&bNumber, iBase);
    return bNumber && lValue >= lMin && lValue <= lMax;
}

// Leaves Value alone when the option is not given.
template <typename T>
bool ReadOption(const QCommandLineParser& oParser, const char* sName, int iBase, qint64 lMax,
                T& Value, QString& sProblem) {
    const QString sOption = QLatin1String(sName);
    qint64 lValue = 0;
    if (!oParser.isSet(sOption)) {
        return true;
    }
    if (!ReadNumber(oParser.value(sOption), iBase, 0, lMax, lValue)) {
        sProblem = QStringLiteral("--%1 takes a number from 0 to %2").arg(sOption).arg(lMax);
        return false;
    }
    Value = T(lValue);
    return true;
}

bool ReadFaults(const QCommandLineParser& oParser, clsFaultPlan& oFaults, QString& sProblem) {
    for (const QString& sFault : oParser.values(QStringLiteral("fault"))) {
        if (!oFaults.Add(sFault)) {
            sProblem = QStringLiteral("--fault %1: not [B/]N:KIND[:ARG] for a line without a fault")
                           .arg(sFault);
            return false;
        }
    }
    return true;
}

} // namespace

bool clsSimOptions::Parse(const QStringList& asArguments, QString& sProblem) {
    QCommandLineParser oParser;
    AddOptions(oParser);
    if (!oParser.parse(asArguments)) {
        sProblem = oParser.errorText();
        return false;
    }
    if (oParser.isSet(QStringLiteral("help"))) {
        oParser.showHelp(0);
    }
    if (oParser.isSet(QStringLiteral("version"))) {
        oParser.showVersion();
    }
    if (!oParser.positionalArguments().isEmpty()) {
        sProblem = QStringLiteral("arguments are options only");
        return false;
    }
    if (!ReadOption(oParser, "target", 10, 0xFF, yTarget, sProblem)) {
        return false;
    }
    yAnnounce = yTarget;
    if (clsSimTarget::For(yTarget).lFlashSize == 0) {
        sProblem = QStringLiteral("--target takes the id of a known board");
        return false;
    }
    sLink = oParser.value(QStringLiteral("link"));
    bOnEnter = oParser.isSet(QStringLiteral("on-enter"));
    sSummary = oParser.value(QStringLiteral("summary"));
    sFlash = oParser.value(QStringLiteral("flash"));
    bPace = oParser.isSet(QStringLiteral("pace"));
    if (!ReadOption(oParser, "boards", 10, 1'000'000, lBoards, sProblem) || lBoards < 1) {
        sProblem = QStringLiteral("--boards takes a number from 1 to 1000000");
        return false;
    }
    return ReadOption(oParser, "announce", 10, 0xFF, yAnnounce, sProblem) &&
           ReadOption(oParser, "delay", 10, 3'600'000, lDelayMs, sProblem) &&
           ReadOption(oParser, "linger", 10, 3'600'000, lLingerMs, sProblem) &&
           ReadOption(oParser, "timeout", 10, 86'400, lTimeoutSeconds, sProblem) &&
           ReadOption(oParser, "fill", 16, 0xFF, yFill, sProblem) &&
           ReadFaults(oParser, oFaults, sProblem);
}
