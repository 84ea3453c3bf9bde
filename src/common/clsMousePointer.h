#pragma once
// Scope guard for the screen's mouse pointer: the first SetCursor remembers
// the pointer in force and sets a new one (11, the hourglass, while files are
// read or written); leaving the scope puts the remembered pointer back, after
// any message the procedure showed has closed.
//
// The screen pointer is one application-wide setting, kept as Qt's override
// cursor: 0 means no override (each window shows its own pointer).
#include "Error.h"

#include <optional>

class clsMousePointer {
public:
    clsMousePointer() = default;
    ~clsMousePointer(); // restores the pointer found by the first SetCursor
    clsMousePointer(const clsMousePointer &) = delete;
    clsMousePointer &operator=(const clsMousePointer &) = delete;

    // Sets the screen pointer; the first call on a guard records the one in
    // force. Values: 0 default, 1 arrow, 2 cross, 3 I-beam, 4 icon, 5 size all,
    // 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E, 10 up arrow,
    // 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question
    // mark, 15 size all. Any other value fails and changes nothing.
    Status SetCursor(long NewCursor = 0);

    // The screen pointer value now in force (0 when no override is set).
    static int ScreenPointer();
    // Makes value the screen pointer; 0 removes the override.
    static Status SetScreenPointer(int value);

private:
    std::optional<qint16> SavedPointer;
};
