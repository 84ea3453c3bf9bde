#include "MediaPlayerControl.h"

#include "MediaPipeline.h"
#include "MediaEntries.h"
#include "MediaPanel.h"
#include "PathUtil.h"
#include "TimeFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

#include <cmath>

namespace {
QString &audioSinkDescriptionStore()
{
    static QString description;
    return description;
}

constexpr int kPrerollMs = 2000;
// A load still pending after the preroll wait gets this much longer to come
// up before it counts as failed: a slow device makes it, a broken file that
// left the demuxer waiting never would.
constexpr int kLateLoadMs = 8000;
// A seek's target stands for the position until the seek lands; if it never
// does, the knob goes back to what the pipeline reports after this long.
constexpr int kSeekSettleMs = 3000;
constexpr long kQuietest = -10000;
constexpr long kBalanceLimit = 10000;

// Hundredths of a decibel to a linear factor.
double amplitude(long volume)
{
    return std::pow(10.0, double(volume) / 2000.0);
}

Error noMedia()
{
    return Error{ErrorNumber::MediaError, QStringLiteral("No media is open")};
}
} // namespace

struct MediaPlayerControl::Private {
    DesignSettings design;
    QString fileName;
    long volume = 0;
    long balance = 0;
    PlayState state = PlayState::Closed;
    QString audioSink;            // taken from the seam when the control is made
    MediaPipeline *pipe = nullptr; // the open media; disposed through MediaPipeline::dispose
    double duration = 0;
    double pendingSeek = -1;       // reported as the position until the seek lands
    bool atEnd = false;            // played to its end; Play starts over
    bool endReported = false;      // EndOfStream already raised for this play-through
    MediaPanel *panel = nullptr;   // own buttons, tracker and status line, made when first seen
    bool panelPending = false;
    QTimer lateLoad;               // bounds a load that outlasted the preroll wait
    QTimer seekSettle;             // bounds how long pendingSeek may stand
    QString uri;                   // of the open media, to open it afresh
    QString note;                  // what the status line says instead of the state, "" for none
    QStringList entries;           // the local files of the open media (several for a list)
    int entry = 0;                 // the one playing

    int stripHeight() const
    {
        return MediaPanel::stripHeight(design.ShowControls, design.ShowControls && design.ShowTracker,
                                       design.ShowStatusBar);
    }
};

namespace {
// The three instances differ only in loudness, balance and the status line.
MediaPlayerControl::DesignSettings designWith(long volume, long balance, bool statusBar)
{
    MediaPlayerControl::DesignSettings s;
    s.Volume = volume;
    s.Balance = balance;
    s.ShowStatusBar = statusBar;
    return s;
}
} // namespace

MediaPlayerControl::DesignSettings MediaPlayerControl::am1Design() { return designWith(-360, 0, false); }
MediaPlayerControl::DesignSettings MediaPlayerControl::mediaPlayer1Design() { return designWith(-780, 30, false); }
MediaPlayerControl::DesignSettings MediaPlayerControl::mmplayDesign() { return designWith(-600, 0, true); }

// Nothing of GStreamer happens here: a window that never plays pays nothing.
MediaPlayerControl::MediaPlayerControl(QWidget *parent)
    : QWidget(parent), d(std::make_unique<Private>())
{
    d->audioSink = audioSinkDescriptionStore();
    d->lateLoad.setSingleShot(true);
    d->lateLoad.setInterval(kLateLoadMs);
    connect(&d->lateLoad, &QTimer::timeout, this,
            [this] { onFailed(QStringLiteral("The media did not open in time")); });
    d->seekSettle.setSingleShot(true);
    d->seekSettle.setInterval(kSeekSettleMs);
    connect(&d->seekSettle, &QTimer::timeout, this, [this] { d->pendingSeek = -1; });
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    applyDesign(DesignSettings{});
}

// Shown on a shown window, yet clipped away entirely by the widgets it lies
// in: the main window's instance, which lies below its window's bottom edge.
// A control not shown yet may be about to be, so it counts as in sight; so
// does one that a sibling covers for now (the menu player's logo, which gives
// way once a film is open), and its own strip of buttons does not hide it.
bool MediaPlayerControl::isOutOfSight() const
{
    if (!isVisible())
        return false;
    QRect area = rect();
    const QWidget *child = this;
    for (const QWidget *parent = parentWidget(); parent; child = parent, parent = parent->parentWidget()) {
        area = QRect(child->mapToParent(area.topLeft()), area.size()).intersected(parent->rect());
        if (area.isEmpty() || parent->isWindow())
            break;
    }
    return area.isEmpty();
}

