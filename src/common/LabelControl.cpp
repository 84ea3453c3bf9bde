#include "LabelControl.h"

#include "Twips.h"

#include <QFontMetrics>

LabelControl::LabelControl(QWidget *parent, const QString &name, double left, double top, double width,
                           double height, const QString &caption)
    : QLabel(caption, parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_NoMousePropagation);
    setTextFormat(Qt::PlainText);
    setTwipsGeometry(left, top, width, height);
}

void LabelControl::setCaption(const QString &caption)
{
    setText(caption);
    if (m_autoSize)
        fitWidth();
}

void LabelControl::setLeft(double left)
{
    m_twips.moveLeft(left);
    place();
}

void LabelControl::setTop(double top)
{
    m_twips.moveTop(top);
    place();
}

void LabelControl::setTwipsGeometry(double left, double top, double width, double height)
{
    m_twips = QRectF(left, top, width, height);
    if (m_autoSize)
        fitWidth();
    place();
}

void LabelControl::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on) {
        fitWidth();
        place();
    }
}

void LabelControl::fitWidth()
{
    const int px = QFontMetrics(font()).horizontalAdvance(text()) + 2 * margin() + 1;
    m_twips.setWidth(Twips::fromPixels(px));
    place();
}

void LabelControl::place() { setGeometry(Twips::toPixels(m_twips)); }
