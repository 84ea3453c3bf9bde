// The window's three modes, set by its height: the compact strip (230
// twips), the player (1725) and the player with the playlist panel (5640).
// The compact strip's picture, time and buttons follow the height: the three
// followers run on every change of height, so they are never a step behind.
#include "Orvane.h"

#include "ImageControl.h"
#include "LabelControl.h"
#include "OrvaneGeometry.h"

#include <QGuiApplication>
#include <QTimer>

using OrvaneGeometry::HeightPanel;
using OrvaneGeometry::HeightPlayer;
using OrvaneGeometry::HeightStrip;

void Orvane::wireModes()
{
    connect(c.Image4, &ImageControl::Click, this, &Orvane::Image4_Click);
    // Hiding the pressed plup ends Qt's hold of the mouse for it, and moves
    // with the button still down would go nowhere; the pressed look takes the
    // mouse over until the button comes up, so the first move over it counts,
    // held or not.
    connect(c.plup, &ImageControl::MouseDown, this, [this](int Button, int Shift, double X, double Y) {
        plup_MouseDown(Button, Shift, X, Y);
        if (c.pldown->isVisible() && QGuiApplication::mouseButtons() != Qt::NoButton)
            c.pldown->grabMouse();
    });
    connect(c.pldown, &ImageControl::MouseMove, this, [this](int Button, int Shift, double X, double Y) {
        if (QWidget::mouseGrabber() == c.pldown) {
            if (!QRectF(0, 0, c.pldown->Width(), c.pldown->Height()).contains(X, Y))
                return; // held elsewhere: not over the pressed look
            c.pldown->releaseMouse();
        }
        pldown_MouseMove(Button, Shift, X, Y);
    });
    connect(c.pldown, &ImageControl::MouseUp, this, [this] {
        if (QWidget::mouseGrabber() == c.pldown)
            c.pldown->releaseMouse();
    });
    connect(c.Image15, &ImageControl::Click, this, &Orvane::Image15_Click);
    // The followers' own timers stay stopped (setHeight runs them); started
    // anyway, they would do no harm.
    connect(c.Timer3, &QTimer::timeout, this, &Orvane::Timer3_Timer);
    connect(c.toppicture, &QTimer::timeout, this, &Orvane::toppicture_Timer);
    connect(c.Timer6, &QTimer::timeout, this, &Orvane::Timer6_Timer);
}

// The compact toggle: from the strip back to the player, from anything else
// to the strip.
void Orvane::Image4_Click()
{
    if (Height() == HeightStrip) {
        setHeight(HeightPlayer);
    } else {
        setHeight(HeightStrip);
        c.toppic->setVisible(true);
    }
}

// The playlist button: a press shows its pressed look in its place...
void Orvane::plup_MouseDown(int Button, int Shift, double X, double Y)
{
    c.plup->setVisible(false);
    c.pldown->moveTo(3480, 810);
    c.pldown->setVisible(true);
}

// ...and the first move over the pressed look opens or closes the panel.
void Orvane::pldown_MouseMove(int Button, int Shift, double X, double Y)
{
    c.plup->setVisible(true);
    c.pldown->setVisible(false);
    setHeight(Height() == HeightPanel ? HeightPlayer : HeightPanel);
}

void Orvane::Image15_Click() { setHeight(HeightPlayer); }

void Orvane::followHeight()
{
    Timer3_Timer();
    toppicture_Timer();
    Timer6_Timer();
    updateTitleScroll();
}

// At any other height the strip items keep what they show.
void Orvane::Timer3_Timer()
{
    if (Height() == HeightPlayer)
        c.toptime->setVisible(false);
    else if (Height() == HeightStrip)
        c.toptime->setVisible(true);
}

void Orvane::toppicture_Timer()
{
    if (Height() == HeightPlayer)
        c.toppic->setVisible(false);
    else if (Height() == HeightStrip)
        c.toppic->setVisible(true);
}

void Orvane::Timer6_Timer()
{
    for (ImageControl *spot : {c.Image5, c.Image6, c.Image7, c.Image8, c.Image16}) {
        if (Height() == HeightPlayer)
            spot->setEnabled(false);
        else if (Height() == HeightStrip)
            spot->setEnabled(true);
    }
}
