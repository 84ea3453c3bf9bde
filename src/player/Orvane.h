#pragma once
// The main player window: borderless, drawn from its own skin, with every
// control of the player placed by name from the twips table in
// OrvaneGeometry. Its height is its mode (230 strip, 1725 player, 5640 with
// the playlist panel) and is kept exactly in twips.
//
// Handlers are grouped by concern in their own files:
//   Orvane.cpp          construction, load/unload, height, painting
//   OrvaneControls.cpp  creating the controls from the table
//   OrvaneShell.cpp     close, minimise, caption, drag, video buttons
//   OrvaneAddSongs.cpp  adding songs through the open dialog
//   OrvaneSkin.cpp      the skin and the small state pictures
//   OrvaneKnobs.cpp     the position and balance knobs
//   OrvaneVolume.cpp    the volume buttons and the meter
//   OrvanePlaylist.cpp  the playlist: files, list, right-click menu, folders
//   OrvaneTransport.cpp play, pause/resume and stop
//   OrvaneSongOrder.cpp next, previous, shuffle and the end-of-media advance
//   OrvaneDisplays.cpp  elapsed time and the scrolling title
//   OrvaneModes.cpp     compact strip, player and playlist panel
#include "PlaylistStore.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <optional>

class FileDialogControl;
class ImageControl;
class LabelControl;
class LineControl;
class MediaPlayerControl;
class PictureBox;
class add;
class QButtonGroup;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimer;
struct Error;
enum class DragOutcome;

// The controls of the main window, by their names.
struct OrvaneControls {
    // title strip
    ImageControl *toppic = nullptr;
    LabelControl *toptime = nullptr;
    ImageControl *Image5 = nullptr, *Image6 = nullptr, *Image7 = nullptr, *Image8 = nullptr, *Image16 = nullptr;
    ImageControl *Image4 = nullptr, *Image2 = nullptr, *Image1 = nullptr;
    // player
    ImageControl *Image9 = nullptr;
    ImageControl *balance = nullptr;
    PictureBox *PicDisplay = nullptr;
    LabelControl *Label24 = nullptr; // inside PicDisplay
    LabelControl *Label20 = nullptr;
    ImageControl *pluss = nullptr, *minus = nullptr;
    std::array<LineControl *, 7> LVol{}; // index 1 to 6
    LabelControl *kbps = nullptr, *Khs = nullptr;
    ImageControl *plup = nullptr, *vidup = nullptr, *islider = nullptr;
    ImageControl *openfile = nullptr, *repeaton = nullptr;
    ImageControl *play = nullptr, *pause = nullptr, *stop = nullptr, *next = nullptr, *previous = nullptr;
    ImageControl *shuffle = nullptr, *shuffleon = nullptr, *repeat = nullptr;
    // playlist panel
    ImageControl *Image15 = nullptr;
    QListWidget *lstfavs = nullptr;
    ImageControl *savelist = nullptr, *listbar = nullptr, *filebar = nullptr, *directory = nullptr;
    ImageControl *list = nullptr, *addfile = nullptr;
    ImageControl *Image14 = nullptr, *Image10 = nullptr, *Image11 = nullptr, *Image12 = nullptr, *Image13 = nullptr;
    ImageControl *LOADLIST = nullptr, *Image3 = nullptr;
    // below the window: they hold state
    ImageControl *viddown = nullptr, *pldown = nullptr;
    MediaPlayerControl *am1 = nullptr;
    QRadioButton *optrnd = nullptr, *optnon = nullptr, *optres = nullptr;
    QButtonGroup *PlayOrder = nullptr;
    LabelControl *VolumInd = nullptr;
    QListWidget *List1 = nullptr;
    LabelControl *Labelpause = nullptr;
    QLineEdit *ext = nullptr;
    FileDialogControl *cd1 = nullptr;
    // timers
    QTimer *Timer1 = nullptr;     // 400 ms, caption
    QTimer *Timer3 = nullptr;     // 60 ms, strip time follows the height
    QTimer *Timer6 = nullptr;     // 50 ms, strip hot spots follow the height
    QTimer *toppicture = nullptr; // 60 ms, strip picture follows the height
    QTimer *Timer4 = nullptr;     // 1000 ms, strip time
    QTimer *Timer5 = nullptr;     // 1000 ms, player time
    QTimer *Timer7 = nullptr;     // 100 ms, title scroll
    QTimer *Timer55 = nullptr;    // 1000 ms, position knob
    QTimer *TVolum = nullptr;     // 50 ms, volume repeat; off until a volume button is held
};