// The on-screen controls are made the first time the control is painted:
// the main window's instance lies below its window's edge, is never painted,
// and so never pays for them.
void MediaPlayerControl::ensurePanel()
{
    d->panelPending = false;
    if (d->panel || d->stripHeight() == 0)
        return;
    d->panel = new MediaPanel(this);
    connect(d->panel, &MediaPanel::playClicked, this, [this] { (void)Play(); });
    connect(d->panel, &MediaPanel::pauseClicked, this, [this] { (void)Pause(); });
    connect(d->panel, &MediaPanel::stopClicked, this, [this] { (void)Stop(); });
    connect(d->panel, &MediaPanel::seekRequested, this,
            [this](double fraction) { (void)setCurrentPosition(fraction * Duration()); });
    d->panel->setSource([this] { return CurrentPosition(); }, [this] { return Duration(); });
    d->panel->setParts(d->design.ShowControls, d->design.ShowControls && d->design.ShowTracker,
                       d->design.ShowStatusBar);
    d->panel->setState(d->state);
    d->panel->setNote(d->note);
    d->panel->place(rect());
    d->panel->setShown(isVisible());
}

MediaPlayerControl::~MediaPlayerControl()
{
    MediaPipeline::dispose(std::exchange(d->pipe, nullptr));
}

void MediaPlayerControl::setAudioSinkDescription(const QString &description)
{
    audioSinkDescriptionStore() = description;
}

void MediaPlayerControl::applyDesign(const DesignSettings &settings)
{
    d->design = settings;
    d->volume = std::clamp(settings.Volume, kQuietest, 0L);
    d->balance = std::clamp(settings.Balance, -kBalanceLimit, kBalanceLimit);
    if (d->pipe) {
        d->pipe->setAmplitude(amplitude(d->volume));
        d->pipe->setPanorama(double(d->balance) / double(kBalanceLimit));
    }
    if (d->panel) {
        d->panel->setParts(settings.ShowControls, settings.ShowControls && settings.ShowTracker,
                           settings.ShowStatusBar);
        d->panel->place(rect());
    }
    update();
}

const MediaPlayerControl::DesignSettings &MediaPlayerControl::design() const
{
    return d->design;
}

void MediaPlayerControl::setState(PlayState state)
{
    if (d->state == state)
        return;
    d->state = state;
    if (d->panel)
        d->panel->setState(state);
    if (d->pipe)
        d->pipe->setFramesWanted(isVisible());
    Q_EMIT PlayStateChanged(state);
}

void MediaPlayerControl::showNote(const QString &note)
{
    d->note = note;
    if (d->panel)
        d->panel->setNote(note);
}

Status MediaPlayerControl::failOpen(const Error &error)
{
    setState(PlayState::Closed);
    showNote(tr("Error: %1").arg(error.description));
    return error;
}

void MediaPlayerControl::closePipeline()
{
    d->lateLoad.stop();
    d->seekSettle.stop();
    MediaPipeline::dispose(std::exchange(d->pipe, nullptr));
    d->duration = 0;
    d->pendingSeek = -1;
    d->atEnd = false;
    d->endReported = false;
    update();
}

Status MediaPlayerControl::setFileName(const QString &name)
{
    closePipeline();
    d->fileName = name;
    d->entries.clear();
    d->entry = 0;
    showNote(QString());
    if (name.isEmpty()) {
        setState(PlayState::Closed);
        return std::nullopt;
    }
    const auto fail = [this](const Error &e) { return failOpen(e); };

    if (name.compare(QLatin1String("CDAUDIO:"), Qt::CaseInsensitive) == 0)
        return openUri(QStringLiteral("cdda://1"), d->design.AutoStart);

    const QFileInfo info(QDir::current(), name);
    // GStreamer's file source would block the window in open() on a pipe and
    // read a device for ever: only a regular file goes any further.
    switch (pathKind(info.absoluteFilePath())) {
    case PathKind::Missing:
        return fail(Error{ErrorNumber::FileNotFound, QStringLiteral("File not found")});
    case PathKind::Folder:
        return fail(Error{ErrorNumber::MediaError, QStringLiteral("A folder is not a media file")});
    case PathKind::SpecialFile:
        return fail(Error{ErrorNumber::MediaError, QStringLiteral("A pipe or device is not a media file")});
    case PathKind::RegularFile:
        break;
    }
    if (!info.isReadable())
        return fail(Error{ErrorNumber::PermissionDenied, QStringLiteral("Permission denied")});
    if (MediaEntries::isEntryList(info.absoluteFilePath())) {
        d->entries = MediaEntries::read(info.absoluteFilePath());
        if (d->entries.isEmpty())
            return fail(Error{ErrorNumber::MediaError, QStringLiteral("The list names no media that can be played")});
    } else {
        d->entries = QStringList{info.absoluteFilePath()};
    }
    return openEntry(0, d->design.AutoStart);
}

