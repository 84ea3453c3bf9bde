#include "video.h"

#include "DragWindow.h"
#include "FileDialogControl.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFailure.h"
#include "MediaPlayerControl.h"
#include "PathUtil.h"
#include "PictureBox.h"
#include "SavedPosition.h"
#include "Twips.h"
#include "videoGeometry.h"
#include "videoSkin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace {
QPointer<video> g_video;
constexpr char SettingsSection[] = "OrvaneVideo";

// The one filter of the open dialog.
const char VideoFilter[] = "All Supported Files|*.avi;*.mpeg;*.mpg;*.mpe;*.mpv;*.m1v;*.mp2;*.mpv2;*.mp2v;"
                           "*.mpa;*.ivf;*.mov;*.qt;*.dat;*.rm";
} // namespace

video &video::instance()
{
    if (!g_video) {
        g_video = new video();
        // When the program ends from another window this one goes without
        // its unload handling: its position is not saved then.
        static bool hooked = false;
        if (!hooked && qApp) {
            hooked = true;
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, &video::discard);
        }
    }
    return *g_video;
}

video *video::loaded() { return g_video.data(); }

void video::discard()
{
    delete g_video.data();
    g_video = nullptr;
}

video::video()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_lastDrag(DragOutcome::None)
    , m_pressedCommand(videoSkin::Command::None)
{
    setObjectName(QStringLiteral("video"));
    // The design caption; no title bar shows it.
    setWindowTitle(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(Twips::toPixels(videoGeometry::ClientWidth), Twips::toPixels(videoGeometry::ClientHeight));

    createControls();
    wireHandlers();
    wireSlider();

    Form_Load();

    // Both timers run from creation to unload.
    c.Timer1->start();
    c.Timer55->start();
}

video::~video()
{
    if (g_video == this)
        g_video = nullptr;
}

void video::createControls()
{
    namespace G = videoGeometry;
    c.MediaPlayer1 = new MediaPlayerControl(this);
    c.MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    c.MediaPlayer1->applyDesign(MediaPlayerControl::mediaPlayer1Design());
    c.MediaPlayer1->setGeometry(G::MediaPlayer1.pixels());
    // A press on the picture belongs to the player, not to the window's drag.
    c.MediaPlayer1->setAttribute(Qt::WA_NoMousePropagation);

    c.CommonDialog1 = new FileDialogControl(this);
    c.CommonDialog1->setObjectName(QStringLiteral("CommonDialog1"));

    auto spot = [this](const char *name, const G::Rect &r) {
        return new ImageControl(this, QString::fromLatin1(name), r.left, r.top, r.width, r.height);
    };
    c.Image1 = spot("Image1", G::Image1);
    c.Image2 = spot("Image2", G::Image2);
    c.Image3 = spot("Image3", G::Image3);
    c.Image4 = spot("Image4", G::Image4);
    c.Image5 = spot("Image5", G::Image5);
    c.islider = spot("islider", G::islider);
    c.islider->setPicture(videoSkin::knob(devicePixelRatioF()));

    c.PicDisplay = new PictureBox(this, QStringLiteral("PicDisplay"), G::PicDisplay.left, G::PicDisplay.top,
                                  G::PicDisplay.width, G::PicDisplay.height, G::VideoBlue());
    c.Label1 = new LabelControl(c.PicDisplay, QStringLiteral("Label1"), G::Label1.left, G::Label1.top,
                                G::Label1.width, G::Label1.height);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    c.Label1->setFont(small);
    QPalette pal = c.Label1->palette();
    pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::HighlightedText));
    c.Label1->setPalette(pal);
    c.Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.Label1->setAutoFillBackground(false); // transparent: the panel's blue shows
    c.Label1->setAutoSize(true);

    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));
    c.Timer1->setInterval(G::TitleIntervalMs);
    c.Timer55 = new QTimer(this);
    c.Timer55->setObjectName(QStringLiteral("Timer55"));
    c.Timer55->setInterval(G::KnobIntervalMs);
    c.Timer55->setTimerType(Qt::PreciseTimer);
}

