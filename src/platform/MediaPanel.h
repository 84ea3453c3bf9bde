#pragma once
// The media control's own strip at its bottom edge: play, pause and stop
// buttons with a position tracker, and below them a status line. It polls the
// position only while playing and actually on screen.
#include "MediaPlayerControl.h"

#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;
class QSlider;
class QToolButton;

class MediaPanel : public QWidget {
    Q_OBJECT
public:
    explicit MediaPanel(MediaPlayerControl *control);

    void setParts(bool buttons, bool tracker, bool statusBar);
    void setSource(std::function<double()> position, std::function<double()> duration);
    void setState(MediaPlayerControl::PlayState state);
    // Shown on the status line in place of the state while not empty: a
    // load still under way, or why the media could not be played.
    void setNote(const QString &note);
    void setShown(bool shown);
    // Places the strip at the bottom of the control's rectangle.
    void place(const QRect &controlRect);
    void refresh();

    // Height of the strip with the given parts shown.
    static int stripHeight(bool buttons, bool tracker, bool statusBar);

    static QString timeText(double seconds);

Q_SIGNALS:
    void playClicked();
    void pauseClicked();
    void stopClicked();
    void seekRequested(double fraction);

protected:
    void moveEvent(QMoveEvent *event) override;

private:
    void updateTimer();

    QToolButton *m_play;
    QToolButton *m_pause;
    QToolButton *m_stop;
    QSlider *m_tracker;
    QLabel *m_status;
    QLabel *m_time;
    QTimer m_timer;
    std::function<double()> m_position;
    std::function<double()> m_duration;
    MediaPlayerControl::PlayState m_state = MediaPlayerControl::PlayState::Closed;
    QString m_note;
    bool m_buttons = true;
    bool m_trackerOn = true;
    bool m_statusOn = false;
    bool m_shown = false;
    bool m_updating = false;
};
