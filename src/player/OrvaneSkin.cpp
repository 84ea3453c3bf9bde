// The main window's skin and small pictures. Every button is drawn inside
// the pixel rectangle of the hot spot that takes its clicks.
#include "OrvaneSkin.h"

#include "OrvaneGeometry.h"
#include "SkinPainter.h"
#include "Twips.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace OrvaneSkin {
namespace {
using namespace OrvaneGeometry;
using Skin::ButtonState;
using Skin::Glyph;

QRectF spot(std::string_view name) { return QRectF(px(name)); }

// The part of a hot spot that its painted button takes: the spot less an inset,
// so neighbouring buttons keep a hairline between them.
QRectF inset(const QRectF &r, qreal dx, qreal dy) { return r.adjusted(dx, dy, -dx, -dy); }

void drawTitleButtons(QPainter &p)
{
    const QRectF minimise = spot("Image2");  // 243,2 11x9
    const QRectF compact = spot("Image4");   // 255,1 10x13
    const QRectF close = spot("Image1");     // 265,2 7x11
    Skin::drawGlyphButton(p, QRectF(minimise.left() + 1, 3, 9, 9), Glyph::Minimise, ButtonState::Normal, 2);
    Skin::drawGlyphButton(p, QRectF(compact.left(), 3, 9, 9), Glyph::Compact, ButtonState::Normal, 2);
    // The close button is narrower than the others: its spot is.
    const QRectF c(close.left(), 3, close.width(), 9);
    Skin::drawButton(p, c, ButtonState::Normal, 2);
    Skin::drawGlyph(p, inset(c, 1.5, 2), Glyph::Close, QColor(0xff, 0xd6, 0xd0));
}

void drawDisplay(QPainter &p)
{
    const Skin::Palette &pal = Skin::palette();
    const QRectF lcd(5, 17, 264, 52);
    Skin::drawLcdPanel(p, lcd, 4);

    // Volume meter: every bar drawn unlit; the lit ones are line controls above.
    for (int i = 1; i <= LVolCount; ++i) {
        const LinePlace lp = lvol(i);
        const int x1 = Twips::toPixels(lp.x1), x2 = Twips::toPixels(lp.x2), y = Twips::toPixels(lp.y1);
        p.fillRect(QRectF(x1, y, std::max(1, x2 - x1), 1), pal.lcdDim);
    }
    // Volume buttons sit in small wells; their pictures lie on top.
    for (const char *n : {"pluss", "minus"}) {
        const QRectF r = spot(n).adjusted(-1, -1, 1, 1);
        p.fillRect(r, QColor(0, 0, 0, 120));
    }

    // Balance: a short track with its ends marked.
    const QRectF bal = spot("balance");
    const qreal trackLeft = Twips::toPixels(900), trackRight = Twips::toPixels(1740 + 195);
    Skin::drawGroove(p, QRectF(trackLeft, bal.top() + 1, trackRight - trackLeft, 3));
    Skin::drawPixelText(p, QPointF(trackLeft - 5, bal.top()), u"L", pal.caption);
    Skin::drawPixelText(p, QPointF(trackRight + 2, bal.top()), u"R", pal.caption);
    p.fillRect(QRectF((trackLeft + trackRight) / 2, bal.top() - 2, 1, 2), pal.caption);

    // The title panel gets a rim; the panel itself paints its own blue.
    const QRectF title = spot("PicDisplay");
    p.setPen(QColor(0, 0, 0, 200));
    p.setBrush(Qt::NoBrush);
    p.drawRect(title.adjusted(-1.5, -1.5, 0.5, 0.5));
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(QPointF(title.left() - 1, title.bottom() + 1.5), QPointF(title.right() + 1, title.bottom() + 1.5));

    // Bit rate and sample rate: unlit segments under the empty labels, the
    // captions beside them.
    const QRectF kbps = spot("kbps"), khz = spot("Khs");
    Skin::drawPixelText(p, QPointF(kbps.right() - 11 - 2, kbps.top() + 4), u"888", pal.lcdDim);
    Skin::drawPixelText(p, QPointF(khz.right() - 11 - 2, khz.top() + 4), u"888", pal.lcdDim);
    Skin::drawPixelText(p, QPointF(kbps.left() - 18, kbps.top() + 4), u"KBPS", pal.caption);
    Skin::drawPixelText(p, QPointF(khz.left() - 14, khz.top() + 4), u"KHZ", pal.caption);

    // "On Top": an outlined display button.
    const QRectF top = inset(spot("Image9"), 1, 1);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(pal.lcdText.darker(170), 1));
    p.setBrush(QColor(255, 255, 255, 10));
    p.drawRoundedRect(top.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    p.setRenderHint(QPainter::Antialiasing, false);
    Skin::drawPixelTextCentred(p, top, u"TOP", pal.lcdText.darker(130));
}

void drawBigButtons(QPainter &p)
{
    struct B { const char *spot; Glyph glyph; };
    // One row, one height: the part every spot of the row shares.
    const qreal top = 89, bottom = 113;
    for (const B &b : {B{"previous", Glyph::Previous}, B{"play", Glyph::Play}, B{"pause", Glyph::Pause},
                       B{"stop", Glyph::Stop}, B{"next", Glyph::Next}}) {
        const QRectF s = spot(b.spot);
        Skin::drawGlyphButton(p, QRectF(s.left() + 1, top, s.width() - 2, bottom - top), b.glyph,
                              ButtonState::Normal, 4);
    }
    const QRectF open = spot("openfile");
    Skin::drawGlyphButton(p, QRectF(open.left() + 1, top, open.width() - 2, bottom - top), Glyph::Eject,
                          ButtonState::Normal, 4);

    // Shuffle and repeat: a button with its lamp at the top right.
    const Skin::Palette &pal = Skin::palette();
    const QRectF shuffle = spot("shuffle"), lampS = spot("shuffleon");
    const QRectF repeat = spot("repeat"), lampR = spot("repeaton");
    Skin::drawGlyphButton(p, QRectF(shuffle.left() + 1, top, lampS.left() - shuffle.left() - 2, bottom - top),
                          Glyph::Shuffle, ButtonState::Normal, 4);
    Skin::drawGlyphButton(p, QRectF(repeat.left() + 1, top, lampR.left() - repeat.left() - 2, bottom - top),
                          Glyph::Repeat, ButtonState::Normal, 4);
    Skin::drawLamp(p, lampS, false);
    Skin::drawLamp(p, lampR, false);
    Skin::drawPixelTextCentred(p, QRectF(lampS.left(), lampS.bottom() + 3, lampS.width(), 5), u"RND", pal.caption);
    Skin::drawPixelTextCentred(p, QRectF(lampR.left(), lampR.bottom() + 3, lampR.width(), 5), u"REP", pal.caption);
}

void drawPlaylistPanel(QPainter &p)
{
    const Skin::Palette &pal = Skin::palette();
    // A seam between the player and the panel.
    p.fillRect(QRectF(0, 115, SkinWidthPx, 1), QColor(0, 0, 0, 160));
    p.fillRect(QRectF(0, 116, SkinWidthPx, 1), QColor(255, 255, 255, 30));

    // Header.
    const QRectF header(5, 118, 264, 13);
    QLinearGradient g(header.topLeft(), header.bottomLeft());
    g.setColorAt(0, pal.titleTop.darker(115));
    g.setColorAt(1, pal.titleBottom.darker(110));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(g);
    p.drawRoundedRect(header.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(9);
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(f);
    p.setPen(pal.titleText);
    p.drawText(header.adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Playlist"));
    const QRectF close = spot("Image15"); // 258,117 16x12
    const QRectF cb(close.left() + 1, 119, 11, 11);
    Skin::drawButton(p, cb, ButtonState::Normal, 2);
    Skin::drawGlyph(p, inset(cb, 3, 3), Glyph::Close, pal.glyph);

    // The list sits in a recess.
    const QRectF list = spot("lstfavs");
    Skin::drawLcdPanel(p, list.adjusted(-2, -2, 2, 2), 2);

    // Foot: add, the two pop-up slots, list, and the small transport.
    const QRectF foot(5, 334, 264, 40);
    Skin::drawLcdPanel(p, foot, 4);

    const QRectF add = spot("addfile");
    Skin::drawGlyphButton(p, inset(add, 1, 1), Glyph::Plus, ButtonState::Normal, 3);
    const QRectF listButton = spot("list");
    Skin::drawGlyphButton(p, inset(listButton, 1, 1), Glyph::Playlist, ButtonState::Normal, 3);
    Skin::drawPixelTextCentred(p, QRectF(add.left(), 341, add.width(), 5), u"ADD", pal.caption);
    Skin::drawPixelTextCentred(p, QRectF(listButton.left(), 341, listButton.width(), 5), u"LIST", pal.caption);

    // Unlit slots under the pop-ups: the pop-up pictures light them.
    auto slot = [&](const QRectF &r, std::u16string_view text) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(255, 255, 255, 35), 1));
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        p.setRenderHint(QPainter::Antialiasing, false);
        Skin::drawPixelTextCentred(p, r, QStringView(text.data(), qsizetype(text.size())), pal.lcdDim);
    };
    const QRectF fileBar = spot("filebar"), listBar = spot("listbar");
    slot(QRectF(fileBar.left() + 1, fileBar.top() + 2, 19, 14), u"DIR");
    slot(QRectF(fileBar.left() + 1, fileBar.top() + 20, 19, 14), u"FILE");
    slot(QRectF(listBar.left(), listBar.top() + 1, 22, 14), u"SAVE");
    slot(QRectF(listBar.left(), listBar.top() + 19, 22, 14), u"LOAD");

