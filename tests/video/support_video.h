#pragma once
// Helpers shared by the video windows' tests.
#include <QImage>
#include <QRect>
#include <QSet>
#include <QString>
#include <QDir>
#include <QtTest>

#include "SinkProbe.h"

// Distinct colours in an area of an image: a frame of colour bars has many,
// the bare background one or two.
inline int distinctColours(const QImage &image, const QRect &area)
{
    QSet<QRgb> seen;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); y += 2)
        for (int x = r.left(); x <= r.right(); x += 2)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

// Where screenshots go: $ORVANE_SCREENSHOTS when set, else the given folder.
inline QString screenshotPath(const QString &fallbackDir, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVANE_SCREENSHOTS", fallbackDir);
    QDir().mkpath(dir);
    return QDir(dir).filePath(name);
}

// Whether nothing more reaches any audio sink: what played has stopped.
// Buffers already on their way when it stopped are let through first.
inline bool staysSilent(SinkProbe &probe)
{
    QTest::qWait(300);
    probe.reset();
    QTest::qWait(700);
    return probe.buffers() == 0;
}
