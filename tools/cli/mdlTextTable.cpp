#include "tools/cli/mdlTextTable.h"

namespace mdlTextTable {

QString Table(const QList<QStringList>& aRows) {
    QList<qsizetype> aWidths(aRows.first().size(), 0);
    for (const QStringList& asRow : aRows) {
        for (qsizetype i = 0; i < asRow.size(); ++i) {
            aWidths[i] = std::max(aWidths.at(i), asRow.at(i).size());
        }
    }
    QString sTable;
    for (const QStringList& asRow : aRows) {
        QStringList asCells;
        for (qsizetype i = 0; i < asRow.size(); ++i) {
            asCells.append(asRow.at(i).leftJustified(aWidths.at(i)));
        }
        sTable += asCells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    }
    return sTable;
}

} // namespace mdlTextTable
