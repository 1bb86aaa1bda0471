#include "controls/TreeTabGroupCtrl.h"

#include "platform/ui/PaintDC.h"
#include "platform/ui/WndClass.h"

#include <algorithm>

namespace
{
constexpr COLORREF BodyColor = 0x7B716E;
constexpr int Left = 20;
constexpr int Top = 40;
constexpr int Gap = 4;
constexpr int ReservedHeight = 60;
} // namespace

const MessageMap* CTreeTabGroupCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_SIZE, &CTreeTabGroupCtrl::OnSize),
        OnMessage(WM_PAINT, &CTreeTabGroupCtrl::OnPaint),
        OnMessage(CKVTreeTabCtrl::NotifyGripPressed, &CTreeTabGroupCtrl::OnGripPressed),
        OnMessage(WM_MOUSEMOVE, &CTreeTabGroupCtrl::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CTreeTabGroupCtrl::OnLButtonUp),
        OnMessage(WM_CAPTURECHANGED, &CTreeTabGroupCtrl::OnCaptureChanged),
        OnMessage(WM_CANCELMODE, &CTreeTabGroupCtrl::OnCancelMode),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CTreeTabGroupCtrl::CTreeTabGroupCtrl() = default;

CTreeTabGroupCtrl::~CTreeTabGroupCtrl()
{
    std::vector<CKVTreeTabCtrl*> panels;
    panels.swap(m_panels);
    for (CKVTreeTabCtrl* panel : panels)
        delete panel;
    DestroyWindow();
}

bool CTreeTabGroupCtrl::Create(CWnd* parent)
{
    m_parent = parent;
    return CWnd::Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                        CRect(0, 0, 1, 1), parent, ControlId);
}

int CTreeTabGroupCtrl::HeightOf(const CKVTreeTabCtrl* panel)
{
    const QWidget* widget = panel->GetSafeHwnd();
    return widget ? widget->height() : 0;
}

void CTreeTabGroupCtrl::Layout()
{
    CRect client;
    GetClientRect(&client);
    int y = Top;
    for (CKVTreeTabCtrl* panel : m_panels)
    {
        const int height = HeightOf(panel);
        panel->MoveWindow(Left, y, client.Width() - Left, height, true);
        y += height + Gap;
    }
}

int CTreeTabGroupCtrl::GetFreeHeight(const CKVTreeTabCtrl* panel) const
{
    CRect client;
    GetClientRect(&client);
    int free = client.Height() - ReservedHeight;
    for (const CKVTreeTabCtrl* other : m_panels)
    {
        if (other != panel)
            free -= HeightOf(other) + Gap;
    }
    return free;
}

void CTreeTabGroupCtrl::ShrinkOrGrow()
{
    int space = GetFreeHeight(nullptr);
    if (space < 0)
    {
        int need = -space;
        for (auto it = m_panels.rbegin(); it != m_panels.rend(); ++it)
        {
            CKVTreeTabCtrl* panel = *it;
            const int height = HeightOf(panel);
            if (panel->m_rememberedHeight == -1)
                panel->m_rememberedHeight = height;
            const int canGive = height - panel->GetMinHeight();
            if (need > 0 && canGive > 0)
            {
                const int give = std::min(canGive, need);
                const QRect geometry = panel->GetSafeHwnd()->geometry();
                panel->MoveWindow(geometry.x(), geometry.y(), geometry.width(), height - give, false);
                need -= give;
            }
        }
    }
    else
    {
        for (CKVTreeTabCtrl* panel : m_panels)
        {
            if (space <= 0)
                break;
            const int height = HeightOf(panel);
            if (panel->m_rememberedHeight == -1 || height >= panel->m_rememberedHeight)
                continue;
            const int grow = std::min(panel->m_rememberedHeight - height, space);
            const QRect geometry = panel->GetSafeHwnd()->geometry();
            panel->MoveWindow(geometry.x(), geometry.y(), geometry.width(), height + grow, false);
            space -= grow;
        }
    }
    Layout();
}

LRESULT CTreeTabGroupCtrl::OnSize(WPARAM, LPARAM)
{
    Default();
    ShrinkOrGrow();
    return 0;
}

LRESULT CTreeTabGroupCtrl::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, BodyColor);
    return 0;
}

LRESULT CTreeTabGroupCtrl::OnGripPressed(WPARAM, LPARAM lParam)
{
    auto* panel = reinterpret_cast<CKVTreeTabCtrl*>(lParam);
    if (!panel || std::find(m_panels.begin(), m_panels.end(), panel) == m_panels.end())
        return 0;
    m_dragStart = panel->GetGripPressPoint();
    m_resized = panel;
    panel->GetWindowRect(&m_dragRect);
    ScreenToClient(&m_dragRect);
    SetCapture();
    return 0;
}

LRESULT CTreeTabGroupCtrl::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (!m_resized || GetCapture() != this)
        return 0;
    CPoint cursor(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    ClientToScreen(&cursor);
    int height = m_dragRect.Height() + (cursor.y - m_dragStart.y);
    height = std::min(height, GetFreeHeight(m_resized));
    height = std::max(height, m_resized->GetMinHeight());
    m_resized->MoveWindow(m_dragRect.left, m_dragRect.top, m_dragRect.Width(), height, true);
    Layout();
    return 0;
}

LRESULT CTreeTabGroupCtrl::OnLButtonUp(WPARAM, LPARAM)
{
    if (!m_resized)
        return 0;
    for (CKVTreeTabCtrl* panel : m_panels)
        panel->m_rememberedHeight = -1;
    m_resized = nullptr;
    if (GetCapture() == this)
        ReleaseCapture();
    return 0;
}

void CTreeTabGroupCtrl::AbortResize()
{
    CKVTreeTabCtrl* panel = m_resized;
    m_resized = nullptr;
    panel->MoveWindow(m_dragRect, true);
    Layout();
}

LRESULT CTreeTabGroupCtrl::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_resized)
        AbortResize();
    return 0;
}

LRESULT CTreeTabGroupCtrl::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    if (m_resized)
    {
        AbortResize();
        if (GetCapture() == this)
            ReleaseCapture();
    }
    return 0;
}
