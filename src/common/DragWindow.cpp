#include "DragWindow.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
// Follows the pointer from the press until the release. It watches the window
// itself: the press was on its surface, so Qt's implicit grab sends it the
// moves and the release, wherever the pointer goes.
class ManualMover : public QObject {
public:
    ManualMover(QWidget *window, const QPointF &globalPress)
        : QObject(window), m_window(window), m_start(globalPress), m_origin(window->pos())
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::MouseMove: {
            auto *me = static_cast<QMouseEvent *>(event);
            if (!(me->buttons() & Qt::LeftButton)) {
                finish();
                return false;
            }
            const QPointF delta = me->globalPosition() - m_start;
            m_window->move(m_origin + delta.toPoint());
            return true;
        }
        case QEvent::MouseButtonRelease:
            finish();
            return false;
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
            finish();
            return false;
        default:
            return false;
        }
    }

private:
    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        m_window->removeEventFilter(this);
        deleteLater();
    }

    QPointer<QWidget> m_window;
    QPointF m_start;
    QPoint m_origin;
    bool m_done = false;
};
} // namespace

DragOutcome DragWindow(QWidget *window, int button, const QPointF &globalPress)
{
    if (!window || button == 2 || button == 4)
        return DragOutcome::None;
    QWidget *top = window->window();
    if (QWindow *handle = top->windowHandle(); handle && handle->startSystemMove())
        return DragOutcome::SystemMove;
    // A press while an earlier manual move is still live only restarts it.
    for (QObject *child : top->children()) {
        if (auto *old = dynamic_cast<ManualMover *>(child)) {
            top->removeEventFilter(old);
            old->deleteLater();
        }
    }
    new ManualMover(top, globalPress);
    return DragOutcome::ManualMove;
}
