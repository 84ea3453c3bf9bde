#pragma once
// A label of a skinned window, placed from a twips rectangle that it keeps
// exactly (a scrolling title steps its Left by whole twips and tests it).
// It takes the mouse presses in its rectangle, so a press on a label never
// drags the window below it. With AutoSize its width follows its text.
//
// What it paints is kept as a picture until its text, size, font, colours or
// state change: a scrolling title is repainted ten times a second, and laying
// out its text anew each time was the greater part of the window's work.
#include <QLabel>
#include <QPixmap>
#include <QRectF>

class LabelControl : public QLabel {
    Q_OBJECT
public:
    LabelControl(QWidget *parent, const QString &name, double left, double top, double width, double height,
                 const QString &caption = QString());

    QString Caption() const { return text(); }
    void setCaption(const QString &caption);

    double Left() const { return m_twips.left(); }
    double Top() const { return m_twips.top(); }
    double Width() const { return m_twips.width(); }
    double Height() const { return m_twips.height(); }
    void setLeft(double left);
    void setTop(double top);
    void setTwipsGeometry(double left, double top, double width, double height);

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString pictureKey() const;
    void place();
    void fitWidth();

    QRectF m_twips;
    bool m_autoSize = false;
    QPixmap m_picture;
    QString m_pictureKey;
};
