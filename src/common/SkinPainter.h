#pragma once
// Drawing helpers shared by the skinned windows (main player, folder picker,
// tag editor, video window): bevelled buttons, small glyphs, LCD-like panels,
// a crisp 3 x 5 pixel font for tiny captions, lamps and slider tracks. All
// artwork of the program is drawn with these, in logical pixels.
#include <QColor>
#include <QGradient>
#include <QPixmap>
#include <QRect>
#include <QRectF>
#include <QStringView>

class QPainter;

namespace Skin {

struct Palette {
    QColor bodyTop{0x34, 0x3b, 0x48};
    QColor bodyBottom{0x1c, 0x20, 0x28};
    QColor bodyEdgeLight{0x5c, 0x67, 0x7a};
    QColor bodyEdgeDark{0x0b, 0x0d, 0x11};
    QColor titleTop{0x3a, 0x62, 0x92};
    QColor titleBottom{0x1b, 0x32, 0x52};
    QColor titleText{0xf2, 0xf6, 0xfc};
    QColor faceTop{0x6d, 0x78, 0x8b};
    QColor faceBottom{0x3b, 0x43, 0x51};
    QColor faceEdgeLight{0xa9, 0xb5, 0xc7};
    QColor faceEdgeDark{0x0e, 0x11, 0x16};
    QColor glyph{0xee, 0xf2, 0xf8};
    QColor glyphShadow{0x10, 0x14, 0x1a};
    QColor lit{0x62, 0xd8, 0xff};
    QColor lcdBack{0x07, 0x13, 0x1c};
    QColor lcdEdge{0x02, 0x05, 0x08};
    QColor lcdText{0x7f, 0xe6, 0xff};
    QColor lcdDim{0x1f, 0x4a, 0x5c};
    QColor caption{0xa9, 0xb8, 0xcc};
    QColor lampOff{0x2a, 0x1a, 0x12};
    QColor lampOn{0xff, 0xb0, 0x30};
    QColor groove{0x0a, 0x0d, 0x12};
};
const Palette &palette();

enum class ButtonState { Normal, Pressed, Lit };

enum class Glyph {
    Previous, Play, Pause, Stop, Next, Eject, Shuffle, Repeat,
    Plus, Minus, Close, Minimise, Compact, Playlist, Video, Folder, File,
};

// The body of a skinned window: a vertical gradient with a bevelled edge.
void drawBody(QPainter &p, const QRectF &r);
// A title strip with the window's name at the left.
void drawTitleStrip(QPainter &p, const QRectF &r, const QString &title);
// A one-pixel edge on the outermost pixels of r: topLeft along the top and
// left sides, bottomRight along the others, which take the two corners they
// share. Light then dark reads raised; dark then light, sunken.
void drawBevel(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight);
// A rounded plate filling r: a face of vertical gradient stops inside a
// one-pixel edge, antialiased on the half-pixel grid. Radius in pixels.
void drawPlate(QPainter &p, const QRectF &r, qreal radius, const QGradientStops &face, const QColor &edge);
// A raised button filling r; radius in pixels.
void drawButton(QPainter &p, const QRectF &r, ButtonState state = ButtonState::Normal, qreal radius = 3);
// A glyph centred in r, sized to fit it.
void drawGlyph(QPainter &p, const QRectF &r, Glyph glyph, const QColor &color);
// A button with a glyph, the usual pair.
void drawGlyphButton(QPainter &p, const QRectF &r, Glyph glyph, ButtonState state = ButtonState::Normal,
                     qreal radius = 3);
// A recessed dark panel, as a liquid-crystal display.
void drawLcdPanel(QPainter &p, const QRectF &r, qreal radius = 3);
// An engraved groove for a slider.
void drawGroove(QPainter &p, const QRectF &r);
// A small round-cornered lamp, lit or not.
void drawLamp(QPainter &p, const QRectF &r, bool lit, const QColor &on = palette().lampOn);
// A slider knob filling r.
void drawKnob(QPainter &p, const QRectF &r);

// A yellow folder picture on a 16 x 16 unit grid (scale the painter for
// other sizes): closed, or open with its front flap tilted forward. The
// folder pictures of the folder lists and trees are all drawn with this.
void drawFolderIcon(QPainter &p, bool open);

// Tiny captions in a 3 x 5 pixel font (capitals, digits, + - : . /), one
// pixel between letters, scaled by whole pixels. Drawn from the top-left.
void drawPixelText(QPainter &p, QPointF topLeft, QStringView text, const QColor &color, int scale = 1);
int pixelTextWidth(QStringView text, int scale = 1);
// Centred in r.
void drawPixelTextCentred(QPainter &p, const QRectF &r, QStringView text, const QColor &color, int scale = 1);

// A transparent pixmap of logical size w x h for the given device pixel ratio.
QPixmap makePixmap(int w, int h, qreal dpr);

} // namespace Skin
