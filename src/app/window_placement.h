#pragma once
// The main window's placement as remembered between runs: left, top, width
// and height in twips (1/1440 inch), each stored as the decimal text of a
// single-precision number under section "Settings".

#include <QMargins>
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

// The placement brought within `available` (a screen's area without its
// task bars) so that all of the window can be seen and reached: no wider
// or taller than the area, and moved in across any edge it crosses. A
// settings file may hold anything, and a window far off the screen, or
// thousands of pixels wide, is lost to the user (and costs the memory of
// its pixels). `placement` is the frame's top-left corner with the size
// of the inside, as QWidget::pos() and size() give them; `frame` is what
// the window system adds around the inside (nothing before the first show).
QRect keepOnScreen(const QRect &placement, const QRect &available, const QMargins &frame = QMargins());

// "1000", "6500", "1234.5": the text a stored value is written as.
QString twipsText(float twips);

}  // namespace app
