#include "window_placement.h"

#include "settings/app_settings.h"

#include <QtMath>
#include <cmath>

namespace app {

namespace {

const QString kSection = QStringLiteral("Settings");
constexpr qreal kTwipsPerInch = 1440.0;

// Far beyond any screen; keeps the conversion to pixels within int range
// whatever a damaged settings file holds.
constexpr float kLargestTwips = 10.0e6f;

float readTwips(const QString &key, float fallback, bool mustBePositive)
{
    bool ok = false;
    const float value = settings::readSetting(kSection, key, QString()).trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > kLargestTwips)
        return fallback;
    if (mustBePositive && value <= 0)
        return fallback;
    return value;
}

int toPixels(float twips, qreal dpi)
{
    return qRound(qreal(twips) * dpi / kTwipsPerInch);
}

float toTwips(int pixels, qreal dpi)
{
    return float(qreal(pixels) * kTwipsPerInch / dpi);
}

}  // namespace

PlacementTwips loadPlacement()
{
    const PlacementTwips defaults;
    PlacementTwips p;
    p.left = readTwips(QStringLiteral("MainLeft"), defaults.left, false);
    p.top = readTwips(QStringLiteral("MainTop"), defaults.top, false);
    p.width = readTwips(QStringLiteral("MainWidth"), defaults.width, true);
    p.height = readTwips(QStringLiteral("MainHeight"), defaults.height, true);
    return p;
}

void savePlacement(const PlacementTwips &placement)
{
    settings::writeSetting(kSection, QStringLiteral("MainLeft"), twipsText(placement.left));
    settings::writeSetting(kSection, QStringLiteral("MainTop"), twipsText(placement.top));
    settings::writeSetting(kSection, QStringLiteral("MainWidth"), twipsText(placement.width));
    settings::writeSetting(kSection, QStringLiteral("MainHeight"), twipsText(placement.height));
}

QRect twipsToPixels(const PlacementTwips &twips, qreal dpiX, qreal dpiY)
{
    return QRect(toPixels(twips.left, dpiX), toPixels(twips.top, dpiY),
                 qMax(1, toPixels(twips.width, dpiX)), qMax(1, toPixels(twips.height, dpiY)));
}

PlacementTwips pixelsToTwips(const QRect &pixels, qreal dpiX, qreal dpiY)
{
    PlacementTwips p;
    p.left = toTwips(pixels.x(), dpiX);
    p.top = toTwips(pixels.y(), dpiY);
    p.width = toTwips(pixels.width(), dpiX);
    p.height = toTwips(pixels.height(), dpiY);
    return p;
}

QRect keepOnScreen(const QRect &placement, const QRect &available, const QMargins &frame)
{
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const int width = qMax(1, qMin(placement.width(), available.width() - frameWidth));
    const int height = qMax(1, qMin(placement.height(), available.height() - frameHeight));
    // The far edges first, so that an area smaller than the frame still
    // keeps the window's top-left corner in sight.
    const int left = qMax(available.left(), qMin(placement.left(), available.left() + available.width() - width - frameWidth));
    const int top = qMax(available.top(), qMin(placement.top(), available.top() + available.height() - height - frameHeight));
    return QRect(left, top, width, height);
}

QString twipsText(float twips)
{
    // Seven significant digits: all a single-precision number holds.
    return QString::number(double(twips), 'g', 7);
}

}  // namespace app
