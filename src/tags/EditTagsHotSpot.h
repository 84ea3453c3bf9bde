#pragma once
// A transparent area over a painted button of the tag editor. It takes the
// mouse in its rectangle and emits clicked() for a left press released
// inside; it never takes the keyboard focus, so clicking it leaves the text
// box that holds the focus as it is.
#include <QWidget>

class EditTagsHotSpot : public QWidget {
    Q_OBJECT
public:
    explicit EditTagsHotSpot(QWidget *parent = nullptr);
    // True from a left press until its release while the pointer is inside:
    // the skin draws its button pushed in.
    bool isDown() const { return m_down && m_inside; }

signals:
    void clicked();
    void downChanged();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    bool m_down = false;
    bool m_inside = false;
};
