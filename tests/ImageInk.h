#pragma once

#include <QImage>
#include <QRect>

// The bounding rectangle of the pixels that differ from the background; empty when none.
inline QRect InkBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}
