#include "platform/ui/ImageList.h"

#include "platform/ui/Wnd.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <algorithm>

namespace
{
// The dragged picture is drawn see-through, so the place it is held over stays readable.
constexpr qreal DragImageOpacity = 0.6;
// Bounds for a strip handed to Add: images are icons, not photographs.
constexpr int MaxImagesPerStrip = 1024;

struct DragState
{
    QImage image;
    CPoint hotSpot;
    CPoint position;
    QPointer<QLabel> overlay;
};

DragState& Drag()
{
    static DragState state;
    return state;
}

void PlaceOverlay()
{
    DragState& drag = Drag();
    if (drag.overlay)
        drag.overlay->move(drag.position.x - drag.hotSpot.x, drag.position.y - drag.hotSpot.y);
}
} // namespace

bool CImageList::Create(int width, int height, UINT flags, int, int)
{
    if (width <= 0 || height <= 0)
        return false;
    m_width = width;
    m_height = height;
    m_flags = flags;
    m_images.clear();
    return true;
}

int CImageList::Add(const QImage& strip, COLORREF mask)
{
    if (m_width <= 0 || strip.isNull() || strip.width() / m_width > MaxImagesPerStrip)
        return -1;
    const int first = GetImageCount();
    const QRgb maskColor = qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask));
    const QImage source = strip.convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x + m_width <= source.width(); x += m_width)
    {
        QImage image(m_width, m_height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < std::min(m_height, source.height()); ++y)
        {
            for (int dx = 0; dx < m_width; ++dx)
            {
                const QRgb pixel = source.pixel(x + dx, y);
                const bool masked = (m_flags & ILC_MASK) && (pixel & 0xFFFFFF) == (maskColor & 0xFFFFFF);
                image.setPixel(dx, y, masked ? qRgba(0, 0, 0, 0) : pixel);
            }
        }
        m_images.push_back(image);
    }
    return GetImageCount() > first ? first : -1;
}

QImage CImageList::GetImage(int index) const
{
    return index >= 0 && index < GetImageCount() ? m_images[std::size_t(index)] : QImage();
}

bool CImageList::BeginDrag(int image, CPoint hotSpot) const
{
    if (image < 0 || image >= GetImageCount())
        return false;
    EndDrag();
    QImage faded(m_images[std::size_t(image)].size(), QImage::Format_ARGB32);
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(DragImageOpacity);
    painter.drawImage(0, 0, m_images[std::size_t(image)]);
    painter.end();
    Drag().image = faded;
    Drag().hotSpot = hotSpot;
    return true;
}

bool CImageList::DragEnter(CWnd* lockWindow, CPoint position)
{
    DragState& drag = Drag();
    QWidget* host = lockWindow ? lockWindow->GetSafeHwnd() : nullptr;
    if (drag.image.isNull() || !host)
        return false;
    delete drag.overlay;
    drag.overlay = new QLabel(host);
    drag.overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
    drag.overlay->setPixmap(QPixmap::fromImage(drag.image));
    drag.overlay->resize(drag.image.size());
    drag.position = position;
    PlaceOverlay();
    drag.overlay->show();
    drag.overlay->raise();
    return true;
}

bool CImageList::DragMove(CPoint position)
{
    DragState& drag = Drag();
    drag.position = position;
    PlaceOverlay();
    return drag.overlay != nullptr;
}

bool CImageList::DragShowNolock(bool show)
{
    DragState& drag = Drag();
    if (!drag.overlay)
        return false;
    drag.overlay->setVisible(show);
    if (show)
        drag.overlay->raise();
    return true;
}

bool CImageList::DragLeave(CWnd*)
{
    DragState& drag = Drag();
    const bool shown = drag.overlay != nullptr;
    delete drag.overlay;
    return shown;
}

void CImageList::EndDrag()
{
    DragLeave(nullptr);
    Drag().image = QImage();
}
