#include "frmEditTags.h"

#include "SkinHotSpot.h"
#include "MsgBox.h"
#include "clsMousePointer.h"
#include "frmEditTagsGeometry.h"
#include "frmEditTagsSkin.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QValidator>

#include <algorithm>

// Keeps letters out of the Year box by every route that edits it: typing,
// paste from the keyboard, the context menu or the middle button, a drop, an
// input method. Digits are always welcome. The year read from the tag is
// shown as it is, letters included; its letters may be deleted, but no
// other letter gets in.
class YearValidator : public QValidator {
public:
    using QValidator::QValidator;
    void setTolerated(const QString &yearAsRead) { m_tolerated = letters(yearAsRead); }

    State validate(QString &input, int &) const override
    {
        const QString extra = letters(input);
        if (extra.isEmpty())
            return Acceptable;
        // The letters left must be some of the tolerated ones, in their order.
        qsizetype from = 0;
        for (const QChar c : extra) {
            from = m_tolerated.indexOf(c, from);
            if (from < 0)
                return Invalid;
            ++from;
        }
        return Intermediate;
    }

private:
    static QString letters(const QString &text)
    {
        QString out;
        for (const QChar c : text)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                out += c;
        return out;
    }
    QString m_tolerated;
};

namespace {
QPointer<frmEditTags> g_instance;
frmEditTags::ModalHook g_modalHook;

void deleteInstance()
{
    delete g_instance.data();
}

QFont controlFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    return f;
}

QFont labelFont()
{
    QFont f(QStringLiteral("DejaVu Sans"));
    // Narrowed a little so that "Comment:" and "Genre:" end before their boxes.
    f.setPixelSize(10);
    f.setStretch(88);
    return f;
}
} // namespace

frmEditTags &frmEditTags::instance()
{
    if (!g_instance) {
        g_instance = new frmEditTags;
        // Widgets must go before the application object does.
        static bool registered = false;
        if (!registered) {
            qAddPostRoutine(deleteInstance);
            registered = true;
        }
    }
    return *g_instance;
}

void frmEditTags::setModalHook(ModalHook hook)
{
    g_modalHook = std::move(hook);
}

