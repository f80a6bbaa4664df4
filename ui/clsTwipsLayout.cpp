#include "ui/clsTwipsLayout.h"

#include "ui/clsElidedLabel.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr double dTwipsPerInch = 1440;
// The width of an average letter of the 8-point font the layouts were
// drawn for, in twips: 6 pixels on a 96 DPI screen.
constexpr double dDrawnLetterTwips = 90;
// A wrapped caption grows its box in steps this large until it fits.
constexpr double dWrapStep = 1.05;
constexpr double dMostGrowth = 4;

// The caption a control shows, as drawn (access-key marks left out); none
// for a label that elides what does not fit.
QString Caption(const QWidget& oControl) {
    QString sCaption;
    if (qobject_cast<const clsElidedLabel*>(&oControl) != nullptr) {
        return sCaption;
    }
    if (const auto* oLabel = qobject_cast<const QLabel*>(&oControl)) {
        sCaption = oLabel->text();
    } else if (const auto* oButton = qobject_cast<const QAbstractButton*>(&oControl)) {
        sCaption = oButton->text();
    }
    return sCaption.remove(QLatin1Char('&'));
}

// Room a button's frame takes around its caption.
QSizeF ButtonFrame(const QFontMetricsF& oMetrics) {
    return {oMetrics.averageCharWidth() * 2, oMetrics.height() * 0.5};
}

} // namespace

clsTwipsLayout::clsTwipsLayout(QWidget& oNewClient, QSize oNewClientTwips)
    : oClient(oNewClient), oClientTwips(oNewClientTwips) {}

void clsTwipsLayout::Place(QWidget& oControl, QRect oTwips) {
    aPlacements.append({&oControl, oTwips});
}

void clsTwipsLayout::Apply(QSize oRoom) {
    const double dBase = oClient.logicalDpiX() / dTwipsPerInch;
    double dScale = std::max(1.0, FontScale() / dBase);
    for (const Placement& oPlacement : aPlacements) {
        dScale *= CaptionGrowth(oPlacement, dBase * dScale);
    }
    FitInto(oRoom, dBase * dScale);
    for (const Placement& oPlacement : aPlacements) {
        oPlacement.oControl->setGeometry(InPixels(oPlacement.oTwips));
    }
    oClient.setFixedSize(InPixels(QRect(QPoint(0, 0), oClientTwips)).size());
}

// Pixels per twip at which the window's font is as wide as the drawn one.
double clsTwipsLayout::FontScale() const {
    const QString sLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetricsF oMetrics(oClient.font());
    return oMetrics.horizontalAdvance(sLetters) / sLetters.size() / dDrawnLetterTwips;
}

double clsTwipsLayout::CaptionGrowth(const Placement& oPlacement, double dScale) const {
    const QWidget& oControl = *oPlacement.oControl;
    const QString sCaption = Caption(oControl);
    if (sCaption.isEmpty()) {
        return 1;
    }
    const QSizeF oBox = QSizeF(oPlacement.oTwips.size()) * dScale;
    const auto* oLabel = qobject_cast<const QLabel*>(&oControl);
    if (oLabel != nullptr && oLabel->wordWrap()) {
        double dGrowth = 1;
        while (dGrowth < dMostGrowth &&
               oLabel->heightForWidth(int(oBox.width() * dGrowth)) > oBox.height() * dGrowth) {
            dGrowth *= dWrapStep;
        }
        return dGrowth;
    }
    const QFontMetricsF oMetrics(oControl.font());
    QSizeF oNeeded(oMetrics.horizontalAdvance(sCaption), oMetrics.height());
    if (oLabel == nullptr) {
        oNeeded += ButtonFrame(oMetrics);
    }
    const double dWide = oBox.width() > 0 ? oNeeded.width() / oBox.width() : 1;
    const double dHigh = oBox.height() > 0 ? oNeeded.height() / oBox.height() : 1;
    return std::max({1.0, dWide, dHigh});
}

void clsTwipsLayout::FitInto(QSize oRoom, double dScale) {
    const auto oGiver =
        std::find_if(aPlacements.cbegin(), aPlacements.cend(),
                     [this](const Placement& oPlacement) { return oPlacement.oControl == pGiver; });
    const bool bGiver = oGiver != aPlacements.cend();
    const int iGiverTwips = bGiver ? oGiver->oTwips.height() : 0;
    const int iLeast = bGiver ? pGiver->minimumSizeHint().height() : 0;
    iGiverBottom = bGiver ? oGiver->oTwips.top() + iGiverTwips : oClientTwips.height();
    // With the giver at its least height, the rest must fit as it is.
    dPixelsPerTwip =
        std::min({dScale, double(oRoom.width()) / oClientTwips.width(),
                  double(oRoom.height() - iLeast) / (oClientTwips.height() - iGiverTwips)});
    iGiven = std::clamp(Pixels(oClientTwips.height()) - oRoom.height(), 0,
                        std::max(0, Pixels(iGiverTwips) - iLeast));
}

int clsTwipsLayout::Pixels(int iTwips) const {
    return int(std::lround(iTwips * dPixelsPerTwip));
}

// What lies below the giving control moves up by what it gave.
QRect clsTwipsLayout::InPixels(QRect oTwips) const {
    const int iBottom = oTwips.top() + oTwips.height();
    const int iUp = oTwips.top() >= iGiverBottom ? iGiven : 0;
    const int iShorter = iBottom >= iGiverBottom && iUp == 0 ? iGiven : 0;
    return {Pixels(oTwips.left()), Pixels(oTwips.top()) - iUp, Pixels(oTwips.width()),
            Pixels(oTwips.height()) - iShorter};
}