    // The five small transport buttons, one height, each inside its spot.
    struct B { const char *spot; Glyph glyph; };
    const qreal top = 354, h = 11;
    for (const B &b : {B{"Image14", Glyph::Previous}, B{"Image10", Glyph::Play}, B{"Image11", Glyph::Pause},
                       B{"Image12", Glyph::Stop}, B{"Image13", Glyph::Next}}) {
        QRectF s = spot(b.spot);
        if (std::string_view(b.spot) == "Image14")
            s.setRight(spot("Image10").left() - 1); // the two spots overlap by two pixels
        QRectF r(s.left() + 1, top, s.width() - 2, h);
        Skin::drawButton(p, r, ButtonState::Normal, 2);
        // One glyph size for the row, whatever the width of each spot.
        const qreal side = std::min<qreal>(7, r.width() - 3);
        Skin::drawGlyph(p, QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side), b.glyph,
                        pal.glyph);
    }

    // The maker's mark in the free corner.
    Skin::drawPixelText(p, QPointF(232, 361), u"ORVANE", pal.lcdDim.lighter(140));
}
} // namespace

QPixmap background(qreal dpr)
{
    QPixmap pm = Skin::makePixmap(SkinWidthPx, SkinHeightPx, dpr);
    QPainter p(&pm);
    Skin::drawBody(p, QRectF(0, 0, SkinWidthPx, SkinHeightPx));
    Skin::drawTitleStrip(p, QRectF(0, 0, SkinWidthPx, Twips::toPixels(HeightStrip)), QStringLiteral("Orvane"));
    drawTitleButtons(p);
    drawDisplay(p);
    // The position knob's track runs the width of the window.
    const QRectF knob = spot("islider");
    Skin::drawGroove(p, QRectF(6, knob.top(), SkinWidthPx - 8, knob.height()));
    drawBigButtons(p);
    drawPlaylistPanel(p);
    return pm;
}

