#include "ui/clsElidedLabel.h"

#include <QFontMetrics>

#include <algorithm>

void clsElidedLabel::SetName(const QString& sNewName, const QString& sNewNote) {
    sName = sNewName;
    sNote = sNewNote.isEmpty() ? QString() : QStringLiteral("  ") + sNewNote;
    setToolTip(sName + sNote);
    Elide();
}

void clsElidedLabel::resizeEvent(QResizeEvent* oEvent) {
    QLabel::resizeEvent(oEvent);
    Elide();
}

// The end of a device's name is what tells adapters apart: the name keeps
// two thirds of the room where the note would take more, and of a path
// only the root folder stays before the gap.
void clsElidedLabel::Elide() {
    const QFontMetrics oMetrics(font());
    const int iRoom = contentsRect().width();
    const int iNameRoom = iRoom - std::min(oMetrics.horizontalAdvance(sNote), iRoom / 3);
    QString sShownName = oMetrics.elidedText(sName, Qt::ElideMiddle, iNameRoom);
    const QString sRoot = sName.left(sName.indexOf(QLatin1Char('/'), 1) + 1);
    if (sShownName != sName && !sRoot.isEmpty()) {
        sShownName = sRoot + oMetrics.elidedText(sName.mid(sRoot.size()), Qt::ElideLeft,
                                                 iNameRoom - oMetrics.horizontalAdvance(sRoot));
    }
    const int iNameWidth = oMetrics.horizontalAdvance(sShownName);
    setText(sShownName + oMetrics.elidedText(sNote, Qt::ElideRight, iRoom - iNameWidth));
}
