#include "MediaPlayerControl.h"

#include "MediaPipeline.h"
#include "MediaPanel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace {
QString &audioSinkDescriptionStore()
{
    static QString description;
    return description;
}

constexpr int kPrerollMs = 2000;
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
    MediaPanel *panel = nullptr;   // own buttons, tracker and status line
};

MediaPlayerControl::DesignSettings MediaPlayerControl::am1Design()
{
    DesignSettings s;
    s.Volume = -360;
    s.Balance = 0;
    s.ShowStatusBar = false;
    return s;
}

MediaPlayerControl::DesignSettings MediaPlayerControl::mediaPlayer1Design()
{
    DesignSettings s;
    s.Volume = -780;
    s.Balance = 30;
    s.ShowStatusBar = false;
    return s;
}

MediaPlayerControl::DesignSettings MediaPlayerControl::mmplayDesign()
{
    DesignSettings s;
    s.Volume = -600;
    s.Balance = 0;
    s.ShowStatusBar = true;
    return s;
}

// Nothing of GStreamer happens here: a window that never plays pays nothing.
MediaPlayerControl::MediaPlayerControl(QWidget *parent)
    : QWidget(parent), d(std::make_unique<Private>())
{
    d->audioSink = audioSinkDescriptionStore();
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    d->panel = new MediaPanel(this);
    connect(d->panel, &MediaPanel::playClicked, this, [this] { (void)Play(); });
    connect(d->panel, &MediaPanel::pauseClicked, this, [this] { (void)Pause(); });
    connect(d->panel, &MediaPanel::stopClicked, this, [this] { (void)Stop(); });
    connect(d->panel, &MediaPanel::seekRequested, this,
            [this](double fraction) { (void)setCurrentPosition(fraction * Duration()); });
    d->panel->setSource([this] { return CurrentPosition(); }, [this] { return Duration(); });
    applyDesign(DesignSettings{});
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
    d->panel->setParts(settings.ShowControls, settings.ShowControls && settings.ShowTracker,
                       settings.ShowStatusBar);
    d->panel->place(rect());
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
    d->panel->setState(state);
    if (d->pipe)
        d->pipe->setFramesWanted(isVisible());
    Q_EMIT PlayStateChanged(state);
}

