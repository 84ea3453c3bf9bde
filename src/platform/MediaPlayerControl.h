#pragma once
// The media-player control that the windows place and drive by name (am1,
// MediaPlayer1, mmplay). Built on a GStreamer playbin; GStreamer itself is
// initialised lazily, on the first media use, so it costs nothing at start-up.
#include "Error.h"

#include <QString>
#include <QWidget>
#include <memory>

class MediaPlayerControl : public QWidget {
    Q_OBJECT
public:
    // The settings a window stores with its instance of the control.
    struct DesignSettings {
        bool AutoStart = true;
        bool AutoRewind = false;
        long Volume = 0;   // hundredths of a decibel, 0 the loudest
        long Balance = 0;  // -10000 (left) .. 10000 (right)
        bool ShowStatusBar = false;
        bool ShowControls = true;
        bool ShowAudioControls = true;
        bool ShowPositionControls = true;
        bool ShowTracker = true;
        bool ShowDisplay = false;
        bool EnableContextMenu = true;
        bool ClickToPlay = true;
        long PlayCount = 1;
        double Rate = 1.0;
    };
    static DesignSettings am1Design();          // main window
    static DesignSettings mediaPlayer1Design(); // skinned video window
    static DesignSettings mmplayDesign();       // menu-driven player window

    explicit MediaPlayerControl(QWidget *parent = nullptr);
    ~MediaPlayerControl() override;

    void applyDesign(const DesignSettings &settings);
    const DesignSettings &design() const;

    // Writing closes what was open and opens the new media, which starts
    // playing (AutoStart). "" closes and leaves nothing playing; "CDAUDIO:"
    // opens the first track of the default audio CD; anything else is a local
    // file (a bare name is resolved against the current folder). Waits, bounded,
    // for the media to preroll so Duration is known on return. A missing file
    // or one that cannot be opened is an error of the write.
    Status setFileName(const QString &name);
    QString FileName() const; // the name last written

    double Duration() const;         // seconds; 0 while nothing is open
    double CurrentPosition() const;  // seconds; 0 while nothing is open
    Status setCurrentPosition(double seconds); // seeks
    // How long a display of whole seconds should wait before it reads the
    // position again: until just after the next whole second of the media
    // while it plays, idleMs otherwise.
    int msToNextSecond(int idleMs) const;

    long Volume() const;             // hundredths of a decibel
    Status setVolume(long volume);   // -10000..0, else refused and unchanged
    long Balance() const;
    Status setBalance(long balance); // -10000..10000

    Status Play();   // starts or resumes the open media
    Status Pause();
    Status Stop();   // halts and keeps the position (no rewind)
    Status CloseMedia();
    // Moves to the next entry of a media with several (an .asx or .m3u list
    // opened as one media, whose entries play in turn); nothing otherwise.
    Status NextEntry();

    enum class PlayState { Closed, Stopped, Paused, Playing };
    PlayState playState() const;
    // Whether the open media has a picture (known once the write of FileName returned).
    bool HasVideo() const;

    // Test seam: a gst-launch description of the audio sink every control
    // created afterwards uses, e.g. "fakesink sync=true". Empty: autoaudiosink.
    static void setAudioSinkDescription(const QString &description);

Q_SIGNALS:
    // The open media played to its end; emitted once per media, on the GUI thread.
    void EndOfStream(long result);
    // A failure after the media was opened (a stream that cannot be decoded,
    // or the sound output that went away). Playback has been stopped; the
    // control never shows a dialog itself.
    void MediaError(const Error &error);
    // The play state changed (for the control's own on-screen controls and
    // for windows that want to follow it).
    void PlayStateChanged(MediaPlayerControl::PlayState state);
    // A media was opened, or the next entry of a list: HasVideo() now tells
    // about it. The play state may not change when one follows another.
    void MediaOpened();
    // A seek has landed: CurrentPosition() now reads from the media at its
    // new place, so displays of the position can show it and get in step.
    void SeekLanded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Frames are copied only while the control can be seen; its own
    // on-screen controls poll the position only then too.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // ClickToPlay: a click on the picture pauses or plays.
    void mouseReleaseEvent(QMouseEvent *event) override;
    // EnableContextMenu: play, pause and stop on the right button.
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void setState(PlayState state);
    // The status line says this instead of the state ("" for the state).
    void showNote(const QString &note);
    // Closed, with the reason on the status line; returns the error.
    Status failOpen(const Error &error);
    void ensurePanel();
    bool isOutOfSight() const;
    Status openEntry(int index, bool play);
    Status openUri(const QString &uri, bool play);
    Status seekTo(double seconds);
    Status reopenAfterRefusedSeek();
    bool advanceEntry(bool play, Status *lastError);
    void closePipeline();
    void onEndOfStream();
    void onFailed(const QString &description);
    void onOutputLost();
    Status reopenAt(double seconds);

    struct Private;
    std::unique_ptr<Private> d;
};
