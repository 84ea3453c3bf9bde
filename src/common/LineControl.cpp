#include "LineControl.h"

#include "Twips.h"

#include <QPainter>
#include <algorithm>

LineControl::LineControl(QWidget *parent, const QString &name, double x1, double y1, double x2, const QColor &color)
    : QWidget(parent), m_x1(x1), m_y1(y1), m_x2(x2), m_color(color)
{
    setObjectName(name);
    // A line takes no mouse: a press on it belongs to what lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int left = Twips::toPixels(std::min(x1, x2));
    const int right = Twips::toPixels(std::max(x1, x2));
    setGeometry(left, Twips::toPixels(y1), std::max(1, right - left), 1);
}

void LineControl::setBorderColor(const QColor &color)
{
    m_color = color;
    update();
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_color);
}
