#include "dirSkin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "SkinPainter.h"

namespace dirSkin {
namespace {

const QColor Light(0x9f, 0xb0, 0xff);
const QColor Shadow(0x00, 0x00, 0x30);
const QColor Caption(0xb8, 0xc4, 0xff);

QFont skinFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void button(QPainter &p, const QRect &r, ButtonLook look, const QString &text)
{
    QColor top(0x46, 0x61, 0xd8), bottom(0x1b, 0x2c, 0x90);
    if (look == ButtonLook::Hover) {
        top = QColor(0x62, 0x80, 0xf4);
        bottom = QColor(0x27, 0x40, 0xb4);
    } else if (look == ButtonLook::Pressed) {
        top = QColor(0x12, 0x1e, 0x6a);
        bottom = QColor(0x2e, 0x46, 0xba);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
    // Outer dark edge, inner bevel: raised, or sunken while pressed.
    p.setPen(Shadow);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect inner = r.adjusted(1, 1, -2, -2);
    const QColor dark(0x0a, 0x12, 0x50);
    if (look == ButtonLook::Pressed)
        Skin::drawBevel(p, inner, dark, Light);
    else
        Skin::drawBevel(p, inner, Light, dark);
    if (!text.isEmpty()) {
        p.setFont(skinFont(8, true));
        p.setPen(look == ButtonLook::Hover ? QColor(0xff, 0xf4, 0xb0) : QColor(Qt::white));
        const QRect t = look == ButtonLook::Pressed ? r.translated(1, 1) : r;
        p.drawText(t, Qt::AlignCenter, text);
    }
}

void closeBox(QPainter &p, const QRect &r, ButtonLook look)
{
    button(p, r, look, QString());
    const QPoint c = r.center() + (look == ButtonLook::Pressed ? QPoint(1, 1) : QPoint(0, 0));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(look == ButtonLook::Hover ? QColor(0xff, 0xc0, 0xc0) : QColor(Qt::white), 1));
    p.drawLine(c + QPoint(-2, -2), c + QPoint(2, 2));
    p.drawLine(c + QPoint(-2, 2), c + QPoint(2, -2));
}

} // namespace

void paint(QPainter &p, const Looks &looks)
{
    const QRect all(QPoint(0, 0), Size);
    p.fillRect(all, QColor::fromRgb(Background));

    // Title strip with the window's name.
    const QRect title(0, 0, Size.width(), 17);
    QLinearGradient tg(title.topLeft(), title.bottomLeft());
    tg.setColorAt(0, QColor(0x34, 0x4c, 0xc0));
    tg.setColorAt(0.5, QColor(0x1c, 0x2c, 0x8c));
    tg.setColorAt(1, QColor(0x0a, 0x14, 0x5c));
    p.fillRect(title, tg);
    p.setPen(QColor(0x5a, 0x70, 0xe0));
    p.drawLine(title.bottomLeft(), title.bottomRight());
    p.setFont(skinFont(10, true));
    p.setPen(Qt::white);
    p.drawText(title.adjusted(8, 0, -20, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Directory"));

    // The panel that holds the drive and folder lists.
    const QRect panel(5, 19, Size.width() - 10, 159);
    p.fillRect(panel, QColor(0x00, 0x00, 0x6a));
    Skin::drawBevel(p, panel, Shadow, QColor(0x50, 0x64, 0xd0));
    p.setFont(skinFont(9, true));
    p.setPen(Caption);
    p.drawText(QRect(panel.left() + 8, Drive1.top(), Drive1.left() - panel.left() - 14, Drive1.height()),
               Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("Drive"));
    const QRect listFrame = Dir1.adjusted(-1, -1, 0, 0);
    p.setPen(QColor(0x40, 0x52, 0xb8));
    p.drawRect(listFrame);
    p.fillRect(Dir1, QColor::fromRgb(Background));

    // Foot: a groove, then the two painted buttons under their hot spots.
    p.setPen(Shadow);
    p.drawLine(6, 180, Size.width() - 7, 180);
    p.setPen(QColor(0x30, 0x44, 0xb0));
    p.drawLine(6, 181, Size.width() - 7, 181);
    // Window edge, then the buttons, so the close box in the corner stays whole.
    Skin::drawBevel(p, all.adjusted(0, 0, -1, -1), QColor(0x6a, 0x80, 0xf0), Shadow);
    button(p, Image2, looks.select, QStringLiteral("SELECT"));
    button(p, Image3, looks.quit, QStringLiteral("QUIT"));
    closeBox(p, Image4, looks.close);
}

void paintDriveBox(QPainter &p, const QRect &r, const QString &text, bool hot)
{
    p.fillRect(r, QColor::fromRgb(Background));
    p.setPen(QColor(0x6a, 0x80, 0xf0));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect arrowBox(r.right() - 12, r.top() + 1, 12, r.height() - 2);
    QLinearGradient g(arrowBox.topLeft(), arrowBox.bottomLeft());
    g.setColorAt(0, hot ? QColor(0x62, 0x80, 0xf4) : QColor(0x46, 0x61, 0xd8));
    g.setColorAt(1, hot ? QColor(0x27, 0x40, 0xb4) : QColor(0x1b, 0x2c, 0x90));
    p.fillRect(arrowBox, g);
    p.drawLine(arrowBox.topLeft(), arrowBox.bottomLeft());
    const QPointF c = QRectF(arrowBox).center();
    QPainterPath arrow;
    arrow.moveTo(c.x() - 3, c.y() - 1.5);
    arrow.lineTo(c.x() + 3, c.y() - 1.5);
    arrow.lineTo(c.x(), c.y() + 2);
    arrow.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(arrow, Qt::white);
    p.restore();
    p.setFont(skinFont(9, false));
    p.setPen(Qt::white);
    const QRect textRect = r.adjusted(4, 0, -15, 0);
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
               p.fontMetrics().elidedText(text, Qt::ElideMiddle, textRect.width()));
}

QPixmap folderIcon(bool open)
{
    QPixmap pm(16, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    // The shared picture stands on a 16-unit square; the list's rows are
    // shorter, so lift it into the 13 rows it fills.
    p.translate(0, -2);
    Skin::drawFolderIcon(p, open);
    return pm;
}

} // namespace dirSkin
