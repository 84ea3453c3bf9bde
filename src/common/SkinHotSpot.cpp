#include "SkinHotSpot.h"

#include <QEnterEvent>
#include <QMouseEvent>

SkinHotSpot::SkinHotSpot(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

SkinHotSpot::SkinHotSpot(const QRect &place, QWidget *parent)
    : SkinHotSpot(parent)
{
    setGeometry(place);
}

ButtonLook SkinHotSpot::look() const
{
    if (m_pressed)
        return m_hover ? ButtonLook::Pressed : ButtonLook::Normal;
    return m_hover ? ButtonLook::Hover : ButtonLook::Normal;
}

void SkinHotSpot::setState(bool hover, bool pressed)
{
    if (hover == m_hover && pressed == m_pressed)
        return;
    m_hover = hover;
    m_pressed = pressed;
    Q_EMIT lookChanged();
}

void SkinHotSpot::enterEvent(QEnterEvent *) { setState(true, m_pressed); }
void SkinHotSpot::leaveEvent(QEvent *) { setState(false, m_pressed); }

void SkinHotSpot::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setState(true, true);
}

void SkinHotSpot::mouseMoveEvent(QMouseEvent *event)
{
    // The press keeps the mouse; the look follows whether it is still inside.
    setState(rect().contains(event->position().toPoint()), m_pressed);
}

void SkinHotSpot::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    setState(inside, false);
    if (inside)
        Q_EMIT clicked();
}
