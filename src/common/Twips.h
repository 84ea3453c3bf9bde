#pragma once
// Window geometry is kept in twips, 15 to a pixel at 96 dpi, because the
// logic compares exact twips values (a knob's Left, the window height as its
// mode). Pixels are only derived from them when a widget is placed.
#include <QRect>
#include <QRectF>
#include <cmath>

namespace Twips {
constexpr int PerPixel = 15;

// Twips to whole pixels, rounding to the nearest pixel (halves away from zero).
constexpr int toPixels(double twips)
{
    const double px = twips / PerPixel;
    return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

constexpr double fromPixels(double pixels) { return pixels * PerPixel; }

// A twips rectangle (Left, Top, Width, Height) as a pixel rectangle. Edges are
// rounded, not the size, so neighbouring controls never overlap or gap.
inline QRect toPixels(const QRectF &twips)
{
    const int l = toPixels(twips.left());
    const int t = toPixels(twips.top());
    const int r = toPixels(twips.left() + twips.width());
    const int b = toPixels(twips.top() + twips.height());
    return QRect(l, t, r - l, b - t);
}

inline QRect toPixels(double left, double top, double width, double height)
{
    return toPixels(QRectF(left, top, width, height));
}

inline QRectF fromPixels(const QRect &pixels)
{
    return QRectF(fromPixels(pixels.x()), fromPixels(pixels.y()),
                  fromPixels(pixels.width()), fromPixels(pixels.height()));
}
} // namespace Twips
