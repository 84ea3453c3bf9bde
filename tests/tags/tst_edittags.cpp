#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "SkinHotSpot.h"
#include "MsgBox.h"
#include "clsMousePointer.h"
#include "frmEditTags.h"
#include "TestFiles.h"

#include <cstdio>

namespace {
using TestFiles::id3Field;
using TestFiles::id3Tag;

QByteArray sound(int size)
{
    QByteArray a(size, '\0');
    for (int i = 0; i < size; ++i)
        a[i] = char(0xE0 + i % 31);
    return a;
}

using TestFiles::readFile;
using TestFiles::writeFile;

// Opens the editor on path the way the playlist does (GetTags, then
// StartEdit when that worked) and lets `act` play the user. Returns whether
// the editor was shown.
bool edit(const QString &path, const std::function<void(frmEditTags &)> &act)
{
    bool shown = false;
    frmEditTags &ed = frmEditTags::instance();
    frmEditTags::setModalHook([&](frmEditTags &w) {
        shown = true;
        if (!QTest::qWaitForWindowActive(&w))
            qWarning("editor window did not become active");
        act(w);
    });
    if (ed.GetTags(path))
        ed.StartEdit(path);
    frmEditTags::setModalHook({});
    return shown;
}

void clickSave(frmEditTags &w)
{
    QTest::mouseClick(w.Image1, Qt::LeftButton, {}, w.Image1->rect().center());
}

// Types text as key presses; characters beyond ASCII arrive as the key
// events a keyboard layout or input method would send.
void typeText(QWidget *w, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, char(c.unicode()));
            continue;
        }
        QString one(c);
        if (c.isHighSurrogate() && i + 1 < text.size())
            one += text.at(++i);
        QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, one, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, one, Qt::NoModifier);
    }
}

// Opens the genre list with a click on the box and clicks the named entry,
// scrolled into sight first as the user would. False when the list did not
// come up or did not close again.
bool chooseGenre(QComboBox *box, const QString &name)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QAbstractItemView *list = box->view();
    if (!QTest::qWaitFor([list] { return list->isVisible(); }, 5000))
        return false;
    const QModelIndex entry = list->model()->index(box->findText(name), 0);
    list->scrollTo(entry);
    const QPoint at = list->visualRect(entry).center();
    QTest::mouseMove(list->viewport(), at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (!QTest::qWaitFor([list] { return !list->isVisible(); }, 5000))
        return false;
    // A window system hands the activation back to the window once its
    // popup is gone; the offscreen platform leaves it with the hidden list.
    QWindow *window = box->window()->windowHandle();
    window->requestActivate();
    return QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window; }, 5000);
}

// Right-clicks the box and chooses Paste in its menu with the menu's own
// key. False when no menu came up or it did not close.
bool contextMenuPaste(QLineEdit *box)
{
    const QPoint at = box->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &event);
    if (!QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 5000))
        return false;
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_P);
    return QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 5000);
}

// Drags text onto the box and lets go.
void drop(QLineEdit *box, const QString &text)
{
    QMimeData data;
    data.setText(text);
    const QPointF at = box->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &dropped);
}

void replaceText(QLineEdit *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

// Writes an ID3v1 title and artist into the file with another tagging tool.
bool retag(const QString &path)
{
    QProcess id3v2;
    id3v2.setProcessChannelMode(QProcess::ForwardedChannels);
    id3v2.start(QStringLiteral("id3v2"), {QStringLiteral("-1"), QStringLiteral("-t"), QStringLiteral("Other"),
                                          QStringLiteral("-a"), QStringLiteral("Someone"), path});
    return id3v2.waitForFinished(60000) && id3v2.exitStatus() == QProcess::NormalExit && id3v2.exitCode() == 0;
}

// Puts a copy of the file, as `change` leaves it, in the file's place.
bool replaceWithCopy(const QString &path, const std::function<bool(const QString &)> &change)
{
    const QString copy = path + QStringLiteral(".new");
    return QFile::copy(path, copy) && change(copy) && ::rename(QFile::encodeName(copy).constData(),
                                                               QFile::encodeName(path).constData()) == 0;
}
} // namespace

