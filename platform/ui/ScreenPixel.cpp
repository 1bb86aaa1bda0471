#include "platform/ui/ScreenPixel.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

bool GetScreenPixel(const CPoint& point, COLORREF* color)
{
    QScreen* screen = QGuiApplication::screenAt(point.ToQPoint());
    if (!screen)
        return false;
    const QPoint local = point.ToQPoint() - screen->geometry().topLeft();
    const QImage image = screen->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        return false;
    const QRgb pixel = image.pixel(0, 0);
    *color = RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
    return true;
}
