#pragma once
// A borderless picture box: a solid panel placed from twips that clips the
// controls it holds. Its scale is twips, so ScaleWidth is its inner width in twips.
#include <QColor>
#include <QRectF>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &name, double left, double top, double width, double height,
               const QColor &backColor);

    double Left() const { return m_twips.left(); }
    double Top() const { return m_twips.top(); }
    double Width() const { return m_twips.width(); }
    double Height() const { return m_twips.height(); }
    double ScaleWidth() const { return m_twips.width(); }
    double ScaleHeight() const { return m_twips.height(); }
    QColor BackColor() const { return m_back; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF m_twips;
    QColor m_back;
};
