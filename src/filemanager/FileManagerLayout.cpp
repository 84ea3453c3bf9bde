#include "FileManagerLayout.h"

namespace FileManagerLayout {

namespace {
// A size can be zero but never negative; a failed assignment keeps the old value.
bool setSize(double &field, double value)
{
    if (value < 0)
        return false;
    field = value;
    return true;
}
} // namespace

void Places::relayWidths(double windowWidth)
{
    setSize(treeWidth, splitLeft - splitWidth);
    mp3Left = splitLeft + splitWidth + 20;
    setSize(mp3Width, windowWidth - treeWidth + splitWidth - 300);
    splitLeft = splitLeft + 20;
}

int Places::FormResize(double windowWidth, double windowHeight)
{
    splitLeft = 3060;
    if (!setSize(treeWidth, splitLeft - splitWidth))
        return 1;
    mp3Left = splitLeft + splitWidth + 20;
    if (!setSize(mp3Width, windowWidth - treeWidth + splitWidth - 300))
        return 3;
    splitLeft = splitLeft + 20;
    if (!setSize(treeHeight, windowHeight - 900))
        return 5;
    if (!setSize(mp3Height, windowHeight - 900))
        return 6;
    if (!setSize(splitHeight, windowHeight - 880))
        return 7;
    return 8;
}

void Places::SplitMouseDown()
{
    splitBackColor = AppWorkspace;
    SplitMoving = true;
}

void Places::SplitMouseMove(double x, double windowWidth)
{
    if (!SplitMoving)
        return;
    const double p = splitLeft + x;
    if (p < MinSplit || p > windowWidth - RightRoom)
        return; // the splitter stays where the last accepted move put it
    splitLeft = p;
}

void Places::SplitMouseUp(double windowWidth)
{
    splitBackColor = ButtonFace;
    if (SplitMoving)
        relayWidths(windowWidth);
    SplitMoving = false;
}

} // namespace FileManagerLayout
