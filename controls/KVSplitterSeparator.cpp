#include "controls/KVSplitterSeparator.h"

#include "platform/ui/PaintDC.h"
#include "platform/ui/WndClass.h"

#include <algorithm>

namespace
{
constexpr BYTE BarAlpha = 64;
}

const MessageMap* CKVSplitterSeparator::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CKVSplitterSeparator::OnPaint),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

bool CKVSplitterSeparator::Create(CWnd* owner, int width)
{
    const QString className = AfxRegisterWndClass(0);
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_NOACTIVATE, className, QString(), WS_POPUP,
                  CRect(0, 0, 1, 1), owner, 0))
        return false;
    SetLayeredWindowAttributes(0, BarAlpha, LWA_ALPHA);
    EnableWindow(false);
    m_width = width;
    m_owner = owner;
    return true;
}

bool CKVSplitterSeparator::MoveTo(int x)
{
    if (!m_owner || !m_owner->IsWindow())
        return false;
    CRect owner;
    m_owner->GetWindowRect(&owner);
    const int left = std::max(owner.left, std::min(owner.left + x, owner.right - m_width));
    MoveWindow(left, owner.top, m_width, owner.Height(), true);
    Invalidate();
    UpdateWindow();
    return true;
}

LRESULT CKVSplitterSeparator::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, RGB(0, 0, 0));
    return 0;
}
