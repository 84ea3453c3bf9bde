#include "PictureBox.h"

#include "Twips.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent, const QString &name, double left, double top, double width, double height,
                       const QColor &backColor)
    : QWidget(parent), m_twips(left, top, width, height), m_back(backColor)
{
    setObjectName(name);
    // A press on the panel belongs to it and does not drag the window.
    setAttribute(Qt::WA_NoMousePropagation);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(Twips::toPixels(m_twips));
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
}
