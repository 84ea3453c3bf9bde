// Orvane: the program starts with its main window and ends when the last
// visible window closes (or when the window's own close spot ends it).
#include "Orvane.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orvane"));
    QApplication::setDesktopFileName(QStringLiteral("orvane"));
    // A hidden window (the playlist's menu host) never keeps the program alive.
    QApplication::setQuitOnLastWindowClosed(true);

    Orvane window;
    window.show();
    return app.exec();
}