void MediaPlayerControl::closePipeline()
{
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
    if (name.isEmpty()) {
        setState(PlayState::Closed);
        return std::nullopt;
    }

    QString uri;
    if (name.compare(QLatin1String("CDAUDIO:"), Qt::CaseInsensitive) == 0) {
        uri = QStringLiteral("cdda://1");
    } else {
        const QFileInfo info(QDir::current(), name);
        if (!info.exists()) {
            setState(PlayState::Closed);
            return Error{ErrorNumber::FileNotFound, QStringLiteral("File not found")};
        }
        if (info.isDir()) {
            setState(PlayState::Closed);
            return Error{ErrorNumber::MediaError, QStringLiteral("A folder is not a media file")};
        }
        if (!info.isReadable()) {
            setState(PlayState::Closed);
            return Error{ErrorNumber::PermissionDenied, QStringLiteral("Permission denied")};
        }
        MediaPipeline::ensureGstreamer();
        gsth::GChars u(gst_filename_to_uri(QFile::encodeName(info.absoluteFilePath()).constData(), nullptr));
        if (!u) {
            setState(PlayState::Closed);
            return Error{ErrorNumber::BadFileName, QStringLiteral("Bad file name")};
        }
        uri = QString::fromUtf8(u.get());
    }

    Error error;
    MediaPipeline *pipe = MediaPipeline::open(uri, d->audioSink, amplitude(d->volume),
                                              double(d->balance) / double(kBalanceLimit), kPrerollMs, &error);
    if (!pipe) {
        setState(PlayState::Closed);
        return error;
    }
    d->pipe = pipe;
    pipe->setFramesWanted(isVisible());
    connect(pipe, &MediaPipeline::endOfStream, this, &MediaPlayerControl::onEndOfStream);
    connect(pipe, &MediaPipeline::failed, this, &MediaPlayerControl::onFailed);
    connect(pipe, &MediaPipeline::durationChanged, this, [this] { d->duration = 0; });
    connect(pipe, &MediaPipeline::asyncDone, this, [this] { d->pendingSeek = -1; });
    connect(pipe, &MediaPipeline::frameReady, this, [this] { update(); });
    d->duration = pipe->duration();

    if (d->design.AutoStart) {
        pipe->setPlaying(true);
        setState(PlayState::Playing);
    } else {
        setState(PlayState::Stopped);
    }
    return std::nullopt;
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

Status MediaPlayerControl::setCurrentPosition(double seconds)
{
    if (!d->pipe)
        return noMedia();
    if (!std::isfinite(seconds) || seconds < 0)
        return Error{ErrorNumber::InvalidPropertyValue, QStringLiteral("Invalid property value")};
    const double len = Duration();
    if (len > 0 && seconds > len)
        seconds = len;
    if (!d->pipe->seek(seconds))
        return Error{ErrorNumber::MediaError, QStringLiteral("The media cannot seek")};
    d->pendingSeek = seconds;
    d->atEnd = false;
    d->endReported = false;
    return std::nullopt;
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
    if (d->atEnd) {
        d->pipe->seek(0);
        d->atEnd = false;
        d->endReported = false;
    }
    if (!d->pipe->setPlaying(true))
        return Error{ErrorNumber::MediaError, QStringLiteral("The media cannot be played")};
    setState(PlayState::Playing);
    return std::nullopt;
}

Status MediaPlayerControl::Pause()
{
    if (!d->pipe || d->state != PlayState::Playing)
        return std::nullopt;
    d->pipe->setPlaying(false);
    setState(PlayState::Paused);
    return std::nullopt;
}

// Stop keeps the position: the windows write 0 themselves when they want
// to rewind, and a seek between Stop and Play is a common pattern.
Status MediaPlayerControl::Stop()
{
    if (!d->pipe)
        return std::nullopt;
    d->pipe->setPlaying(false);
    setState(PlayState::Stopped);
    return std::nullopt;
}

Status MediaPlayerControl::CloseMedia()
{
    closePipeline();
    setState(PlayState::Closed);
    return std::nullopt;
}

Status MediaPlayerControl::NextEntry()
{
    return std::nullopt;
}

MediaPlayerControl::PlayState MediaPlayerControl::playState() const
{
    return d->state;
}

void MediaPlayerControl::onEndOfStream()
{
    if (!d->pipe || d->endReported)
        return;
    MediaPipeline *pipe = d->pipe;
    d->endReported = true;
    d->atEnd = true;
    pipe->setPlaying(false);
    if (d->design.AutoRewind) {
        pipe->seek(0);
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
    setState(PlayState::Closed);
    Q_EMIT MediaError(Error{ErrorNumber::MediaError, description});
}

void MediaPlayerControl::paintEvent(QPaintEvent *)
{
    if (!d->pipe || !d->pipe->hasVideo())
        return; // the background, as filled by the widget
    const QImage frame = d->pipe->frame();
    if (frame.isNull())
        return;
    const QRect area = d->panel->videoArea(rect());
    if (area.isEmpty())
        return;
    const QSize fitted = frame.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}

void MediaPlayerControl::resizeEvent(QResizeEvent *event)
{
    d->panel->place(QRect(QPoint(0, 0), event->size()));
    QWidget::resizeEvent(event);
}

void MediaPlayerControl::showEvent(QShowEvent *event)
{
    if (d->pipe)
        d->pipe->setFramesWanted(true);
    d->panel->setShown(true);
    QWidget::showEvent(event);
}

void MediaPlayerControl::hideEvent(QHideEvent *event)
{
    if (d->pipe)
        d->pipe->setFramesWanted(false);
    d->panel->setShown(false);
    QWidget::hideEvent(event);
}
