#include "dir.h"

#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>

#include <algorithm>

#include "Module1.h"
#include "MsgBox.h"
#include "PathUtil.h"
#include "PlaylistStore.h"
#include "dirListBox.h"
#include "dirSkin.h"

namespace {
std::function<void(dir &)> &driver()
{
    static std::function<void(dir &)> d;
    return d;
}

const char *const ListStyle =
    "QListWidget { background: #000080; color: #ffffff; border: none; outline: none; }"
    "QListWidget::item { padding: 0px 1px; }"
    "QListWidget::item:selected { background: #2f4ad0; color: #ffffff; }"
    "QScrollBar:vertical { background: #000060; width: 10px; margin: 0; }"
    "QScrollBar::handle:vertical { background: #4661d8; border: 1px solid #9fb0ff; min-height: 16px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

const char *const DropDownStyle =
    "QAbstractItemView { background: #000080; color: #ffffff; font-size: 11px;"
    "  selection-background-color: #2f4ad0; border: 1px solid #6a80f0; }";

// The drive list, painted in the skin's colours when closed.
class DriveBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        dirSkin::paintDriveBox(p, rect(), currentText(), underMouse() || hasFocus());
    }
    void enterEvent(QEnterEvent *e) override
    {
        QComboBox::enterEvent(e);
        update();
    }
    void leaveEvent(QEvent *e) override
    {
        QComboBox::leaveEvent(e);
        update();
    }
};
} // namespace

dir::dir(PlaylistStore &store, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_store(store)
{
    setObjectName(QStringLiteral("dir"));
    setWindowTitle(QStringLiteral("Form3"));
    setFixedSize(dirSkin::Size);
    setModal(true);

    Drive1 = new DriveBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(dirSkin::Drive1);
    Drive1->view()->setStyleSheet(QLatin1String(DropDownStyle));
    Drive1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    Dir1 = new dirListBox(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(dirSkin::Dir1);
    Dir1->setStyleSheet(QLatin1String(ListStyle));

    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(dirSkin::File1);
    File1->setFocusPolicy(Qt::NoFocus);

    setTabOrder(Drive1, Dir1);

    Image2 = new SkinHotSpot(dirSkin::Image2, this);
    Image3 = new SkinHotSpot(dirSkin::Image3, this);
    Image4 = new SkinHotSpot(dirSkin::Image4, this);
    Image1 = new SkinHotSpot(dirSkin::Image1, this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image3->setObjectName(QStringLiteral("Image3"));
    Image4->setObjectName(QStringLiteral("Image4"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2->setToolTip(QStringLiteral("Add the folder's MP3 and WAV files"));
    for (SkinHotSpot *spot : {Image2, Image3, Image4, Image1})
        connect(spot, &SkinHotSpot::lookChanged, this, qOverload<>(&QWidget::update));
    connect(Image2, &SkinHotSpot::clicked, this, &dir::Image2_Click);
    connect(Image3, &SkinHotSpot::clicked, this, &dir::Image3_Click);
    connect(Image4, &SkinHotSpot::clicked, this, &dir::Image4_Click);
    connect(Image1, &SkinHotSpot::clicked, this, &dir::Image1_Click);

    // Each opening starts at the process's current folder and its volume.
    fillDrives();
    Dir1->setPath(QDir::currentPath());
    const QString root = DriveInfo::volumeOf(Dir1->path()).rootPath;
    for (int i = 0; i < m_drives.size(); ++i) {
        if (m_drives.at(i).rootPath == root) {
            const QSignalBlocker block(Drive1);
            Drive1->setCurrentIndex(i);
        }
    }
    connect(Drive1, &QComboBox::currentIndexChanged, this, &dir::Drive1_Change);
}

void dir::fillDrives()
{
    m_drives = DriveInfo::mountedVolumes();
    const QSignalBlocker block(Drive1);
    Drive1->clear();
    int widest = 0;
    for (const DriveInfo &d : m_drives) {
        Drive1->addItem(d.text(), d.rootPath);
        widest = std::max(widest, Drive1->fontMetrics().horizontalAdvance(d.text()));
    }
    // The list drops down wider than the narrow box, so whole texts show.
    Drive1->view()->setMinimumWidth(widest + 24);
}

void dir::pick(QWidget *parent, PlaylistStore &store)
{
    dir picker(store, parent);
    QScreen *screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(0, 0), dirSkin::Size);
        frame.moveCenter(screen->availableGeometry().center());
        picker.move(frame.topLeft());
    }
    if (driver()) {
        driver()(picker);
        return;
    }
    picker.exec();
}

void dir::Drive1_Change()
{
    const int i = Drive1->currentIndex();
    if (i < 0 || i >= m_drives.size())
        return;
    // A volume that cannot be read leaves the folder list where it was.
    Dir1->setPath(m_drives.at(i).rootPath);
}

QStringList dir::matchingFiles(const QString &folder)
{
    const QDir d(folder);
    QStringList names = d.entryList({QStringLiteral("*.mp3"), QStringLiteral("*.wav")}, QDir::Files);
    std::sort(names.begin(), names.end(), &dir::nameLess);
    return names;
}

bool dir::nameLess(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            // Compare the runs by value: leading zeros aside, the longer run is larger.
            QStringView ra = QStringView(a).sliced(i, ei - i), rb = QStringView(b).sliced(j, ej - j);
            while (ra.size() > 1 && ra.front() == u'0')
                ra = ra.sliced(1);
            while (rb.size() > 1 && rb.front() == u'0')
                rb = rb.sliced(1);
            if (ra.size() != rb.size())
                return ra.size() < rb.size();
            if (const int c = ra.compare(rb); c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a.at(i).toCaseFolded(), cb = b.at(j).toCaseFolded();
        if (ca != cb)
            return ca < cb;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b; // same but for case or zeros: a fixed order all the same
}

QString dir::joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

void dir::Image2_Click()
{
    const QString folder = Dir1->path();
    const QStringList names = folder.isEmpty() ? QStringList() : matchingFiles(folder);
    File1->clear();
    File1->addItems(names);
    if (names.isEmpty()) {
        MsgBox(QStringLiteral("No files were found in specific folder"), MsgBoxStyle::OkOnly,
               QStringLiteral("Error"));
    } else if (names.size() > m_store.room()) {
        // All or nothing, like a playlist load: the playlist stays as it was.
        ReportPlaylistError(QStringLiteral("Error in Image2_Click"), m_store.noRoomFor(names.size()));
    } else {
        QStringList paths, shown;
        paths.reserve(names.size());
        shown.reserve(names.size());
        for (const QString &name : names) {
            paths.append(joinPath(folder, name));
            shown.append(StripPath(paths.constLast()));
        }
        m_store.appendMany(paths, shown);
    }
    accept();
}

void dir::Image3_Click() { reject(); }
void dir::Image4_Click() { reject(); }
void dir::Image1_Click() { reject(); }

void dir::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    dirSkin::Looks looks;
    looks.select = Image2->look();
    looks.quit = Image3->look();
    looks.close = Image4->look();
    dirSkin::paint(p, looks);
}

namespace dirSeam {
void setDriver(std::function<void(dir &)> d) { driver() = std::move(d); }
bool hasDriver() { return static_cast<bool>(driver()); }
}
