// The seek knob and the scrolling title of the video window.
//
// The knob follows the pointer one to one from where it was grabbed, between
// the two ends of the painted track. Its Left stands for the position on one
// scale, 240 for the start and 3450 for the end, both while the user drags it
// and while playback moves it, so a drag reaches every second of the media.
#include "video.h"

#include "ImageControl.h"
#include "LabelControl.h"
#include "MediaPlayerControl.h"
#include "PictureBox.h"
#include "Twips.h"
#include "videoGeometry.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

using namespace videoGeometry;

void video::wireSlider()
{
    connect(c.islider, &ImageControl::MouseDown, this, &video::islider_MouseDown);
    connect(c.islider, &ImageControl::MouseMove, this, &video::islider_MouseMove);
    connect(c.islider, &ImageControl::MouseUp, this, &video::islider_MouseUp);
    connect(c.Timer55, &QTimer::timeout, this, &video::Timer55_Timer);
    // A seek that lands puts the knob at its place at once and the tick in
    // step with the new position.
    connect(c.MediaPlayer1, &MediaPlayerControl::SeekLanded, this, &video::Timer55_Timer);
    connect(c.Timer1, &QTimer::timeout, this, &video::Timer1_Timer);
}

// Any button grabs the knob; a second button while it is held changes nothing.
void video::islider_MouseDown(int Button, int Shift, double X, double Y)
{
    if (SliderDragging)
        return;
    SliderTwipsPerPixel = Twips::PerPixel;
    // X is measured from the knob's place on screen, a whole pixel; the grab
    // point is kept relative to its exact Left in twips.
    SliderLeft = c.islider->Left();
    SliderStartX = c.islider->x() * SliderTwipsPerPixel + X - SliderLeft;
    SliderDragging = true;
}

void video::islider_MouseMove(int Button, int Shift, double X, double Y)
{
    if (!SliderDragging)
        return;
    const double pointer = c.islider->x() * SliderTwipsPerPixel + X;
    const double left = std::clamp(pointer - SliderStartX, KnobLeftStop, KnobRightStop);
    SliderLeft = left;
    c.islider->setLeft(left);
}

// Release: play from the whole second the knob's place stands for, also when
// the media was paused. Whatever fails, the next step still runs.
void video::islider_MouseUp(int Button, int Shift, double X, double Y)
{
    double target = 0;
    const double duration = c.MediaPlayer1->Duration();
    if (duration > 0 && std::isfinite(duration)) {
        const double fraction = std::clamp((c.islider->Left() - KnobLeftStop) / KnobScale, 0.0, 1.0);
        target = std::floor(duration * fraction);
    }
    (void)c.MediaPlayer1->Stop();
    (void)c.MediaPlayer1->setCurrentPosition(target);
    (void)c.MediaPlayer1->Play();
    SliderDragging = false;
}

// Once a second the knob shows the playing position, unless it is held. With
// nothing open (no duration) it stays where it is. While the media plays the
// tick fires just after each of its whole seconds, like the main window's.
void video::Timer55_Timer()
{
    c.Timer55->start(c.MediaPlayer1->msToNextSecond(KnobIntervalMs));
    const double duration = c.MediaPlayer1->Duration();
    const double position = c.MediaPlayer1->CurrentPosition();
    if (SliderDragging)
        return;
    if (!(duration > 0) || !std::isfinite(duration) || !std::isfinite(position))
        return;
    const double fraction = std::clamp(position / duration, 0.0, 1.0);
    c.islider->setLeft(KnobLeftStop + std::floor(fraction * KnobScale));
}

// The title slides left and, once wholly past the panel's left edge, comes in
// again at its right edge.
void video::Timer1_Timer()
{
    c.Label1->setLeft(c.Label1->Left() - TitleStep);
    if (c.Label1->Left() < -c.Label1->Width())
        c.Label1->setLeft(c.PicDisplay->ScaleWidth());
}
