#include "ImageControl.h"

#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget *parent)
    : QWidget(parent)
{
    // Moves without a button count too: some handlers act on a mere hover.
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

ImageControl::ImageControl(QWidget *parent, const QString &name, double left, double top, double width,
                           double height, const QString &toolTip)
    : ImageControl(parent)
{
    setObjectName(name);
    if (!toolTip.isEmpty())
        setToolTip(toolTip);
    setTwipsGeometry(left, top, width, height);
}

void ImageControl::setLeft(double left) { moveTo(left, m_twips.top()); }
void ImageControl::setTop(double top) { moveTo(m_twips.left(), top); }

void ImageControl::moveTo(double left, double top)
{
    m_twips.moveTo(left, top);
    place();
}

void ImageControl::setTwipsGeometry(double left, double top, double width, double height)
{
    m_twips = QRectF(left, top, width, height);
    place();
}

void ImageControl::place() { setGeometry(Twips::toPixels(m_twips)); }

void ImageControl::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

int ImageControl::buttonValue(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int ImageControl::buttonsValue(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int ImageControl::shiftValue(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

void ImageControl::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return; // a hot spot: the skin below shows through
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}

void ImageControl::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_afterDouble = false;
    }
    const QPointF pos = event->position();
    emit MouseDown(buttonValue(event->button()), shiftValue(event->modifiers()), Twips::fromPixels(pos.x()),
                   Twips::fromPixels(pos.y()));
}

void ImageControl::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const QPointF pos = event->position();
    emit MouseMove(buttonsValue(event->buttons()), shiftValue(event->modifiers()), Twips::fromPixels(pos.x()),
                   Twips::fromPixels(pos.y()));
}

void ImageControl::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const QPointF pos = event->position();
    // Decide before the handlers run: a MouseUp handler may hide or move us.
    const bool click = event->button() == Qt::LeftButton && m_pressed && !m_afterDouble
        && rect().contains(pos.toPoint());
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        m_afterDouble = false;
    }
    emit MouseUp(buttonValue(event->button()), shiftValue(event->modifiers()), Twips::fromPixels(pos.x()),
                 Twips::fromPixels(pos.y()));
    if (click)
        emit Click();
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_afterDouble = true;
    emit DblClick();
}
