#include "controls/KVTabButtonList.h"

#include "controls/ToolbarBase.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Notify.h"
#include "platform/ui/PaintDC.h"

namespace
{
constexpr int TabPadding = 40;
constexpr int TabAdvance = 30;
constexpr int TextShift = 5;
} // namespace

const MessageMap* CKVTabButtonList::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CKVTabButtonList::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CKVTabButtonList::OnLButtonDown),
        OnNotify(TTN_NEEDTEXTA, &CKVTabButtonList::OnToolTipText),
        OnNotify(TTN_NEEDTEXTW, &CKVTabButtonList::OnToolTipText),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CKVTabButtonList::CKVTabButtonList() = default;

CKVTabButtonList::~CKVTabButtonList()
{
    DestroyWindow();
}

CKVTabButtonList::TabRecord* CKVTabButtonList::AddTab(const QString& text, UINT commandId)
{
    auto tab = std::make_unique<TabRecord>();
    tab->text = text;
    tab->commandId = commandId;
    m_tabs.push_back(std::move(tab));
    RecalcTabs();
    return m_tabs.back().get();
}

void CKVTabButtonList::RecalcTabs()
{
    const int height = GetTabHeight();
    int x = 0;
    for (const auto& tab : m_tabs)
    {
        const int w = m_font.GetTextExtent(tab->text).cx;
        tab->textWidth = w;
        tab->rect = CRect(x, 0, x + w + TabPadding, height);
        x += w + TabAdvance;
    }
}

void CKVTabButtonList::SelectTab(UINT commandId)
{
    for (const auto& tab : m_tabs)
    {
        if (tab->commandId == commandId)
        {
            m_currentTab = tab.get();
            Invalidate(true);
            return;
        }
    }
}

int CKVTabButtonList::GetTabHeight() const
{
    return m_tabImage.HasImage() ? m_tabImage.GetHeight() / 4 : 0;
}

LRESULT CKVTabButtonList::OnPaint(WPARAM, LPARAM)
{
    // The window layer paints into an image of its own and shows it whole, so the tabs never
    // flicker over the background.
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, m_background);
    if (!m_tabImage.HasImage())
        return 0;
    Gdiplus::Graphics graphics(&dc);
    // Each tab lies above the tabs after it; the current tab lies above all.
    for (auto it = m_tabs.rbegin(); it != m_tabs.rend(); ++it)
    {
        if (it->get() != m_currentTab)
            DrawTab(graphics, dc, **it);
    }
    if (m_currentTab)
        DrawTab(graphics, dc, *m_currentTab);
    return 0;
}

void CKVTabButtonList::DrawTab(Gdiplus::Graphics& graphics, CDC& dc, const TabRecord& tab)
{
    const int sw = m_tabImage.GetWidth() / 3;
    const int fh = m_tabImage.GetHeight() / 4;
    const int y0 = &tab == m_currentTab ? 2 * fh : 0;
    const CRect& r = tab.rect;
    m_tabImage.DrawStretched(graphics, CRect(r.left, r.top, r.left + sw, r.top + fh),
                             CRect(0, y0, sw, y0 + fh));
    m_tabImage.DrawStretched(graphics, CRect(r.right - sw, r.top, r.right, r.top + fh),
                             CRect(2 * sw, y0, 3 * sw, y0 + fh));
    if (sw > 0)
    {
        const CRect middle(sw, y0, 2 * sw, y0 + fh);
        const int m = r.Width() - 2 * sw;
        const int n = m / sw;
        const int rest = m % sw;
        for (int i = 0; i < n; ++i)
        {
            const int x = r.left + sw + i * sw;
            m_tabImage.DrawStretched(graphics, CRect(x, r.top, x + sw, r.top + fh), middle);
        }
        if (rest > 0)
        {
            const int x = r.left + (n + 1) * sw;
            m_tabImage.DrawStretched(graphics, CRect(x, r.top, x + rest, r.top + fh), middle);
        }
    }
    // The text's top is centred by the font's ascent and descent, its middle 5 pixels left of the
    // tab's middle.
    const int centre = r.left + r.Width() / 2 - TextShift;
    const int top = r.top + (r.Height() - m_font.GetAscent() - m_font.GetDescent()) / 2;
    const int saved = dc.SaveDC();
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0x000000);
    CFont* previous = dc.SelectObject(m_font.GetFont());
    CRect textRect(centre - tab.textWidth, top, centre + tab.textWidth, r.bottom);
    dc.DrawText(tab.text, &textRect, DT_CENTER | DT_NOPREFIX | DT_SINGLELINE);
    dc.SelectObject(previous);
    dc.RestoreDC(saved);
}

CKVTabButtonList::TabRecord* CKVTabButtonList::TabAt(CPoint point) const
{
    // The tab drawn on top at the point: the current tab, else the first tab in order.
    if (m_currentTab && m_currentTab->rect.PtInRect(point))
        return m_currentTab;
    for (const auto& tab : m_tabs)
    {
        if (tab->rect.PtInRect(point))
            return tab.get();
    }
    return nullptr;
}

LRESULT CKVTabButtonList::OnLButtonDown(WPARAM, LPARAM lParam)
{
    TabRecord* tab = TabAt(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    if (tab && tab != m_currentTab)
    {
        m_currentTab = tab;
        Invalidate(true);
        UpdateWindow();
        if (m_notifyWnd)
            m_notifyWnd->SendMessage(WM_COMMAND, MAKEWPARAM(tab->commandId, 0), 0);
    }
    return Default();
}

INT_PTR CKVTabButtonList::OnToolHitTest(CPoint point, TOOLINFO* info) const
{
    for (const auto& tab : m_tabs)
    {
        if (!tab->rect.PtInRect(point))
            continue;
        info->hwnd = const_cast<CKVTabButtonList*>(this);
        info->uId = tab->commandId;
        info->rect = tab->rect;
        info->uFlags |= TTF_CENTERTIP | TTF_NOTBUTTON;
        info->text = LoadAppString(tab->commandId);
        return INT_PTR(tab->commandId);
    }
    return -1;
}

LRESULT CKVTabButtonList::OnToolTipText(WPARAM, LPARAM header)
{
    return CToolbarBase::FillToolTipText(reinterpret_cast<NMHDR*>(header));
}
