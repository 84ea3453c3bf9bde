#include "OrvaneGeometry.h"

#include "Twips.h"

#include <QtGlobal>
#include <array>

namespace OrvaneGeometry {
namespace {
using K = Kind;

// Pictures first, hot spots after them: a hot spot that lies over a picture
// (the DIR and FILE spots over the add pop-up) takes its clicks whether the
// picture is shown or not.
constexpr Place Table[] = {
    // title strip
    {"toppic", K::Picture, 1455, 0, 1095, 225, 73, 15},
    {"toptime", K::Label, 975, 15, 435, 135, 0, 0, nullptr, "00.00"},
    {"Image5", K::HotSpot, 1530, 0, 165, 165},
    {"Image6", K::HotSpot, 1740, 0, 135, 165},
    {"Image7", K::HotSpot, 1905, 0, 180, 180},
    {"Image8", K::HotSpot, 2130, 0, 120, 180},
    {"Image16", K::HotSpot, 2310, 0, 210, 165},
    {"Image4", K::HotSpot, 3825, 15, 150, 195, 0, 0, "小窗体"},
    {"Image2", K::HotSpot, 3645, 30, 165, 135, 0, 0, "最小化"},
    {"Image1", K::HotSpot, 3975, 30, 105, 165, 0, 0, "关闭"},
    // player
    {"PicDisplay", K::PictureBox, 1470, 420, 2325, 345},
    {"Label20", K::Label, 885, 435, 510, 180, 0, 0, nullptr, "00:00"},
    {"kbps", K::Label, 1380, 735, 570, 180},
    {"Khs", K::Label, 2340, 735, 660, 195},
    {"balance", K::Picture, 1350, 330, 195, 75, 13, 5, "Balance"},
    {"pluss", K::Picture, 450, 540, 90, 90, 6, 6, "Increase Vloume"},
    {"minus", K::Picture, 450, 750, 75, 60, 5, 4, "Decrease Vloume"},
    {"plup", K::Picture, 3480, 810, 195, 165, 13, 11, "播放列表"},
    {"vidup", K::Picture, 3075, 840, 360, 165, 24, 11, "视频播放器"},
    {"islider", K::Picture, 120, 1080, 435, 90, 29, 6},
    {"repeaton", K::Picture, 3345, 1305, 240, 135, 16, 9},
    {"shuffleon", K::Picture, 2775, 1335, 225, 105, 15, 7},
    {"Image9", K::HotSpot, 3735, 255, 255, 195, 0, 0, "On Top"},
    {"openfile", K::HotSpot, 2070, 1290, 285, 375, 0, 0, "Add Songs"},
    {"play", K::HotSpot, 510, 1320, 375, 390, 0, 0, "Play"},
    {"pause", K::HotSpot, 915, 1320, 315, 405, 0, 0, "Pause"},
    {"stop", K::HotSpot, 1275, 1320, 315, 375, 0, 0, "Stop"},
    {"next", K::HotSpot, 1590, 1320, 420, 390, 0, 0, "Next"},
    {"previous", K::HotSpot, 195, 1320, 285, 405, 0, 0, "Previous"},
    {"shuffle", K::HotSpot, 2490, 1320, 330, 345, 0, 0, "Shuffle Songs"},
    {"repeat", K::HotSpot, 3060, 1335, 360, 330, 0, 0, "Repeat Song"},
    // playlist panel
    {"lstfavs", K::ListBox, 195, 2025, 3585, 2910},
    {"listbar", K::Picture, 1095, 5100, 345, 525, 23, 35},
    {"filebar", K::Picture, 705, 5100, 315, 540, 21, 36, "添加目录"},
    {"Image15", K::HotSpot, 3870, 1755, 240, 180},
    {"savelist", K::HotSpot, 1065, 5085, 360, 210, 0, 0, "保存播放列表"},
    {"directory", K::HotSpot, 720, 5130, 285, 195, 0, 0, "添加目录"},
    {"list", K::HotSpot, 1515, 5265, 300, 255, 0, 0, "播放列表"},
    {"addfile", K::HotSpot, 315, 5280, 345, 255, 0, 0, "添加文件"},
    {"Image14", K::HotSpot, 2145, 5295, 240, 180},
    {"Image10", K::HotSpot, 2355, 5295, 165, 195},
    {"Image11", K::HotSpot, 2535, 5310, 195, 165},
    {"Image12", K::HotSpot, 2745, 5310, 165, 165},
    {"Image13", K::HotSpot, 2940, 5295, 240, 180},
    {"LOADLIST", K::HotSpot, 1095, 5400, 330, 240, 0, 0, "打开播放列表"},
    {"Image3", K::HotSpot, 720, 5415, 315, 240, 0, 0, "添加文件"},
    // below the window: they hold state and are never on screen
    {"viddown", K::Picture, 600, 5805, 360, 165, 24, 11},
    {"pldown", K::Picture, 195, 5850, 210, 195, 14, 13},
    {"am1", K::Media, 75, 6120, 3375, 435},
    {"optrnd", K::Option, 0, 6600, 285, 195},
    {"optnon", K::Option, 720, 6600, 195, 195, 0, 0, nullptr, "Option1"},
    {"optres", K::Option, 345, 6615, 285, 180, 0, 0, nullptr, "Norm"},
    {"VolumInd", K::Label, 960, 6630, 1095, 225},
    {"List1", K::ListBox, 660, 6915, 2085, 240},
    {"Labelpause", K::Label, 120, 6930, 540, 195, 0, 0, nullptr, "Label1"},
    {"ext", K::TextBox, 2910, 6975, 870, 270},
};

constexpr LinePlace Lines[LVolCount] = {
    {180, 915, 182}, {180, 795, 210}, {180, 675, 255}, {180, 555, 330}, {180, 435, 405}, {180, 315, 480},
};
} // namespace

QRect Place::pixels() const { return Twips::toPixels(twips()); }

Region Place::region() const
{
    if (top < HeightStrip)
        return Region::TitleStrip;
    if (top < HeightPlayer)
        return Region::Player;
    if (top < HeightPanel)
        return Region::PlaylistPanel;
    return Region::BelowWindow;
}

std::span<const Place> places() { return std::span<const Place>(Table); }

bool has(std::string_view name)
{
    for (const Place &p : Table)
        if (p.name == name)
            return true;
    return false;
}

const Place &place(std::string_view name)
{
    for (const Place &p : Table)
        if (p.name == name)
            return p;
    qFatal("OrvaneGeometry: no control named %.*s", int(name.size()), name.data());
}

LinePlace lvol(int index)
{
    Q_ASSERT(index >= 1 && index <= LVolCount);
    return Lines[qBound(1, index, LVolCount) - 1];
}

} // namespace OrvaneGeometry
