#pragma once
// A transparent rectangle over a button painted on a window's skin. It takes
// the mouse in its rectangle, emits clicked() when a left press is released
// inside it, and tells the window when its look changes (hover, pressed) so
// the skin can paint the button to match. It never takes the keyboard focus:
// clicking it leaves the control that holds the focus as it is.
#include <QWidget>

enum class ButtonLook { Normal, Hover, Pressed };

class SkinHotSpot : public QWidget {
    Q_OBJECT
public:
    explicit SkinHotSpot(QWidget *parent = nullptr);
    SkinHotSpot(const QRect &place, QWidget *parent);

    // Pressed while a left press is held and the pointer is inside; hover
    // while the pointer is over it with no press.
    ButtonLook look() const;
    bool isDown() const { return look() == ButtonLook::Pressed; }

Q_SIGNALS:
    void clicked();
    void lookChanged();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setState(bool hover, bool pressed);

    bool m_hover = false;
    bool m_pressed = false;
};
