// The MP3 list on the right: sorting, views, selection summary, renaming an
// item in place, the export of the selected files as a playlist, and the
// path split the window offers to others.
#include "frmMP3.h"

#include "FileDialogControl.h"
#include "MP3ListView.h"
#include "MsgBox.h"
#include "PathUtil.h"
#include "PlaylistFile.h"
#include "frmEditTags.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QLocale>
#include <QMenu>

#include <cmath>

void frmMP3::lstMP3_ColumnClick(int ColumnIndex)
{
    lstMP3->setSortKey(ColumnIndex - 1);
    // The order flips on every click, whichever column was clicked.
    lstMP3->setSortOrder(lstMP3->SortOrder() == 0 ? 1 : 0);
    lstMP3->setSorted(true);
}

QString frmMP3::NumberText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const double magnitude = std::fabs(value);
    if (value == 0)
        return QStringLiteral("0");
    if (magnitude < 1e-9 || magnitude >= 1e15)
        return locale.toString(value, 'g', 15);
    const int whole = magnitude < 1 ? 1 : int(std::floor(std::log10(magnitude))) + 1;
    QString text = locale.toString(value, 'f', qMax(0, 15 - whole));
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

std::variant<QString, Error> frmMP3::SelectionSummary(const MP3ListView &list)
{
    const QLocale locale;
    qint64 count = 0;
    double total = 0;
    for (int i = 1; i <= list.Count(); ++i) {
        if (!list.Selected(i))
            continue;
        if (!list.HasSubItem(i, 1))
            return Error{35600, QStringLiteral("Index out of bounds")};
        const QString size = list.SubItem(i, 1);
        if (size.size() < 2)
            return Error{ErrorNumber::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument")};
        bool ok = false;
        const double bytes = locale.toDouble(size.chopped(2).trimmed(), &ok);
        if (!ok)
            return Error{13, QStringLiteral("Type mismatch")};
        total += bytes;
        ++count;
    }
    return QString::number(count) + QStringLiteral(" MP3(s) Selected ") + NumberText(total / 1000000)
           + QStringLiteral(" MB");
}

void frmMP3::lstMP3_ItemClick()
{
    const std::variant<QString, Error> summary = SelectionSummary(*lstMP3);
    if (const auto *text = std::get_if<QString>(&summary)) {
        stbMp3Panel1->setText(*text);
        return;
    }
    MsgBox(std::get<Error>(summary).description, MsgBoxStyle::OkOnly);
    stbMp3Panel1->setText(QString());
}

void frmMP3::lstMP3_MouseDown(int Button)
{
    if (Button == 2 && lstMP3->Count() > 0)
        mnuPopup->popup(QCursor::pos());
}

void frmMP3::lstMP3_MouseMove() { DraggingFromList = true; }

void frmMP3::lstMP3_MouseUp()
{
    DraggingFromList = false;
    HoverNodeIndex = 0;
}

void frmMP3::lstMP3_OLECompleteDrag()
{
    setWindowTitle(QStringLiteral("MP3 - File Manager"));
    // The tree's highlight belongs to the drag that has ended.
    setDropHighlight(nullptr);
}

void frmMP3::mnuRename_Click() { lstMP3->StartLabelEdit(); }

void frmMP3::lstMP3_AfterLabelEdit(int Index, bool &Cancel, QString &NewString)
{
    if (!typedNameAccepted(NewString, QStringLiteral("File"))) {
        Cancel = true;
        return;
    }
    // The name is taken only once the file on disk bears it.
    const QString from = lstMP3->SubItem(Index, 3);
    if (NewString == GetSong(from)) {
        Cancel = true; // unchanged
        return;
    }
    // An item without a folder names no file that could be renamed.
    const QString to = StripFileName(from).isEmpty() ? QString() : StripFileName(from) + NewString;
    if (!renameOnDisk(from, to)) {
        Cancel = true;
        return;
    }
    lstMP3->setSubItem(Index, 3, to);
}

void frmMP3::mnuSelectAll_Click() { lstMP3->SelectAll(); }

void frmMP3::mnuViewIcon_Click(int Index)
{
    if (Index < 0 || Index >= mnuViewIcon.size())
        return;
    for (int i = 0; i < mnuViewIcon.size(); ++i)
        mnuViewIcon.at(i)->setChecked(i == Index);
    lstMP3->setView(Index);
    lstMP3->setArrange(1);
}

void frmMP3::mnuMakePlayList_Click()
{
    QStringList rows;
    for (int i = 1; i <= lstMP3->Count(); ++i)
        if (lstMP3->Selected(i) && !lstMP3->SubItem(i, 3).isEmpty())
            rows.append(lstMP3->SubItem(i, 3));
    if (rows.isEmpty()) {
        // An empty playlist is no use to anyone, and would replace a good file.
        MsgBox(QStringLiteral("No MP3's are selected - there is nothing to write to a play list."),
               MsgBoxStyle::Exclamation);
        return;
    }

    // A cancel leaves FileName as it was; starting from "" makes sure a
    // cancel never reads as a choice.
    cdgMP3->setFileName(QString());
    cdgMP3->setFlags(2054);
    cdgMP3->setFilter(QStringLiteral("MP3 Playlist (*.m3u)|*.m3u"));
    cdgMP3->ShowSave();
    const QString fileName = cdgMP3->FileName();
    if (fileName.isEmpty())
        return;
    const Status written = PlaylistFile::write(fileName, rows);
    cdgMP3->setFileName(QString());
    if (written)
        MsgBox(written->description, MsgBoxStyle::Critical);
}

void frmMP3::EditSelectedTags()
{
    const int i = lstMP3->SelectedItem();
    if (i == 0 || lstMP3->SubItem(i, 3).isEmpty())
        return;
    frmEditTags::instance().StartEdit(lstMP3->SubItem(i, 3));
}

QString frmMP3::GetSong(const QString &FullPath) { return StripPath(FullPath); }

QString frmMP3::StripFileName(const QString &FullPath) { return ::StripFileName(FullPath); }
