// The volume buttons `pluss` and `minus` and the six-bar meter LVol(1..6).
//
// While a button is held, TVolum steps the media control's own volume every
// 50 ms; the window keeps no volume of its own. The control refuses a value
// beyond its range, and that refusal is what ends the change: the off-screen
// label VolumInd then reads "Max" or "Min" until the button is released.
#include "Orvane.h"

#include "ImageControl.h"
#include "LabelControl.h"
#include "LineControl.h"
#include "MediaPlayerControl.h"

#include <QTimer>
#include <iterator>

void Orvane::wireVolume()
{
    connect(c.pluss, &ImageControl::MouseDown, this, &Orvane::pluss_MouseDown);
    connect(c.minus, &ImageControl::MouseDown, this, &Orvane::minus_MouseDown);
    connect(c.pluss, &ImageControl::MouseUp, this, &Orvane::pluss_MouseUp);
    connect(c.minus, &ImageControl::MouseUp, this, &Orvane::minus_MouseUp);
    connect(c.TVolum, &QTimer::timeout, this, &Orvane::TVolum_Timer);
}

// The meter's bands, loudest first: a volume above `above` lights `bars`.
// Three bars cover two bands, from -4000 to -2000.
std::optional<int> Orvane::VolumeMeterBars(long volume)
{
    struct Band {
        long above;
        int bars;
    };
    static constexpr Band bands[] = {
        {-1000, 6}, {-1500, 5}, {-2000, 4}, {-4000, 3}, {-5000, 2}, {-6000, 1}, {-7000, 0},
    };
    for (const Band &b : bands)
        if (volume > b.above)
            return b.bars;
    return std::nullopt;
}

void Orvane::volumeButtonPressed(bool upward)
{
    // Already running (a second button pressed while one is held): keep
    // the beat, so the next step is not put off.
    if (!c.TVolum->isActive())
        c.TVolum->start();
    VolumeUpward = upward;
}

// Either button's release ends the change, whichever was pressed.
void Orvane::volumeButtonReleased()
{
    c.TVolum->stop();
    c.VolumInd->setCaption(QString());
}

void Orvane::pluss_MouseDown(int Button, int Shift, double X, double Y) { volumeButtonPressed(true); }
void Orvane::minus_MouseDown(int Button, int Shift, double X, double Y) { volumeButtonPressed(false); }
void Orvane::pluss_MouseUp(int Button, int Shift, double X, double Y) { volumeButtonReleased(); }
void Orvane::minus_MouseUp(int Button, int Shift, double X, double Y) { volumeButtonReleased(); }

void Orvane::TVolum_Timer()
{
    if (VolumeUpward) {
        const long step = *VolumeUpward ? VolumeStep : -VolumeStep;
        if (c.am1->setVolume(c.am1->Volume() + step)) {
            // At the end of the range: say so, leave the meter as it is and
            // keep ticking until the button is let go.
            c.VolumInd->setCaption(*VolumeUpward ? QStringLiteral("Max") : QStringLiteral("Min"));
            return;
        }
    }
    const std::optional<int> bars = VolumeMeterBars(c.am1->Volume());
    if (!bars)
        return; // below the meter: it keeps what it showed
    for (int i = 1; i < int(std::size(c.LVol)); ++i)
        c.LVol[i]->setVisible(i <= *bars);
}