class Orvane : public QWidget {
    Q_OBJECT
public:
    explicit Orvane(QWidget *parent = nullptr);
    ~Orvane() override;

    // The live main window, if any: the other windows of the player reach
    // its playlist and media control through it.
    static Orvane *instance();

    const OrvaneControls &controls() const { return c; }
    PlaylistStore &playlist() { return m_playlist; }
    const PlaylistStore &playlist() const { return m_playlist; }

    // The window's height in twips: its mode. Read back exactly as set.
    int Height() const { return m_heightTwips; }
    void setHeight(int twips);

    // Top and Left in twips, from the window's place on the screen.
    double Top() const;
    double Left() const;

    // What the last press on the bare skin did (for the drag's tests).
    DragOutcome lastDragOutcome() const { return m_lastDrag; }

    // Public procedures of the window.
    void GetWindowSize();

    // ---- start-up and shell --------------------------------------------
    void Form_Load();
    void Form_Unload();
    void Form_MouseDown(int Button, int Shift, double X, double Y);
    void Image1_Click();
    void Image2_Click();
    void Timer1_Timer();
    void vidup_MouseDown(int Button, int Shift, double X, double Y);
    void viddown_MouseMove(int Button, int Shift, double X, double Y);

    // ---- adding songs through the open dialog --------------------------
    struct DialogAddSite {
        QString filter;      // one of the song filters
        bool testsForCd;     // looks at the name's end for "cda" and writes ext
        bool opensFile;      // opens a chosen file that is not a CD track
        bool blanksTitle = false; // empties the title once a file is chosen
    };
    void AddSongFromDialog(const DialogAddSite &site);
    void openfile_Click();
    void Image3_Click();
    void Image6_Click();
    void addfile_Click();

    // ---- position and balance knobs ------------------------------------
    // Both knobs drag the same way and share one drag state, so while either
    // is held playback leaves the position knob alone.
    void islider_MouseDown(int Button, int Shift, double X, double Y);
    void balance_MouseDown(int Button, int Shift, double X, double Y);
    void islider_MouseMove(int Button, int Shift, double X, double Y);
    void balance_MouseMove(int Button, int Shift, double X, double Y);
    void islider_MouseUp(int Button, int Shift, double X, double Y);
    void balance_MouseUp(int Button, int Shift, double X, double Y);
    void Timer55_Timer(); // the position knob follows playback

    // The knobs' tracks (Left, twips) and the mappings onto the media.
    static constexpr double SliderTrackLeft = 120;   // start of the media
    static constexpr double SliderTrackSpan = 3540;  // 3660: its end
    static constexpr double BalanceFullLeft = 900;
    static constexpr double BalanceCentre = 1350;
    static constexpr double BalanceFullRight = 1740;
    // Whole seconds to seek to for the position knob at `left`.
    static double SeekSeconds(double left, double duration);
    // The control's Balance for the balance knob at `left`.
    static long BalanceFromKnob(double left);
    // What a move over the balance knob at `left` writes into the title
    // line; empty: the title is left as it is.
    static QString BalanceZone(double left);

    bool sliderDragging() const { return SliderDragging; }

    // ---- volume buttons and meter --------------------------------------
    void pluss_MouseDown(int Button, int Shift, double X, double Y);
    void minus_MouseDown(int Button, int Shift, double X, double Y);
    void pluss_MouseUp(int Button, int Shift, double X, double Y);
    void minus_MouseUp(int Button, int Shift, double X, double Y);
    void TVolum_Timer(); // one step while a volume button is held

    static constexpr long VolumeStep = 130; // hundredths of a decibel per tick
    // How many meter bars a volume lights, counted from LVol(1); empty below
    // the meter's range, where it keeps what it showed.
    static std::optional<int> VolumeMeterBars(long volume);
    std::optional<bool> volumeUpward() const { return VolumeUpward; }

