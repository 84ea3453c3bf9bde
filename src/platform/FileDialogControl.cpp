#include "FileDialogControl.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

namespace {
struct SeamState {
    bool scripted = false;
    QList<std::optional<QString>> answers;
    QList<FileDialogSeam::Shown> shown;
};
SeamState &seam()
{
    static SeamState s;
    return s;
}

// QFileDialog matches patterns case-sensitively on Linux; a user's "SONG.MP3"
// must still show under "*.mp3", so each pattern is offered in its other cases too.
QStringList caseVariants(const QString &pattern)
{
    QStringList out{pattern};
    for (const QString &v : {pattern.toLower(), pattern.toUpper()})
        if (!out.contains(v))
            out.append(v);
    return out;
}
} // namespace

FileDialogControl::FileDialogControl(QWidget *owner)
    : QObject(owner), m_owner(owner)
{
}

QString FileDialogControl::FileTitle() const
{
    return QFileInfo(m_fileName).fileName();
}

void FileDialogControl::ShowOpen() { show(false); }
void FileDialogControl::ShowSave() { show(true); }

QStringList FileDialogControl::toNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList given, patterns;
        for (const QString &p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            given.append(p.trimmed());
            for (const QString &v : caseVariants(p.trimmed()))
                if (!patterns.contains(v))
                    patterns.append(v);
        }
        // The dialog matches by the last bracketed list and, with its details
        // hidden, shows everything before it: the description with its own
        // patterns once, whether the caller wrote them into it or not.
        QString label = parts.at(i).trimmed();
        if (!label.endsWith(QLatin1Char(')')) || !label.contains(QLatin1Char('(')))
            label += QLatin1String(" (") + given.join(QLatin1Char(' ')) + QLatin1Char(')');
        result.append(label + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return result;
}

void FileDialogControl::show(bool save)
{
    if (seam().scripted) {
        seam().shown.append({save, m_title, m_filter, m_flags});
        std::optional<QString> answer;
        if (!seam().answers.isEmpty())
            answer = seam().answers.takeFirst();
        if (answer)
            m_fileName = *answer;
        return;
    }

    QFileDialog dialog(m_owner, m_title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = toNameFilters(m_filter);
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setNameFilters(filters);
    }
    if (save && !(m_flags & OverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_fileName = dialog.selectedFiles().constFirst();
}

namespace FileDialogSeam {
void setScripted(bool on) { seam().scripted = on; }
bool isScripted() { return seam().scripted; }
void queueAnswer(std::optional<QString> answer) { seam().answers.append(std::move(answer)); }
QList<Shown> shown() { return seam().shown; }
void clear()
{
    seam().answers.clear();
    seam().shown.clear();
}
} // namespace FileDialogSeam
