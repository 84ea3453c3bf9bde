#include "EditTagsHotSpot.h"

#include <QMouseEvent>

EditTagsHotSpot::EditTagsHotSpot(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void EditTagsHotSpot::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_down = true;
    m_inside = true;
    emit downChanged();
}

void EditTagsHotSpot::mouseMoveEvent(QMouseEvent *e)
{
    if (!m_down)
        return;
    const bool inside = rect().contains(e->position().toPoint());
    if (inside != m_inside) {
        m_inside = inside;
        emit downChanged();
    }
}

void EditTagsHotSpot::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !m_down)
        return;
    const bool inside = rect().contains(e->position().toPoint());
    m_down = false;
    m_inside = false;
    emit downChanged();
    if (inside)
        emit clicked();
}
