#pragma once
// The folder picker's look: its geometry table (in twips, as the controls are
// placed) and the painting of its skin. Buttons are painted from the same
// table that places their hot spots, so each picture sits under its hot spot.
#include <QPixmap>
#include <QRect>
#include <QSize>

#include "SkinHotSpot.h"

class QPainter;

namespace dirSkin {

constexpr int TwipsPerPixel = 15;
constexpr QSize Size{274, 209};

// A control's place in twips, turned into pixels.
constexpr QRect twips(int left, int top, int width, int height)
{
    return QRect(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

// The geometry table.
inline constexpr QRect Drive1 = twips(1275, 330, 1335, 315);
inline constexpr QRect Dir1 = twips(180, 705, 3615, 1890);
inline constexpr QRect File1 = twips(135, 3360, 2295, 810); // below the window
inline constexpr QRect Image2 = twips(645, 2775, 630, 225);  // SELECT
inline constexpr QRect Image3 = twips(2535, 2805, 585, 195); // QUIT
inline constexpr QRect Image4 = twips(3915, 30, 195, 135);   // close box
inline constexpr QRect Image1 = twips(4470, 4410, 210, 135); // outside the window

// Window background and folder-list colours.
inline constexpr QRgb Background = 0x000080; // dark blue
inline constexpr QRgb ListText = 0xFFFFFF;

using ::ButtonLook;

struct Looks {
    ButtonLook select = ButtonLook::Normal;
    ButtonLook quit = ButtonLook::Normal;
    ButtonLook close = ButtonLook::Normal;
};

// Paints the whole skin, with each button in its look.
void paint(QPainter &p, const Looks &looks);

// The closed drive list: its text, and a painted drop-down button.
void paintDriveBox(QPainter &p, const QRect &r, const QString &text, bool hot);

// Small folder pictures for the folder list: an open one for the folders of
// the path, a closed one for the folders below it.
QPixmap folderIcon(bool open);

} // namespace dirSkin
