// The position knob `islider` and the balance knob `balance`.
//
// Both drag the same way and share one drag state. While a knob is held it
// follows the pointer exactly: its Left is its Left at the press plus how far
// the pointer has moved since, so it never trails or creeps. The position
// knob runs over its whole track, 120 (start of the media) to 3660 (its
// end), the same scale on which playback moves it, so every part of a song
// can be reached by dragging.
#include "Orvane.h"

#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaPlayerControl.h"
#include "Twips.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

void Orvane::wireKnobs()
{
    connect(c.islider, &ImageControl::MouseDown, this, &Orvane::islider_MouseDown);
    connect(c.islider, &ImageControl::MouseMove, this, &Orvane::islider_MouseMove);
    connect(c.islider, &ImageControl::MouseUp, this, &Orvane::islider_MouseUp);
    connect(c.balance, &ImageControl::MouseDown, this, &Orvane::balance_MouseDown);
    connect(c.balance, &ImageControl::MouseMove, this, &Orvane::balance_MouseMove);
    connect(c.balance, &ImageControl::MouseUp, this, &Orvane::balance_MouseUp);
}

double Orvane::SeekSeconds(double left, double duration)
{
    if (!std::isfinite(duration) || duration <= 0 || !std::isfinite(left))
        return 0;
    const double fraction = std::clamp((left - SliderTrackLeft) / SliderTrackSpan, 0.0, 1.0);
    return std::floor(fraction * duration);
}

// Full left at one end of the track, full right at the other, the design
// place in the middle; each side is linear, so the centre is where the skin
// marks it although the two sides differ in length.
long Orvane::BalanceFromKnob(double left)
{
    left = std::clamp(left, BalanceFullLeft, BalanceFullRight);
    constexpr double full = 10000;
    const double value = left < BalanceCentre
        ? (left - BalanceCentre) / (BalanceCentre - BalanceFullLeft) * full
        : (left - BalanceCentre) / (BalanceFullRight - BalanceCentre) * full;
    return std::lrint(value);
}

QString Orvane::BalanceZone(double left)
{
    if (left < 1200)
        return QStringLiteral("Left");
    if (left < 1335)
        return QStringLiteral("Center");
    if (left > 1620)
        return QStringLiteral("Right");
    return QString();
}

// Where the pointer is along X on the screen, in twips, from an event's X
// (twips from the knob's own left edge). Measured on the screen, not on the
// knob, so moving the knob does not move the measure.
double Orvane::pointerScreenTwips(const ImageControl *knob, double X) const
{
    return knob->mapToGlobal(QPointF(X / Twips::PerPixel, 0)).x() * Twips::PerPixel;
}

// A press starts a drag unless one is already under way (a second button
// pressed while the first is held changes nothing).
void Orvane::knobPressed(ImageControl *knob, double X)
{
    if (SliderDragging)
        return;
    SliderTwipsPerPixel = Twips::PerPixel;
    SliderStartX = pointerScreenTwips(knob, X);
    SliderLeft = knob->Left();
    m_sliderPressLeft = SliderLeft;
    m_sliderKnob = knob;
    SliderDragging = true;
}

void Orvane::knobDragStep(ImageControl *knob, double X, double lowest, double highest)
{
    // Only the knob that was pressed is dragged; the window gives it the
    // moves of its press, also outside it.
    if (!SliderDragging || knob != m_sliderKnob)
        return;
    double left = m_sliderPressLeft + (pointerScreenTwips(knob, X) - SliderStartX);
    left = std::clamp(left, lowest, highest);
    SliderLeft = left;
    knob->setLeft(left);
}

void Orvane::islider_MouseDown(int Button, int Shift, double X, double Y) { knobPressed(c.islider, X); }
void Orvane::balance_MouseDown(int Button, int Shift, double X, double Y) { knobPressed(c.balance, X); }

void Orvane::islider_MouseMove(int Button, int Shift, double X, double Y)
{
    knobDragStep(c.islider, X, SliderTrackLeft, SliderTrackLeft + SliderTrackSpan);
}

// Moving over the balance knob, held or not, names its zone in the title line.
void Orvane::balance_MouseMove(int Button, int Shift, double X, double Y)
{
    knobDragStep(c.balance, X, BalanceFullLeft, BalanceFullRight);
    const QString zone = BalanceZone(c.balance->Left());
    if (!zone.isEmpty())
        setTitle(zone);
}

// Releasing the position knob, dragged or only clicked, plays from its place.
// Each media step goes on whatever the one before did.
void Orvane::islider_MouseUp(int Button, int Shift, double X, double Y)
{
    const double t = SeekSeconds(c.islider->Left(), c.am1->Duration());
    if (Status s = c.am1->Stop())
        logMediaFailure("stop before a seek", *s);
    if (Status s = c.am1->setCurrentPosition(t))
        logMediaFailure("seek", *s);
    if (Status s = c.am1->Play())
        logMediaFailure("play after a seek", *s);
    SliderDragging = false;
}

// Releasing the balance knob, dragged or only clicked, sets the balance.
void Orvane::balance_MouseUp(int Button, int Shift, double X, double Y)
{
    if (Status s = c.am1->setBalance(BalanceFromKnob(c.balance->Left())))
        logMediaFailure("balance", *s);
    SliderDragging = false;
}

// Once a second the position knob shows where playback is, unless a knob is
// held. With nothing open (no duration) it stays where it is.
void Orvane::Timer55_Timer()
{
    if (SliderDragging)
        return;
    const double d = c.am1->Duration();
    if (!std::isfinite(d) || d <= 0)
        return;
    const double p = c.am1->CurrentPosition();
    if (!std::isfinite(p))
        return;
    const double fraction = std::clamp(p / d, 0.0, 1.0);
    c.islider->setLeft(std::floor(fraction * SliderTrackSpan) + SliderTrackLeft);
}
