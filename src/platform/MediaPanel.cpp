#include "MediaPanel.h"

#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QTextDocument>
#include <QToolButton>

#include <cmath>

namespace {
constexpr int kButtonRow = 24;
constexpr int kStatusRow = 18;
constexpr int kTrackerSteps = 1000;

QToolButton *makeButton(QWidget *parent, QStyle::StandardPixmap icon, const QString &tip)
{
    auto *b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
} // namespace

MediaPanel::MediaPanel(MediaPlayerControl *control)
    : QWidget(control)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    m_play = makeButton(this, QStyle::SP_MediaPlay, tr("Play"));
    m_pause = makeButton(this, QStyle::SP_MediaPause, tr("Pause"));
    m_stop = makeButton(this, QStyle::SP_MediaStop, tr("Stop"));
    connect(m_play, &QToolButton::clicked, this, &MediaPanel::playClicked);
    connect(m_pause, &QToolButton::clicked, this, &MediaPanel::pauseClicked);
    connect(m_stop, &QToolButton::clicked, this, &MediaPanel::stopClicked);

    m_tracker = new QSlider(Qt::Horizontal, this);
    m_tracker->setRange(0, kTrackerSteps);
    m_tracker->setFocusPolicy(Qt::NoFocus);
    m_tracker->setPageStep(kTrackerSteps / 10);
    // A click on the groove seeks at once; a drag seeks when released.
    connect(m_tracker, &QSlider::valueChanged, this, [this](int v) {
        if (!m_updating && !m_tracker->isSliderDown())
            Q_EMIT seekRequested(double(v) / kTrackerSteps);
    });
    connect(m_tracker, &QSlider::sliderReleased, this,
            [this] { Q_EMIT seekRequested(double(m_tracker->value()) / kTrackerSteps); });

    m_status = new QLabel(this);
    m_time = new QLabel(this);
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel *l : {m_status, m_time}) {
        l->setTextFormat(Qt::PlainText); // a reason may quote a file name
        QFont f = l->font();
        f.setPixelSize(11);
        l->setFont(f);
    }

    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (visibleRegion().isEmpty())
            m_timer.stop(); // moved out of sight: nothing to keep up to date
        else
            refresh();
    });
    setState(MediaPlayerControl::PlayState::Closed);
}

void MediaPanel::setParts(bool buttons, bool tracker, bool statusBar)
{
    m_buttons = buttons;
    m_trackerOn = tracker;
    m_statusOn = statusBar;
    m_play->setVisible(buttons);
    m_pause->setVisible(buttons);
    m_stop->setVisible(buttons);
    m_tracker->setVisible(tracker);
    m_status->setVisible(statusBar);
    m_time->setVisible(statusBar);
    if (parentWidget())
        place(parentWidget()->rect());
    refresh();
    updateTimer();
}

void MediaPanel::setSource(std::function<double()> position, std::function<double()> duration)
{
    m_position = std::move(position);
    m_duration = std::move(duration);
}

int MediaPanel::stripHeight(bool buttons, bool tracker, bool statusBar)
{
    return ((buttons || tracker) ? kButtonRow : 0) + (statusBar ? kStatusRow : 0);
}

void MediaPanel::place(const QRect &controlRect)
{
    const int h = std::min(stripHeight(m_buttons, m_trackerOn, m_statusOn), controlRect.height());
    setVisible(h > 0);
    setGeometry(controlRect.left(), controlRect.bottom() + 1 - h, controlRect.width(), h);

    int x = 2;
    const int row = (m_buttons || m_trackerOn) ? kButtonRow : 0;
    if (m_buttons) {
        for (QToolButton *b : {m_play, m_pause, m_stop}) {
            b->setGeometry(x, 1, kButtonRow - 2, kButtonRow - 2);
            x += kButtonRow - 1;
        }
        x += 4;
    }
    if (m_trackerOn)
        m_tracker->setGeometry(x, 2, std::max(0, width() - x - 4), kButtonRow - 4);
    if (m_statusOn) {
        // A reason for a failure needs the room; nothing is open then, so
        // there is no time to show.
        const bool wide = !m_note.isEmpty() && m_state == MediaPlayerControl::PlayState::Closed;
        m_status->setGeometry(4, row, wide ? width() - 8 : width() / 2 - 4, kStatusRow);
        m_time->setGeometry(width() / 2, row, width() / 2 - 4, kStatusRow);
    }
}

void MediaPanel::setState(MediaPlayerControl::PlayState state)
{
    m_state = state;
    using S = MediaPlayerControl::PlayState;
    m_play->setEnabled(state != S::Closed && state != S::Playing);
    m_pause->setEnabled(state == S::Playing);
    m_stop->setEnabled(state == S::Playing || state == S::Paused);
    m_tracker->setEnabled(state != S::Closed);
    refresh();
    updateTimer();
}

void MediaPanel::setNote(const QString &note)
{
    m_note = note;
    // Tool tips take markup whenever the text looks like it: a file name in
    // the reason must show as it is.
    m_status->setToolTip(note.isEmpty() ? QString() : Qt::convertFromPlainText(note, Qt::WhiteSpacePre));
    if (parentWidget())
        place(parentWidget()->rect());
    refresh();
}

void MediaPanel::setShown(bool shown)
{
    m_shown = shown;
    updateTimer();
}

void MediaPanel::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    updateTimer();
}

// The only timer of the control: runs while playing, with something to show,
// and only where the strip can actually be seen (the main window keeps its
// control below its bottom edge).
void MediaPanel::updateTimer()
{
    const bool want = m_state == MediaPlayerControl::PlayState::Playing && m_shown
        && (m_trackerOn || m_statusOn) && isVisible() && !visibleRegion().isEmpty();
    if (want && !m_timer.isActive())
        m_timer.start();
    else if (!want)
        m_timer.stop();
}

QString MediaPanel::timeText(double seconds)
{
    const long long s = std::llround(std::max(0.0, seconds));
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

void MediaPanel::refresh()
{
    if (!m_trackerOn && !m_statusOn)
        return;
    const double pos = m_position ? m_position() : 0.0;
    const double len = m_duration ? m_duration() : 0.0;
    if (m_trackerOn && !m_tracker->isSliderDown()) {
        m_updating = true;
        m_tracker->setValue(len > 0 ? int(std::lround(pos / len * kTrackerSteps)) : 0);
        m_updating = false;
    }
    if (m_statusOn) {
        using S = MediaPlayerControl::PlayState;
        if (!m_note.isEmpty()) {
            m_status->setText(m_note);
        } else {
            switch (m_state) {
            case S::Playing: m_status->setText(tr("Playing")); break;
            case S::Paused: m_status->setText(tr("Paused")); break;
            case S::Stopped: m_status->setText(tr("Stopped")); break;
            case S::Closed: m_status->setText(tr("Ready")); break;
            }
        }
        m_time->setText(m_state == S::Closed ? QString()
                                             : timeText(pos) + QLatin1String(" / ") + timeText(len));
    }
}
