#include "ui/mdlHelpSections.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr int iFirstLevel = 2;
constexpr int iLastLevel = 3;

QString AnchorOf(const QTextBlock& oBlock) {
    for (auto oFragment = oBlock.begin(); !oFragment.atEnd(); ++oFragment) {
        const QStringList asNames = oFragment.fragment().charFormat().anchorNames();
        if (!asNames.isEmpty()) {
            return asNames.first();
        }
    }
    return {};
}

} // namespace

namespace mdlHelpSections {

QList<Section> Read(const QTextDocument& oPage) {
    QList<Section> aSections;
    bool bInSection = false;
    for (QTextBlock oBlock = oPage.begin(); oBlock.isValid(); oBlock = oBlock.next()) {
        const int iLevel = oBlock.blockFormat().headingLevel();
        if (iLevel >= iFirstLevel && iLevel <= iLastLevel) {
            aSections.append({oBlock.text().trimmed(), AnchorOf(oBlock), iLevel, oBlock.text()});
            bInSection = true;
        } else if (iLevel != 0) {
            bInSection = false;
        } else if (bInSection) {
            aSections.last().sText += QLatin1Char('\n') + oBlock.text();
        }
    }
    return aSections;
}

bool Holds(const Section& oSection, const QStringList& asWords) {
    return std::all_of(asWords.cbegin(), asWords.cend(), [&](const QString& sWord) {
        return oSection.sText.contains(sWord, Qt::CaseInsensitive);
    });
}

} // namespace mdlHelpSections