frmEditTags::frmEditTags(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    using namespace EditTagsGeometry;
    setWindowTitle(QStringLiteral("Edit Tags"));
    setFixedSize(WidthPx, HeightPx);
    setModal(true);
    setFont(controlFont());

    // Labels in the highlighted-text colour, on the painted panel.
    QPalette labelPalette = palette();
    labelPalette.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(QString::fromLatin1(LabelCaptions[i]), this);
        label->setObjectName(QStringLiteral("lblEditTags%1").arg(i));
        label->setGeometry(Labels[i].pixels().adjusted(0, 0, 8, 0)); // room for the font's own width
        label->setFont(labelFont());
        label->setPalette(labelPalette);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        lblEditTags[size_t(i)] = label;
    }

    for (int i = 0; i < 5; ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtEditTags%1").arg(i));
        box->setGeometry(Boxes[i].pixels());
        box->setMaxLength(BoxMaxLength[i]);
        box->setFrame(true);
        box->setTextMargins(1, 0, 1, 0);
        box->installEventFilter(this);
        txtEditTags[size_t(i)] = box;
    }
    m_yearValidator = new YearValidator(txtEditTags[3]);
    txtEditTags[3]->setValidator(m_yearValidator);
    // A letter deleted from the year read cannot come back.
    connect(txtEditTags[3], &QLineEdit::textChanged, this,
            [this](const QString &text) { m_yearValidator->setTolerated(text); });
    // Year's label sits between the Year box and the genre list.
    lblEditTags[5]->raise();

    cmbGenre = new QComboBox(this);
    cmbGenre->setObjectName(QStringLiteral("cmbGenre"));
    cmbGenre->setEditable(false);
    cmbGenre->setGeometry(EditTagsGeometry::Genre.pixels());
    cmbGenre->setMaxVisibleItems(16);
    // Only the user's own choices: the list, the keys, the wheel.
    connect(cmbGenre, &QComboBox::activated, this, [this](int index) {
        if (index != m_genreShown)
            m_genrePicked = true;
    });

    // Tab order: the five boxes, then the genre list.
    setTabOrder(txtEditTags[0], txtEditTags[1]);
    setTabOrder(txtEditTags[1], txtEditTags[2]);
    setTabOrder(txtEditTags[2], txtEditTags[3]);
    setTabOrder(txtEditTags[3], txtEditTags[4]);
    setTabOrder(txtEditTags[4], cmbGenre);

    Image1 = new SkinHotSpot(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Save.pixels());
    Image1->setToolTip(QStringLiteral("Save"));
    Image2 = new SkinHotSpot(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(Cancel.pixels());
    Image2->setToolTip(QStringLiteral("Cancel"));
    Image3 = new SkinHotSpot(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(RemoveId3.pixels());
    Image3->setCursor(Qt::ArrowCursor); // it does nothing
    connect(Image1, &SkinHotSpot::clicked, this, &frmEditTags::Image1_Click);
    connect(Image2, &SkinHotSpot::clicked, this, &frmEditTags::Image2_Click);
    for (SkinHotSpot *spot : {Image1, Image2, Image3})
        connect(spot, &SkinHotSpot::lookChanged, this, qOverload<>(&QWidget::update));
}

frmEditTags::~frmEditTags() = default;

bool frmEditTags::GetTags(const QString &FullPath)
{
    clsMousePointer pointer;
    (void)pointer.SetCursor(11);

    Id3Module::TagFileState state;
    if (Status failed = Id3Module::ReadTagFile(FullPath, state)) {
        // The state describes no file now, so nothing stale can be saved.
        m_state = Id3Module::TagFileState{};
        MsgBox(failed->description, MsgBoxStyle::Critical);
        return false;
    }
    m_state = std::move(state);
    return true;
}

void frmEditTags::StartEdit(const QString &FullPath)
{
    EditPath = FullPath;
    cmbGenre->clear();
    cmbGenre->addItems(Id3Module::GenreList());

    if (!GetTags(EditPath))
        return;

    // A tag that carries a track number keeps its last two comment bytes
    // for it, so the comment has room for 28 characters only.
    txtEditTags[4]->setMaxLength(m_state.Track ? Id3Module::TrackCommentWidth
                                               : EditTagsGeometry::BoxMaxLength[4]);
    m_yearValidator->setTolerated(m_state.Texts.Year);
    const Id3Module::TagTexts &t = m_state.Texts;
    const QString texts[5] = {t.Title, t.Artist, t.Album, t.Year, t.Comment};
    for (int i = 0; i < 5; ++i) {
        txtEditTags[size_t(i)]->setText(texts[i]); // cut to the box's MaxLength
        txtEditTags[size_t(i)]->setCursorPosition(0);
    }
    if (m_state.Genre >= Id3Module::GenreCount)
        cmbGenre->setCurrentIndex(Id3Module::OtherGenre);
    else
        cmbGenre->setCurrentIndex(m_state.Genre); // -1: nothing chosen
    m_genreShown = cmbGenre->currentIndex();
    m_genrePicked = false;

    centreOnScreen();
    txtEditTags[0]->setFocus(Qt::OtherFocusReason);

    if (g_modalHook) {
        setWindowModality(Qt::ApplicationModal);
        show();
        activateWindow();
        g_modalHook(*this);
        if (isVisible())
            Image2_Click();
        return;
    }
    exec();
}

void frmEditTags::Image1_Click()
{
    clsMousePointer pointer;
    (void)pointer.SetCursor(11);

    Status failed;
    if (m_state.Seen.Length < Id3Module::TagSize) {
        failed = Error{ErrorNumber::InvalidProcedureCall, QStringLiteral("No file is open for editing.")};
    } else {
        const Id3Module::TagTexts texts{txtEditTags[0]->text(), txtEditTags[1]->text(), txtEditTags[2]->text(),
                                        txtEditTags[3]->text(), txtEditTags[4]->text()};
        int genre = cmbGenre->currentIndex();
        if (!m_genrePicked && m_state.HasTag)
            genre = m_state.Genre;
        else if (genre < 0)
            genre = Id3Module::OtherGenre;
        QByteArray tag;
        if (Status refused = Id3Module::MakeTag(m_state, texts, genre, tag)) {
            // A character the tag cannot hold: nothing was written, so the
            // editor stays open with the user's typing to be corrected.
            MsgBox(refused->description, MsgBoxStyle::Critical);
            for (QLineEdit *box : txtEditTags) {
                const QString text = box->text();
                if (std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.unicode() > 0xFF; })) {
                    box->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
            return;
        }
        failed = Id3Module::SaveTag(EditPath, tag, m_state.Seen);
    }
    if (failed)
        MsgBox(failed->description, MsgBoxStyle::Critical);
    Unload();
}

void frmEditTags::Image2_Click()
{
    Unload();
}

void frmEditTags::reject()
{
    Image2_Click();
}

void frmEditTags::Unload()
{
    // What was read belongs to this edit only.
    m_state = Id3Module::TagFileState{};
    if (isVisible())
        done(QDialog::Rejected);
}

void frmEditTags::centreOnScreen()
{
    QScreen *screen = nullptr;
    if (QWidget *active = QApplication::activeWindow(); active && active != this)
        screen = active->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

bool frmEditTags::txtEditTags_KeyPress(int Index, QKeyEvent *key)
{
    if (Index != 3)
        return false;
    if (key->key() == Qt::Key_Backspace)
        return false;
    // Keys that move the focus or close the window are no typing.
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    if (key->matches(QKeySequence::Paste))
        return true;
    const QString typed = key->text();
    if (typed.isEmpty())
        return false; // arrows, Home, End, Delete: no character typed
    return !(typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9'));
}

void frmEditTags::txtEditTags_LostFocus(int Index)
{
    QLineEdit *box = txtEditTags[size_t(Index)];
    const QString trimmed = Id3Module::TrimSpaces(box->text());
    if (trimmed != box->text())
        box->setText(trimmed);
}

bool frmEditTags::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 5; ++i) {
        if (watched != txtEditTags[size_t(i)])
            continue;
        if (event->type() == QEvent::KeyPress)
            return txtEditTags_KeyPress(i, static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::FocusOut) {
            // Only a move of the focus to another control of this window
            // counts; a menu popping up or another window coming to the
            // front leaves the text alone.
            const Qt::FocusReason why = static_cast<QFocusEvent *>(event)->reason();
            if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason)
                txtEditTags_LostFocus(i);
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmEditTags::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, EditTagsSkin::render({Image1->isDown(), Image3->isDown(), Image2->isDown()}));
}
