// Creates every control of the main window from the twips table, with its
// design text, tooltip, look and picture.
#include "Orvane.h"

#include "FileDialogControl.h"
#include "ImageControl.h"
#include "LabelControl.h"
#include "LineControl.h"
#include "MediaPlayerControl.h"
#include "OrvaneGeometry.h"
#include "OrvaneSkin.h"
#include "PictureBox.h"
#include "SkinPainter.h"
#include "Twips.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace {
using namespace OrvaneGeometry;

QFont smallFont(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Text, colour);
    w->setPalette(pal);
}

template <typename W>
W *placed(W *w, const Place &p)
{
    w->setObjectName(QString::fromLatin1(p.name.data(), qsizetype(p.name.size())));
    w->setGeometry(p.pixels());
    if (p.toolTip)
        w->setToolTip(p.toolTipText());
    return w;
}

QTimer *makeTimer(QObject *owner, const char *name, int interval)
{
    auto *t = new QTimer(owner);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

// The visible playlist: white text on dark blue, a slim scroll bar that
// belongs to the skin rather than to the desktop's style. Every row states
// the same box (padding, no border) as the selected one, so the style lays
// out all rows' text alike and the selection does not shift it.
const char *const PlaylistStyle = R"(
QListWidget#lstfavs { background: #000080; color: #ffffff; border: none; outline: none; }
QListWidget#lstfavs::item { padding: 0px 2px; border: none; }
QListWidget#lstfavs::item:selected { background: #2f6fd0; color: #ffffff; padding: 0px 2px; border: none; }
QScrollBar:vertical { background: #0b1640; width: 8px; margin: 0; }
QScrollBar::handle:vertical { background: #5a76b8; min-height: 14px; border-radius: 3px; margin: 1px; }
QScrollBar::handle:vertical:hover { background: #7d98d6; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
QScrollBar:horizontal { height: 0; }
)";
} // namespace

void Orvane::createControls()
{
    const qreal dpr = devicePixelRatioF();
    const Skin::Palette &pal = Skin::palette();

    auto image = [&](const char *name) {
        const Place &p = place(name);
        auto *img = new ImageControl(this, QLatin1String(name), p.left, p.top, p.width, p.height, p.toolTipText());
        if (p.kind == Kind::Picture)
            img->setPicture(OrvaneSkin::picture(p.name, dpr));
        return img;
    };
    auto label = [&](QWidget *parent, const char *name, double l, double t, double w, double h,
                     const QString &caption) { return new LabelControl(parent, QLatin1String(name), l, t, w, h, caption); };
    auto tableLabel = [&](const char *name) {
        const Place &p = place(name);
        return label(this, name, p.left, p.top, p.width, p.height, p.captionText());
    };

    // Created in table order, so later controls lie above earlier ones.
    for (const Place &p : places()) {
        const std::string name(p.name);
        const char *n = name.c_str();
        switch (p.kind) {
        case Kind::HotSpot:
        case Kind::Picture: {
            ImageControl *img = image(n);
            ImageControl **slot = nullptr;
            static const std::pair<const char *, ImageControl *OrvaneControls::*> imageSlots[] = {
                {"toppic", &OrvaneControls::toppic}, {"Image5", &OrvaneControls::Image5},
                {"Image6", &OrvaneControls::Image6}, {"Image7", &OrvaneControls::Image7},
                {"Image8", &OrvaneControls::Image8}, {"Image16", &OrvaneControls::Image16},
                {"Image4", &OrvaneControls::Image4}, {"Image2", &OrvaneControls::Image2},
                {"Image1", &OrvaneControls::Image1}, {"Image9", &OrvaneControls::Image9},
                {"balance", &OrvaneControls::balance}, {"pluss", &OrvaneControls::pluss},
                {"minus", &OrvaneControls::minus}, {"plup", &OrvaneControls::plup},
                {"vidup", &OrvaneControls::vidup}, {"islider", &OrvaneControls::islider},
                {"openfile", &OrvaneControls::openfile}, {"repeaton", &OrvaneControls::repeaton},
                {"play", &OrvaneControls::play}, {"pause", &OrvaneControls::pause},
                {"stop", &OrvaneControls::stop}, {"next", &OrvaneControls::next},
                {"previous", &OrvaneControls::previous}, {"shuffle", &OrvaneControls::shuffle},
                {"shuffleon", &OrvaneControls::shuffleon}, {"repeat", &OrvaneControls::repeat},
                {"Image15", &OrvaneControls::Image15}, {"savelist", &OrvaneControls::savelist},
                {"listbar", &OrvaneControls::listbar}, {"filebar", &OrvaneControls::filebar},
                {"directory", &OrvaneControls::directory}, {"list", &OrvaneControls::list},
                {"addfile", &OrvaneControls::addfile}, {"Image14", &OrvaneControls::Image14},
                {"Image10", &OrvaneControls::Image10}, {"Image11", &OrvaneControls::Image11},
                {"Image12", &OrvaneControls::Image12}, {"Image13", &OrvaneControls::Image13},
                {"LOADLIST", &OrvaneControls::LOADLIST}, {"Image3", &OrvaneControls::Image3},
                {"viddown", &OrvaneControls::viddown}, {"pldown", &OrvaneControls::pldown},
            };
            for (const auto &[slotName, member] : imageSlots)
                if (p.name == slotName)
                    slot = &(c.*member);
            Q_ASSERT(slot);
            if (slot)
                *slot = img;
            break;
        }
        case Kind::Label: {
            LabelControl *l = tableLabel(n);
            if (p.name == "toptime") {
                l->setFont(smallFont(8));
                setTextColour(l, pal.lcdText);
                l->setAlignment(Qt::AlignCenter);
                c.toptime = l;
            } else if (p.name == "Label20") {
                l->setFont(smallFont(11, true));
                setTextColour(l, QColor(0xff, 0xff, 0xff));
                l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                c.Label20 = l;
            } else if (p.name == "kbps" || p.name == "Khs") {
                l->setFont(smallFont(9));
                setTextColour(l, pal.lcdText);
                l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                (p.name == "kbps" ? c.kbps : c.Khs) = l;
            } else if (p.name == "VolumInd") {
                QFont f(QStringLiteral("DejaVu Serif"));
                f.setPixelSize(11);
                l->setFont(f);
                l->setAutoFillBackground(true);
                QPalette lp = l->palette();
                lp.setColor(QPalette::Window, Qt::black);
                lp.setColor(QPalette::WindowText, QColor(255, 192, 128));
                l->setPalette(lp);
                c.VolumInd = l;
            } else if (p.name == "Labelpause") {
                c.Labelpause = l;
            }
            break;
        }
        case Kind::PictureBox: {
            c.PicDisplay = new PictureBox(this, QStringLiteral("PicDisplay"), p.left, p.top, p.width, p.height,
                                          QColor(0, 71, 112));
            c.Label24 = label(c.PicDisplay, "Label24", TitleLeft, TitleTop, TitleWidth, TitleHeight,
                              QStringLiteral("Orvane"));
            c.Label24->setFont(smallFont(9));
            setTextColour(c.Label24, QColor(0xff, 0xff, 0xff));
            c.Label24->setAutoSize(true);
            break;
        }
        case Kind::ListBox: {
            auto *lb = placed(new QListWidget(this), p);
            lb->setSelectionMode(QAbstractItemView::SingleSelection);
            lb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (p.name == "lstfavs") {
                lb->setFrameShape(QFrame::NoFrame);
                lb->setFont(smallFont(11));
                lb->setStyleSheet(QLatin1String(PlaylistStyle));
                lb->setUniformItemSizes(true);
                c.lstfavs = lb;
            } else {
                c.List1 = lb;
            }
            break;
        }
        case Kind::TextBox:
            c.ext = placed(new QLineEdit(this), p);
            break;
        case Kind::Option: {
            auto *o = placed(new QRadioButton(p.captionText(), this), p);
            if (p.name == "optrnd")
                c.optrnd = o;
            else if (p.name == "optnon")
                c.optnon = o;
            else
                c.optres = o;
            break;
        }
        case Kind::Media: {
            c.am1 = placed(new MediaPlayerControl(this), p);
            c.am1->applyDesign(MediaPlayerControl::am1Design());
            break;
        }
        }
    }

    // One group: setting one play order clears the other two.
    c.PlayOrder = new QButtonGroup(this);
    c.PlayOrder->setExclusive(true);
    for (QRadioButton *o : {c.optrnd, c.optnon, c.optres})
        c.PlayOrder->addButton(o);

    // The volume meter: six white lines, all shown at design.
    for (int i = 1; i <= LVolCount; ++i) {
        const LinePlace lp = lvol(i);
        c.LVol[i] = new LineControl(this, QStringLiteral("LVol%1").arg(i), lp.x1, lp.y1, lp.x2, Qt::white);
    }

    c.cd1 = new FileDialogControl(this);
    c.cd1->setObjectName(QStringLiteral("cd1"));
    c.cd1->setDialogTitle(QStringLiteral("Select A Song"));

    c.Timer1 = makeTimer(this, "Timer1", 400);
    c.Timer3 = makeTimer(this, "Timer3", 60);
    c.Timer6 = makeTimer(this, "Timer6", 50);
    c.toppicture = makeTimer(this, "toppicture", 60);
    c.Timer4 = makeTimer(this, "Timer4", 1000);
    c.Timer5 = makeTimer(this, "Timer5", 1000);
    c.Timer7 = makeTimer(this, "Timer7", 100);
    c.Timer55 = makeTimer(this, "Timer55", 1000);
    c.TVolum = makeTimer(this, "TVolum", 50);
}
