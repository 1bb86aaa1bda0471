#pragma once

#include "platform/ui/Point.h"
#include "platform/ui/WinTypes.h"

#include <QImage>
#include <vector>

class CWnd;

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

// A list of images of one size, as tree views show them beside their items.
//
// It also carries the one drag image of the desktop: BeginDrag picks an image of a list and
// its hot spot, DragEnter shows it over a window, DragMove follows the pointer, DragShowNolock
// hides it while the window repaints, and DragLeave and EndDrag end it.
class CImageList
{
public:
    // Initial and growth counts are accepted for their meaning only: the list grows as needed.
    bool Create(int width, int height, UINT flags, int initial, int grow);
    // Cuts a strip into images of the list's width, left to right; with ILC_MASK the pixels of
    // the mask colour become transparent. The index of the first image, or -1.
    int Add(const QImage& strip, COLORREF mask);
    int GetImageCount() const { return int(m_images.size()); }
    QImage GetImage(int index) const;
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    bool BeginDrag(int image, CPoint hotSpot) const;
    // The position is in the window's coordinates; the image's hot spot goes there.
    static bool DragEnter(CWnd* lockWindow, CPoint position);
    static bool DragMove(CPoint position);
    static bool DragShowNolock(bool show);
    static bool DragLeave(CWnd* lockWindow);
    static void EndDrag();

private:
    int m_width = 0;
    int m_height = 0;
    UINT m_flags = 0;
    std::vector<QImage> m_images;
};
