#pragma once
// The skinned video window's artwork, drawn with QPainter at the window's own
// pixel sizes: a light grey frame with the title, the dark blue video area,
// the seek track, the display panel, the four command buttons and the close
// mark, each button inside the rectangle of the hot spot that takes its clicks.
#include <QPixmap>

class QPainter;

namespace videoSkin {

enum class Command { None, Open, Play, Pause, Stop, Close };

// The whole skin, 382 x 254 logical pixels, with every button raised.
QPixmap background(qreal dpr);
// One command button in its place, raised or pressed (painted over the skin
// while its hot spot is held).
void drawCommand(QPainter &p, Command command, bool pressed);
// The seek knob's picture, 29 x 6 logical pixels.
QPixmap knob(qreal dpr);

} // namespace videoSkin
