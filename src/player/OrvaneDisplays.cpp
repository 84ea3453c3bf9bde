// The elapsed time (compact strip and player) and the title that scrolls
// through the display panel.
//
// Both time displays are written on one one-second tick. While a media plays
// the tick keeps in step with it, firing just after each whole second of the
// media, so the time changes when that second is heard rather than up to a
// second later. The title scroll
// runs only while the title can be seen: not while the window is hidden or
// minimised, nor while its height cuts the panel off; it then resumes from
// where it stopped. Idle, the window wakes a few times a second only.
#include "Orvane.h"

#include "LabelControl.h"
#include "MediaPlayerControl.h"
#include "PictureBox.h"
#include "TimeFormat.h"

#include <QEvent>
#include <QTimer>
#include <functional>

namespace {
// Tells the window when it was shown, hidden, minimised or restored.
class WindowStateWatch : public QObject {
public:
    WindowStateWatch(QWidget *window, std::function<void()> changed)
        : QObject(window), m_changed(std::move(changed))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            // After the event: the window's state is settled by then.
            QTimer::singleShot(0, this, [this] { m_changed(); });
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> m_changed;
};

constexpr double ScrollStep = 50; // twips per tick
constexpr int TickMs = 1000;      // the time displays' tick while nothing plays
} // namespace

void Orvane::wireDisplays()
{
    // Timer4 carries both time displays; Timer5 stays idle.
    c.Timer4->setTimerType(Qt::PreciseTimer);
    connect(c.Timer4, &QTimer::timeout, this, &Orvane::secondTick);
    // Playback starting (or resuming) puts the tick in step at once.
    connect(c.am1, &MediaPlayerControl::PlayStateChanged, this, [this](MediaPlayerControl::PlayState state) {
        if (state == MediaPlayerControl::PlayState::Playing && c.Timer4->isActive())
            c.Timer4->start(c.am1->msToNextSecond(TickMs));
    });
    // A seek (the position knob, a stop's rewind) shows its second as soon as
    // it lands and puts the tick in step with the new place; waiting for the
    // tick would leave the old second up to a second longer.
    connect(c.am1, &MediaPlayerControl::SeekLanded, this, [this] {
        if (c.Timer4->isActive())
            secondTick();
    });
    // So does a media that opens playing, whoever opened it (a double click,
    // Next, Previous, the advance at the end of a song, a list's next entry):
    // one song following another leaves the play state as it was, so nothing
    // else would put the tick on the new song's seconds. One opened stopped,
    // to go on from where it was (the sound output regained), would show its
    // start for a moment: its seek's landing shows it.
    connect(c.am1, &MediaPlayerControl::MediaOpened, this, [this] {
        if (c.am1->playState() == MediaPlayerControl::PlayState::Playing && c.Timer4->isActive())
            secondTick();
    });
    connect(c.Timer7, &QTimer::timeout, this, &Orvane::Timer7_Timer);
    new WindowStateWatch(this, [this] { updateTitleScroll(); });
}

// The three one-second handlers share one wake-up.
void Orvane::secondTick()
{
    Timer4_Timer();
    Timer5_Timer();
    Timer55_Timer();
    c.Timer4->start(c.am1->msToNextSecond(TickMs));
}

// The strip's time, written also while it is hidden, so it is right the
// moment the strip shows it.
void Orvane::Timer4_Timer() { c.toptime->setCaption(FormatElapsed(c.am1->CurrentPosition())); }

void Orvane::Timer5_Timer() { c.Label20->setCaption(FormatElapsed(c.am1->CurrentPosition())); }

// Right to left; once the whole title has left the panel it enters again
// from the right edge.
void Orvane::Timer7_Timer()
{
    c.Label24->setLeft(c.Label24->Left() - ScrollStep);
    if (c.Label24->Left() < -c.Label24->Width())
        c.Label24->setLeft(c.PicDisplay->ScaleWidth());
}

void Orvane::updateTitleScroll()
{
    const bool seen = isVisible() && !isMinimized() && m_heightTwips > c.PicDisplay->Top();
    if (seen && !c.Timer7->isActive())
        c.Timer7->start();
    else if (!seen && c.Timer7->isActive())
        c.Timer7->stop();
}
