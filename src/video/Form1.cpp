#include "Form1.h"

#include "FileDialogControl.h"
#include "MediaPlayerControl.h"
#include "ProgramEnd.h"
#include "Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {
QPointer<Form1> g_form1;

// The design client area, below the menu bar.
constexpr int DesignClientWidth = 5475;
constexpr int DesignClientHeight = 4650;
// The logo keeps its own size.
constexpr double PictureWidth = 5535;
constexpr double PictureHeight = 3375;
// What the player leaves of the window's outer size.
constexpr double WidthAllowance = 100;
constexpr double HeightAllowance = 900;
// The logo's centre lies this far above the middle of the window's height.
constexpr double PictureRaise = 900;

const char MediaFilter[] = "All Supported Formats|*.mp3;*.wma;*.wav;*.asf;*.asx;*.lsf;*.lsx;*.mid;*.midi;*.rmi;"
                           "*.aif;*.aifc;*.aiff;*.au;*.snd;*.avi;*.mpeg;*.dat;*.mov;*.rm";

// Whole minutes and seconds of a time in seconds, without overflow for any length.
QString minutesSeconds(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    const long long whole = static_cast<long long>(seconds);
    return QStringLiteral("%1:%2")
        .arg(whole / 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}
} // namespace

Form1 &Form1::instance()
{
    if (!g_form1) {
        g_form1 = new Form1();
        static bool hooked = false;
        if (!hooked && qApp) {
            hooked = true;
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, &Form1::discard);
        }
    }
    return *g_form1;
}

Form1 *Form1::loaded() { return g_form1.data(); }

void Form1::discard()
{
    delete g_form1.data();
    g_form1 = nullptr;
}

Form1::Form1()
    : QMainWindow(nullptr)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("媒体播放器"));
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    createMenus();
    // The design size: the client area below the menu bar.
    resize(Twips::toPixels(DesignClientWidth),
           Twips::toPixels(DesignClientHeight) + menuBar()->sizeHint().height());
    // Places the client area now, so the load already sees its size.
    layout()->activate();
    Form_Load();
}

Form1::~Form1()
{
    if (g_form1 == this)
        g_form1 = nullptr;
}

void Form1::createControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);

    c.mmplay = new MediaPlayerControl(m_client);
    c.mmplay->setObjectName(QStringLiteral("mmplay"));
    c.mmplay->applyDesign(MediaPlayerControl::mmplayDesign());
    m_mmplay = QRectF(0, 120, 5535, 4455);
    placePlayer();

    // The logo lies above the player, over its upper part.
    c.Picture1 = new QLabel(m_client);
    c.Picture1->setObjectName(QStringLiteral("Picture1"));
    c.Picture1->setAutoFillBackground(true);
    QPalette pal = c.Picture1->palette();
    pal.setColor(QPalette::Window, Qt::black);
    c.Picture1->setPalette(pal);
    c.Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.Picture1->setPixmap(logo(devicePixelRatioF()));
    m_picture = QRectF(0, 120, PictureWidth, PictureHeight);
    placePicture();

    c.cd1 = new FileDialogControl(this);
    c.cd1->setObjectName(QStringLiteral("cd1"));

    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));
    c.Timer1->setInterval(1000);
    connect(c.Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);

    connect(c.mmplay, &MediaPlayerControl::MediaError, this,
            [this](const Error &error) { logFailure("playback", error); });
}

