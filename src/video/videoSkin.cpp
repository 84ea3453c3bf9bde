#include "videoSkin.h"

#include "SkinPainter.h"
#include "videoGeometry.h"

#include <QLinearGradient>
#include <QPainter>

namespace videoSkin {
namespace {
using namespace videoGeometry;

const QColor FrameTop(0xdf, 0xe3, 0xe9);
const QColor FrameBottom(0xb4, 0xba, 0xc4);
const QColor FrameLight(0xfa, 0xfb, 0xfd);
const QColor FrameDark(0x5e, 0x65, 0x70);
const QColor Lettering(0x1d, 0x23, 0x2c);
const QColor TrackGrey(0x4a, 0x4f, 0x57);

// A one-pixel sunken rim around r (dark above and left, light below and right).
void sunkenRim(QPainter &p, const QRectF &r)
{
    const QRect rim(QPoint(int(r.left()) - 1, int(r.top()) - 1), QPoint(int(r.right()) + 1, int(r.bottom()) + 1));
    Skin::drawBevel(p, rim, QColor(0x6d, 0x74, 0x7f), FrameLight);
}

void drawFrame(QPainter &p)
{
    const QRectF all(0, 0, SkinWidthPx, SkinHeightPx);
    QLinearGradient g(all.topLeft(), all.bottomLeft());
    g.setColorAt(0, FrameTop);
    g.setColorAt(1, FrameBottom);
    p.fillRect(all, g);
    // Outer bevel, two pixels: the window reads as one raised plate.
    p.setPen(FrameLight);
    p.drawLine(0, 0, SkinWidthPx - 1, 0);
    p.drawLine(0, 0, 0, SkinHeightPx - 1);
    p.setPen(FrameDark);
    p.drawLine(SkinWidthPx - 2, 0, SkinWidthPx - 2, SkinHeightPx - 1); // the window's last column
    p.drawLine(0, SkinHeightPx - 1, SkinWidthPx - 1, SkinHeightPx - 1);
    p.setPen(QColor(0x8d, 0x94, 0x9f));
    p.drawLine(1, SkinHeightPx - 2, SkinWidthPx - 3, SkinHeightPx - 2);
    p.drawLine(SkinWidthPx - 3, 1, SkinWidthPx - 3, SkinHeightPx - 2);
}

void drawTitle(QPainter &p)
{
    // Grip ridges either side of the word: the title is where one drags.
    const QRectF t = SkinTitle;
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    const QString word = QStringLiteral("Video");
    const int w = QFontMetrics(f).horizontalAdvance(word);
    const qreal cx = t.center().x();
    for (int i = 0; i < 3; ++i) {
        const qreal y = 6 + i * 3;
        p.setPen(FrameLight);
        p.drawLine(QPointF(14, y + 1), QPointF(cx - w / 2.0 - 8, y + 1));
        p.drawLine(QPointF(cx + w / 2.0 + 8, y + 1), QPointF(SkinCloseMark.left() - 8, y + 1));
        p.setPen(QColor(0x8a, 0x91, 0x9c));
        p.drawLine(QPointF(14, y), QPointF(cx - w / 2.0 - 8, y));
        p.drawLine(QPointF(cx + w / 2.0 + 8, y), QPointF(SkinCloseMark.left() - 8, y));
    }
    p.setPen(FrameLight);
    p.drawText(t.translated(0, 1), Qt::AlignCenter, word);
    p.setPen(Lettering);
    p.drawText(t, Qt::AlignCenter, word);
}

void drawVideoArea(QPainter &p)
{
    const QRectF v = SkinVideoArea;
    p.fillRect(v, VideoBlue());
    sunkenRim(p, v);
}

void drawSeekTrack(QPainter &p)
{
    const QRectF t = SkinSeekTrack;
    p.fillRect(t, TrackGrey);
    // A darker groove along the middle, where the knob runs.
    p.fillRect(QRectF(t.left() + 2, t.top() + 3, t.width() - 4, 3), QColor(0x26, 0x2a, 0x30));
    sunkenRim(p, t);
}

void drawDisplayPanel(QPainter &p)
{
    const QRectF d = SkinDisplayPanel;
    p.fillRect(d, VideoBlue());
    sunkenRim(p, d);
}

QRectF commandRect(Command c)
{
    switch (c) {
    case Command::Open: return Image1.pixels();
    case Command::Play: return Image2.pixels();
    case Command::Pause: return Image3.pixels();
    case Command::Stop: return Image4.pixels();
    case Command::Close: return Image5.pixels();
    case Command::None: break;
    }
    return {};
}

QRectF wordRect(Command c)
{
    switch (c) {
    case Command::Open: return WordOpen;
    case Command::Play: return WordPlay;
    case Command::Pause: return WordPause;
    case Command::Stop: return WordStop;
    default: return {};
    }
}

QString word(Command c)
{
    switch (c) {
    case Command::Open: return QStringLiteral("Open");
    case Command::Play: return QStringLiteral("Play");
    case Command::Pause: return QStringLiteral("Pause");
    case Command::Stop: return QStringLiteral("Stop");
    default: return {};
    }
}

// A light plate with a dark edge, raised or pressed in, the word lettered on it.
void drawWordButton(QPainter &p, Command c, bool pressed)
{
    const QRectF spot = commandRect(c);
    const QRectF r = spot.adjusted(1, 1, -1, -1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor edge(0x4d, 0x54, 0x5f);
    if (pressed)
        Skin::drawPlate(p, r, 2.5, {{0, QColor(0xa4, 0xab, 0xb6)}, {1, QColor(0xc8, 0xcd, 0xd5)}}, edge);
    else
        Skin::drawPlate(p, r, 2.5,
                        {{0, QColor(0xf7, 0xf8, 0xfa)}, {0.55, QColor(0xdc, 0xe0, 0xe6)}, {1, QColor(0xbc, 0xc2, 0xcb)}},
                        edge);
    // Bevel inside the edge.
    const QRectF in = outer.adjusted(1, 1, -1, -1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pressed ? QColor(0, 0, 0, 60) : QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(in.left() + 1, in.top()), QPointF(in.right() - 1, in.top()));
    p.setPen(QPen(pressed ? QColor(255, 255, 255, 90) : QColor(0, 0, 0, 45), 1));
    p.drawLine(QPointF(in.left() + 1, in.bottom()), QPointF(in.right() - 1, in.bottom()));

    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    // The word keeps its own place on the plate; a press sinks it by a pixel.
    QRectF w = wordRect(c);
    w.setLeft(std::max(w.left() - 3, r.left() + 1));
    w.setRight(std::min(w.right() + 3, r.right() - 1));
    w.moveCenter(QPointF(w.center().x(), r.center().y()));
    if (pressed)
        w.translate(0, 1);
    p.setPen(Lettering);
    p.drawText(w, Qt::AlignCenter, word(c));
    p.restore();
}

void drawCloseMark(QPainter &p, bool pressed)
{
    // Inside the window: the mark's last pixel column lies beyond the client.
    const QRectF r = QRectF(SkinCloseMark).adjusted(1, 1, -2, -1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF outer = r.adjusted(0.5, 0.5, -0.5, -0.5);
    Skin::drawPlate(p, r, 2,
                    {{0, pressed ? QColor(0x2a, 0x2f, 0x37) : QColor(0x55, 0x5c, 0x68)},
                     {1, pressed ? QColor(0x3c, 0x42, 0x4c) : QColor(0x2a, 0x2f, 0x37)}},
                    QColor(0x14, 0x17, 0x1c));
    const QRectF x = outer.adjusted(3.5, 2.5, -3.5, -2.5).translated(0, pressed ? 0.5 : 0);
    p.setPen(QPen(QColor(0xf2, 0xf4, 0xf7), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
    p.restore();
}

} // namespace

void drawCommand(QPainter &p, Command command, bool pressed)
{
    if (command == Command::None)
        return;
    if (command == Command::Close)
        drawCloseMark(p, pressed);
    else
        drawWordButton(p, command, pressed);
}

QPixmap background(qreal dpr)
{
    QPixmap pm = Skin::makePixmap(SkinWidthPx, SkinHeightPx, dpr);
    QPainter p(&pm);
    drawFrame(p);
    drawTitle(p);
    drawVideoArea(p);
    drawSeekTrack(p);
    drawDisplayPanel(p);
    // The command row sits in a shallow recess.
    const QRectF row(8, 234, SkinVideoArea.right() - 6, 18);
    p.fillRect(row, QColor(0, 0, 0, 14));
    sunkenRim(p, row);
    for (Command c : {Command::Open, Command::Play, Command::Pause, Command::Stop, Command::Close})
        drawCommand(p, c, false);
    return pm;
}

QPixmap knob(qreal dpr)
{
    QPixmap pm = Skin::makePixmap(KnobPictureWidthPx, KnobPictureHeightPx, dpr);
    QPainter p(&pm);
    Skin::drawKnob(p, QRectF(0, 0, KnobPictureWidthPx, KnobPictureHeightPx));
    return pm;
}

} // namespace videoSkin
