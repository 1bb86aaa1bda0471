#include "dialogs/ColorPainting.h"

#include "ndb/NdbRgba.h"

namespace
{
constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF CheckerGrey = 0xD2D2D2;
} // namespace

COLORREF ColorRefOf(const ndb::CNdbRgba& rgba)
{
    return RGB(rgba.red, rgba.green, rgba.blue);
}

QString RgbHexText(const ndb::CNdbRgba& rgba)
{
    return QStringLiteral("%1%2%3")
        .arg(rgba.red, 2, 16, QLatin1Char('0'))
        .arg(rgba.green, 2, 16, QLatin1Char('0'))
        .arg(rgba.blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void DrawNoColorChecker(CDC& dc, const CRect& rect)
{
    const int w = rect.Width() / 2;
    const int h = rect.Height() / 2;
    const int x = rect.left + rect.Width() / 2;
    const int y = rect.top + rect.Height() / 2;
    dc.FillSolidRect(CRect(rect.left, rect.top, rect.left + w, rect.top + h), White);
    dc.FillSolidRect(CRect(x, rect.top, x + w, rect.top + h), CheckerGrey);
    dc.FillSolidRect(CRect(rect.left, y, rect.left + w, y + h), CheckerGrey);
    dc.FillSolidRect(CRect(x, y, x + w, y + h), White);
}
