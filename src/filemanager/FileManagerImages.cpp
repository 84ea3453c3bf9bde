#include "FileManagerImages.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

#include "SkinPainter.h"

namespace {

// Everything is drawn on a 16-unit grid and scaled, so both sizes match.
using Painter = void (*)(QPainter &);

void driveBody(QPainter &p, const QColor &face)
{
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRect(QRectF(2.2, 6.2, 11.6, 1.6));
}

void lamp(QPainter &p, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(11.2, 9.0, 1.8, 1.8));
}

void drawFixed(QPainter &p)
{
    driveBody(p, QColor(176, 182, 190));
    lamp(p, QColor(40, 200, 60));
}

void drawUnknown(QPainter &p)
{
    driveBody(p, QColor(200, 200, 200));
    p.setPen(QPen(QColor(150, 20, 20), 1.4));
    QFont f = p.font();
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(1.5, 5.5, 13, 6), Qt::AlignCenter, QStringLiteral("?"));
}

void drawRam(QPainter &p)
{
    p.setPen(QPen(QColor(20, 70, 30), 0.8));
    p.setBrush(QColor(40, 140, 70));
    p.drawRect(QRectF(1.5, 5.5, 13, 5));
    p.setBrush(QColor(30, 30, 30));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(2.5 + i * 3, 6.5, 2, 3));
    p.setPen(QPen(QColor(210, 170, 40), 0.8));
    for (int i = 0; i < 6; ++i)
        p.drawLine(QPointF(2.5 + i * 2.2, 10.6), QPointF(2.5 + i * 2.2, 12));
}

void drawRemovable(QPainter &p)
{
    p.setPen(QPen(QColor(30, 30, 60), 0.8));
    p.setBrush(QColor(60, 70, 120));
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(5, 1.5, 6, 4));
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(4, 8, 8, 6.5));
}

void drawCd(QPainter &p)
{
    QRadialGradient g(QPointF(8, 8), 7);
    g.setColorAt(0, QColor(250, 250, 255));
    g.setColorAt(0.5, QColor(180, 210, 240));
    g.setColorAt(0.8, QColor(230, 190, 240));
    g.setColorAt(1, QColor(170, 170, 190));
    p.setPen(QPen(QColor(90, 90, 110), 0.8));
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 4, 4));
}

void drawRemote(QPainter &p)
{
    driveBody(p, QColor(176, 182, 190));
    lamp(p, QColor(40, 200, 60));
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.drawLine(QPointF(8, 11.5), QPointF(8, 14));
    p.drawLine(QPointF(3, 14.2), QPointF(13, 14.2));
}

void drawFolder(QPainter &p) { Skin::drawFolderIcon(p, false); }
void drawOpen(QPainter &p) { Skin::drawFolderIcon(p, true); }

void drawNote(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 70, 160));
    p.drawEllipse(QRectF(2, 10.5, 5, 4));
    p.drawEllipse(QRectF(9, 9, 5, 4));
    p.setPen(QPen(QColor(40, 70, 160), 1.3));
    p.drawLine(QPointF(6.4, 12.2), QPointF(6.4, 3));
    p.drawLine(QPointF(13.4, 10.8), QPointF(13.4, 1.6));
    p.setPen(QPen(QColor(40, 70, 160), 2.2));
    p.drawLine(QPointF(6.4, 3.4), QPointF(13.4, 2.0));
}

QIcon render(Painter draw)
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

namespace FileManagerImages {

QStringList keys()
{
    return {QStringLiteral("unknown"), QStringLiteral("fixed"), QStringLiteral("ram"), QStringLiteral("remove"),
            QStringLiteral("cd"),      QStringLiteral("folder"), QStringLiteral("open"), QStringLiteral("remote")};
}

QIcon image(const QString &key)
{
    static QHash<QString, QIcon> cache;
    if (cache.isEmpty()) {
        const Painter painters[] = {drawUnknown, drawFixed, drawRam, drawRemovable,
                                    drawCd,      drawFolder, drawOpen, drawRemote};
        const QStringList k = keys();
        for (int i = 0; i < k.size(); ++i)
            cache.insert(k.at(i), render(painters[i]));
    }
    return cache.value(key);
}

QIcon note()
{
    static const QIcon icon = render(drawNote);
    return icon;
}

} // namespace FileManagerImages
