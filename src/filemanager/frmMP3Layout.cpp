// Placing the tree, the splitter and the list frame whenever the window
// changes size, and dragging the splitter between the tree and the list.
#include "frmMP3.h"

#include "MP3ListView.h"
#include "Twips.h"

#include <QResizeEvent>
#include <QStatusBar>
#include <QTreeWidget>

namespace {
// The layout rule counts in the window's outer size. Where the platform
// reports no frame (offscreen, or before the window manager has framed the
// window), a usual sizable frame stands in: 4 pixels of border on each side
// and a 26-pixel title bar.
constexpr int NominalFrameWidth = 8;
constexpr int NominalFrameHeight = 34;
constexpr double StatusBarHeight = 255;
} // namespace

double frmMP3::WindowWidth() const
{
    const int framed = frameGeometry().width();
    const int client = width();
    return Twips::fromPixels(framed > client ? framed : client + NominalFrameWidth);
}

double frmMP3::WindowHeight() const
{
    const int framed = frameGeometry().height();
    const int client = height();
    return Twips::fromPixels(framed > client ? framed : client + NominalFrameHeight);
}

void frmMP3::placeControls()
{
    const FileManagerLayout::Places &p = layout;
    DirTree->setGeometry(Twips::toPixels(p.treeLeft, p.treeTop, p.treeWidth, p.treeHeight));
    picSplit->setGeometry(Twips::toPixels(p.splitLeft, p.splitTop, p.splitWidth, p.splitHeight));
    picMP3->setGeometry(Twips::toPixels(p.mp3Left, p.mp3Top, p.mp3Width, p.mp3Height));

    QPalette pal = picSplit->palette();
    pal.setColor(QPalette::Window, palette().color(p.splitBackColor == FileManagerLayout::AppWorkspace
                                                       ? QPalette::Dark
                                                       : QPalette::Button));
    picSplit->setPalette(pal);

    // The status bar keeps to the bottom edge and follows the window's width.
    const int barHeight = qMax(Twips::toPixels(StatusBarHeight), stbMp3->sizeHint().height());
    stbMp3->setGeometry(0, height() - barHeight, width(), barHeight);
    stbMp3->raise();
}

void frmMP3::Form_Resize()
{
    layout.FormResize(WindowWidth(), WindowHeight());
    placeControls();
}

void frmMP3::picMP3_Resize()
{
    // The list always fills its frame.
    lstMP3->setGeometry(0, 0, picMP3->width(), picMP3->height());
}

void frmMP3::picSplit_MouseDown(int Button, int Shift, double X, double Y)
{
    layout.SplitMouseDown();
    placeControls();
    // Dragged over the list, the bar must stay in sight above it.
    picSplit->raise();
}

void frmMP3::picSplit_MouseMove(int Button, int Shift, double X, double Y)
{
    if (!layout.SplitMoving)
        return;
    layout.SplitMouseMove(X, WindowWidth());
    picSplit->move(Twips::toPixels(layout.splitLeft), picSplit->y()); // only the splitter follows
}

void frmMP3::picSplit_MouseUp(int Button, int Shift, double X, double Y)
{
    layout.SplitMouseUp(WindowWidth());
    placeControls();
}

void frmMP3::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMP3::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Form_Resize();
}
