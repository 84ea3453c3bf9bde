// The window's shell: closing, minimising, the caption, dragging the window
// by its skin, and the two video buttons.
#include "Orvane.h"

#include "DragWindow.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaPlayerControl.h"
#include "ProgramEnd.h"

#include <QTimer>

void Orvane::wireShell()
{
    connect(c.Image1, &ImageControl::Click, this, &Orvane::Image1_Click);
    connect(c.Image2, &ImageControl::Click, this, &Orvane::Image2_Click);
    connect(c.Timer1, &QTimer::timeout, this, &Orvane::Timer1_Timer);
    connect(c.vidup, &ImageControl::MouseDown, this, &Orvane::vidup_MouseDown);
    connect(c.viddown, &ImageControl::MouseMove, this, &Orvane::viddown_MouseMove);
    // Failures after a media was opened arrive here; the window goes on.
    connect(c.am1, &MediaPlayerControl::MediaError, this,
            [this](const Error &error) { logMediaFailure("playback", error); });
}

void Orvane::logMediaFailure(const char *what, const Error &error) const
{
    qWarning("Orvane: %s failed (%d): %s", what, error.number, qUtf8Printable(error.description));
}

// A press on the skin itself (no control took it) moves the window.
void Orvane::Form_MouseDown(int Button, int Shift, double X, double Y)
{
    m_lastDrag = DragWindow(this, Button, m_pressGlobal);
}

// Close: save the position, then end the whole program at once.
void Orvane::Image1_Click()
{
    close(); // runs Form_Unload through the close event
    EndProgram();
}

// Minimise; the system restores the window.
void Orvane::Image2_Click() { showMinimized(); }

void Orvane::Timer1_Timer() { GetWindowSize(); }

// The caption follows the window state; minimised it carries the title line,
// so the taskbar shows what plays. A name is shown as it is: "[*]" in it would
// otherwise be taken for the placeholder of a modified window and vanish.
void Orvane::GetWindowSize()
{
    if (isMinimized())
        setWindowTitle(QStringLiteral("Orvane...")
                       + c.Label24->Caption().replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
    else
        setWindowTitle(QStringLiteral("Orvane"));
}

// Opens the menu-driven player window; main playback is left alone, so both
// can play at once. The window answers menuPlayerRequested once it exists.
void Orvane::vidup_MouseDown(int Button, int Shift, double X, double Y)
{
    emit menuPlayerRequested();
}

// The pressed video button lies below the window's tallest height, so no
// user reaches it; kept for the skinned video window it would open.
void Orvane::viddown_MouseMove(int Button, int Shift, double X, double Y)
{
    c.vidup->setVisible(true);
    c.viddown->setVisible(false);
    if (Status s = c.am1->Stop())
        logMediaFailure("stop", *s);
    if (Status s = c.am1->setCurrentPosition(0))
        logMediaFailure("rewind", *s);
    emit skinnedVideoRequested();
}
