#pragma once
#include <QList>
#include <QString>

// Style values as the windows pass them: the low bits choose the buttons
// (0 OK, 1 OK/Cancel, 4 Yes/No), the icon bits 16 critical, 32 question,
// 48 exclamation, 64 information.
namespace MsgBoxStyle {
constexpr int OkOnly = 0;
constexpr int OkCancel = 1;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
}

// Answers, as the old runtime numbered them.
namespace MsgBoxResult {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
}

// Shows a modal message box. An empty title means the application's own
// title ("Orvane"). Returns the button pressed.
int MsgBox(const QString &text, int style = MsgBoxStyle::OkOnly, const QString &title = QString());

// Test seam: when scripted, MsgBox never shows a window; it records the call
// and returns the next queued answer (Ok, or the first button, when none is queued).
namespace MsgBoxSeam {
struct Shown {
    QString text;
    int style = 0;
    QString title; // as displayed, default title filled in
};
void setScripted(bool on);
bool isScripted();
void queueAnswer(int answer);
QList<Shown> shown();
void clear();
}
