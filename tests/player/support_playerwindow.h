#pragma once
// The main window under test, driven with real mouse events: they go through
// the window system to whichever control lies at the point, with Qt's
// implicit grab, just as a user's clicks do. Include this before <QTest>.
#ifndef QTEST_QPA_MOUSE_HANDLING
#define QTEST_QPA_MOUSE_HANDLING
#endif
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "FileDialogControl.h"
#include "TestEnvironment.h"
#include "MediaFixtures.h"
#include "MediaPlayerControl.h"
#include "Orvane.h"
#include "OrvaneGeometry.h"

#include <memory>

namespace PlayerWindow {

// Settings in a temporary folder, a silent timed audio sink, scripted dialogs.
inline void setUpEnvironment(const QTemporaryDir &settingsDir)
{
    setUpWindowTestEnvironment(settingsDir.path());
}

inline std::unique_ptr<Orvane> shown()
{
    auto w = std::make_unique<Orvane>();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("the main window was not exposed");
    return w;
}

// The centre of a control's place, in window pixels.
inline QPoint centre(const char *name) { return OrvaneGeometry::px(name).center(); }

// The widget a click at the control's place reaches (it must be the control).
inline QString reachedAt(Orvane &w, const char *name)
{
    QWidget *hit = w.childAt(centre(name));
    return hit ? hit->objectName() : QString();
}

inline void click(Orvane &w, const char *name) { QTest::mouseClick(&w, Qt::LeftButton, {}, centre(name)); }

} // namespace PlayerWindow
