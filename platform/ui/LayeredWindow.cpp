#include "platform/ui/LayeredWindow.h"

#include "platform/ui/Wnd.h"
#include "platform/ui/WndHost.h"

#include <QImage>
#include <QPainter>

namespace
{
class LayeredSurface : public QWidget
{
public:
    LayeredSurface(QWidget* owner, Qt::WindowFlags flags) : QWidget(owner, flags)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    void SetPicture(const QImage& picture)
    {
        m_picture = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // The picture replaces whatever the window showed; its alpha is the window's.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.drawImage(0, 0, m_picture);
    }

private:
    QImage m_picture;
};
} // namespace

QWidget* CreateLayeredHost(CWnd* wnd, QWidget* owner, Qt::WindowFlags flags)
{
    return new CWndHost<LayeredSurface>(wnd, owner, flags);
}

bool UpdateLayeredWindow(CWnd* wnd, const CPoint* position, const CSize& size, const QImage& source,
                         CPoint sourcePoint, const BLENDFUNCTION& blend, DWORD flags)
{
    auto* surface = wnd ? dynamic_cast<LayeredSurface*>(wnd->GetSafeHwnd()) : nullptr;
    if (!surface || size.cx < 0 || size.cy < 0)
        return false;
    const bool perPixel = (flags & ULW_ALPHA) && (blend.AlphaFormat & AC_SRC_ALPHA);
    QImage picture(size.cx, size.cy, QImage::Format_ARGB32_Premultiplied);
    picture.fill(perPixel ? Qt::transparent : Qt::black);
    QPainter painter(&picture);
    if (perPixel)
        painter.setOpacity(blend.SourceConstantAlpha / 255.0);
    const QImage part = source.copy(sourcePoint.x, sourcePoint.y, size.cx, size.cy);
    painter.drawImage(0, 0, perPixel ? part : part.convertToFormat(QImage::Format_RGB32));
    painter.end();
    if (position)
        wnd->SetWindowPos(nullptr, position->x, position->y, size.cx, size.cy, SWP_NOZORDER);
    else
        wnd->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    surface->SetPicture(picture);
    return true;
}