Status MediaPlayerControl::openEntry(int index, bool play)
{
    d->entry = index;
    MediaPipeline::ensureGstreamer();
    gsth::GChars uri(gst_filename_to_uri(QFile::encodeName(d->entries.at(index)).constData(), nullptr));
    if (!uri)
        return failOpen(Error{ErrorNumber::BadFileName, QStringLiteral("Bad file name")});
    return openUri(QString::fromUtf8(uri.get()), play);
}

Status MediaPlayerControl::openUri(const QString &uri, bool play)
{
    closePipeline();
    Error error;
    MediaPipeline *pipe = MediaPipeline::open(uri, d->audioSink, !isOutOfSight(), amplitude(d->volume),
                                              double(d->balance) / double(kBalanceLimit), kPrerollMs, &error);
    if (!pipe)
        return failOpen(error);
    d->pipe = pipe;
    d->uri = uri;
    pipe->setFramesWanted(isVisible());
    connect(pipe, &MediaPipeline::endOfStream, this, &MediaPlayerControl::onEndOfStream);
    connect(pipe, &MediaPipeline::failed, this, &MediaPlayerControl::onFailed);
    connect(pipe, &MediaPipeline::outputLost, this, &MediaPlayerControl::onOutputLost);
    connect(pipe, &MediaPipeline::durationChanged, this, [this] { d->duration = 0; });
    connect(pipe, &MediaPipeline::asyncDone, this, [this] {
        const bool seekLanded = d->pendingSeek >= 0;
        d->pendingSeek = -1;
        d->seekSettle.stop();
        if (d->lateLoad.isActive()) { // the load came up after all
            d->lateLoad.stop();
            showNote(QString());
            if (d->panel)
                d->panel->refresh();
        }
        if (seekLanded)
            Q_EMIT SeekLanded();
    });
    connect(pipe, &MediaPipeline::frameReady, this, [this] { update(); });
    connect(pipe, &MediaPipeline::seekRefused, this, [this] {
        if (const Status s = reopenAfterRefusedSeek())
            Q_EMIT MediaError(*s);
    });
    d->duration = pipe->duration();
    if (!pipe->prerolled()) {
        d->lateLoad.start();
        showNote(tr("Opening"));
    }

    if (play) {
        pipe->setPlaying(true);
        setState(PlayState::Playing);
    } else {
        setState(PlayState::Stopped);
    }
    if (d->panel)
        d->panel->refresh();
    Q_EMIT MediaOpened();
    return std::nullopt;
}

// Moves on to the next entry of a list that can be opened. False when there
// is none left.
bool MediaPlayerControl::advanceEntry(bool play, Status *lastError)
{
    for (int next = d->entry + 1; next < d->entries.size(); ++next) {
        const Status s = openEntry(next, play);
        if (!s)
            return true;
        if (lastError)
            *lastError = s;
    }
    return false;
}

QString MediaPlayerControl::FileName() const
{
    return d->fileName;
}

double MediaPlayerControl::Duration() const
{
    if (!d->pipe)
        return 0.0;
    if (d->duration <= 0)
        d->duration = d->pipe->duration();
    return d->duration;
}

double MediaPlayerControl::CurrentPosition() const
{
    if (!d->pipe)
        return 0.0;
    if (d->pendingSeek >= 0)
        return d->pendingSeek;
    double p = d->pipe->position();
    const double len = Duration();
    if (len > 0 && p > len)
        p = len;
    return p;
}

int MediaPlayerControl::msToNextSecond(int idleMs) const
{
    // A little past the second, so the position read then has passed it.
    constexpr int kMarginMs = 25;
    if (!d->pipe || d->state != PlayState::Playing || d->pendingSeek >= 0)
        return idleMs;
    return MsToNextWholeSecond(CurrentPosition(), kMarginMs);
}

