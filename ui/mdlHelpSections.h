#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;

// The sections of a help page, as its headings below the title divide it.
namespace mdlHelpSections {

struct Section {
    QString sTitle;
    QString sAnchor;
    int iLevel;
    // The heading and what follows it up to the next heading.
    QString sText;
};

// The sections of oPage headed at levels 2 and 3, in page order.
QList<Section> Read(const QTextDocument& oPage);

// True when oSection holds every word of asWords, in any case.
bool Holds(const Section& oSection, const QStringList& asWords);

} // namespace mdlHelpSections
