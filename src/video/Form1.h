#pragma once
// The menu-driven player window: an ordinary sizable window with a menu bar,
// one media control `mmplay` that follows the window's size, and a logo over
// the upper part of the player. Every command is a menu item.
//
// One instance at most, created (and loaded, centred) on first use; closing it
// destroys it and its player, so the next use starts afresh.
#include <QMainWindow>
#include <QRectF>

class FileDialogControl;
class MediaPlayerControl;
class QAction;
class QLabel;
class QMenu;
class QTimer;
struct Error;

// The controls and menu items of the window, by their names.
struct Form1Controls {
    MediaPlayerControl *mmplay = nullptr;
    QLabel *Picture1 = nullptr; // the logo
    FileDialogControl *cd1 = nullptr;
    QTimer *Timer1 = nullptr;   // 1000 ms, never enabled

    QMenu *file = nullptr;
    QAction *openfile = nullptr, *opendvd = nullptr, *close = nullptr, *dfdf = nullptr, *exit = nullptr;
    QMenu *men_play = nullptr;
    QAction *play = nullptr, *pause = nullptr, *fast_f = nullptr, *fast_t = nullptr, *stop = nullptr;
    QMenu *navi = nullptr;
    QAction *pre = nullptr, *next = nullptr;
};

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // The window, created (and its Form_Load run) the first time it is asked for.
    static Form1 &instance();
    // The window if it is loaded, else nullptr; never creates it.
    static Form1 *loaded();
    // Destroys a loaded window at once (the program's end).
    static void discard();

    ~Form1() override;

    const Form1Controls &controls() const { return c; }

    // The client area below the menu bar, in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;
    // The player's and the logo's places in twips (Left, Top, Width, Height)
    // as the layout last set them, relative to the area below the menu bar.
    QRectF mmplayTwips() const { return m_mmplay; }
    QRectF Picture1Twips() const { return m_picture; }
    // What Timer1_Timer last composed (shown nowhere).
    QString timeText() const { return m_timeText; }

    // ---- handlers ------------------------------------------------------------
    void Form_Load();
    void Form_Resize();
    void Timer1_Timer();
    void openfile_Click();
    void close_Click();
    void exit_Click();
    void play_Click();
    void pause_Click();
    void fast_f_Click();
    void fast_t_Click();
    void stop_Click();
    void pre_Click();
    void next_Click();

    // The logo's picture: a music-note emblem on black, 362 x 258 pixels.
    static QPixmap logo(qreal dpr);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Form1();
    void createControls();
    void createMenus();
    void placePlayer();
    void placePicture();
    void showLogoUnlessVideo();
    void logFailure(const char *what, const Error &error) const;
    QSizeF outerTwips() const;

    Form1Controls c;
    QWidget *m_client = nullptr; // the area below the menu bar
    QRectF m_mmplay;
    QRectF m_picture;
    QString m_timeText;
};
