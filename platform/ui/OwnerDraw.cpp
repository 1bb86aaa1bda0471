#include "platform/ui/OwnerDraw.h"

#include <QPainter>

namespace
{
// A context drawing into an image of its own.
class CImageDC : public CDC
{
public:
    CImageDC(QImage* image, const QFont& font) { Begin(image, image->size(), font); }
};
} // namespace

void DrawItemByOwner(QPainter* painter, const QRect& area, const QFont& font, DRAWITEMSTRUCT* draw,
                     const std::function<void(DRAWITEMSTRUCT*)>& drawItem)
{
    if (area.isEmpty())
        return;
    QImage image(area.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        CImageDC dc(&image, font);
        draw->pDC = &dc;
        draw->rcItem = CRect(0, 0, area.width(), area.height());
        drawItem(draw);
        draw->pDC = nullptr;
    }
    painter->drawImage(area.topLeft(), image);
}
