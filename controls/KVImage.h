#pragma once

#include "platform/ui/GdiplusGraphics.h"
#include "platform/ui/Rect.h"

#include <memory>

// An image held by a control, loaded from the program's resources. State images are vertical
// strips of four frames of equal height: normal, hover, pressed (or checked), disabled.
class CKVImage
{
public:
    CKVImage() = default;
    virtual ~CKVImage();
    CKVImage(const CKVImage&) = delete;
    CKVImage& operator=(const CKVImage&) = delete;

    // True when the module holds a bitmap or PNG resource of that id, even one that does not decode.
    bool LoadFromResource(UINT id);
    bool CreateBlank(int width, int height);
    bool HasImage() const;
    int GetWidth() const;
    int GetHeight() const;
    Gdiplus::Bitmap* GetBitmap() const { return m_bitmap.get(); }

    void Draw(Gdiplus::Graphics& graphics, int x, int y) const;
    void DrawStretched(Gdiplus::Graphics& graphics, const CRect& destination, const CRect& source) const;
    void DrawWithRepeatedLastColumn(Gdiplus::Graphics& graphics, int x, int y, int totalWidth) const;

private:
    std::unique_ptr<Gdiplus::Bitmap> m_bitmap;
};