class TestEditTags : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        MsgBoxSeam::setScripted(true);
        MsgBoxSeam::clear();
    }

    void windowShape()
    {
        frmEditTags &w = frmEditTags::instance();
        QCOMPARE(&frmEditTags::instance(), &w);
        QCOMPARE(w.size(), QSize(274, 209));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.windowTitle(), QLatin1String("Edit Tags"));
        QVERIFY(w.isModal());
        const int maxLengths[5] = {30, 30, 30, 4, 30};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(w.txtEditTags[size_t(i)]->maxLength(), maxLengths[i]);
        QCOMPARE(w.Image1->focusPolicy(), Qt::NoFocus);
    }

    // An untagged song.mp3 of L bytes gets a tag appended, titled by its name.
    void untaggedFile()
    {
        QTemporaryDir dir;
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("music"))));
        const QString path = dir.filePath(QStringLiteral("music/song.mp3"));
        const QByteArray original = sound(4321);
        QVERIFY(writeFile(path, original));

        const bool shown = edit(path, [](frmEditTags &w) {
            QCOMPARE(w.txtEditTags[0]->text(), QLatin1String("song.mp3"));
            for (int i = 1; i < 5; ++i)
                QCOMPARE(w.txtEditTags[size_t(i)]->text(), QString());
            QCOMPARE(w.cmbGenre->currentIndex(), -1);
            QCOMPARE(w.cmbGenre->count(), 148);
            clickSave(w);
            QVERIFY(!w.isVisible());
        });
        QVERIFY(shown);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QByteArray expected = original + "TAG" + "song.mp3" + QByteArray(22, ' ') + QByteArray(94, ' ') + char(12);
        QCOMPARE(readFile(path).toHex(), expected.toHex());
    }

    // One pass through the editor as a user makes it: typing into every box
    // (letters into Year too), choosing a genre, clicking Save.
    void userEditsAndSaves()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("track.mp3"));
        const QByteArray original = sound(20000);
        QVERIFY(writeFile(path, original));

        const bool shown = edit(path, [](frmEditTags &w) {
            replaceText(w.txtEditTags[0], QStringLiteral("My Song"));
            QTest::keyClick(w.txtEditTags[0], Qt::Key_Tab);
            QVERIFY(w.txtEditTags[1]->hasFocus());
            QTest::keyClicks(w.txtEditTags[1], QStringLiteral("The Band"));
            QTest::keyClick(w.txtEditTags[1], Qt::Key_Tab);
            QTest::keyClicks(w.txtEditTags[2], QStringLiteral("Greatest Hits of All Time, Volume 12"));
            QCOMPARE(w.txtEditTags[2]->text(), QLatin1String("Greatest Hits of All Time, Vol")); // 30
            QTest::keyClick(w.txtEditTags[2], Qt::Key_Tab);
            QTest::keyClicks(w.txtEditTags[3], QStringLiteral("19x8a4"));
            QCOMPARE(w.txtEditTags[3]->text(), QLatin1String("1984"));
            QTest::keyClick(w.txtEditTags[3], Qt::Key_Tab);
            typeText(w.txtEditTags[4], QString::fromUtf8("Live at the Café"));
            QTest::keyClick(w.txtEditTags[4], Qt::Key_Tab);
            QVERIFY(w.cmbGenre->hasFocus());
            QTest::keyClicks(w.cmbGenre, QStringLiteral("Rock"));
            QCOMPARE(w.cmbGenre->currentText(), QLatin1String("Rock"));
            clickSave(w);
        });
        QVERIFY(shown);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        const QByteArray expected = original
            + id3Tag("My Song", "The Band", "Greatest Hits of All Time, Vol", "1984", "Live at the Caf\xE9", 17);
        QCOMPARE(readFile(path).toHex(), expected.toHex());
    }

    // Tagged files saved keep their length, and their bytes wherever the
    // text shown is the text saved; the genre byte stays as read until the
    // user chooses another genre in the list. "Other", shown for a byte
    // that names no genre, is written only when the user picks it.
    void savedKeepsWhatWasNotEdited_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("genreShown");
        QTest::addColumn<QString>("yearTyped");       // typed into the empty Year box
        QTest::addColumn<QStringList>("genresChosen"); // in the list, one after another
        const QByteArray s = sound(999);
        const QStringList none;
        QTest::newRow("genre 17") << s + id3Tag("T", "A", "B", "2000", "C", 17) << s + id3Tag("T", "A", "B", "2000", "C", 17)
                                  << "Rock" << "" << none;
        QTest::newRow("genre 148") << s + id3Tag("T", "", "", "", "", 148) << s + id3Tag("T", "", "", "", "", 148)
                                   << "Other" << "" << none;
        QTest::newRow("genre 255") << s + id3Tag("T", "", "", "", "", 255) << s + id3Tag("T", "", "", "", "", 255)
                                   << "Other" << "" << none;
        QTest::newRow("genre 255, year typed")
            << s + id3Tag("T", "", "", "", "", 255) << s + id3Tag("T", "", "", "1999", "", 255) << "Other" << "1999"
            << none;
        QTest::newRow("genre 150, year typed")
            << s + id3Tag("T", "", "", "", "", 150) << s + id3Tag("T", "", "", "2004", "", 150) << "Other" << "2004"
            << none;
        QTest::newRow("genre 255, Rock chosen") << s + id3Tag("T", "", "", "", "", 255)
                                                << s + id3Tag("T", "", "", "", "", 17) << "Other" << "" << QStringList{"Rock"};
        QTest::newRow("genre 255, Other chosen again")
            << s + id3Tag("T", "", "", "", "", 255) << s + id3Tag("T", "", "", "", "", 255) << "Other" << ""
            << QStringList{"Other"};
        QTest::newRow("genre 255, Rock then Other")
            << s + id3Tag("T", "", "", "", "", 255) << s + id3Tag("T", "", "", "", "", 12) << "Other" << ""
            << QStringList{"Rock", "Other"};
        QByteArray nul = s + "TAG" + QByteArray(124, '\0') + char(0);
        QTest::newRow("NUL-filled") << nul << nul << "Blues" << "" << none;
        QByteArray mixed = s + id3Tag("ab", "x", "", "", "", 5);
        mixed[999 + 3 + 2] = '\0';
        mixed[999 + 3 + 3] = 'c';
        QTest::newRow("NUL inside a field") << mixed << mixed << "Funk" << "" << none;
        QByteArray v11 = s + id3Tag("Title", "Artist", "Album", "1999", "Comm", 17, '\0');
        v11[999 + 126] = char(5);
        QTest::newRow("NUL-padded with track 5") << v11 << v11 << "Rock" << "" << none;
        QByteArray all = s + "TAG";
        for (int b = 1; all.size() < 999 + 127; ++b)
            all.append(char(b == 32 ? 33 : b));
        all.append(char(33));
        QTest::newRow("bytes 1-124") << all << all << "Instrumental" << "" << none;
        QByteArray high = s + "TAG";
        for (int b = 131; high.size() < 999 + 127; ++b)
            high.append(char(b));
        high.append(char(1));
        QTest::newRow("bytes 131-254") << high << high << "Classic Rock" << "" << none;
        QTest::newRow("exactly 128 bytes") << id3Tag("Only", "", "", "", "", 2) << id3Tag("Only", "", "", "", "", 2)
                                           << "Country" << "" << none;
    }
    void savedKeepsWhatWasNotEdited()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, genreShown);
        QFETCH(QString, yearTyped);
        QFETCH(QStringList, genresChosen);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mp3"));
        QVERIFY(writeFile(path, before));
        const bool shown = edit(path, [&](frmEditTags &w) {
            QCOMPARE(w.cmbGenre->currentText(), genreShown);
            if (!yearTyped.isEmpty()) {
                QTest::mouseClick(w.txtEditTags[3], Qt::LeftButton);
                QTest::keyClicks(w.txtEditTags[3], yearTyped);
                QCOMPARE(w.txtEditTags[3]->text(), yearTyped);
            }
            for (const QString &genre : genresChosen) {
                QVERIFY(chooseGenre(w.cmbGenre, genre));
                QCOMPARE(w.cmbGenre->currentText(), genre);
            }
            clickSave(w);
        });
        QVERIFY(shown);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        const QByteArray now = readFile(path);
        QCOMPARE(now.size(), before.size());
        QCOMPARE(now.toHex(), after.toHex());
    }

    // A tag as `id3v2 -1` writes it (NUL padding, a track number) opens with
    // room to type: at the end of Title, a Year into the empty one, the
    // comment up to 28 characters. The save changes those and nothing else.
    void toolWrittenTagTakesTyping()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("v11.mp3"));
        const QByteArray body = sound(3000);
        QByteArray tag = id3Tag("Title", "Artist", "Album", "", "Comm", 17, '\0');
        tag[126] = char(5);
        QVERIFY(writeFile(path, body + tag));
        QVERIFY(edit(path, [](frmEditTags &w) {
            QCOMPARE(w.txtEditTags[0]->text(), QLatin1String("Title"));
            QCOMPARE(w.txtEditTags[3]->text(), QString());
            QCOMPARE(w.txtEditTags[4]->text(), QLatin1String("Comm"));
            w.txtEditTags[0]->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(w.txtEditTags[0], Qt::Key_End);
            QTest::keyClicks(w.txtEditTags[0], QStringLiteral(" Two"));
            QTest::keyClick(w.txtEditTags[0], Qt::Key_Tab);
            w.txtEditTags[3]->setFocus(Qt::MouseFocusReason);
            QTest::keyClicks(w.txtEditTags[3], QStringLiteral("2001"));
            QTest::keyClick(w.txtEditTags[3], Qt::Key_Tab);
            QTest::keyClick(w.txtEditTags[4], Qt::Key_End);
            QTest::keyClicks(w.txtEditTags[4], QString(30, QLatin1Char('x')));
            QCOMPARE(w.txtEditTags[4]->text().size(), 28);
            clickSave(w);
        }));
        QVERIFY(MsgBoxSeam::shown().isEmpty());
        QByteArray expected = body + tag;
        expected.replace(3000 + 3, 30, id3Field("Title Two", 30));
        expected.replace(3000 + 93, 4, "2001");
        expected.replace(3000 + 97, 28, "Comm" + QByteArray(24, 'x'));
        QCOMPARE(readFile(path).toHex(), expected.toHex()); // byte 125 still 0, 126 still 5
    }

    void longNameIsCut()
    {
        QTemporaryDir dir;
        const QString name = QStringLiteral("A very long file name, longer than thirty.mp3");
        const QString path = dir.filePath(name);
        QVERIFY(writeFile(path, sound(500)));
        QVERIFY(edit(path, [&](frmEditTags &w) {
            QCOMPARE(w.txtEditTags[0]->text(), name.left(30));
            clickSave(w);
        }));
        QCOMPARE(readFile(path).mid(500 + 3, 30), name.left(30).toLatin1());
    }

    void yearKeyFilter()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("y.mp3"));
        QVERIFY(writeFile(path, sound(300) + id3Tag("T", "", "", "19ab", "", 1)));
        QVERIFY(edit(path, [](frmEditTags &w) {
            QLineEdit *year = w.txtEditTags[3];
            QCOMPARE(year->text(), QLatin1String("19ab")); // read from the tag unfiltered
            year->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(year, Qt::Key_End);
            QTest::keyClick(year, Qt::Key_Backspace);
            QTest::keyClick(year, Qt::Key_Backspace);
            QCOMPARE(year->text(), QLatin1String("19"));
            // Routes around the key filter take no letters either, not even
            // one the year had: the context menu's Paste, an input method,
            // a drop.
            QApplication::clipboard()->setText(QStringLiteral("x7"));
            QVERIFY(contextMenuPaste(year));
            QCOMPARE(year->text(), QLatin1String("19"));
            QInputMethodEvent ime;
            ime.setCommitString(QStringLiteral("a"));
            QApplication::sendEvent(year, &ime);
            QCOMPARE(year->text(), QLatin1String("19"));
            drop(year, QStringLiteral("b"));
            QCOMPARE(year->text(), QLatin1String("19"));
            QTest::keyClicks(year, QStringLiteral("x -.7"));
            QCOMPARE(year->text(), QLatin1String("197"));
            QTest::keyClicks(year, QStringLiteral("56"));
            QCOMPARE(year->text(), QLatin1String("1975")); // MaxLength 4
            // Digits come in by any route.
            QTest::keyClick(year, Qt::Key_Home);
            QTest::keyClick(year, Qt::Key_End, Qt::ShiftModifier);
            QApplication::clipboard()->setText(QStringLiteral("2001"));
            QVERIFY(contextMenuPaste(year));
            QCOMPARE(year->text(), QLatin1String("2001"));
            // Other boxes take every key.
            replaceText(w.txtEditTags[1], QStringLiteral("x -.7"));
            QCOMPARE(w.txtEditTags[1]->text(), QLatin1String("x -.7"));
            clickSave(w);
        }));
        QCOMPARE(readFile(path).mid(300 + 93, 4), QByteArray("2001"));
        QCOMPARE(readFile(path).mid(300 + 33, 5), QByteArray("x -.7"));
    }

    // Leaving a box trims it; clicking Save straight away does not.
    void trimOnLeavingBox()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("trim.mp3"));
        QVERIFY(writeFile(path, sound(300)));
        QVERIFY(edit(path, [](frmEditTags &w) {
            replaceText(w.txtEditTags[1], QStringLiteral("  Artist  "));
            QTest::keyClick(w.txtEditTags[1], Qt::Key_Tab);
            QCOMPARE(w.txtEditTags[1]->text(), QLatin1String("Artist"));
            replaceText(w.txtEditTags[2], QStringLiteral("  Album"));
            clickSave(w);
        }));
        const QByteArray now = readFile(path);
        QCOMPARE(now.mid(300 + 33, 30), id3Field("Artist", 30));
        QCOMPARE(now.mid(300 + 63, 30), id3Field("  Album", 30));
    }

    void failingFileThenGoodFile()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.mp3"));
        QVERIFY(writeFile(good, sound(400)));
        frmEditTags &ed = frmEditTags::instance();
        bool shown = false;
        frmEditTags::setModalHook([&](frmEditTags &) { shown = true; });
        ed.StartEdit(dir.filePath(QStringLiteral("missing.mp3")));
        QVERIFY(!shown);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        ed.StartEdit(good);
        frmEditTags::setModalHook({});
        QVERIFY(shown);
        QCOMPARE(ed.cmbGenre->count(), 148);
        QSet<QString> names;
        for (int i = 0; i < ed.cmbGenre->count(); ++i)
            names.insert(ed.cmbGenre->itemText(i));
        QCOMPARE(names.size(), 148);
        QCOMPARE(ed.cmbGenre->itemText(117), QLatin1String("Power Ballad"));
        QCOMPARE(readFile(good), sound(400)); // left by the hook's end: cancelled
    }

    void removeId3AndCancelWriteNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.mp3"));
        const QByteArray original = sound(700) + id3Tag("Keep", "Me", "", "", "", 9);
        QVERIFY(writeFile(path, original));
        QVERIFY(edit(path, [](frmEditTags &w) {
            replaceText(w.txtEditTags[0], QStringLiteral("Changed"));
            QTest::mouseClick(w.Image3, Qt::LeftButton, {}, w.Image3->rect().center());
            QVERIFY(w.isVisible());
            QTest::mouseClick(w.Image2, Qt::LeftButton, {}, w.Image2->rect().center());
            QVERIFY(!w.isVisible());
        }));
        QVERIFY(edit(path, [](frmEditTags &w) {
            replaceText(w.txtEditTags[0], QStringLiteral("Changed"));
            QTest::keyClick(w.txtEditTags[0], Qt::Key_Escape);
            QVERIFY(!w.isVisible());
        }));
        QCOMPARE(readFile(path), original);
        QVERIFY(MsgBoxSeam::shown().isEmpty());
    }

    // A press on Save that is released outside it saves nothing.
    void pressReleasedOutsideIsNoClick()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.mp3"));
        QVERIFY(writeFile(path, sound(300)));
        QVERIFY(edit(path, [](frmEditTags &w) {
            QTest::mousePress(w.Image1, Qt::LeftButton, {}, QPoint(2, 2));
            QVERIFY(w.Image1->isDown());
            QTest::mouseRelease(w.Image1, Qt::LeftButton, {}, QPoint(-20, 40));
            QVERIFY(w.isVisible());
        }));
        QCOMPARE(readFile(path), sound(300));
    }

    void readFailures_data()
    {
        QTest::addColumn<int>("size"); // -1 missing, -2 folder
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << -1 << "File not found";
        QTest::newRow("folder") << -2 << "is a folder";
        QTest::newRow("0 bytes") << 0 << " does not contain any data.";
        QTest::newRow("100 bytes") << 100 << "too short to hold an ID3 tag";
    }
    void readFailures()
    {
        QFETCH(int, size);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.mp3"));
        if (size >= 0)
            QVERIFY(writeFile(path, sound(size)));
        if (size == -2)
            QVERIFY(QDir().mkdir(path));
        QVERIFY(!edit(path, [](frmEditTags &) {}));
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1); // once, not twice
        QVERIFY2(shown.first().text.contains(says), qPrintable(shown.first().text));
        QCOMPARE(shown.first().style, int(MsgBoxStyle::Critical));
        QCOMPARE(shown.first().title, QLatin1String("Orvane"));
        if (size == 0)
            QCOMPARE(shown.first().text, path + QLatin1String(" does not contain any data."));
        if (size >= 0)
            QCOMPARE(readFile(path), sound(size));
        QCOMPARE(clsMousePointer::ScreenPointer(), 0); // the hourglass is gone again
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("says");
        // A refused character keeps the editor open with the typing in it;
        // a failed write closes it.
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("read-only file") << "readonly" << "read-only" << false;
        QTest::newRow("folder moved away") << "moved" << "no longer exists" << false;
        QTest::newRow("deleted while open") << "deleted" << "no longer exists" << false;
        QTest::newRow("euro sign typed") << "euro" << "\"€\"" << true;
        QTest::newRow("chinese typed") << "cjk" << "\"歌\"" << true;
        // Changed behind the editor's back: the other program's work stays.
        const QString changed = QStringLiteral(" was changed by another program since it was opened.");
        QTest::newRow("another tool rewrote the tag") << "retagged" << changed << false;
        QTest::newRow("replaced by a retagged copy") << "replaced" << changed << false;
        QTest::newRow("sound added before the tag") << "longer" << changed << false;
        QTest::newRow("same bytes, another file") << "copied" << changed << false;
    }
    void saveFailures()
    {
        QFETCH(QString, failure);
        QFETCH(QString, says);
        QFETCH(bool, staysOpen);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("music"));
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + QStringLiteral("/s.mp3");
        const QByteArray original = sound(5000) + id3Tag("Old", "Artist", "", "", "", 3);
        QVERIFY(writeFile(path, original));
        if (failure == QLatin1String("readonly"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        QString survivor = path;
        QByteArray left = original; // what the file must hold afterwards

        QVERIFY(edit(path, [&](frmEditTags &w) {
            replaceText(w.txtEditTags[0], QStringLiteral("New title"));
            if (failure == QLatin1String("euro"))
                typeText(w.txtEditTags[4], QString::fromUtf8("5 €"));
            if (failure == QLatin1String("cjk"))
                typeText(w.txtEditTags[1], QString::fromUtf8("歌"));
            if (failure == QLatin1String("moved")) {
                QVERIFY(QDir().rename(folder, dir.filePath(QStringLiteral("elsewhere"))));
                survivor = dir.filePath(QStringLiteral("elsewhere/s.mp3"));
            }
            if (failure == QLatin1String("deleted"))
                QVERIFY(QFile::remove(path));
            if (failure == QLatin1String("retagged"))
                QVERIFY(retag(path));
            if (failure == QLatin1String("replaced"))
                QVERIFY(replaceWithCopy(path, retag));
            if (failure == QLatin1String("longer"))
                QVERIFY(writeFile(path, sound(5000) + sound(600) + original.right(128)));
            if (failure == QLatin1String("copied"))
                QVERIFY(replaceWithCopy(path, [](const QString &) { return true; }));
            if (says.contains(QLatin1String("another program")))
                left = readFile(path);
            clickSave(w);
            QCOMPARE(w.isVisible(), staysOpen);
            if (staysOpen) {
                // Everything typed is still there, and the file as it was.
                QCOMPARE(w.txtEditTags[0]->text(), QStringLiteral("New title"));
                if (failure == QLatin1String("euro"))
                    QVERIFY(w.txtEditTags[4]->text().contains(QString::fromUtf8("5 €")));
                else
                    QVERIFY(w.txtEditTags[1]->text().contains(QString::fromUtf8("歌")));
                QVERIFY(w.txtEditTags[failure == QLatin1String("euro") ? 4 : 1]->hasFocus());
                QCOMPARE(readFile(path), original);
            }
        }));
        const auto shown = MsgBoxSeam::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().text.contains(says), qPrintable(shown.first().text));
        QCOMPARE(shown.first().style, int(MsgBoxStyle::Critical));
        if (says.contains(QLatin1String("another program")))
            QCOMPARE(shown.first().text, path + says + QLatin1String(" Nothing was written."));
        if (failure == QLatin1String("deleted")) {
            QVERIFY(!QFileInfo::exists(path)); // not made again
            QVERIFY(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
        } else {
            QCOMPARE(readFile(survivor).toHex(), left.toHex());
            QCOMPARE(QDir(QFileInfo(survivor).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        }
        QCOMPARE(clsMousePointer::ScreenPointer(), 0);
    }

    // After a refused character the user corrects the box and saves again:
    // the file gets the corrected tag, and nothing else was written before.
    void refusedSaveCanBeCorrected()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("fix.mp3"));
        const QByteArray body = sound(2000);
        const QByteArray original = body + id3Tag("Old", "Artist", "", "", "", 3);
        QVERIFY(writeFile(path, original));
        int visibleAfterRefusal = -1;
        QVERIFY(edit(path, [&](frmEditTags &w) {
            replaceText(w.txtEditTags[0], QStringLiteral("New title"));
            replaceText(w.txtEditTags[1], QString::fromUtf8("Ænima 歌"));
            clickSave(w);
            visibleAfterRefusal = w.isVisible();
            QCOMPARE(readFile(path), original);
            replaceText(w.txtEditTags[1], QString::fromUtf8("Ænima"));
            clickSave(w);
            QVERIFY(!w.isVisible());
        }));
        QCOMPARE(visibleAfterRefusal, 1);
        QCOMPARE(MsgBoxSeam::shown().size(), 1);
        QCOMPARE(readFile(path), body + id3Tag("New title", "\xC6nima", "", "", "", 3));
    }

    // The skin: each hot spot lies on a painted button, the fields on the
    // dark blue panel; a pressed button is drawn pushed in. Set
    // ORVANE_GRAB_DIR to keep the pictures for a look.
    void skinUnderHotSpots()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("look.mp3"));
        QVERIFY(writeFile(path, sound(300) + id3Tag("Blue in Green", "Miles Davis", "Kind of Blue", "1959",
                                                 "Bill Evans on piano", 8)));
        const QString keep = qEnvironmentVariable("ORVANE_GRAB_DIR");
        QVERIFY(edit(path, [&](frmEditTags &w) {
            const QImage look = w.grab().toImage();
            QCOMPARE(look.size(), QSize(274, 209));
            if (!keep.isEmpty())
                look.save(keep + QStringLiteral("/frmEditTags.png"));
            for (SkinHotSpot *spot : {w.Image1, w.Image2, w.Image3}) {
                // Corners on the button face, and most of the area too (the
                // rest is the caption's letters).
                const QRect r = spot->geometry();
                int light = 0;
                for (int y = r.top(); y <= r.bottom(); ++y)
                    for (int x = r.left(); x <= r.right(); ++x)
                        light += look.pixelColor(x, y).lightness() > 140;
                QVERIFY2(light > r.width() * r.height() * 6 / 10, qPrintable(spot->objectName()));
                for (const QPoint &pt : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
                    QVERIFY2(look.pixelColor(pt).lightness() > 140, qPrintable(spot->objectName()));
            }
            const QColor panel = look.pixelColor(150, 100); // between Album and Year
            QVERIFY(panel.blue() > panel.red() + 20 && panel.lightness() < 80);
            const QColor title = look.pixelColor(10, 9);
            QVERIFY(title.blue() > title.red());

            QTest::mousePress(w.Image1, Qt::LeftButton, {}, w.Image1->rect().center());
            const QImage pressed = w.grab().toImage();
            QTest::mouseRelease(w.Image1, Qt::LeftButton, {}, QPoint(-30, -30)); // let go outside: no save
            const QPoint mid = w.Image1->geometry().topLeft() + QPoint(1, 1);
            QVERIFY(pressed.pixelColor(mid).lightness() < look.pixelColor(mid).lightness());
            if (!keep.isEmpty())
                pressed.save(keep + QStringLiteral("/frmEditTags-save-pressed.png"));
        }));
        QCOMPARE(readFile(path).size(), 300 + 128);
    }
};

QTEST_MAIN(TestEditTags)
#include "tst_edittags.moc"