namespace {
QPixmap topStrip(qreal dpr)
{
    const QRectF area = spot("toppic"); // 97,0 73x15
    QPixmap pm = Skin::makePixmap(int(area.width()), int(area.height()), dpr);
    QPainter p(&pm);
    Skin::drawLcdPanel(p, QRectF(0, 1, area.width(), area.height() - 2), 3);
    struct B { const char *spot; Glyph glyph; };
    for (const B &b : {B{"Image5", Glyph::Previous}, B{"Image6", Glyph::Play}, B{"Image7", Glyph::Pause},
                       B{"Image8", Glyph::Stop}, B{"Image16", Glyph::Next}}) {
        const QRectF s = spot(b.spot).translated(-area.left(), 0);
        const QRectF g(s.left() + 1.5, 4, s.width() - 3, 7);
        Skin::drawGlyph(p, g, b.glyph, Skin::palette().lcdText);
    }
    return pm;
}

QPixmap smallButton(int w, int h, qreal dpr, Glyph glyph, ButtonState state)
{
    QPixmap pm = Skin::makePixmap(w, h, dpr);
    QPainter p(&pm);
    Skin::drawButton(p, QRectF(0, 0, w, h), state, 2);
    QRectF g = QRectF(0, 0, w, h).adjusted(3, 2.5, -3, -2.5);
    if (state == ButtonState::Pressed)
        g.translate(0.5, 0.5);
    Skin::drawGlyph(p, g, glyph, state == ButtonState::Pressed ? Skin::palette().lit : Skin::palette().glyph);
    return pm;
}

QPixmap videoButton(int w, int h, qreal dpr, bool pressed)
{
    QPixmap pm = Skin::makePixmap(w, h, dpr);
    QPainter p(&pm);
    Skin::drawButton(p, QRectF(0, 0, w, h), pressed ? ButtonState::Pressed : ButtonState::Normal, 2);
    const QColor col = pressed ? Skin::palette().lit : Skin::palette().glyph;
    Skin::drawGlyph(p, QRectF(2.5, 2.5, 6, 6), Glyph::Video, col);
    Skin::drawPixelText(p, QPointF(10 + (pressed ? 1 : 0), 3 + (pressed ? 1 : 0)), u"VID", col);
    return pm;
}

QPixmap volumeButton(int w, int h, qreal dpr, bool plus)
{
    QPixmap pm = Skin::makePixmap(w, h, dpr);
    QPainter p(&pm);
    const QColor col = Skin::palette().lcdText;
    if (plus) {
        p.fillRect(QRectF(0, (h - 2) / 2.0, w, 2), col);
        p.fillRect(QRectF((w - 2) / 2.0, 0, 2, h), col);
    } else {
        p.fillRect(QRectF(0, (h - 2) / 2.0, w, 2), col);
    }
    return pm;
}

QPixmap lamp(int w, int h, qreal dpr, const QColor &colour)
{
    QPixmap pm = Skin::makePixmap(w, h, dpr);
    QPainter p(&pm);
    Skin::drawLamp(p, QRectF(0, 0, w, h), true, colour);
    return pm;
}

QPixmap knob(int w, int h, qreal dpr)
{
    QPixmap pm = Skin::makePixmap(w, h, dpr);
    QPainter p(&pm);
    Skin::drawKnob(p, QRectF(0, 0, w, h));
    return pm;
}

// A pop-up of two lit buttons, one above the other, each under its spot.
QPixmap popup(int w, int h, qreal dpr, const QRectF &upper, std::u16string_view upperText, const QRectF &lower,
              std::u16string_view lowerText)
{
    QPixmap pm = Skin::makePixmap(w, h, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1));
    p.setBrush(QColor(0x10, 0x1c, 0x2a));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor text(0x08, 0x20, 0x2c);
    for (const auto &[r, t] : {std::pair{upper, upperText}, std::pair{lower, lowerText}}) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, Skin::palette().lit.lighter(125));
        g.setColorAt(1, Skin::palette().lit.darker(125));
        p.setPen(QPen(QColor(0, 0, 0, 200), 1));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        p.setRenderHint(QPainter::Antialiasing, false);
        Skin::drawPixelTextCentred(p, r, QStringView(t.data(), qsizetype(t.size())), text);
    }
    return pm;
}
} // namespace

