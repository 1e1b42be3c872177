#pragma once
// The main window's placement as remembered between runs: left, top, width
// and height in twips (1/1440 inch), each stored as the decimal text of a
// single-precision number under section "Settings".

#include <QRect>
#include <QString>

namespace app {

struct PlacementTwips {
    float left = 1000;
    float top = 1000;
    float width = 6500;
    float height = 6500;
};

// The four stored values; a missing or unreadable key gives its default.
PlacementTwips loadPlacement();
void savePlacement(const PlacementTwips &placement);

// Conversions at the screen's logical resolution (dots per inch).
QRect twipsToPixels(const PlacementTwips &twips, qreal dpiX, qreal dpiY);
PlacementTwips pixelsToTwips(const QRect &pixels, qreal dpiX, qreal dpiY);

// "1000", "6500", "1234.5": the text a stored value is written as.
QString twipsText(float twips);

}  // namespace app
