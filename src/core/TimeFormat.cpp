#include "TimeFormat.h"

#include <cmath>

namespace {
// About 31 700 years: far past any media, well inside 64 bits.
constexpr double LargestPosition = 1e12;

// At least two digits, with the sign in front of them.
QString twoDigits(std::int64_t n)
{
    const QString digits = QString::number(n < 0 ? -n : n).rightJustified(2, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}
} // namespace

std::int64_t RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    double r = floor;
    if (diff > 0.5)
        r = floor + 1;
    else if (diff == 0.5)
        r = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    return static_cast<std::int64_t>(r);
}

QString FormatElapsed(double seconds)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > LargestPosition)
        seconds = 0;
    // Minutes from the rounded position, the quotient cut toward zero; the
    // seconds are what is left of the unrounded position, rounded.
    const std::int64_t minutes = RoundHalfEven(seconds) / 60;
    std::int64_t secs = RoundHalfEven(seconds - 60.0 * double(minutes));
    if (secs == -1)
        secs = 0;
    return twoDigits(minutes) + QLatin1Char(':') + twoDigits(secs);
}

int MsToNextWholeSecond(double seconds, int marginMs)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > LargestPosition)
        seconds = 0;
    const double toNext = std::ceil(seconds) - seconds;
    const int ms = toNext > 0 ? int(std::ceil(toNext * 1000.0)) : 1000;
    return ms + marginMs;
}
