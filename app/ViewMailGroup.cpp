#include "app/ViewMailGroup.h"

#include "app/PanelPainting.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WndClass.h"

const MessageMap* CViewMailGroup::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CViewMailGroup::OnPaint),
    };
    static const MessageMap map{CViewBase::GetMessageMap(), entries};
    return &map;
}

CViewMailGroup::CViewMailGroup(CKVContext* context) : m_context(context) {}

CViewMailGroup::~CViewMailGroup()
{
    DestroyWindow();
}

bool CViewMailGroup::Create(CWnd* parent, const CRect& rect)
{
    if (!CWnd::Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                      parent, ViewId))
        return false;
    m_corner.LoadFromResource(CornerImage);
    return true;
}

void CViewMailGroup::OnDocumentChanged()
{
    Invalidate();
}

LRESULT CViewMailGroup::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    // The layer sends no WM_ERASEBKGND: the background is filled here.
    dc.FillSolidRect(client, BackgroundColor);
    const CRect panel(client.left + m_margins.left, client.top + m_margins.top,
                      client.right - m_margins.right, client.bottom - m_margins.bottom);
    PanelPainting::DrawBorders(dc, panel, m_corner.GetWidth() / 2, m_corner.GetHeight() / 2, FrameColor);
    for (const PanelPainting::Corner corner : {PanelPainting::TopLeft, PanelPainting::BottomLeft,
                                               PanelPainting::BottomRight, PanelPainting::TopRight})
        PanelPainting::DrawCorner(dc, m_corner, panel, corner, BackgroundColor);
    return 0;
}
