#pragma once
// The main window's layout in twips: one table that both places the controls
// and draws the skin, so every painted button lies under its hot spot.
#include <QRect>
#include <QRectF>
#include <QString>
#include <span>
#include <string_view>

namespace OrvaneGeometry {

// The window: 4110 twips wide (274 px); its height is its mode.
constexpr int WindowWidth = 4110;
constexpr int DesignHeight = 8820;
constexpr int HeightStrip = 230;   // the title strip alone
constexpr int HeightPlayer = 1725; // the player
constexpr int HeightPanel = 5640;  // the player with the playlist panel

// The skin bitmap, drawn unscaled from the window's top-left corner.
constexpr int SkinWidthPx = 274;
constexpr int SkinHeightPx = 377;

enum class Kind {
    HotSpot,    // transparent image that takes the mouse
    Picture,    // image with a small picture of its own
    Label,
    PictureBox,
    ListBox,
    TextBox,
    Option,
    Media,
};

enum class Region { TitleStrip, Player, PlaylistPanel, BelowWindow };

struct Place {
    std::string_view name;
    Kind kind;
    int left, top, width, height; // twips
    int pictureWidth = 0, pictureHeight = 0; // pixels, pictures only
    const char *toolTip = nullptr;  // UTF-8
    const char *caption = nullptr;  // design text, UTF-8

    QRectF twips() const { return QRectF(left, top, width, height); }
    QRect pixels() const;
    QString toolTipText() const { return toolTip ? QString::fromUtf8(toolTip) : QString(); }
    QString captionText() const { return caption ? QString::fromUtf8(caption) : QString(); }
    Region region() const;
};

// Every placed control of the window but the six meter lines, in the order
// the window creates them (later ones lie above earlier ones).
std::span<const Place> places();
// The place of a control by name; every name of the window is there.
const Place &place(std::string_view name);
bool has(std::string_view name);

// The volume meter: six horizontal lines LVol(1) to LVol(6), X1, Y1, X2.
struct LinePlace {
    int x1, y1, x2;
};
constexpr int LVolCount = 6;
// index 1 to 6
LinePlace lvol(int index);

// Label24 lies inside PicDisplay; its place is relative to the panel.
constexpr int TitleLeft = 90, TitleTop = 15, TitleWidth = 480, TitleHeight = 165;

// Pixel rectangle of a control's place.
inline QRect px(std::string_view name) { return place(name).pixels(); }

} // namespace OrvaneGeometry
