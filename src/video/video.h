#pragma once
// The skinned video window: borderless, drawn from its own skin, one video at
// a time in its own media control, opened through its own dialog. A press on
// the bare skin drags it; it keeps its screen position in section
// "OrvaneVideo". The seek knob and the scrolling title live in
// videoSlider.cpp, the artwork in videoSkin.cpp.
//
// One instance at most: created, and loaded, on first use; closing it saves
// its position and destroys it, so the next use starts afresh.
#include <QPointF>
#include <QPixmap>
#include <QWidget>

class FileDialogControl;
class ImageControl;
class LabelControl;
class MediaPlayerControl;
class PictureBox;
class QTimer;
struct Error;
enum class DragOutcome;
namespace videoSkin {
enum class Command;
}

// The controls of the window, by their names.
struct videoControls {
    MediaPlayerControl *MediaPlayer1 = nullptr;
    FileDialogControl *CommonDialog1 = nullptr;
    ImageControl *Image1 = nullptr; // Open
    ImageControl *Image2 = nullptr; // Play
    ImageControl *Image3 = nullptr; // Pause
    ImageControl *Image4 = nullptr; // Stop
    ImageControl *Image5 = nullptr; // close mark
    ImageControl *islider = nullptr;
    PictureBox *PicDisplay = nullptr;
    LabelControl *Label1 = nullptr; // inside PicDisplay
    QTimer *Timer1 = nullptr;       // 100 ms, scrolls the title
    QTimer *Timer55 = nullptr;      // 1000 ms, the knob follows playback
};

class video : public QWidget {
    Q_OBJECT
public:
    // The window, created (and its Form_Load run) the first time it is asked for.
    static video &instance();
    // The window if it is loaded, else nullptr; never creates it.
    static video *loaded();
    // Destroys a loaded window without its unload handling: what happens to
    // it when the program ends from another window.
    static void discard();

    ~video() override;

    // Shows the window modeless and brings it to the front.
    void showModeless();

    const videoControls &controls() const { return c; }

    // Top and Left in twips, from the window's place on the screen.
    double Top() const;
    double Left() const;

    DragOutcome lastDragOutcome() const { return m_lastDrag; }
    bool sliderDragging() const { return SliderDragging; }

    // ---- the window and its hot spots --------------------------------------
    void Form_Load();
    void Form_Unload();
    void Form_MouseDown(int Button, int Shift, double X, double Y);
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();

    // ---- the seek knob and the title -----------------------------------------
    void islider_MouseDown(int Button, int Shift, double X, double Y);
    void islider_MouseMove(int Button, int Shift, double X, double Y);
    void islider_MouseUp(int Button, int Shift, double X, double Y);
    void Timer55_Timer();
    void Timer1_Timer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    video();
    void createControls();
    void wireHandlers();
    void wireSlider();
    void trackPress(ImageControl *spot, videoSkin::Command command);
    void logFailure(const char *what, const Error &error) const;

    videoControls c;
    DragOutcome m_lastDrag;
    QPointF m_pressGlobal;
    QPixmap m_skin;
    qreal m_skinDpr = 0;
    videoSkin::Command m_pressedCommand;

    // The knob's drag, this window's own. X values are twips.
    bool SliderDragging = false;
    double SliderStartX = 0;        // the pointer's X at the press, from the knob's Left
    double SliderTwipsPerPixel = 0; // twips per pixel, taken at the press
    double SliderLeft = 0;          // the knob's Left at the press, then after each move
};