    // ---- the playlist: files, list, right-click menu, folders ----------
    void LOADLIST_Click();
    void savelist_Click();
    void list_Click();
    void directory_Click();
    void lstfavs_DblClick();
    void lstfavs_MouseDown(int Button, int Shift, double X, double Y);
    // The hidden window that hosts the playlist's right-click menu: none
    // until the first right click, then kept (hidden) with this window.
    add *menuWindow() const;
    // ---- transport, song order, displays and modes ---------------------
    // play, pause/resume, stop
    void play_Click();
    void Image10_Click();
    void pause_Click();
    void Image11_Click();
    void Image7_Click();
    void stop_Click();
    void Image12_Click();
    void Image8_Click();
    // song order
    void next_Click();
    void Image13_Click();
    void Image16_Click();
    void previous_Click();
    void Image14_Click();
    void Image5_Click();
    void shuffle_Click();
    void am1_EndOfStream(long Result);
    void cdplayer();
    void List1_DblClick();
    // The row a Random advance plays: k = floor(count x r), r the first draw
    // of a generator seeded from the time of day; -1 for an empty list.
    static int RandomRow(int count, float secondsSinceMidnight);
    // time and title
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer7_Timer();
    // window modes; the three followers run on every change of height
    void Image4_Click();
    void plup_MouseDown(int Button, int Shift, double X, double Y);
    void pldown_MouseMove(int Button, int Shift, double X, double Y);
    void Image15_Click();
    void Timer3_Timer();
    void toppicture_Timer();
    void Timer6_Timer();

Q_SIGNALS:
    // The video buttons: the video windows answer these once they exist.
    void menuPlayerRequested();
    void skinnedVideoRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void wireShell();
    void wireAddSongs();
    void wireKnobs();
    void wireVolume();
    void wirePlaylist();
    void knobPressed(ImageControl *knob, double X);
    void knobDragStep(ImageControl *knob, double X, double lowest, double highest);
    double pointerScreenTwips(const ImageControl *knob, double X) const;
    void volumeButtonPressed(bool upward);
    void volumeButtonReleased();
    void logMediaFailure(const char *what, const Error &error) const;
    // Writes am1.FileName. A failure is logged and shown in the title line,
    // and the caller goes on; false then. `byAdvance`: opened by the
    // end-of-media advance, which keeps the names of the entries that failed.
    bool openInPlayer(const QString &name, bool byAdvance = false);
    void playInPlayer();
    // `tellsOfFailure`: the text reports an entry that could not be played,
    // which the next entry that opens replaces with its own name.
    void setTitle(const QString &text, bool tellsOfFailure = false);

    OrvaneControls c;
    PlaylistStore m_playlist;
    int m_heightTwips = 0;
    DragOutcome m_lastDrag;
    QPixmap m_skin;
    qreal m_skinDpr = 0;
    QPointF m_pressGlobal;

    // Knob drag state, shared by both knobs.
    bool SliderDragging = false;       // from a press on a knob to a release
    double SliderStartX = 0;           // the pointer's X on the screen at the press, twips
    double SliderTwipsPerPixel = 0;    // the screen's twips per pixel, taken at the press
    double SliderLeft = 0;             // the knob's Left: at the press, then after each step
    double m_sliderPressLeft = 0;      // the knob's Left at the press
    ImageControl *m_sliderKnob = nullptr; // the knob that was pressed

    // The playlist's menu window, made on the first right click.
    QPointer<add> m_menus;

    // Direction of the held volume button: true up, false down; empty
    // until the first press.
    std::optional<bool> VolumeUpward;
    // ---- transport, song order, displays and modes (private) -----------
    void wireTransport();
    void wireSongOrder();
    void wireDisplays();
    void wireModes();
    void playSelectedOrAsk(const DialogAddSite &site);
    void pauseOrResume();
    void stopAndRewind();
    // The end-of-media advance by the play order, passing over entries that
    // cannot be opened, at most once round the list.
    void advanceToNextEntry();
    void am1_Failed(const Error &error);
    // Entries the advance could not open, or that failed once opened, since
    // the last one played to its end or the user last chose one; the title
    // of the one that plays names them.
    QStringList m_passedOver;
    bool m_openedByAdvance = false; // what is open came from the advance
    bool m_titleTellsOfFailure = false; // the title reports a failure, not what plays
    void secondTick();
    void followHeight();
    void updateTitleScroll();
};