void video::wireHandlers()
{
    connect(c.Image1, &ImageControl::Click, this, &video::Image1_Click);
    connect(c.Image2, &ImageControl::Click, this, &video::Image2_Click);
    connect(c.Image3, &ImageControl::Click, this, &video::Image3_Click);
    connect(c.Image4, &ImageControl::Click, this, &video::Image4_Click);
    connect(c.Image5, &ImageControl::Click, this, &video::Image5_Click);
    using videoSkin::Command;
    trackPress(c.Image1, Command::Open);
    trackPress(c.Image2, Command::Play);
    trackPress(c.Image3, Command::Pause);
    trackPress(c.Image4, Command::Stop);
    trackPress(c.Image5, Command::Close);
    // A media that fails while it plays stops the player; the title says so
    // and the window goes on.
    connect(c.MediaPlayer1, &MediaPlayerControl::MediaError, this, [this](const Error &error) {
        logFailure("playback", error);
        c.Label1->setCaption(CannotPlayText(c.MediaPlayer1->FileName(), error));
    });
}

// The painted button sinks while its hot spot is held with the left button.
void video::trackPress(ImageControl *spot, videoSkin::Command command)
{
    connect(spot, &ImageControl::MouseDown, this, [this, spot, command](int Button, int, double, double) {
        if (Button != 1)
            return;
        m_pressedCommand = command;
        update(spot->geometry());
    });
    connect(spot, &ImageControl::MouseUp, this, [this, spot](int Button, int, double, double) {
        if (Button != 1)
            return;
        m_pressedCommand = videoSkin::Command::None;
        update(spot->geometry());
    });
}

void video::logFailure(const char *what, const Error &error) const
{
    qWarning("video: %s failed (%d): %s", what, error.number, qUtf8Printable(error.description));
}

void video::showModeless()
{
    show();
    raise();
    activateWindow();
}

double video::Top() const { return Twips::fromPixels(y()); }
double video::Left() const { return Twips::fromPixels(x()); }

// Where the user left the window last time. It starts centred on the screen,
// so a coordinate never saved keeps a sensible place rather than the screen's edge.
void video::Form_Load()
{
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    LoadPosition(this, QLatin1String(SettingsSection));
}

void video::Form_Unload()
{
    SavePosition(this, QLatin1String(SettingsSection));
}

void video::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
    // Unloaded: the next use creates the window anew, even before this one
    // is deleted.
    if (g_video == this)
        g_video = nullptr;
}

// A press on the skin itself (no control took it) moves the window.
void video::Form_MouseDown(int Button, int Shift, double X, double Y)
{
    m_lastDrag = DragWindow(this, Button, m_pressGlobal);
}

void video::mousePressEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    event->accept();
    m_lastDrag = DragOutcome::None;
    m_pressGlobal = event->globalPosition();
    Form_MouseDown(ImageControl::buttonValue(event->button()), ImageControl::shiftValue(event->modifiers()),
                   Twips::fromPixels(pos.x()), Twips::fromPixels(pos.y()));
}

void video::paintEvent(QPaintEvent *)
{
    const qreal dpr = devicePixelRatioF();
    if (m_skin.isNull() || m_skinDpr != dpr) {
        m_skin = videoSkin::background(dpr);
        m_skinDpr = dpr;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_skin);
    if (m_pressedCommand != videoSkin::Command::None)
        videoSkin::drawCommand(p, m_pressedCommand, true);
}

// Open: choose a file and play it; its name without the folder becomes the
// title. A cancelled dialog leaves the playback and the title alone. A file
// that cannot be opened has already stopped what played: the title tells why
// instead of going on with the old name.
void video::Image1_Click()
{
    c.CommonDialog1->setFilter(QString::fromLatin1(VideoFilter));
    c.CommonDialog1->setFileName(QString());
    c.CommonDialog1->ShowOpen();
    const QString chosen = c.CommonDialog1->FileName();
    c.CommonDialog1->setFileName(QString());
    if (chosen.isEmpty())
        return;
    if (Status s = c.MediaPlayer1->setFileName(chosen)) {
        logFailure(qUtf8Printable(QStringLiteral("opening \"%1\"").arg(chosen)), *s);
        c.Label1->setCaption(CannotPlayText(chosen, *s));
        return;
    }
    // The knob and the title's place are left to the timers.
    c.Label1->setCaption(StripPath(chosen));
}

void video::Image2_Click()
{
    if (Status s = c.MediaPlayer1->Play())
        logFailure("play", *s);
}

void video::Image3_Click()
{
    if (Status s = c.MediaPlayer1->Pause())
        logFailure("pause", *s);
}

// Stop rewinds too: the player keeps its place on a stop, and Play after Stop
// starts from the beginning.
void video::Image4_Click()
{
    if (Status s = c.MediaPlayer1->Stop()) {
        logFailure("stop", *s);
        return;
    }
    if (Status s = c.MediaPlayer1->setCurrentPosition(0))
        logFailure("rewind", *s);
}

// Close: save the position, then the window and its player go.
void video::Image5_Click() { close(); }
