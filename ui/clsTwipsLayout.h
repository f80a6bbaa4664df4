#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QWidget>

// Places a window's controls from a layout drawn in twips for an 8-point
// font. Twips become pixels at the screen's DPI, scaled up by as much as
// the window's font is wider than the one the layout was drawn for, and
// further until every caption fits: the proportions hold, the size gives
// way.
class clsTwipsLayout {
public:
    clsTwipsLayout(QWidget& oNewClient, QSize oNewClientTwips);

    // oTwips: left, top, width and height in twips from the client area's
    // top left corner.
    void Place(QWidget& oControl, QRect oTwips);
    // Makes the placed oControl the one that gives up its height, and the
    // controls below it move up, where the client area would be taller
    // than the room it has; it keeps its least height.
    void GiveRoomFrom(const QWidget& oControl) { pGiver = &oControl; }
    // Moves and sizes every placed control and fixes the client area's
    // size, within oRoom: narrower, the whole layout is scaled down;
    // lower, the giving control is shortened first.
    void Apply(QSize oRoom = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

private:
    struct Placement {
        QWidget* oControl;
        QRect oTwips;
    };

    double FontScale() const;
    // How much larger than dScale the layout must be for oPlacement's
    // caption to fit, or 1.
    double CaptionGrowth(const Placement& oPlacement, double dScale) const;
    // The scale that fits oRoom, no larger than dScale, and the pixels the
    // giving control gives up at it.
    void FitInto(QSize oRoom, double dScale);
    int Pixels(int iTwips) const;
    QRect InPixels(QRect oTwips) const;

    QWidget& oClient;
    QSize oClientTwips;
    QList<Placement> aPlacements;
    const QWidget* pGiver = nullptr;
    double dPixelsPerTwip = 1.0 / 15;
    // Where the giving control ends, in twips, and the pixels it gives up.
    int iGiverBottom = 0;
    int iGiven = 0;
};