Status MediaPlayerControl::setCurrentPosition(double seconds)
{
    if (!d->pipe)
        return noMedia();
    if (!std::isfinite(seconds) || seconds < 0)
        return Error{ErrorNumber::InvalidPropertyValue, QStringLiteral("Invalid property value")};
    const double len = Duration();
    if (len > 0 && seconds > len)
        seconds = len;
    return seekTo(seconds);
}

Status MediaPlayerControl::seekTo(double seconds)
{
    const Error cannotSeek{ErrorNumber::MediaError, QStringLiteral("The media cannot seek")};
    switch (d->pipe->seek(seconds)) {
    case MediaPipeline::SeekResult::Done:
        d->pendingSeek = seconds;
        d->seekSettle.start();
        d->atEnd = false;
        d->endReported = false;
        return std::nullopt;
    case MediaPipeline::SeekResult::NotSeekable:
        return cannotSeek; // playback goes on untouched
    case MediaPipeline::SeekResult::Failed:
        break;
    }
    if (const Status reopened = reopenAfterRefusedSeek())
        return reopened;
    return cannotSeek;
}

// The demuxer refused only after flushing, which leaves some pipelines
// stalled for good: open the media afresh, playing as it was.
Status MediaPlayerControl::reopenAfterRefusedSeek()
{
    return openUri(d->uri, d->state == PlayState::Playing);
}

long MediaPlayerControl::Volume() const
{
    return d->volume;
}

Status MediaPlayerControl::setVolume(long volume)
{
    if (volume > 0 || volume < kQuietest)
        return Error{ErrorNumber::InvalidPropertyValue, QStringLiteral("Invalid property value")};
    d->volume = volume;
    if (d->pipe)
        d->pipe->setAmplitude(amplitude(volume));
    return std::nullopt;
}

long MediaPlayerControl::Balance() const
{
    return d->balance;
}

// A knob dragged past its end asks for more than full left or right: it gets
// full left or right, not an error.
Status MediaPlayerControl::setBalance(long balance)
{
    d->balance = std::clamp(balance, -kBalanceLimit, kBalanceLimit);
    if (d->pipe)
        d->pipe->setPanorama(double(d->balance) / double(kBalanceLimit));
    return std::nullopt;
}

Status MediaPlayerControl::Play()
{
    if (!d->pipe)
        return noMedia();
    // A paused media whose sound server went away would go on silently.
    MediaPipeline::releaseLostOutputs();
    if (d->atEnd && d->entries.size() > 1) // a list starts over from its first entry
        return openEntry(0, true);
    if (d->pipe->released())
        return reopenAt(d->atEnd ? 0.0 : CurrentPosition());
    if (d->atEnd) {
        if (d->pipe->seek(0) != MediaPipeline::SeekResult::Done)
            return openUri(d->uri, true); // cannot rewind: start it afresh
        d->atEnd = false;
        d->endReported = false;
    }
    if (!d->pipe->setPlaying(true))
        return Error{ErrorNumber::MediaError, QStringLiteral("The media cannot be played")};
    setState(PlayState::Playing);
    return std::nullopt;
}

// The media gave its sound output back when the sound server went away.
// Opened afresh it reaches whatever server runs now, and goes on from where
// it was.
Status MediaPlayerControl::reopenAt(double seconds)
{
    showNote(QString());
    if (const Status s = openUri(d->uri, false))
        return s;
    if (seconds > 0)
        (void)seekTo(seconds); // one that cannot seek starts over
    if (!d->pipe->setPlaying(true))
        return Error{ErrorNumber::MediaError, QStringLiteral("The media cannot be played")};
    setState(PlayState::Playing);
    return std::nullopt;
}

Status MediaPlayerControl::Pause()
{
    if (!d->pipe || d->state != PlayState::Playing)
        return std::nullopt;
    if (!d->pipe->setPlaying(false))
        return Error{ErrorNumber::MediaError, QStringLiteral("The media cannot be paused")};
    setState(PlayState::Paused);
    return std::nullopt;
}

// Stop keeps the position: the windows write 0 themselves when they want
// to rewind, and a seek between Stop and Play is a common pattern.
Status MediaPlayerControl::Stop()
{
    if (!d->pipe)
        return std::nullopt;
    if (!d->pipe->setPlaying(false))
        return Error{ErrorNumber::MediaError, QStringLiteral("The media cannot be stopped")};
    setState(PlayState::Stopped);
    return std::nullopt;
}

Status MediaPlayerControl::CloseMedia()
{
    closePipeline();
    showNote(QString());
    setState(PlayState::Closed);
    return std::nullopt;
}

