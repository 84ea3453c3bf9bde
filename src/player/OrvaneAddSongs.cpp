// Adding songs one file at a time through the open dialog.
#include "Orvane.h"

#include "FileDialogControl.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaFailure.h"
#include "MediaPlayerControl.h"
#include "Module1.h"
#include "OrvaneSongFilters.h"
#include "PathUtil.h"

#include <QLineEdit>

void Orvane::wireAddSongs()
{
    connect(c.openfile, &ImageControl::Click, this, &Orvane::openfile_Click);
    connect(c.Image3, &ImageControl::Click, this, &Orvane::Image3_Click);
    connect(c.Image6, &ImageControl::Click, this, &Orvane::Image6_Click);
    connect(c.addfile, &ImageControl::Click, this, &Orvane::addfile_Click);
}

// An entry that cannot be opened must not pass for playing: the title says
// so, over whatever name a caller put there. One that opens replaces such a
// report with its own name, so the title never tells of a failure while
// another song plays.
bool Orvane::openInPlayer(const QString &name, bool byAdvance)
{
    if (!byAdvance)
        m_passedOver.clear(); // the user's choice starts a new round
    m_openedByAdvance = false;
    if (Status s = c.am1->setFileName(name)) {
        logMediaFailure(qUtf8Printable(QStringLiteral("opening \"%1\"").arg(name)), *s);
        setTitle(CannotPlayText(name, *s), true);
        if (byAdvance)
            m_passedOver << name;
        return false;
    }
    m_openedByAdvance = byAdvance;
    if (m_titleTellsOfFailure) {
        const bool isSelected = !m_playlist.selectedText().isEmpty() && name == m_playlist.selectedPath();
        setTitle(isSelected ? m_playlist.selectedText() : StripPath(name));
    }
    return true;
}

void Orvane::playInPlayer()
{
    if (Status s = c.am1->Play())
        logMediaFailure("play", *s);
}

void Orvane::setTitle(const QString &text, bool tellsOfFailure)
{
    c.Label24->setCaption(text);
    m_titleTellsOfFailure = tellsOfFailure;
}

// The dialog add. A cancelled dialog leaves everything as it was; a file the
// media control cannot open is still added, and the window carries on.
void Orvane::AddSongFromDialog(const DialogAddSite &site)
{
    // A full playlist says so before the user looks for a song it cannot take.
    if (m_playlist.room() < 1) {
        ReportPlaylistError(QStringLiteral("Error in AddSongFromDialog"), m_playlist.noRoomFor(1));
        return;
    }
    c.cd1->setFilter(site.filter);
    // Nothing left over from an earlier use may pass for a choice.
    c.cd1->setFileName(QString());
    c.cd1->ShowOpen();
    const QString chosen = c.cd1->FileName();
    c.cd1->setFileName(QString());
    if (chosen.isEmpty())
        return;
    // The play sites empty the title for the new choice; a CD track leaves it
    // so, a file then gives it its name.
    if (site.blanksTitle)
        setTitle(QString());

    const QString name = StripPath(chosen);
    if (site.testsForCd) {
        c.ext->setText(chosen.right(3));
        // By character code: "CDA" is a file like any other.
        if (c.ext->text() == QLatin1String("cda")) {
            if (openInPlayer(CdAudioDevice))
                playInPlayer();
            m_playlist.append(chosen, name);
            return; // a CD track does not name the title
        }
    }
    // Named before it is opened: a file that cannot be opened says so instead.
    if (site.testsForCd)
        setTitle(name);
    if (site.opensFile && openInPlayer(chosen))
        playInPlayer();
    m_playlist.append(chosen, name);
}

// "Add Songs"
void Orvane::openfile_Click() { AddSongFromDialog({SongFilter::A, true, true}); }

// FILE of the add pop-up: added and named, but what plays goes on playing.
void Orvane::Image3_Click() { AddSongFromDialog({SongFilter::B, true, false}); }

// Play of the compact strip: the selected entry, or a new one from the dialog.
void Orvane::Image6_Click() { playSelectedOrAsk({SongFilter::B, true, true, true}); }

// The "+" button shows or hides the add pop-up.
void Orvane::addfile_Click() { c.filebar->setVisible(c.filebar->isHidden()); }
