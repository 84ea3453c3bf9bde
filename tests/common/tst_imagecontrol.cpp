#include "ImageControl.h"
#include "LabelControl.h"
#include "MsgBox.h"

#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

namespace {
// A window that notes the presses that reach its own surface.
class Surface : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        ++presses;
        e->accept();
    }
};

// Pixels of a strong red: what "<font color=red>" would paint.
int redPixels(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 160 && c.green() < 90 && c.blue() < 90;
        }
    return n;
}
} // namespace

class TestImageControl : public QObject {
    Q_OBJECT
    Surface *m_window = nullptr;
    ImageControl *m_spot = nullptr;

private slots:
    void init()
    {
        m_window = new Surface;
        m_window->resize(200, 100);
        // 30 x 20 px at (30, 15) px.
        m_spot = new ImageControl(m_window, "spot", 450, 225, 450, 300, "tip");
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void placedFromTwips()
    {
        QCOMPARE(m_spot->geometry(), QRect(30, 15, 30, 20));
        QCOMPARE(m_spot->objectName(), QStringLiteral("spot"));
        QCOMPARE(m_spot->toolTip(), QStringLiteral("tip"));
    }

    void keepsExactTwips()
    {
        m_spot->setLeft(3541.5);
        QCOMPARE(m_spot->Left(), 3541.5);
        QCOMPARE(m_spot->x(), 236);
        m_spot->setTop(-7);
        QCOMPARE(m_spot->Top(), -7.0);
        QCOMPARE(m_spot->Left(), 3541.5);
    }

    void clickIsPressAndReleaseInside_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("buttonValue");
        QTest::newRow("left inside") << Qt::LeftButton << QPoint(10, 10) << 1 << 1;
        QTest::newRow("left released outside") << Qt::LeftButton << QPoint(-40, 10) << 0 << 1;
        QTest::newRow("left released past the right edge") << Qt::LeftButton << QPoint(30, 5) << 0 << 1;
        QTest::newRow("right inside") << Qt::RightButton << QPoint(10, 10) << 0 << 2;
        QTest::newRow("middle inside") << Qt::MiddleButton << QPoint(10, 10) << 0 << 4;
    }
    void clickIsPressAndReleaseInside()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, clicks);
        QFETCH(int, buttonValue);
        QSignalSpy click(m_spot, &ImageControl::Click);
        QSignalSpy down(m_spot, &ImageControl::MouseDown);
        QSignalSpy up(m_spot, &ImageControl::MouseUp);
        QTest::mousePress(m_spot, button, Qt::ShiftModifier, QPoint(3, 4));
        QTest::mouseRelease(m_spot, button, Qt::ShiftModifier, releaseAt);
        QCOMPARE(click.count(), clicks);
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).toInt(), buttonValue);
        QCOMPARE(down.at(0).at(1).toInt(), 1); // Shift
        QCOMPARE(down.at(0).at(2).toDouble(), 45.0);
        QCOMPARE(down.at(0).at(3).toDouble(), 60.0);
        // The release reaches the pressed control wherever it happens.
        QCOMPARE(up.count(), 1);
        QCOMPARE(up.at(0).at(2).toDouble(), releaseAt.x() * 15.0);
        QCOMPARE(m_window->presses, 0);
    }

    void movesReachThePressedControlOutside()
    {
        QSignalSpy move(m_spot, &ImageControl::MouseMove);
        QTest::mousePress(m_spot, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(m_spot, QPoint(60, 5));
        QTRY_VERIFY(!move.isEmpty());
        const QList<QVariant> last = move.last();
        QCOMPARE(last.at(0).toInt(), 1); // the left button is held
        QCOMPARE(last.at(2).toDouble(), 900.0);
        QTest::mouseRelease(m_spot, Qt::LeftButton, {}, QPoint(60, 5));
    }

    void hoverMovesAreReported()
    {
        QSignalSpy move(m_spot, &ImageControl::MouseMove);
        QTest::mouseMove(m_spot, QPoint(2, 2));
        QTest::mouseMove(m_spot, QPoint(6, 3));
        QTRY_VERIFY(!move.isEmpty());
        QCOMPARE(move.last().at(0).toInt(), 0); // no button held
    }

    void doubleClickGivesOneClickAndOneDblClick()
    {
        QSignalSpy click(m_spot, &ImageControl::Click);
        QSignalSpy dbl(m_spot, &ImageControl::DblClick);
        // What a real double click delivers: press, release, press, double click, release.
        QTest::mouseClick(m_spot, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mousePress(m_spot, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(m_spot, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(m_spot, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(click.count(), 1);
    }

    void disabledSpotLeavesThePressToTheWindow()
    {
        QSignalSpy down(m_spot, &ImageControl::MouseDown);
        m_spot->setEnabled(false);
        QTest::mouseClick(m_spot, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(down.count(), 0);
        QCOMPARE(m_window->presses, 1);
    }

    void hiddenSpotTakesNothing()
    {
        QSignalSpy down(m_spot, &ImageControl::MouseDown);
        m_spot->hide();
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(35, 20));
        QCOMPARE(down.count(), 0);
        QCOMPARE(m_window->presses, 1);
    }

    void pictureIsDrawnUnscaled()
    {
        QPixmap pic(6, 4);
        pic.fill(Qt::red);
        m_spot->setPicture(pic);
        const QImage shot = m_window->grab().toImage();
        QCOMPARE(shot.pixelColor(30, 15), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(35, 18), QColor(Qt::red));
        QVERIFY(shot.pixelColor(36, 18) != QColor(Qt::red)); // not stretched to the spot
    }

    void labelKeepsTwipsAndTakesItsPresses()
    {
        auto *label = new LabelControl(m_window, "Label24", 90, 15, 480, 165, "Orvane");
        label->show();
        label->setAutoSize(true);
        const double shortWidth = label->Width();
        label->setCaption("A much longer title than before");
        QVERIFY(label->Width() > shortWidth);
        QCOMPARE(label->Left(), 90.0);
        label->setLeft(-510);
        QCOMPARE(label->Left(), -510.0);
        QCOMPARE(label->x(), -34);
        label->setLeft(90);
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(m_window->presses, 0);
    }

    // A label keeps what it painted as a picture; a new caption or colour
    // must still show at once.
    void labelRepaintsNewCaptionAndColour()
    {
        auto *label = new LabelControl(m_window, "Label20", 0, 0, 1500, 600, QString());
        QFont big = label->font();
        big.setPixelSize(30);
        big.setStyleStrategy(QFont::NoAntialias);
        label->setFont(big);
        label->show();
        auto pixelsOf = [&](QColor colour) {
            const QImage shot = m_window->grab(label->geometry()).toImage();
            int n = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    n += shot.pixelColor(x, y).toRgb() == colour.toRgb();
            return n;
        };
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(pal);
        QCOMPARE(pixelsOf(Qt::blue), 0);
        label->setCaption("MMMM");
        QVERIFY(pixelsOf(Qt::blue) > 0);
        pal.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(pal);
        QCOMPARE(pixelsOf(Qt::blue), 0);
        QVERIFY(pixelsOf(Qt::red) > 0);
        label->setCaption(QString());
        QCOMPARE(pixelsOf(Qt::red), 0);
    }

    // A file name or a system message is shown as it is, never as markup:
    // in a label and in the shared message box.
    void namesShowAsTheyAre_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("text");
        const QString name = QStringLiteral("<b>Bold <font color=red size=6>red.mp3");
        QTest::newRow("label") << "label" << name;
        QTest::newRow("message box") << "message box" << name;
        QTest::newRow("message box, entity") << "message box" << QStringLiteral("Cannot rename Tom &amp; Jerry");
    }
    void namesShowAsTheyAre()
    {
        QFETCH(QString, where);
        QFETCH(QString, text);
        QLabel *shown = nullptr;
        QImage painted;
        if (where == "label") {
            auto *label = new LabelControl(m_window, "Label24", 0, 0, 3000, 600, text);
            label->show();
            shown = label;
            painted = m_window->grab(label->geometry()).toImage();
        } else {
            // The real box: look at it once it is up, then close it with the keyboard.
            bool seen = false;
            Qt::TextFormat format = Qt::AutoText;
            QString labelText;
            QTimer::singleShot(0, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                if (label) {
                    seen = true;
                    format = label->textFormat();
                    labelText = label->text();
                    painted = label->grab().toImage();
                }
                QTest::keyClick(box, Qt::Key_Escape);
            });
            MsgBox(text, MsgBoxStyle::Critical);
            QVERIFY(seen);
            QCOMPARE(format, Qt::PlainText);
            QCOMPARE(labelText, text);
        }
        if (shown) {
            QCOMPARE(shown->textFormat(), Qt::PlainText);
            QCOMPARE(shown->text(), text);
        }
        QVERIFY(!painted.isNull());
        QCOMPARE(redPixels(painted), 0);
    }
};

QTEST_MAIN(TestImageControl)
#include "tst_imagecontrol.moc"
