#pragma once
// A window's screen position kept between runs: its Top and Left in twips, as
// text, under the keys "MAINTOP" and "MAINLEFT" of a section of the program's
// settings. Each coordinate is restored on its own: a missing or unreadable
// value leaves only that one where it was. A stored place that would put the
// window's top strip (where it is grabbed to be moved) off every screen is not
// applied: the coordinate at fault keeps its design value, so the window can
// always be seen and dragged. That catches positions saved on a screen that
// is gone, and values beyond the window system's 16-bit range.
#include <QString>

class QWidget;

inline constexpr char MainTopKey[] = "MAINTOP";
inline constexpr char MainLeftKey[] = "MAINLEFT";

void LoadPosition(QWidget *window, const QString &section);
void SavePosition(const QWidget *window, const QString &section);

// Text as stored to twips; false for "", text that is no number, or a value
// no window could be placed at.
bool PositionFromText(const QString &text, double *twips);
// Twips as stored: the shortest decimal text ("2340", "-150", "12.5").
QString PositionToText(double twips);
