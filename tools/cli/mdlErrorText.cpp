#include "tools/cli/mdlErrorText.h"

#include "core/mdlOrdinaryFile.h"
#include "engine/mdlErrorTable.h"
#include "engine/mdlTextUtil.h"

#include <QStringList>

namespace {

// A path the system takes for no name, being too long, is quoted in part.
QString ShownPath(const QString& sPath) {
    return mdlOrdinaryFile::NameTooLong(sPath) ? mdlTextUtil::Quoted(sPath)
                                               : mdlTextUtil::Visible(sPath);
}

// oError as a terminal shows it: a path or a reply it quotes can hold
// anything, an escape sequence that acts on the terminal included.
clsError Shown(const clsError& oError) {
    using mdlTextUtil::Visible;
    clsError oShown(oError.Number(), Visible(oError.Source()), Visible(oError.Description()));
    oShown.AtLine(oError.Line()).InFile(ShownPath(oError.Path()), Visible(oError.Why()));
    return oShown;
}

QString Place(const clsError& oError) {
    QString sPlace = oError.Path();
    if (oError.Line() > 0) {
        sPlace += QStringLiteral(", line %1").arg(oError.Line());
    }
    if (!oError.Why().isEmpty()) {
        sPlace += QStringLiteral(": ") + oError.Why();
    }
    return sPlace;
}

} // namespace

namespace mdlErrorText {

QString Detail(const clsError& oError) {
    QStringList asParts;
    if (!mdlErrorTable::OfRun(oError).bForeseen) {
        asParts << (oError.Source().isEmpty()
                        ? oError.Description()
                        : oError.Source() + QStringLiteral(": ") + oError.Description());
    }
    if (!oError.Path().isEmpty()) {
        asParts << Place(oError);
    }
    asParts.removeAll(QString());
    return asParts.join(QStringLiteral(" at "));
}

QString ForTerminal(const clsError& oError) {
    const clsError oShown = Shown(oError);
    const QString sDetail = Detail(oShown);
    return mdlErrorTable::BoxText(oShown.Code(), mdlErrorTable::OfRun(oShown).asLines) +
           QLatin1Char('\n') +
           (sDetail.isEmpty() ? QString()
                              : QStringLiteral("Detail: ") + sDetail + QLatin1Char('\n'));
}

QString Lines(const QString& sText) {
    QStringList asLines = sText.split(QStringLiteral("\r\n"));
    for (QString& sLine : asLines) {
        sLine = mdlTextUtil::Visible(sLine);
    }
    return asLines.join(QLatin1Char('\n'));
}

QJsonObject ToJson(const clsError& oError) {
    const QString sDetail = Detail(oError);
    QJsonObject oObject{
        {QStringLiteral("error"), oError.Code()},
        {QStringLiteral("description"),
         mdlErrorTable::OfRun(oError).asLines.join(QLatin1Char(' ')) +
             (sDetail.isEmpty() ? QString() : QStringLiteral(" Detail: ") + sDetail)},
    };
    if (oError.Line() > 0) {
        oObject.insert(QStringLiteral("line"), oError.Line());
    }
    if (!oError.Path().isEmpty()) {
        oObject.insert(QStringLiteral("path"), oError.Path());
    }
    return oObject;
}

} // namespace mdlErrorText
