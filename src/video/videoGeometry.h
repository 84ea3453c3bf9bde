#pragma once
// The skinned video window's layout: one table that both places the controls
// and draws the skin, so every painted button lies under its hot spot.
// Control rectangles are in twips (15 to a pixel), skin areas in pixels.
#include "Twips.h"

#include <QColor>
#include <QRect>
#include <QRectF>

namespace videoGeometry {

// The client area (381 x 254 px); the skin is one pixel column wider and is
// drawn from the top-left corner, so its last column lies beyond the window.
constexpr int ClientWidth = 5715;
constexpr int ClientHeight = 3810;
constexpr int SkinWidthPx = 382;
constexpr int SkinHeightPx = 254;

struct Rect {
    double left, top, width, height; // twips
    constexpr QRectF twips() const { return QRectF(left, top, width, height); }
    QRect pixels() const { return Twips::toPixels(twips()); }
};

constexpr Rect MediaPlayer1{225, 315, 5205, 2970};
constexpr Rect Image1{225, 3555, 615, 240};  // Open
constexpr Rect Image2{1965, 3570, 360, 210}; // Play
constexpr Rect Image3{2445, 3540, 510, 240}; // Pause
constexpr Rect Image4{3045, 3555, 480, 225}; // Stop
constexpr Rect Image5{5490, 0, 240, 180};    // close mark
constexpr Rect islider{240, 3345, 435, 90};
constexpr Rect PicDisplay{4005, 3315, 1410, 135};
constexpr Rect Label1{0, 0, 525, 135}; // inside PicDisplay
constexpr int KnobPictureWidthPx = 29;
constexpr int KnobPictureHeightPx = 6;

// The seek knob: its Left runs from the start of the track (position 0) to
// the last place where the whole knob still lies on the painted track (the
// end of the media). Dragging and playback use the same range and scale.
constexpr double KnobLeftStop = 240;
constexpr double KnobRightStop = 3450;
constexpr double KnobScale = KnobRightStop - KnobLeftStop;

// The title marquee: twips per tick.
constexpr double TitleStep = 50;

constexpr int TitleIntervalMs = 100; // Timer1
constexpr int KnobIntervalMs = 1000; // Timer55

// Skin areas, in pixels (x, y, width, height).
constexpr QRect SkinTitle{0, 0, 382, 19};
constexpr QRect SkinCloseMark{366, 0, 16, 12};
constexpr QRect SkinVideoArea{10, 19, 352, 201};    // x 10-361, y 19-219
constexpr QRect SkinSeekTrack{12, 221, 249, 9};     // x 12-260, y 221-229
constexpr QRect SkinDisplayPanel{265, 221, 97, 9};  // x 265-361, y 221-229
// Where each command word is lettered (y 240-249), under its hot spot.
constexpr QRect WordOpen{25, 240, 23, 10};
constexpr QRect WordPlay{134, 240, 18, 10};
constexpr QRect WordPause{166, 240, 26, 10};
constexpr QRect WordStop{207, 240, 20, 10};

inline const QColor &VideoBlue()
{
    static const QColor c(0, 71, 112);
    return c;
}

} // namespace videoGeometry
