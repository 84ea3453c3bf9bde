#pragma once
// An image control of a skinned window: a transparent hot spot, or a small
// picture drawn unscaled from its top-left corner. It is placed from a twips
// rectangle and keeps that rectangle exactly, so logic that moves it (knobs)
// reads back the very value it wrote, never a rounded pixel.
//
// Mouse events carry the button (1 left, 2 right, 4 middle; for moves the
// buttons held), the modifier keys (1 Shift, 2 Ctrl, 4 Alt) and X, Y in twips
// from the control's top-left corner. Qt's implicit grab gives the moves and
// the release of a press to the pressed control, also outside it.
#include <QPixmap>
#include <QRectF>
#include <QWidget>

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget *parent = nullptr);
    ImageControl(QWidget *parent, const QString &name, double left, double top, double width, double height,
                 const QString &toolTip = QString());

    double Left() const { return m_twips.left(); }
    double Top() const { return m_twips.top(); }
    double Width() const { return m_twips.width(); }
    double Height() const { return m_twips.height(); }
    QRectF twipsGeometry() const { return m_twips; }

    void setLeft(double left);
    void setTop(double top);
    void moveTo(double left, double top);
    void setTwipsGeometry(double left, double top, double width, double height);

    // A picture of its own (empty: a transparent hot spot).
    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }

    // Button and Shift values as the handlers take them.
    static int buttonValue(Qt::MouseButton button);
    static int buttonsValue(Qt::MouseButtons buttons);
    static int shiftValue(Qt::KeyboardModifiers modifiers);

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseMove(int Button, int Shift, double X, double Y);
    void MouseUp(int Button, int Shift, double X, double Y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void place();

    QRectF m_twips;
    QPixmap m_picture;
    bool m_pressed = false;     // a press began here and may end in a Click
    bool m_afterDouble = false; // the release of a double click is no Click
};
