#include "controls/KVImage.h"

#include "platform/ui/ResourceModule.h"

CKVImage::~CKVImage() = default;

bool CKVImage::LoadFromResource(UINT id)
{
    m_bitmap.reset();
    QByteArray bytes;
    if (ResourceModule::Exists(QStringLiteral("BITMAP"), id))
    {
        if (ResourceModule::Load(QStringLiteral("BITMAP"), id, &bytes))
            m_bitmap = std::make_unique<Gdiplus::Bitmap>(bytes);
    }
    else
    {
        if (!ResourceModule::Load(QStringLiteral("PNG"), id, &bytes) || bytes.isEmpty())
            return false;
        m_bitmap = std::make_unique<Gdiplus::Bitmap>(bytes);
    }
    if (m_bitmap && m_bitmap->GetLastStatus() != Gdiplus::Ok)
        m_bitmap.reset();
    return true;
}

bool CKVImage::CreateBlank(int width, int height)
{
    m_bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, Gdiplus::PixelFormat32bppARGB);
    if (m_bitmap->GetLastStatus() == Gdiplus::OutOfMemory)
    {
        m_bitmap.reset();
        return false;
    }
    return true;
}

bool CKVImage::HasImage() const
{
    return m_bitmap && m_bitmap->GetWidth() > 0 && m_bitmap->GetHeight() > 0;
}

int CKVImage::GetWidth() const
{
    return m_bitmap ? int(m_bitmap->GetWidth()) : 0;
}

int CKVImage::GetHeight() const
{
    return m_bitmap ? int(m_bitmap->GetHeight()) : 0;
}

void CKVImage::Draw(Gdiplus::Graphics& graphics, int x, int y) const
{
    if (m_bitmap)
        graphics.DrawImage(m_bitmap.get(), x, y);
}

void CKVImage::DrawStretched(Gdiplus::Graphics& graphics, const CRect& destination, const CRect& source) const
{
    if (!m_bitmap)
        return;
    using Gdiplus::REAL;
    const Gdiplus::RectF target(REAL(destination.left), REAL(destination.top), REAL(destination.Width()),
                                REAL(destination.Height()));
    graphics.DrawImage(m_bitmap.get(), target, REAL(source.left), REAL(source.top), REAL(source.Width()),
                       REAL(source.Height()), Gdiplus::UnitPixel);
}

void CKVImage::DrawWithRepeatedLastColumn(Gdiplus::Graphics& graphics, int x, int y, int totalWidth) const
{
    if (!m_bitmap)
        return;
    Draw(graphics, x, y);
    const int w = GetWidth();
    const int h = GetHeight();
    for (int c = w; c < totalWidth; ++c)
        DrawStretched(graphics, CRect(x + c, y, x + c + 1, y + h), CRect(w - 1, 0, w, h));
}
