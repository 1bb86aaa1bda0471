#include "platform/ui/Font.h"

#include "platform/ui/FontNames.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace
{
// The character height Windows gives a font of height 0.
constexpr int DefaultPixelHeight = 12;

int PixelSizeForCellHeight(const QFont& font, int cellHeight)
{
    QFont probe(font);
    probe.setPixelSize(100);
    const QFontMetricsF metrics(probe);
    const qreal cell = metrics.ascent() + metrics.descent();
    if (cell <= 0)
        return cellHeight;
    return std::max(1, int(std::lround(cellHeight * 100.0 / cell)));
}
} // namespace

bool CFont::CreateFontIndirect(const LOGFONT* description)
{
    if (!description)
        return false;
    QFont font(MapWindowsFontFamily(description->lfFaceName));
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setItalic(description->lfItalic != 0);
    if (description->lfWeight > 0)
        font.setWeight(QFont::Weight(std::clamp(description->lfWeight, 1, 1000)));
    if (description->lfHeight < 0)
        font.setPixelSize(-description->lfHeight);
    else if (description->lfHeight > 0)
        font.setPixelSize(PixelSizeForCellHeight(font, description->lfHeight));
    else
        font.setPixelSize(DefaultPixelHeight);
    m_font = font;
    m_description = *description;
    m_created = true;
    return true;
}

bool CFont::GetLogFont(LOGFONT* description) const
{
    if (!m_created || !description)
        return false;
    *description = m_description;
    return true;
}
