#pragma once
// The elapsed-time text of the player's displays: whole minutes, a colon and
// the remaining seconds, each at least two digits ("00:00", "03:07",
// "547:00"). There is no hours field; the minutes count on past 59.
#include <QString>
#include <cstdint>

// Rounds to the nearest whole number, a tie going to the even neighbour
// (0.5 -> 0, 1.5 -> 2, -1.5 -> -2).
std::int64_t RoundHalfEven(double value);

// The display text of a media position in seconds. The position is rounded to
// whole seconds (ties to even); a position that is not a number, or beyond any
// media length, shows as 00:00. Negative positions keep their sign in each
// field (-1.6 s shows "00:-02"), except that -1 second shows as 00:00.
QString FormatElapsed(double seconds);

// Milliseconds until a position that runs at normal speed passes its next
// whole second, plus marginMs. A display of whole seconds that reads the
// position this long after its last read changes just after each second is
// heard, instead of up to a second later. A position that is not a number
// counts as a whole second.
int MsToNextWholeSecond(double seconds, int marginMs);
