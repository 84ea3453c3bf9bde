#pragma once
// The main window's artwork, drawn by code from the geometry table: the
// 274 x 377 skin and the small state pictures at their own pixel sizes.
#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace OrvaneSkin {
// The whole skin, drawn for the given device pixel ratio.
QPixmap background(qreal dpr = 1.0);
// The picture of an image control (toppic, balance, pluss, minus, plup,
// pldown, vidup, viddown, islider, repeaton, shuffleon, listbar, filebar),
// at its pixel size. Empty for a name without a picture.
QPixmap picture(std::string_view control, qreal dpr = 1.0);
// The program's icon (32 x 32 and larger renderings).
QIcon windowIcon();
QPixmap iconPixmap(int size);
}
