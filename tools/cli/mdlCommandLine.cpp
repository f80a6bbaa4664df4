#include "tools/cli/mdlCommandLine.h"

#include "engine/mdlEngineErrors.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "platform/mdlArguments.h"
#include "resources/mdlResources.h"
#include "tools/cli/mdlExitStatus.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// The bytes of a path for a message: printable ASCII as it is, every other
// byte as \xHH.
QString Escaped(const QByteArray& aPath) {
    QString sShown;
    for (const char cByte : aPath) {
        const auto yByte = quint8(cByte);
        sShown += yByte >= 0x20 && yByte < 0x7F
                      ? QString(QLatin1Char(cByte))
                      : QStringLiteral("\\x") +
                            QString::number(yByte, 16).toUpper().rightJustified(2, u'0');
    }
    return sShown;
}

// The bytes among aArguments that the system gave for sPath, where they are
// not its bytes: a whole argument, or an option's value in the option's own
// argument (--port=DEVICE). Empty when there are none.
QByteArray Unfaithful(const QByteArrayList& aArguments, const QString& sPath) {
    const QByteArray aFaithful = mdlArguments::Bytes(sPath);
    for (const QByteArray& aArgument : aArguments) {
        const QByteArray aValue =
            aArgument.mid(aArgument.startsWith("--") ? aArgument.indexOf('=') + 1 : 0);
        for (const QByteArray& aBytes : {aArgument, aValue}) {
            if (aBytes != aFaithful && mdlArguments::Text(aBytes) == sPath) {
                return aBytes;
            }
        }
    }
    return {};
}

// Qt's help with the verb's own usage lines in place of its first line.
QString Help(const QCommandLineParser& oParser, const QString& sUsage) {
    const QString sHelp = oParser.helpText();
    return sUsage + sHelp.mid(sHelp.indexOf(QLatin1Char('\n')) + 1);
}

// Edits, letter by letter, that make sFrom sTo.
qsizetype Distance(const QString& sFrom, const QString& sTo) {
    QList<qsizetype> aRow(sTo.size() + 1);
    for (qsizetype j = 0; j < aRow.size(); ++j) {
        aRow[j] = j;
    }
    for (qsizetype i = 1; i <= sFrom.size(); ++i) {
        qsizetype lDiagonal = aRow[0];
        aRow[0] = i;
        for (qsizetype j = 1; j <= sTo.size(); ++j) {
            const qsizetype lAbove = aRow[j];
            aRow[j] = std::min(
                {aRow[j] + 1, aRow[j - 1] + 1, lDiagonal + (sFrom[i - 1] == sTo[j - 1] ? 0 : 1)});
            lDiagonal = lAbove;
        }
    }
    return aRow.back();
}

// An option as it is typed: one letter after one dash, a word after two.
QString Dashed(const QString& sName) {
    return (sName.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + sName;
}

// The options the help shows, the hidden ones left out: the parser lists
// none of those it was given.
QStringList Shown(const QCommandLineParser& oParser) {
    static const QRegularExpression oOption(QStringLiteral("^  (?:-\\w, )?--([\\w-]+)"),
                                            QRegularExpression::MultilineOption);
    QStringList asNames;
    for (const QRegularExpressionMatch& oMatch : oOption.globalMatch(oParser.helpText())) {
        asNames << oMatch.captured(1);
    }
    return asNames;
}

// The first unknown option, with the option it most likely stands for
// where one is close.
QString Unknown(const QCommandLineParser& oParser) {
    const QString sName = oParser.unknownOptionNames().constFirst();
    QString sNearest;
    qsizetype lNearest = std::max<qsizetype>(2, sName.size() / 3) + 1;
    for (const QString& sOption : Shown(oParser)) {
        if (const qsizetype lDistance = Distance(sName, sOption); lDistance < lNearest) {
            lNearest = lDistance;
            sNearest = sOption;
        }
    }
    return QStringLiteral("unknown option %1%2")
        .arg(Dashed(sName), sNearest.isEmpty()
                                ? QStringLiteral(".")
                                : QStringLiteral(": did you mean %1?").arg(Dashed(sNearest)));
}

} // namespace

namespace mdlCommandLine {

QString Version() {
    using namespace mdlResources;
    return QStringLiteral("tessivar-cli %1.%2.%3")
        .arg(VersionMajor())
        .arg(VersionMinor())
        .arg(VersionRevision());
}

std::optional<int> Parse(QCommandLineParser& oParser, const QString& sUsage,
                         const QByteArrayList& aArguments, clsConsole& oConsole) {
    const QCommandLineOption oHelp({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("Show this help."));
    const QCommandLineOption oVersion(QStringLiteral("version"),
                                      QStringLiteral("Show the version."));
    oParser.addOptions({oHelp, oVersion});
    QStringList asArguments{QStringLiteral("tessivar-cli")};
    for (const QByteArray& aArgument : aArguments) {
        asArguments << mdlArguments::Text(aArgument);
    }
    if (!oParser.parse(asArguments)) {
        return UsageError(oConsole, sUsage,
                          oParser.unknownOptionNames().isEmpty() ? oParser.errorText()
                                                                 : Unknown(oParser));
    }
    if (oParser.isSet(oHelp)) {
        oConsole.Out(Help(oParser, sUsage));
        return mdlExitStatus::Done;
    }
    if (oParser.isSet(oVersion)) {
        oConsole.Out(Version() + QLatin1Char('\n'));
        return mdlExitStatus::Done;
    }
    return std::nullopt;
}

int UsageError(clsConsole& oConsole, const QString& sUsage, const QString& sWhy) {
    oConsole.Err(QStringLiteral("tessivar-cli: ") + mdlTextUtil::Visible(sWhy) + QLatin1Char('\n') +
                 sUsage);
    return mdlExitStatus::Usage;
}

void AddFileArgument(QCommandLineParser& oParser) {
    oParser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The application file; its command file lies beside it."));
}

QString OneFile(const QCommandLineParser& oParser) {
    const QStringList asFiles = oParser.positionalArguments();
    return asFiles.size() == 1 ? asFiles.first() : QString();
}

bool IsFaithfulPath(clsConsole& oConsole, const QByteArrayList& aArguments, const QString& sPath,
                    bool bJson) {
    const QByteArray aUnfaithful = Unfaithful(aArguments, sPath);
    if (aUnfaithful.isEmpty()) {
        return true;
    }
    const QString sProblem = QStringLiteral("The path is not valid UTF-8: ") + Escaped(aUnfaithful);
    oConsole.Err(QStringLiteral("tessivar-cli: ") + sProblem + QLatin1Char('\n'));
    if (bJson) {
        oConsole.OutJson({{QStringLiteral("error"), mdlEngineErrors::OpenAppFileFailed},
                          {QStringLiteral("description"), sProblem}});
    }
    return false;
}

} // namespace mdlCommandLine
