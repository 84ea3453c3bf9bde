#pragma once
// The tag editor: a borderless, modal 274 x 209 window that shows the ID3v1
// tag of one MP3 file and writes the edited tag back.
//
// Use from another window (one global instance, created on first use):
//     frmEditTags &ed = frmEditTags::instance();
//     if (ed.GetTags(path))   // false: it has already shown why
//         ed.StartEdit(path); // reads the file again, shows the editor modally
//
// Test seam: setModalHook() replaces the blocking exec() of StartEdit. With a
// hook set, StartEdit shows the window (application-modal, not blocking),
// calls the hook, which acts as the user does (keys into the boxes, clicks on
// the hot spots), and cancels whatever the hook left open once it returns.
// Message boxes go through MsgBoxSeam.
#include "Id3v1.h"

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class SkinHotSpot;
class YearValidator;

class frmEditTags : public QDialog {
    Q_OBJECT
public:
    static frmEditTags &instance();

    explicit frmEditTags(QWidget *parent = nullptr);
    ~frmEditTags() override;

    // Reads the file's length and its tag (the last 128 bytes, nothing more,
    // so a huge file opens at once) into the window's state, with which file
    // it was, so that Save can refuse a file another program changed since;
    // touches no control. Returns false after it has shown a message saying why.
    bool GetTags(const QString &FullPath);
    // Fills the genre list, reads the file again through GetTags and, when
    // that succeeds, fills the boxes and shows the editor modally. Returns
    // once the editor was saved or cancelled; shows nothing when GetTags fails.
    void StartEdit(const QString &FullPath);

    using ModalHook = std::function<void(frmEditTags &)>;
    static void setModalHook(ModalHook hook);

    // The state as GetTags left it (the file's length, the tag's bytes and
    // texts, the genre byte or -1, the track number, whether it had a tag).
    const Id3Module::TagFileState &tagState() const { return m_state; }
    QString editPath() const { return EditPath; }

    // Controls, named as the window names them.
    std::array<QLineEdit *, 5> txtEditTags{}; // Title, Artist, Album, Year, Comment
    QComboBox *cmbGenre = nullptr;
    std::array<QLabel *, 6> lblEditTags{};
    SkinHotSpot *Image1 = nullptr; // Save
    SkinHotSpot *Image2 = nullptr; // Cancel
    SkinHotSpot *Image3 = nullptr; // Remove ID3: no handler, a click does nothing

public slots:
    void Image1_Click(); // save
    void Image2_Click(); // cancel

    void reject() override; // Escape and closing the window cancel

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Drops every typed key of the Year box but digits and Backspace.
    // Returns true when the key is dropped.
    bool txtEditTags_KeyPress(int Index, QKeyEvent *key);
    // Trims the spaces off both ends of the box that loses the focus.
    void txtEditTags_LostFocus(int Index);
    void Unload();
    void centreOnScreen();

    QString EditPath;
    Id3Module::TagFileState m_state;
    // The genre entry shown when the editor opened, and whether the user
    // has since chosen another one in the list. Until then the save writes
    // the genre byte back as it was read: "Other" stands in for every byte
    // that names no genre, and is no choice of the user's.
    int m_genreShown = -1;
    bool m_genrePicked = false;
    YearValidator *m_yearValidator = nullptr;
};
