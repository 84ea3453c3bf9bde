#pragma once
// Where everything of the tag editor lies, in twips (15 to a pixel). The
// skin paints its buttons from the same rectangles that place the hot spots.
#include <QRect>

namespace EditTagsGeometry {

struct Twips {
    int left, top, width, height;
    constexpr QRect pixels() const { return QRect(left / 15, top / 15, width / 15, height / 15); }
};

// The skin bitmap and with it the window.
constexpr int WidthPx = 274;
constexpr int HeightPx = 209;

// Title, Artist, Album, Year, Comment.
constexpr Twips Boxes[5] = {
    {780, 345, 3015, 285},
    {780, 780, 3000, 285},
    {780, 1200, 3015, 285},
    {795, 1650, 615, 285},
    {930, 2100, 2880, 285},
};
constexpr int BoxMaxLength[5] = {30, 30, 30, 4, 30};

constexpr Twips Genre = {2010, 1665, 1785, 315};

constexpr Twips Labels[6] = {
    {180, 360, 435, 255},
    {180, 795, 480, 255},
    {195, 1230, 540, 255},
    {180, 1665, 495, 255},
    {180, 2130, 765, 255},
    {1515, 1695, 615, 255},
};
constexpr const char *LabelCaptions[6] = {"Tag:", "Artist:", "Album:", "Year:", "Comment:", "Genre:"};

// Hot spots over the painted buttons.
constexpr Twips Save = {600, 2790, 495, 210};       // Image1
constexpr Twips Cancel = {2820, 2760, 600, 240};    // Image2
constexpr Twips RemoveId3 = {1515, 2790, 975, 195}; // Image3

// A painted button: its hot spot widened on both sides, all three buttons
// sharing one row so they line up along the bottom edge.
constexpr int ButtonMarginPx = 7;
constexpr int ButtonRowTopPx = 182;
constexpr int ButtonRowHeightPx = 21;
constexpr QRect paintedButton(const Twips &hotSpot)
{
    const QRect r = hotSpot.pixels();
    return QRect(r.left() - ButtonMarginPx, ButtonRowTopPx, r.width() + 2 * ButtonMarginPx, ButtonRowHeightPx);
}

// The title strip and the dark blue panel behind the fields.
constexpr QRect TitleStrip = QRect(0, 0, WidthPx, 19);
constexpr QRect Panel = QRect(6, 19, WidthPx - 12, 153);

} // namespace EditTagsGeometry
