#include "clsMousePointer.h"

#include <QCursor>
#include <QGuiApplication>

#include <array>
#include <limits>

namespace {
// Index = pointer value; value 0 has no cursor of its own (no override).
constexpr std::array<Qt::CursorShape, 16> kShapes = {
    Qt::ArrowCursor,        // 0 (unused: no override)
    Qt::ArrowCursor,        // 1 arrow
    Qt::CrossCursor,        // 2 cross
    Qt::IBeamCursor,        // 3 I-beam
    Qt::SizeAllCursor,      // 4 icon
    Qt::SizeAllCursor,      // 5 size
    Qt::SizeBDiagCursor,    // 6 size NE-SW
    Qt::SizeVerCursor,      // 7 size N-S
    Qt::SizeFDiagCursor,    // 8 size NW-SE
    Qt::SizeHorCursor,      // 9 size W-E
    Qt::UpArrowCursor,      // 10 up arrow
    Qt::WaitCursor,         // 11 hourglass
    Qt::ForbiddenCursor,    // 12 no drop
    Qt::BusyCursor,         // 13 arrow and hourglass
    Qt::WhatsThisCursor,    // 14 arrow and question mark
    Qt::SizeAllCursor,      // 15 size all
};

// Which value we last set, so that values sharing a Qt shape read back as set.
int g_lastSet = 0;
} // namespace

int clsMousePointer::ScreenPointer()
{
    if (!qGuiApp)
        return 0;
    const QCursor *c = QGuiApplication::overrideCursor();
    if (!c)
        return 0;
    if (g_lastSet > 0 && kShapes[size_t(g_lastSet)] == c->shape())
        return g_lastSet;
    for (size_t v = 1; v < kShapes.size(); ++v)
        if (kShapes[v] == c->shape())
            return int(v);
    return 1;
}

Status clsMousePointer::SetScreenPointer(int value)
{
    if (value < 0 || value >= int(kShapes.size()))
        return Error{ErrorNumber::InvalidPropertyValue,
                     QStringLiteral("Invalid property value: %1 is no mouse pointer.").arg(value)};
    if (!qGuiApp)
        return std::nullopt;
    // One setting, not a stack: whatever override is in force is replaced.
    if (value == 0) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    } else if (QGuiApplication::overrideCursor()) {
        QGuiApplication::changeOverrideCursor(QCursor(kShapes[size_t(value)]));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(kShapes[size_t(value)]));
    }
    g_lastSet = value;
    return std::nullopt;
}

Status clsMousePointer::SetCursor(long NewCursor)
{
    if (NewCursor < std::numeric_limits<qint16>::min() || NewCursor > std::numeric_limits<qint16>::max())
        return Error{ErrorNumber::Overflow, QStringLiteral("Overflow: %1 is no mouse pointer.").arg(NewCursor)};
    if (!SavedPointer)
        SavedPointer = qint16(ScreenPointer());
    return SetScreenPointer(int(NewCursor));
}

clsMousePointer::~clsMousePointer()
{
    if (SavedPointer)
        (void)SetScreenPointer(*SavedPointer);
}
