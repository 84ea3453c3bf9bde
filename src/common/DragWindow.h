#pragma once
// Moves a borderless window with the mouse from a press on its own surface.
// The window system's own move is asked for first (QWindow::startSystemMove);
// where it refuses (no window manager, offscreen), the window follows the
// pointer itself until the button is released.
#include <QPointF>

class QWidget;

enum class DragOutcome {
    None,       // right or middle button, or no window: nothing happens
    SystemMove, // the window system moves the window
    ManualMove, // we follow the pointer ourselves
};

// button: 1 left, 2 right, 4 middle (as the mouse handlers take it).
// globalPress: where the press happened, in global pixels.
DragOutcome DragWindow(QWidget *window, int button, const QPointF &globalPress);
