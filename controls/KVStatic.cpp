#include "controls/KVStatic.h"

#include "platform/ui/PaintDC.h"

const MessageMap* CKVStatic::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CKVStatic::OnPaint),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CKVStatic::CKVStatic() = default;

CKVStatic::~CKVStatic()
{
    DestroyWindow();
}

bool CKVStatic::Create(const QString& text, CWnd* parent, UINT id, COLORREF textColor,
                       COLORREF backgroundColor, COLORREF borderColor)
{
    m_text = text;
    m_textColor = textColor;
    m_backgroundColor = backgroundColor;
    m_borderColor = borderColor;
    m_flags = 0;
    m_padding = 0;
    return CWnd::Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), parent, id);
}

LRESULT CKVStatic::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    const int saved = dc.SaveDC();
    CRect rect;
    GetClientRect(&rect);
    if (m_flags & FlagNoBorder)
    {
        dc.FillSolidRect(rect, m_backgroundColor);
    }
    else
    {
        dc.FillSolidRect(rect, m_borderColor);
        dc.FillSolidRect(CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1),
                         m_backgroundColor);
    }
    rect.left += m_padding;
    rect.right -= m_padding;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_textColor);
    CKVSystemFont& font = (m_flags & FlagBold) ? m_boldFont : m_normalFont;
    // Not a single line: line breaks in the text start new lines.
    font.DrawTextCentered(&dc, rect, m_text, DT_NOPREFIX | DT_END_ELLIPSIS);
    dc.RestoreDC(saved);
    return 0;
}
