#include "controls/KVSystemFont.h"

#include "platform/ui/ClientDC.h"
#include "platform/ui/SystemParameters.h"

CKVSystemFont::CKVSystemFont(int height, int bold)
{
    NONCLIENTMETRICS metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONT description = metrics.lfMenuFont;
    if (height != 0)
        description.lfHeight = height;
    if (bold == 1)
        description.lfWeight = 700;
    m_font.CreateFontIndirect(&description);

    CClientDC dc(nullptr);
    CFont* previous = dc.SelectObject(&m_font);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    m_ascent = tm.tmAscent;
    m_descent = tm.tmDescent;
    dc.SelectObject(previous);
}

CKVSystemFont::~CKVSystemFont() = default;

void CKVSystemFont::DrawTextCentered(CDC* dc, const CRect& rect, const QString& text, UINT format)
{
    if (text.isEmpty())
        return;
    CRect textRect(rect.left, rect.top + (rect.Height() - m_ascent - m_descent) / 2, rect.right, rect.bottom);
    CFont* previous = dc->SelectObject(&m_font);
    dc->DrawText(text, &textRect, format);
    dc->SelectObject(previous);
}

CSize CKVSystemFont::GetTextExtent(const QString& text)
{
    CClientDC dc(nullptr);
    CFont* previous = dc.SelectObject(&m_font);
    const CSize size = dc.GetTextExtent(text);
    dc.SelectObject(previous);
    return size;
}
