#pragma once
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// The open/save dialog each window keeps as one control: the caller sets
// DialogTitle, Filter and Flags, shows it, and reads FileName afterwards.
// A cancel raises no error and leaves FileName as it was.
class FileDialogControl : public QObject {
    Q_OBJECT
public:
    // Flags understood here (others are accepted and ignored).
    enum : int { OverwritePrompt = 2, HideReadOnly = 4, PathMustExist = 2048 };

    explicit FileDialogControl(QWidget *owner);

    QString DialogTitle() const { return m_title; }
    void setDialogTitle(const QString &title) { m_title = title; }
    QString Filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }
    int Flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    // The name part of the last confirmed FileName.
    QString FileTitle() const;

    void ShowOpen();
    void ShowSave();

    // "desc|*.a;*.b|desc2|*.c" as Qt name filters: the label the user sees
    // ("desc (*.a *.b)") followed by the patterns matched, in their other
    // letter cases too ("(*.a *.A *.b *.B)"); the dialog hides that last list.
    static QStringList toNameFilters(const QString &filter);

private:
    void show(bool save);

    QWidget *m_owner;
    QString m_title;
    QString m_filter;
    int m_flags = 0;
    QString m_fileName;
};

// Test seam: when scripted, no dialog is shown; each show takes the next
// queued answer (a path, or std::nullopt for a cancel; an empty queue is a
// cancel) and is recorded.
namespace FileDialogSeam {
struct Shown {
    bool save = false;
    QString title;
    QString filter;
    int flags = 0;
};
void setScripted(bool on);
bool isScripted();
void queueAnswer(std::optional<QString> answer);
QList<Shown> shown();
void clear();
}
