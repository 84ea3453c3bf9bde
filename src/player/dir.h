#pragma once
// The folder picker: a small borderless modal window in which the user opens
// a folder and adds all its MP3 and WAV files to the playlist at once.
#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

#include "DriveInfo.h"

class PlaylistStore;
class QComboBox;
class QListWidget;
class SkinHotSpot;
class dirListBox;

class dir : public QDialog {
    Q_OBJECT
public:
    explicit dir(PlaylistStore &store, QWidget *parent = nullptr);

    // directory_Click: opens a fresh picker, centred on the screen, and
    // returns when it has closed.
    static void pick(QWidget *parent, PlaylistStore &store);

    QComboBox *Drive1 = nullptr;   // the mounted volumes
    dirListBox *Dir1 = nullptr;    // its path is the folder to add
    QListWidget *File1 = nullptr;  // the folder's matching files (never seen)
    SkinHotSpot *Image2 = nullptr;  // SELECT
    SkinHotSpot *Image3 = nullptr;  // QUIT
    SkinHotSpot *Image4 = nullptr;  // close box
    SkinHotSpot *Image1 = nullptr;  // outside the window

    void Drive1_Change();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image1_Click();

    // The names of folder's *.mp3 and *.wav files (any letter case), hidden
    // files left out, in name order.
    static QStringList matchingFiles(const QString &folder);
    // Name order as people read it: letter case ignored, runs of digits
    // compared by their value ("Track 9" before "Track 10").
    static bool nameLess(const QString &a, const QString &b);
    // folder and name joined with exactly one "/".
    static QString joinPath(const QString &folder, const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fillDrives();

    PlaylistStore &m_store;
    QList<DriveInfo> m_drives;
};

// Test seam: when a driver is set, pick() builds and centres the picker, then
// hands it to the driver instead of running it modally; the driver clicks
// what a user would (for example Dir1->setPath(...) then Image2_Click()).
namespace dirSeam {
void setDriver(std::function<void(dir &)> driver);
bool hasDriver();
}
