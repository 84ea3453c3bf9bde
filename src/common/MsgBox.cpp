#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace {
struct SeamState {
    bool scripted = false;
    QList<int> answers;
    QList<MsgBoxSeam::Shown> shown;
};
SeamState &seam()
{
    static SeamState s;
    return s;
}

int firstButton(int style)
{
    switch (style & 7) {
    case MsgBoxStyle::OkCancel: return MsgBoxResult::Ok;
    case MsgBoxStyle::YesNo: return MsgBoxResult::Yes;
    default: return MsgBoxResult::Ok;
    }
}
} // namespace

int MsgBox(const QString &text, int style, const QString &title)
{
    const QString shownTitle = title.isEmpty() ? QStringLiteral("Orvane") : title;
    if (seam().scripted) {
        seam().shown.append({text, style, shownTitle});
        return seam().answers.isEmpty() ? firstButton(style) : seam().answers.takeFirst();
    }

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(shownTitle);
    // File names and system messages are shown as they are: a name with
    // "<b>" or "&amp;" in it must not turn into markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (style & 0x70) {
    case MsgBoxStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBoxStyle::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBoxStyle::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBoxStyle::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    switch (style & 7) {
    case MsgBoxStyle::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgBoxStyle::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return MsgBoxResult::Cancel;
    case QMessageBox::Yes: return MsgBoxResult::Yes;
    case QMessageBox::No: return MsgBoxResult::No;
    default: return MsgBoxResult::Ok;
    }
}

namespace MsgBoxSeam {
void setScripted(bool on) { seam().scripted = on; }
bool isScripted() { return seam().scripted; }
void queueAnswer(int answer) { seam().answers.append(answer); }
QList<Shown> shown() { return seam().shown; }
void clear()
{
    seam().answers.clear();
    seam().shown.clear();
}
} // namespace MsgBoxSeam
