#include "SavedPosition.h"

#include "SettingsStore.h"
#include "Twips.h"

#include <QWidget>
#include <cmath>

namespace {
// Far beyond any screen, still far inside the pixel coordinate range.
constexpr double MaxTwips = 1.0e7;
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
    double value = 0;
    if (PositionFromText(GetSetting(app, section, QLatin1String(MainTopKey)), &value))
        window->move(window->x(), Twips::toPixels(value));
    if (PositionFromText(GetSetting(app, section, QLatin1String(MainLeftKey)), &value))
        window->move(Twips::toPixels(value), window->y());
}

void SavePosition(const QWidget *window, const QString &section)
{
    if (!window)
        return;
    const QString app = SettingsApplicationName();
    SaveSetting(app, section, QLatin1String(MainTopKey), PositionToText(Twips::fromPixels(window->y())));
    SaveSetting(app, section, QLatin1String(MainLeftKey), PositionToText(Twips::fromPixels(window->x())));
}