QPixmap picture(std::string_view control, qreal dpr)
{
    if (!has(control))
        return {};
    const Place &pl = place(control);
    const int w = pl.pictureWidth, h = pl.pictureHeight;
    if (w <= 0 || h <= 0)
        return {};
    if (control == "toppic")
        return topStrip(dpr);
    if (control == "balance" || control == "islider")
        return knob(w, h, dpr);
    if (control == "pluss")
        return volumeButton(w, h, dpr, true);
    if (control == "minus")
        return volumeButton(w, h, dpr, false);
    if (control == "plup")
        return smallButton(w, h, dpr, Glyph::Playlist, ButtonState::Normal);
    if (control == "pldown")
        return smallButton(w, h, dpr, Glyph::Playlist, ButtonState::Pressed);
    if (control == "vidup")
        return videoButton(w, h, dpr, false);
    if (control == "viddown")
        return videoButton(w, h, dpr, true);
    if (control == "shuffleon" || control == "repeaton")
        return lamp(w, h, dpr, Skin::palette().lampOn);
    if (control == "filebar") // DIR over the directory spot, FILE over Image3
        return popup(w, h, dpr, QRectF(1, 2, 19, 14), u"DIR", QRectF(1, 20, 19, 14), u"FILE");
    if (control == "listbar") // SAVE over savelist, LOAD over LOADLIST
        return popup(w, h, dpr, QRectF(0, 1, 23, 14), u"SAVE", QRectF(0, 19, 23, 14), u"LOAD");
    return {};
}

QPixmap iconPixmap(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 32.0, size / 32.0);
    // Same drawing as packaging/orvane.svg.
    QLinearGradient body(0, 0, 0, 32);
    body.setColorAt(0, QColor(0x3a, 0x62, 0x92));
    body.setColorAt(1, QColor(0x14, 0x24, 0x3c));
    p.setPen(QPen(QColor(0x0b, 0x0d, 0x11), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QRadialGradient disc(16, 16, 11);
    disc.setColorAt(0, QColor(0x9c, 0xec, 0xff));
    disc.setColorAt(1, QColor(0x3a, 0xa8, 0xe0));
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(QPointF(16, 16), 10.5, 10.5);
    QPainterPath tri;
    tri.moveTo(13, 10.5);
    tri.lineTo(22, 16);
    tri.lineTo(13, 21.5);
    tri.closeSubpath();
    p.setBrush(QColor(0x0d, 0x1f, 0x35));
    p.drawPath(tri);
    return pm;
}

QIcon windowIcon()
{
    QIcon icon;
    for (int s : {16, 32, 48, 64})
        icon.addPixmap(iconPixmap(s));
    return icon;
}

} // namespace OrvaneSkin