void Form1::createMenus()
{
    auto item = [this](QMenu *menu, const char *name, const char *caption, const QKeySequence &shortcut) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        return a;
    };
    c.file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    c.file->setObjectName(QStringLiteral("file"));
    c.openfile = item(c.file, "openfile", "打开文件(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O));
    c.opendvd = item(c.file, "opendvd", "打开(&D)VD", QKeySequence(Qt::CTRL | Qt::Key_D));
    c.close = item(c.file, "close", "关闭(&C)", QKeySequence(Qt::CTRL | Qt::Key_C));
    c.dfdf = c.file->addSeparator();
    c.dfdf->setObjectName(QStringLiteral("dfdf"));
    c.exit = item(c.file, "exit", "退出(&E)", QKeySequence(Qt::CTRL | Qt::Key_F4));

    c.men_play = menuBar()->addMenu(QStringLiteral("播放(&U)"));
    c.men_play->setObjectName(QStringLiteral("men_play"));
    c.play = item(c.men_play, "play", "播放(&P)...", QKeySequence(Qt::CTRL | Qt::Key_P));
    c.pause = item(c.men_play, "pause", "暂停(&E)...", QKeySequence(Qt::CTRL | Qt::Key_E));
    c.fast_f = item(c.men_play, "fast_f", "快进(&F)...", QKeySequence(Qt::CTRL | Qt::Key_F));
    c.fast_t = item(c.men_play, "fast_t", "快退(&T)...", QKeySequence(Qt::CTRL | Qt::Key_T));
    c.stop = item(c.men_play, "stop", "停止(&S)...", QKeySequence(Qt::CTRL | Qt::Key_S));

    c.navi = menuBar()->addMenu(QStringLiteral("导航(&N)"));
    c.navi->setObjectName(QStringLiteral("navi"));
    c.pre = item(c.navi, "pre", "上一段(&U)", QKeySequence(Qt::CTRL | Qt::Key_U));
    c.next = item(c.navi, "next", "下一段(&N)", QKeySequence(Qt::CTRL | Qt::Key_N));

    // "打开(&D)VD" has no handler.
    // The logo is checked on every new media, however it was opened (the
    // next entry of a list too), and when the media closes.
    connect(c.mmplay, &MediaPlayerControl::MediaOpened, this, &Form1::showLogoUnlessVideo);
    connect(c.mmplay, &MediaPlayerControl::PlayStateChanged, this, &Form1::showLogoUnlessVideo);
    connect(c.openfile, &QAction::triggered, this, &Form1::openfile_Click);
    connect(c.close, &QAction::triggered, this, &Form1::close_Click);
    connect(c.exit, &QAction::triggered, this, &Form1::exit_Click);
    connect(c.play, &QAction::triggered, this, &Form1::play_Click);
    connect(c.pause, &QAction::triggered, this, &Form1::pause_Click);
    connect(c.fast_f, &QAction::triggered, this, &Form1::fast_f_Click);
    connect(c.fast_t, &QAction::triggered, this, &Form1::fast_t_Click);
    connect(c.stop, &QAction::triggered, this, &Form1::stop_Click);
    connect(c.pre, &QAction::triggered, this, &Form1::pre_Click);
    connect(c.next, &QAction::triggered, this, &Form1::next_Click);
}

void Form1::logFailure(const char *what, const Error &error) const
{
    qWarning("Form1: %s failed (%d): %s", what, error.number, qUtf8Printable(error.description));
}

double Form1::ScaleWidth() const { return Twips::fromPixels(m_client->width()); }
double Form1::ScaleHeight() const { return Twips::fromPixels(m_client->height()); }

// The window's outer size, what the layout follows: the window with its menu
// bar, grown by the frame that the window system reports now (the widget's
// own copy of the frame can lag behind a frame that came late). Where no frame
// is known, before the window exists or without a window manager, the window
// with its menu bar is the outer size: the least it can be; a frame that
// comes later re-runs the layout (moveEvent).
QSizeF Form1::outerTwips() const
{
    const QWindow *window = windowHandle();
    const QSize outer = window ? size().grownBy(window->frameMargins()) : size();
    return QSizeF(outer) * Twips::PerPixel;
}

// Places the player from its twips; a window smaller than the allowances
// gives it no room rather than a negative size.
void Form1::placePlayer()
{
    m_mmplay.setWidth(std::max(0.0, m_mmplay.width()));
    m_mmplay.setHeight(std::max(0.0, m_mmplay.height()));
    c.mmplay->setGeometry(Twips::toPixels(m_mmplay));
}

