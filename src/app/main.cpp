// Orvane: the program starts with its main window and ends when the last
// visible window closes (or when the window's own close spot ends it).
#include "Form1.h"
#include "Orvane.h"
#include "ProgramStart.h"
#include "video.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    PrepareProcess();
    // The title scrolls ten times a second. Under X11, Qt's shared-memory
    // flush costs a sync round trip and a completion event per repaint,
    // several wake-ups each time; for windows this small a plain image put
    // is as fast and keeps the idle player quiet.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    // No display name: Qt would append it to every window title, and each
    // window's title is exactly the caption it sets.
    QApplication::setDesktopFileName(QStringLiteral("orvane"));
    // A hidden window (the playlist's menu host) never keeps the program alive.
    QApplication::setQuitOnLastWindowClosed(true);

    Orvane window;
    // The main window's video buttons: the menu player is made visible (and
    // created the first time); the skinned video window is shown modeless.
    QObject::connect(&window, &Orvane::menuPlayerRequested, &window, [] { Form1::instance().setVisible(true); });
    QObject::connect(&window, &Orvane::skinnedVideoRequested, &window, [] { video::instance().showModeless(); });
    window.show();
    return app.exec();
}
