#include "controls/KVTreeTabCtrl.h"

#include "controls/ToolbarBase.h"
#include "platform/ui/Notify.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WndClass.h"

namespace
{
constexpr DWORD ButtonStyle = 0x31;

CPoint PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}
} // namespace

const MessageMap* CKVTreeTabCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CKVTreeTabCtrl::OnCreate),
        OnMessage(WM_PAINT, &CKVTreeTabCtrl::OnPaint),
        OnMessage(WM_SIZE, &CKVTreeTabCtrl::OnSize),
        OnMessage(WM_MOUSEMOVE, &CKVTreeTabCtrl::OnMouseMove),
        OnMessage(WM_LBUTTONDOWN, &CKVTreeTabCtrl::OnLButtonDown),
        OnNotify(TTN_NEEDTEXTA, &CKVTreeTabCtrl::OnToolTipText),
        OnNotify(TTN_NEEDTEXTW, &CKVTreeTabCtrl::OnToolTipText),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CKVTreeTabCtrl::CKVTreeTabCtrl() = default;

CKVTreeTabCtrl::~CKVTreeTabCtrl()
{
    DestroyWindow();
}

bool CKVTreeTabCtrl::Create(const CRect& rect, UINT id, CWnd* parent, UINT headerImageId)
{
    if (!CWnd::Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                      parent, id))
        return false;
    m_notifyWnd = parent;
    m_id = id;
    LoadImages(headerImageId);
    m_tree.Create(CRect(0, 0, 1, 1), this, id);
    m_tree.LoadIcons();
    if (parent)
        m_tree.m_notifyWnd = parent;
    // The first WM_SIZE came before the images and the tree.
    PlaceChildren(GetSafeHwnd()->width(), GetSafeHwnd()->height());
    return true;
}

void CKVTreeTabCtrl::LoadImages(UINT headerImageId)
{
    m_headerImage.LoadFromResource(headerImageId);
    m_footerImage.LoadFromResource(FooterImage);
    m_gripImage.LoadFromResource(GripImage);
    if (IsWindow())
        Invalidate();
}

void CKVTreeTabCtrl::AddTabButton(UINT commandId, UINT iconImageId, const QString& text, CWnd* notifyWnd)
{
    auto button = std::make_unique<CKVImageButton>();
    button->Create(ButtonImage, iconImageId, text, ButtonStyle, CRect(0, 0, 1, 1), this, commandId, notifyWnd,
                   0xC0C0C0);
    button->m_textColors[0] = button->m_textColors[1] = button->m_textColors[2] = 0xFFFFFF;
    button->m_textColors[3] = 0x606060;
    m_buttons.push_back(std::move(button));
    Invalidate();
}

int CKVTreeTabCtrl::GetMinHeight() const
{
    int height = m_headerImage.GetHeight();
    for (const auto& button : m_buttons)
        height += button->GetImageSize().cy + 1;
    return height + 2 * CKVTreeCtrl::RowHeight + 1 + 2 + m_footerImage.GetHeight();
}

CRect CKVTreeTabCtrl::GetGripRect() const
{
    CRect client;
    GetClientRect(&client);
    const int gripWidth = m_gripImage.GetWidth();
    const int gripHeight = m_gripImage.GetHeight();
    const int left = (client.Width() - gripWidth) / 2 - 2;
    const int top = client.Height() - (m_footerImage.GetHeight() + gripHeight - 4) / 2 - 4;
    return {left, top, left + gripWidth, top + gripHeight};
}

CRect CKVTreeTabCtrl::GetGripHitRect() const
{
    CRect rect = GetGripRect();
    const int grow = (m_footerImage.GetHeight() - m_gripImage.GetHeight()) / 2;
    rect.top -= grow;
    rect.bottom += grow;
    return rect;
}

LRESULT CKVTreeTabCtrl::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    GetSafeHwnd()->setMouseTracking(true);
    EnableToolTips(true);
    return 0;
}

LRESULT CKVTreeTabCtrl::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return 0;
    if (m_backBuffer.GetWidth() != client.Width() || m_backBuffer.GetHeight() != client.Height())
        m_backBuffer.CreateBlank(client.Width(), client.Height());
    if (!m_backBuffer.HasImage())
        return 0;
    {
        Gdiplus::Graphics buffer(m_backBuffer.GetBitmap());
        const Gdiplus::SolidBrush body{Gdiplus::Color(m_bodyColor)};
        const Gdiplus::SolidBrush inner{Gdiplus::Color(m_innerColor)};
        buffer.FillRectangle(&body, 0, 0, client.Width(), client.Height());
        const int header = m_headerImage.GetHeight();
        const int footer = m_footerImage.GetHeight();
        buffer.FillRectangle(&inner, 0, header, client.Width(), client.Height() - header - footer);
        m_headerImage.DrawWithRepeatedLastColumn(buffer, 0, 0, client.Width());
        m_footerImage.DrawWithRepeatedLastColumn(buffer, 0, client.Height() - footer, client.Width());
        const CRect grip = GetGripRect();
        m_gripImage.Draw(buffer, grip.left, grip.top);
    }
    Gdiplus::Graphics graphics(&dc);
    m_backBuffer.Draw(graphics, 0, 0);
    return 0;
}

void CKVTreeTabCtrl::PlaceChildren(int width, int height)
{
    int y = m_headerImage.GetHeight();
    for (const auto& button : m_buttons)
    {
        if (!button->IsWindow())
            continue;
        const int buttonHeight = button->GetImageSize().cy;
        button->MoveWindow(m_innerMargin, y + 1, width - m_innerMargin, buttonHeight);
        y += buttonHeight + 1;
    }
    if (m_tree.IsWindow())
    {
        m_tree.MoveWindow(m_innerMargin, y + 1, width - m_innerMargin,
                          height - m_footerImage.GetHeight() - y - 2);
        m_tree.UpdateWindow();
    }
}

LRESULT CKVTreeTabCtrl::OnSize(WPARAM, LPARAM lParam)
{
    Default();
    PlaceChildren(LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT CKVTreeTabCtrl::OnMouseMove(WPARAM, LPARAM lParam)
{
    const bool onGrip = GetGripHitRect().PtInRect(PointOf(lParam));
    GetSafeHwnd()->setCursor(onGrip ? Qt::SizeVerCursor : Qt::ArrowCursor);
    Default();
    return 0;
}

LRESULT CKVTreeTabCtrl::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const CPoint point = PointOf(lParam);
    if (GetGripHitRect().PtInRect(point) && m_notifyWnd)
    {
        m_gripPressPoint = point;
        ClientToScreen(&m_gripPressPoint);
        m_notifyWnd->SendMessage(NotifyGripPressed, m_id, LPARAM(this));
    }
    Default();
    return 0;
}

LRESULT CKVTreeTabCtrl::OnToolTipText(WPARAM, LPARAM header)
{
    return CToolbarBase::FillToolTipText(reinterpret_cast<NMHDR*>(header));
}
