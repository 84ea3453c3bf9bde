#pragma once
// Where the file manager's tree, splitter and list frame stand, in twips of
// the window's client area, and how resizing the window and dragging the
// splitter move them. No widgets here: the window places its controls from
// these numbers after every change.
namespace FileManagerLayout {

// System colour indexes the splitter shows: application workspace while it
// is dragged, button face otherwise.
constexpr int AppWorkspace = 12;
constexpr int ButtonFace = 15;

struct Places {
    // Design places.
    double splitLeft = 3080, splitTop = 20, splitWidth = 50, splitHeight = 5295;
    double treeLeft = 60, treeTop = 30, treeWidth = 3000, treeHeight = 2550;
    double mp3Left = 3120, mp3Top = 35, mp3Width = 2655, mp3Height = 2550;

    bool SplitMoving = false;
    int splitBackColor = ButtonFace;

    // The layout pass for a window of this outer size. A width or height
    // that would come out negative cannot be set: the pass stops there and
    // keeps what it set before. Returns how many of its eight assignments
    // were made.
    int FormResize(double windowWidth, double windowHeight);

    // Splitter drag; x is in the splitter's own coordinates.
    void SplitMouseDown();
    void SplitMouseMove(double x, double windowWidth);
    void SplitMouseUp(double windowWidth);

private:
    // Steps 2 to 5 of the pass, from the splitter's current Left, each
    // assignment on its own: a negative size is skipped and the rest go on.
    void relayWidths(double windowWidth);
};

// The smallest splitter position a drag accepts, and the room it must leave
// on the right of the window.
constexpr double MinSplit = 250;
constexpr double RightRoom = 500;

} // namespace FileManagerLayout
