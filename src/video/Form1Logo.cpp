// The menu player's logo: a music-note emblem on black.
#include "Form1.h"

#include "SkinPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

QPixmap Form1::logo(qreal dpr)
{
    constexpr int W = 362, H = 258;
    QPixmap pm = Skin::makePixmap(W, H, dpr);
    pm.fill(Qt::black);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);

    // The picture box shows the top 225 rows: the emblem is centred there.
    const QPointF centre(W / 2.0, 106);
    const qreal radius = 78;

    // A soft halo, then a ring with a glassy face.
    QRadialGradient halo(centre, radius * 1.45);
    halo.setColorAt(0, QColor(0x2d, 0x8c, 0xd6, 110));
    halo.setColorAt(0.65, QColor(0x0d, 0x36, 0x5e, 60));
    halo.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, radius * 1.45, radius * 1.45);

    QLinearGradient ring(centre - QPointF(0, radius), centre + QPointF(0, radius));
    ring.setColorAt(0, QColor(0xd8, 0xe6, 0xf5));
    ring.setColorAt(0.5, QColor(0x6b, 0x85, 0xa3));
    ring.setColorAt(1, QColor(0x2a, 0x39, 0x4d));
    p.setBrush(ring);
    p.drawEllipse(centre, radius, radius);

    QRadialGradient face(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.2);
    face.setColorAt(0, QColor(0x2f, 0x7d, 0xc2));
    face.setColorAt(0.6, QColor(0x0c, 0x3a, 0x6c));
    face.setColorAt(1, QColor(0x04, 0x16, 0x2c));
    p.setBrush(face);
    p.drawEllipse(centre, radius - 6, radius - 6);

    // Two beamed eighth notes.
    const QColor note(0xf4, 0xf8, 0xfd);
    auto head = [&](QPointF c) {
        p.save();
        p.translate(c);
        p.rotate(-22);
        p.drawEllipse(QPointF(0, 0), 13, 9.5);
        p.restore();
    };
    const QPointF h1 = centre + QPointF(-24, 34), h2 = centre + QPointF(26, 24);
    p.setBrush(note);
    p.setPen(Qt::NoPen);
    head(h1);
    head(h2);
    const qreal stemW = 4.5;
    const QPointF s1(h1.x() + 10, h1.y() - 3), s2(h2.x() + 10, h2.y() - 3);
    const qreal top1 = centre.y() - 46, top2 = centre.y() - 56;
    p.drawRect(QRectF(s1.x() - stemW / 2, top1, stemW, s1.y() - top1));
    p.drawRect(QRectF(s2.x() - stemW / 2, top2, stemW, s2.y() - top2));
    QPainterPath beam;
    beam.moveTo(s1.x() - stemW / 2, top1);
    beam.lineTo(s2.x() + stemW / 2, top2);
    beam.lineTo(s2.x() + stemW / 2, top2 + 13);
    beam.lineTo(s1.x() - stemW / 2, top1 + 13);
    beam.closeSubpath();
    p.drawPath(beam);

    // A glint across the top of the face.
    QLinearGradient glint(centre - QPointF(0, radius), centre);
    glint.setColorAt(0, QColor(255, 255, 255, 80));
    glint.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(glint);
    p.drawEllipse(QRectF(centre.x() - radius * 0.62, centre.y() - radius + 9, radius * 1.24, radius * 0.7));
    return pm;
}
