// Which playlist entry plays next: the Next and Previous buttons, the Shuffle
// toggle between Random and Normal order, and the advance at the end of each
// song. The current entry is the selected row of the visible list; what the
// media control gets is always that entry's full path.
#include "Orvane.h"

#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFailure.h"
#include "MediaPlayerControl.h"
#include "OrvaneSongFilters.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTime>
#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <utility>

void Orvane::wireSongOrder()
{
    connect(c.next, &ImageControl::Click, this, &Orvane::next_Click);
    connect(c.Image13, &ImageControl::Click, this, &Orvane::Image13_Click);
    connect(c.Image16, &ImageControl::Click, this, &Orvane::Image16_Click);
    connect(c.previous, &ImageControl::Click, this, &Orvane::previous_Click);
    connect(c.Image14, &ImageControl::Click, this, &Orvane::Image14_Click);
    connect(c.Image5, &ImageControl::Click, this, &Orvane::Image5_Click);
    connect(c.shuffle, &ImageControl::Click, this, &Orvane::shuffle_Click);
    connect(c.am1, &MediaPlayerControl::EndOfStream, this, &Orvane::am1_EndOfStream);
    connect(c.am1, &MediaPlayerControl::MediaError, this, &Orvane::am1_Failed);
    connect(c.List1, &QListWidget::itemDoubleClicked, this, &Orvane::List1_DblClick);
}

// The following row, wrapping to the first; with none selected, the first.
void Orvane::next_Click()
{
    const int count = m_playlist.count();
    if (count == 0)
        return;
    const int row = m_playlist.selectedIndex() + 1;
    m_playlist.setSelectedIndex(row < count ? row : 0);
    openInPlayer(m_playlist.selectedPath());
}

void Orvane::Image13_Click() { next_Click(); }
void Orvane::Image16_Click() { next_Click(); }

// The preceding row, wrapping to the last; with none selected, the last.
void Orvane::previous_Click()
{
    const int count = m_playlist.count();
    if (count == 0)
        return;
    const int row = m_playlist.selectedIndex() - 1;
    m_playlist.setSelectedIndex(row > -1 ? row : count - 1);
    openInPlayer(m_playlist.selectedPath());
}

void Orvane::Image14_Click() { previous_Click(); }
void Orvane::Image5_Click() { previous_Click(); }

void Orvane::shuffle_Click()
{
    if (c.optrnd->isChecked()) {
        c.optres->setChecked(true); // the group clears optrnd
        c.shuffleon->setVisible(false);
    } else {
        c.optrnd->setChecked(true);
        c.shuffleon->setVisible(true);
    }
}

int Orvane::RandomRow(int count, float secondsSinceMidnight)
{
    if (count <= 0)
        return -1;
    // A fresh generator from the time of day each time; its first draw is r.
    std::mt19937 generator(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
    const double r = std::generate_canonical<double, 32>(generator);
    // r < 1, but a product rounded up to count must not name a row past the end.
    return std::min(count - 1, static_cast<int>(std::floor(double(count) * r)));
}

void Orvane::am1_EndOfStream(long Result)
{
    Q_UNUSED(Result);
    m_passedOver.clear(); // this one played: a new round
    advanceToNextEntry();
}

// A media that fails after it was opened (one that never comes up, or stops
// on an error) stops the player. The title says so; when the advance opened
// it, the advance goes on as if it had ended.
void Orvane::am1_Failed(const Error &error)
{
    setTitle(CannotPlayText(c.am1->FileName(), error), true);
    if (!std::exchange(m_openedByAdvance, false))
        return;
    m_passedOver << c.am1->FileName();
    advanceToNextEntry();
}

// An entry that cannot be opened is passed over for the next one, but never
// more than once round the list: when every entry fails the advance stops,
// the last failure in the title. The title of the one that plays names those
// passed over, so a skip is never silent.
void Orvane::advanceToNextEntry()
{
    const int count = m_playlist.count();
    if (c.optrnd->isChecked()) {
        const float now = float(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
        int row = RandomRow(count, now);
        if (row < 0)
            return; // nothing to draw from
        // After the drawn row, the ones below it in turn. The title is left
        // alone, unless it told of a failure: then it names what plays.
        for (; m_passedOver.size() < count; row = (row + 1) % count) {
            m_playlist.setSelectedIndex(row);
            if (m_playlist.selectedText().isEmpty())
                return;
            if (openInPlayer(m_playlist.selectedPath(), true)) {
                if (!m_passedOver.isEmpty())
                    setTitle(m_playlist.selectedText() + PassedOverNote(m_passedOver), true);
                playInPlayer();
                return;
            }
        }
        return;
    }
    if (c.optres->isChecked()) {
        for (int row = m_playlist.selectedIndex() + 1; row < count && m_passedOver.size() < count; ++row) {
            m_playlist.setSelectedIndex(row);
            if (openInPlayer(m_playlist.selectedPath(), true)) {
                setTitle(m_playlist.selectedText() + PassedOverNote(m_passedOver), !m_passedOver.isEmpty());
                playInPlayer();
                return;
            }
        }
        // The list has played to its end: stop there, ready to start over.
        stopAndRewind();
        return;
    }
    if (c.optnon->isChecked()) {
        if (Status s = c.am1->Stop())
            logMediaFailure("stop", *s);
    }
}

// Plays the audio CD when the last chosen file was a CD track.
void Orvane::cdplayer()
{
    if (c.ext->text() != QLatin1String("cda"))
        return;
    if (openInPlayer(CdAudioDevice))
        playInPlayer();
}

void Orvane::List1_DblClick()
{
    const int row = c.List1->currentRow();
    const QListWidgetItem *item = c.List1->item(row);
    if (!item || !item->isSelected())
        return;
    openInPlayer(item->text());
}
