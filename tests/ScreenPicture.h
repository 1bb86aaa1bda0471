#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <functional>
#include <set>

// Pictures of windows as the screen shows them, for the cases that run on a virtual X display:
// only there does the web engine paint.

// The window as the screen shows it.
inline QImage GrabFromScreen(const QWidget* window)
{
    return QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage();
}

// Grabs the window until the picture shows what the case needs: the engine paints a while after
// its page has loaded, later still on a busy machine. False when it never does; the picture then
// holds the last grab, to be saved and looked at.
inline bool GrabWhenShown(const QWidget* window, const std::function<bool(const QImage&)>& shows,
                          QImage& picture, int timeoutMs = 30000)
{
    return QTest::qWaitFor(
        [&]
        {
            picture = GrabFromScreen(window);
            return shows(picture);
        },
        timeoutMs);
}

// The area of the widget within the picture of its window.
inline QRect AreaInWindow(const QWidget* widget)
{
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

// How many pixels of the area are near the colour, as the text or a line drawn in it.
inline int PixelsNear(const QImage& picture, const QRect& area, QRgb colour, int tolerance = 48)
{
    int count = 0;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
        {
            const QRgb pixel = picture.pixel(x, y);
            if (std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour)) +
                    std::abs(qBlue(pixel) - qBlue(colour)) <=
                tolerance)
                ++count;
        }
    return count;
}

// Text and lines in black or near it, as a page draws them on its light ground.
inline int DarkPixels(const QImage& picture, const QRect& area)
{
    return PixelsNear(picture, area, qRgb(0, 0, 0), 180);
}

// How many colours the area holds: a page drawn with pictures holds many, an unpainted one few.
inline int DistinctColours(const QImage& picture, const QRect& area)
{
    std::set<QRgb> colours;
    const QRect inside = area.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            colours.insert(picture.pixel(x, y));
    return int(colours.size());
}

// Waits until the window's own picture, offscreen too, shows the page of the widget painted: a
// frame of many colours where the engine's first frame is one plain colour. For pictures that a
// person looks at; the engine paints a while after its page has loaded.
inline bool AwaitPaintedPage(const QWidget* page, int timeoutMs = 30000)
{
    return QTest::qWaitFor(
        [&] { return DistinctColours(page->window()->grab().toImage(), AreaInWindow(page)) > 8; }, timeoutMs);
}