void Form1::placePicture() { c.Picture1->setGeometry(Twips::toPixels(m_picture)); }

// Created: centred on the screen, the player as wide as the window allows.
void Form1::Form_Load()
{
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    m_mmplay.setWidth(outerTwips().width() - WidthAllowance);
    m_mmplay.moveTop(0);
    placePlayer();
}

// The player takes the window's outer size less the allowances; the logo
// keeps its size, centred across the outer width and raised above the middle
// of the outer height. Minimised, nothing changes and the layout returns with
// the window.
void Form1::Form_Resize()
{
    if (windowState() & Qt::WindowMinimized)
        return;
    const QSizeF outer = outerTwips();
    const double w = outer.width();
    const double h = outer.height();
    m_mmplay.setWidth(w - WidthAllowance);
    m_mmplay.moveTop(0);
    m_mmplay.setHeight(h - HeightAllowance);
    placePlayer();
    m_picture.moveTop(h / 2 - m_picture.height() / 2 - PictureRaise);
    m_picture.moveLeft(w / 2 - m_picture.width() / 2);
    placePicture();
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// A window manager frames the window after it is shown, and its frame comes
// as a move of the window alone, without a resize; a plain move leaves the
// layout as it is.
void Form1::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    Form_Resize();
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    Form_Resize();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

// Closed through its title bar: the window and its player go; the program
// goes on while another window is open.
void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (g_form1 == this)
        g_form1 = nullptr;
}

// Nothing enables this timer; it composes the times and shows them nowhere.
void Form1::Timer1_Timer()
{
    m_timeText = minutesSeconds(c.mmplay->CurrentPosition()) + QLatin1Char('/')
        + minutesSeconds(c.mmplay->Duration());
}

// Choose a file and play it. A cancelled dialog changes nothing, also after a
// file was chosen before; a file the player cannot open is passed over.
void Form1::openfile_Click()
{
    c.cd1->setFilter(QString::fromLatin1(MediaFilter));
    const QString previous = c.cd1->FileName();
    c.cd1->setFileName(QString());
    c.cd1->ShowOpen();
    const QString chosen = c.cd1->FileName();
    if (chosen.isEmpty()) {
        c.cd1->setFileName(previous);
        return;
    }
    if (Status s = c.mmplay->setFileName(chosen))
        logFailure(qUtf8Printable(QStringLiteral("opening \"%1\"").arg(chosen)), *s);
    else if (Status s = c.mmplay->Play())
        logFailure("play", *s);
}

void Form1::close_Click()
{
    if (Status s = c.mmplay->CloseMedia())
        logFailure("close", *s);
}

// The logo stands over the upper part of the player, where a film shows:
// it gives way while the open media has a picture and returns after.
void Form1::showLogoUnlessVideo() { c.Picture1->setVisible(!c.mmplay->HasVideo()); }

// Ends the whole program at once; no window saves its position.
void Form1::exit_Click() { EndProgram(); }

void Form1::play_Click()
{
    if (Status s = c.mmplay->Play())
        logFailure("play", *s);
}

void Form1::pause_Click()
{
    if (Status s = c.mmplay->Pause())
        logFailure("pause", *s);
}

// Fast forward and rewind are offered in the menu and do nothing.
void Form1::fast_f_Click() {}
void Form1::fast_t_Click() {}

// Stop rewinds too: the player keeps its place on a stop.
void Form1::stop_Click()
{
    if (Status s = c.mmplay->Stop()) {
        logFailure("stop", *s);
        return;
    }
    if (Status s = c.mmplay->setCurrentPosition(0))
        logFailure("rewind", *s);
}

// The previous entry is offered in the menu and does nothing.
void Form1::pre_Click() {}

void Form1::next_Click()
{
    if (Status s = c.mmplay->NextEntry())
        logFailure("next entry", *s);
}