// Skips to the next entry of a list, keeping playing or stopped as it was.
// On the last entry, or on single media, there is nothing to move to.
Status MediaPlayerControl::NextEntry()
{
    if (!d->pipe || d->entry + 1 >= d->entries.size())
        return std::nullopt;
    Status error;
    if (advanceEntry(d->state == PlayState::Playing, &error))
        return std::nullopt;
    return error;
}

MediaPlayerControl::PlayState MediaPlayerControl::playState() const
{
    return d->state;
}

bool MediaPlayerControl::HasVideo() const
{
    return d->pipe && d->pipe->hasVideo();
}

void MediaPlayerControl::onEndOfStream()
{
    if (!d->pipe || d->endReported)
        return;
    // The next entry of a list follows on; the media ends after the last.
    if (d->entry + 1 < d->entries.size() && advanceEntry(true, nullptr))
        return;
    MediaPipeline *pipe = d->pipe;
    if (!pipe) { // the rest of the list could not be opened
        d->endReported = true;
        Q_EMIT EndOfStream(0);
        return;
    }
    d->endReported = true;
    d->atEnd = true;
    pipe->setPlaying(false);
    if (d->design.AutoRewind && pipe->seek(0) == MediaPipeline::SeekResult::Done) {
        d->pendingSeek = 0;
        d->atEnd = false;
    }
    setState(PlayState::Stopped);
    // The handler commonly opens the next song right here.
    if (d->pipe == pipe)
        Q_EMIT EndOfStream(0);
}

void MediaPlayerControl::onFailed(const QString &description)
{
    closePipeline();
    const Error error{ErrorNumber::MediaError, description};
    failOpen(error);
    Q_EMIT MediaError(error);
}

// The sound server went away while this media played. The pipeline has let
// go of it; Play opens the media afresh, on whatever server runs by then.
void MediaPlayerControl::onOutputLost()
{
    const Error error{ErrorNumber::MediaError, QStringLiteral("The sound output was lost")};
    setState(PlayState::Stopped);
    showNote(tr("Error: %1").arg(error.description));
    Q_EMIT MediaError(error);
}

void MediaPlayerControl::paintEvent(QPaintEvent *)
{
    if (!d->panel && !d->panelPending && d->stripHeight() > 0) {
        d->panelPending = true;
        QTimer::singleShot(0, this, [this] { ensurePanel(); });
    }
    if (!d->pipe || !d->pipe->hasVideo())
        return; // the background, as filled by the widget
    QSize shown;
    const QImage frame = d->pipe->frame(&shown);
    if (frame.isNull())
        return;
    QRect area = rect();
    area.setBottom(area.bottom() - std::min(d->stripHeight(), area.height()));
    if (area.isEmpty())
        return;
    const QSize fitted = shown.scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}

void MediaPlayerControl::resizeEvent(QResizeEvent *event)
{
    if (d->panel)
        d->panel->place(QRect(QPoint(0, 0), event->size()));
    QWidget::resizeEvent(event);
}

void MediaPlayerControl::showEvent(QShowEvent *event)
{
    if (d->pipe)
        d->pipe->setFramesWanted(true);
    if (d->panel)
        d->panel->setShown(true);
    QWidget::showEvent(event);
}

void MediaPlayerControl::hideEvent(QHideEvent *event)
{
    if (d->pipe)
        d->pipe->setFramesWanted(false);
    if (d->panel)
        d->panel->setShown(false);
    QWidget::hideEvent(event);
}

void MediaPlayerControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (d->design.ClickToPlay && event->button() == Qt::LeftButton && d->pipe
        && rect().contains(event->position().toPoint())) {
        if (d->state == PlayState::Playing)
            (void)Pause();
        else
            (void)Play();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void MediaPlayerControl::contextMenuEvent(QContextMenuEvent *event)
{
    if (!d->design.EnableContextMenu) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    QAction *play = menu.addAction(tr("Play"), this, [this] { (void)Play(); });
    QAction *pause = menu.addAction(tr("Pause"), this, [this] { (void)Pause(); });
    QAction *stop = menu.addAction(tr("Stop"), this, [this] { (void)Stop(); });
    play->setEnabled(d->pipe && d->state != PlayState::Playing);
    pause->setEnabled(d->state == PlayState::Playing);
    stop->setEnabled(d->state == PlayState::Playing || d->state == PlayState::Paused);
    menu.exec(event->globalPos());
}
