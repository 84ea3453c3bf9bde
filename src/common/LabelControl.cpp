#include "LabelControl.h"

#include "Twips.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

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

// Everything QLabel's own painting of this label depends on.
QString LabelControl::pictureKey() const
{
    return QStringLiteral("%1|%2x%3|%4|%5|%6|%7|%8|%9|%10")
        .arg(text())
        .arg(width())
        .arg(height())
        .arg(font().key())
        .arg(palette().cacheKey())
        .arg(devicePixelRatioF())
        .arg(isEnabled())
        .arg(int(alignment()))
        .arg(margin())
        .arg(wordWrap());
}

// The same drawing as QLabel's for plain text without a frame, done once per
// change into the picture.
void LabelControl::paintEvent(QPaintEvent *)
{
    const QString key = pictureKey();
    if (key != m_pictureKey || m_picture.isNull()) {
        const qreal ratio = devicePixelRatioF();
        m_picture = QPixmap((QSizeF(size()) * ratio).toSize());
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(Qt::transparent);
        QPainter p(&m_picture);
        p.setFont(font());
        const int m = margin();
        int flags = QStyle::visualAlignment(layoutDirection(), alignment());
        if (wordWrap())
            flags |= Qt::TextWordWrap;
        style()->drawItemText(&p, contentsRect().adjusted(m, m, -m, -m), flags, palette(), isEnabled(), text(),
                              foregroundRole());
        m_pictureKey = key;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}
