#include "Orvane.h"

#include "DragWindow.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaPlayerControl.h"
#include "OrvaneGeometry.h"
#include "OrvaneSkin.h"
#include "SavedPosition.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>

namespace {
QPointer<Orvane> g_instance;
constexpr char SettingsSection[] = "Orvane";
} // namespace

Orvane *Orvane::instance() { return g_instance.data(); }

Orvane::Orvane(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_playlist(nullptr, nullptr)
    , m_lastDrag(DragOutcome::None)
{
    g_instance = this;
    setObjectName(QStringLiteral("Orvane"));
    setWindowTitle(QStringLiteral("Orvane"));
    setWindowIcon(OrvaneSkin::windowIcon());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The window is placed by hand at its design position, the screen's
    // top-left corner, and never centred by the system.
    move(0, 0);
    setFixedSize(Twips::toPixels(OrvaneGeometry::WindowWidth), Twips::toPixels(OrvaneGeometry::DesignHeight));
    m_heightTwips = OrvaneGeometry::DesignHeight;

    createControls();
    m_playlist = PlaylistStore(c.List1, c.lstfavs);
    wireShell();
    wireAddSongs();
    wireKnobs();
    wireVolume();
    wirePlaylist();
    wireTransport();
    wireSongOrder();
    wireDisplays();
    wireModes();

    Form_Load();

    // Timers enabled at design start with the window; TVolum waits for a
    // volume button. Timer4 is the one-second tick of both time displays and
    // the position knob, the strip followers run on each change of height,
    // and the title scroll runs only while the title can be seen
    // (OrvaneDisplays.cpp).
    for (QTimer *t : {c.Timer1, c.Timer4})
        t->start();
}

Orvane::~Orvane()
{
    if (g_instance == this)
        g_instance = nullptr;
}

void Orvane::setHeight(int twips)
{
    m_heightTwips = twips;
    setFixedHeight(std::max(1, Twips::toPixels(twips)));
    followHeight();
}

double Orvane::Top() const { return Twips::fromPixels(y()); }
double Orvane::Left() const { return Twips::fromPixels(x()); }

// Start-up. Each step stands alone: none of them can stop the next.
void Orvane::Form_Load()
{
    // 1. The compact-strip hot spots work only in the strip.
    for (ImageControl *spot : {c.Image5, c.Image6, c.Image7, c.Image8, c.Image16})
        spot->setEnabled(false);
    // 2. Strip picture and time, both pop-ups and both lamps start hidden.
    c.toptime->setVisible(false);
    c.toppic->setVisible(false);
    c.filebar->setVisible(false);
    c.listbar->setVisible(false);
    c.shuffleon->setVisible(false);
    c.repeaton->setVisible(false);
    // 3. Normal play order.
    c.optrnd->setChecked(false);
    c.optres->setChecked(true);
    // 4. The pressed playlist button waits for a press.
    c.pldown->setVisible(false);
    // 5. The player.
    setHeight(OrvaneGeometry::HeightPlayer);
    // 6. Where the user left the window last time.
    LoadPosition(this, QLatin1String(SettingsSection));
}

void Orvane::Form_Unload()
{
    SavePosition(this, QLatin1String(SettingsSection));
}

void Orvane::closeEvent(QCloseEvent *event)
{
    // A close from outside (the taskbar, the window manager) unloads the
    // window like the close spot does; the program then ends only when its
    // last visible window is gone.
    Form_Unload();
    event->accept();
}

void Orvane::paintEvent(QPaintEvent *)
{
    const qreal dpr = devicePixelRatioF();
    if (m_skin.isNull() || m_skinDpr != dpr) {
        m_skin = OrvaneSkin::background(dpr);
        m_skinDpr = dpr;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_skin);
}

void Orvane::mousePressEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    event->accept();
    m_lastDrag = DragOutcome::None;
    // Form_MouseDown decides; it needs the global press point for a manual move.
    m_pressGlobal = event->globalPosition();
    Form_MouseDown(ImageControl::buttonValue(event->button()), ImageControl::shiftValue(event->modifiers()),
                   Twips::fromPixels(pos.x()), Twips::fromPixels(pos.y()));
}
