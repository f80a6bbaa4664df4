#include "tools/cli/mdlTextTable.h"

namespace mdlTextTable {

QString Table(const QList<QStringList>& aRows) {
    QList<qsizetype> aWidths(aRows.first().size(), 0);
    for (const QStringList& asRow : aRows) {
        Fit(aWidths, asRow);
    }
    QString sTable;
    for (const QStringList& asRow : aRows) {
        sTable += Line(asRow, aWidths);
    }
    return sTable;
}

void Fit(QList<qsizetype>& aWidths, const QStringList& asRow) {
    for (qsizetype i = 0; i < asRow.size(); ++i) {
        aWidths[i] = std::max(aWidths.at(i), asRow.at(i).size());
    }
}

QString Line(const QStringList& asRow, const QList<qsizetype>& aWidths) {
    QStringList asCells;
    for (qsizetype i = 0; i < asRow.size(); ++i) {
        asCells.append(asRow.at(i).leftJustified(aWidths.at(i)));
    }
    return asCells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
}

} // namespace mdlTextTable
