#include "SavedPosition.h"

#include "SettingsStore.h"
#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {
// Far beyond any screen, still far inside the pixel coordinate range.
constexpr double MaxTwips = 1.0e7;
// The band along a window's top edge that the user grabs to move it: the
// main window's title strip.
constexpr int TopStripPixels = 15;

// Whether any part of the window's top strip would lie on a screen with the
// window's top-left corner at `place`.
bool topStripOnScreen(const QWidget *window, QPoint place)
{
    const QRect strip(place, QSize(window->width(), std::min(window->height(), TopStripPixels)));
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.cbegin(), screens.cend(),
                       [&strip](const QScreen *screen) { return screen->geometry().intersects(strip); });
}
} // namespace

bool PositionFromText(const QString &text, double *twips)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > MaxTwips)
        return false;
    *twips = value;
    return true;
}

QString PositionToText(double twips) { return QString::number(static_cast<float>(twips), 'g', 7); }

void LoadPosition(QWidget *window, const QString &section)
{
    if (!window)
        return;
    const QString app = SettingsApplicationName();
    double top = 0, left = 0;
    const bool hasTop = PositionFromText(GetSetting(app, section, QLatin1String(MainTopKey)), &top);
    const bool hasLeft = PositionFromText(GetSetting(app, section, QLatin1String(MainLeftKey)), &left);
    const QPoint saved(Twips::toPixels(left), Twips::toPixels(top));
    // Both together first: a place on a second screen may need both.
    if (hasTop && hasLeft && topStripOnScreen(window, saved)) {
        window->move(saved);
        return;
    }
    // Otherwise each on its own, the other coordinate as it is.
    QPoint place = window->pos();
    if (hasTop && topStripOnScreen(window, QPoint(place.x(), saved.y())))
        place.setY(saved.y());
    if (hasLeft && topStripOnScreen(window, QPoint(saved.x(), place.y())))
        place.setX(saved.x());
    window->move(place);
}

void SavePosition(const QWidget *window, const QString &section)
{
    if (!window)
        return;
    const QString app = SettingsApplicationName();
    SaveSetting(app, section, QLatin1String(MainTopKey), PositionToText(Twips::fromPixels(window->y())));
    SaveSetting(app, section, QLatin1String(MainLeftKey), PositionToText(Twips::fromPixels(window->x())));
}
