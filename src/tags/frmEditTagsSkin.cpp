#include "frmEditTagsSkin.h"

#include "SkinPainter.h"
#include "frmEditTagsGeometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace EditTagsSkin {
namespace {

using namespace EditTagsGeometry;

QFont skinFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void paintFrame(QPainter &p)
{
    const QRect all(0, 0, WidthPx, HeightPx);
    QLinearGradient body(0, 0, 0, HeightPx);
    body.setColorAt(0.0, QColor(0x3a, 0x43, 0x52));
    body.setColorAt(1.0, QColor(0x1a, 0x1f, 0x28));
    p.fillRect(all, body);

    // A raised edge: light on top and left, dark on bottom and right.
    p.setPen(QColor(0x0a, 0x0c, 0x10));
    p.drawRect(all.adjusted(0, 0, -1, -1));
    Skin::drawBevel(p, all.adjusted(1, 1, -1, -1), QColor(0x5d, 0x69, 0x7d), QColor(0x11, 0x14, 0x1a));
}

void paintTitle(QPainter &p)
{
    const QRect strip = TitleStrip.adjusted(1, 1, -1, 0);
    QLinearGradient g(0, strip.top(), 0, strip.bottom());
    g.setColorAt(0.0, QColor(0x5a, 0x7f, 0xc0));
    g.setColorAt(0.5, QColor(0x2e, 0x4f, 0x8c));
    g.setColorAt(0.51, QColor(0x24, 0x42, 0x7a));
    g.setColorAt(1.0, QColor(0x1a, 0x33, 0x63));
    p.fillRect(strip, g);
    p.setPen(QColor(0x0b, 0x16, 0x2c));
    p.drawLine(strip.left(), strip.bottom(), strip.right(), strip.bottom());

    // A small "i" badge before the caption.
    const QFont font = skinFont(11, true);
    const QString caption = QStringLiteral("Information");
    const int textWidth = QFontMetrics(font).horizontalAdvance(caption);
    const int badge = 11;
    const int left = (WidthPx - textWidth - badge - 5) / 2;
    const QRectF badgeRect(left, (strip.height() - badge) / 2.0 + 0.5, badge, badge);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0xd8, 0xe6, 0xff), 1.0));
    p.setBrush(QColor(0x3c, 0x6c, 0xc8));
    p.drawEllipse(badgeRect);
    p.setFont(skinFont(9, true));
    p.setPen(Qt::white);
    p.drawText(badgeRect, Qt::AlignCenter, QStringLiteral("i"));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setFont(font);
    const QRect textRect(left + badge + 5, strip.top(), textWidth + 2, strip.height());
    p.setPen(QColor(0x08, 0x12, 0x28));
    p.drawText(textRect.translated(1, 1), Qt::AlignVCenter | Qt::AlignLeft, caption);
    p.setPen(QColor(0xf2, 0xf6, 0xff));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, caption);
}

void paintPanel(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(Panel).adjusted(0.5, 3.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(r, 4, 4);
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0.0, QColor(0x0b, 0x1f, 0x4d));
    g.setColorAt(1.0, QColor(0x06, 0x12, 0x33));
    p.fillPath(path, g);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x02, 0x07, 0x16), 1.0));
    p.drawPath(path);
    // Inner light edge at the bottom: the panel reads as sunk into the frame.
    p.setPen(QPen(QColor(0x3b, 0x5a, 0x96, 160), 1.0));
    p.drawLine(QPointF(r.left() + 4, r.bottom() - 1), QPointF(r.right() - 4, r.bottom() - 1));
    p.setRenderHint(QPainter::Antialiasing, false);
}

void paintButton(QPainter &p, const QRect &rect, const QString &caption, bool down)
{
    const QColor edge(0x0c, 0x10, 0x18);
    if (down)
        Skin::drawPlate(p, rect, 3, {{0.0, QColor(0x9a, 0xa6, 0xb8)}, {1.0, QColor(0xc9, 0xd2, 0xdf)}}, edge);
    else
        Skin::drawPlate(p, rect, 3,
                        {{0.0, QColor(0xf4, 0xf7, 0xfb)}, {0.48, QColor(0xdc, 0xe3, 0xed)},
                         {0.52, QColor(0xcc, 0xd5, 0xe2)}, {1.0, QColor(0xa9, 0xb5, 0xc6)}},
                        edge);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    if (!down) {
        p.setPen(QPen(QColor(255, 255, 255, 190), 1.0));
        p.drawLine(QPointF(r.left() + 3, r.top() + 1), QPointF(r.right() - 3, r.top() + 1));
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setFont(skinFont(10, true));
    const QRect textRect = rect.translated(down ? 1 : 0, down ? 1 : 0);
    p.setPen(QColor(255, 255, 255, 120));
    p.drawText(textRect.translated(0, 1), Qt::AlignCenter, caption);
    p.setPen(QColor(0x15, 0x1d, 0x2b));
    p.drawText(textRect, Qt::AlignCenter, caption);
}

} // namespace

QImage render(const Pressed &pressed)
{
    QImage img(WidthPx, HeightPx, QImage::Format_RGB888);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintFrame(p);
    paintTitle(p);
    paintPanel(p);
    paintButton(p, paintedButton(Save), QStringLiteral("Save"), pressed.save);
    paintButton(p, paintedButton(RemoveId3), QStringLiteral("Remove ID3"), pressed.removeId3);
    paintButton(p, paintedButton(Cancel), QStringLiteral("Cancel"), pressed.cancel);
    p.end();
    return img;
}

} // namespace EditTagsSkin
