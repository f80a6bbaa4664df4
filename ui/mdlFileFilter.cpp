#include "ui/mdlFileFilter.h"

namespace mdlFileFilter {

QStringList NameFilters(const QString& sTableFilter) {
    const QStringList asParts = sTableFilter.split(QLatin1Char('|'));
    QStringList asFilters;
    for (qsizetype i = 0; i + 1 < asParts.size(); i += 2) {
        QStringList asPatterns = asParts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& sPattern : asPatterns) {
            sPattern = sPattern.trimmed();
            // "*.*" means every file, with or without a dot.
            if (sPattern == QLatin1String("*.*")) {
                sPattern = QStringLiteral("*");
            }
        }
        asFilters.append(asParts.at(i) + QStringLiteral(" (") + asPatterns.join(QLatin1Char(' ')) +
                         QLatin1Char(')'));
    }
    return asFilters;
}

} // namespace mdlFileFilter
