#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

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
    // Moves and sizes every placed control and fixes the client area's size.
    void Apply();

private:
    struct Placement {
        QWidget* oControl;
        QRect oTwips;
    };

    double FontScale() const;
    // How much larger than dScale the layout must be for oPlacement's
    // caption to fit, or 1.
    double CaptionGrowth(const Placement& oPlacement, double dScale) const;
    QRect InPixels(QRect oTwips) const;

    QWidget& oClient;
    QSize oClientTwips;
    QList<Placement> aPlacements;
    double dPixelsPerTwip = 1.0 / 15;
};
