// Play, pause/resume and stop, on the three rows of buttons: the player's big
// buttons, the playlist panel's row and the compact strip.
#include "Orvane.h"

#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaPlayerControl.h"
#include "OrvaneSongFilters.h"

#include <QListWidget>

void Orvane::wireTransport()
{
    connect(c.play, &ImageControl::Click, this, &Orvane::play_Click);
    connect(c.Image10, &ImageControl::Click, this, &Orvane::Image10_Click);
    connect(c.pause, &ImageControl::Click, this, &Orvane::pause_Click);
    connect(c.Image11, &ImageControl::Click, this, &Orvane::Image11_Click);
    connect(c.Image7, &ImageControl::Click, this, &Orvane::Image7_Click);
    connect(c.stop, &ImageControl::Click, this, &Orvane::stop_Click);
    connect(c.Image12, &ImageControl::Click, this, &Orvane::Image12_Click);
    connect(c.Image8, &ImageControl::Click, this, &Orvane::Image8_Click);
}

// The selected entry is opened by its full path, which plays it; with no
// entry selected the open dialog offers a new one. A row's visible text may
// be a bare name that means nothing to the media control.
void Orvane::playSelectedOrAsk(const DialogAddSite &site)
{
    if (!m_playlist.selectedText().isEmpty()) {
        openInPlayer(m_playlist.selectedPath());
        return;
    }
    AddSongFromDialog(site);
}

// The player's Play: a chosen CD track plays the audio CD, a chosen file
// becomes the title.
void Orvane::play_Click() { playSelectedOrAsk({SongFilter::C, true, true, true}); }

// The panel's Play: every chosen file is opened by its path; the title is
// left alone.
void Orvane::Image10_Click() { playSelectedOrAsk({SongFilter::D, false, true}); }

// One press pauses what plays and plays anything else (paused, stopped, or
// finished); Labelpause says what the next press will do.
void Orvane::pauseOrResume()
{
    if (c.lstfavs->count() == 0)
        return;
    if (c.am1->playState() == MediaPlayerControl::PlayState::Playing) {
        if (Status s = c.am1->Pause())
            logMediaFailure("pause", *s);
        c.Labelpause->setCaption(QStringLiteral("Resume"));
    } else {
        playInPlayer();
        c.Labelpause->setCaption(QStringLiteral("Pause"));
    }
}

void Orvane::pause_Click() { pauseOrResume(); }
void Orvane::Image11_Click() { pauseOrResume(); }
void Orvane::Image7_Click() { pauseOrResume(); }

// The media control keeps its place on Stop, so the stop buttons rewind
// themselves. With nothing open there is nothing to rewind.
void Orvane::stopAndRewind()
{
    if (Status s = c.am1->Stop()) {
        logMediaFailure("stop", *s);
        return;
    }
    if (c.am1->playState() == MediaPlayerControl::PlayState::Closed)
        return;
    if (Status s = c.am1->setCurrentPosition(0))
        logMediaFailure("rewind", *s);
}

void Orvane::stop_Click() { stopAndRewind(); }
void Orvane::Image12_Click() { stopAndRewind(); }
void Orvane::Image8_Click() { stopAndRewind(); }
