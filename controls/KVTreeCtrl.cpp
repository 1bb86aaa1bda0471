#include "controls/KVTreeCtrl.h"

#include "platform/ui/PaintDC.h"
#include "platform/ui/ToolTipRequest.h"
#include "platform/ui/WndClass.h"

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <cstdlib>
#include <functional>

namespace
{
constexpr UINT IconImage = 255;
constexpr UINT ScrolledMessage = 0x40A;
constexpr COLORREF Background = 0x4D433E;
constexpr COLORREF FrameColor = 0x908987;
constexpr COLORREF LineColor = 0xA19B99;
constexpr COLORREF SelectionColor = 0x806B5D;
constexpr COLORREF TextColor = 0xFFFFFF;
// Single line as well: the layer shortens with an ellipsis only a text it draws on one line.
constexpr UINT TextFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE;
constexpr int ToolTipLimit = 79;

QString& TreeClassName()
{
    static QString name;
    return name;
}

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Visits the displayed rows in order until the visitor returns false.
void ForEachRow(const CKVTreeItem& root, const std::function<bool(CKVTreeItem*)>& visit)
{
    std::function<bool(const CKVTreeItem&)> walk = [&](const CKVTreeItem& item)
    {
        for (CKVTreeItem* child : item.m_children)
        {
            if (!visit(child))
                return false;
            if (child->m_expanded && !walk(*child))
                return false;
        }
        return true;
    };
    walk(root);
}
} // namespace

const MessageMap* CKVTreeCtrl::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CKVTreeCtrl::OnPaint),
        OnMessage(WM_SIZE, &CKVTreeCtrl::OnSize),
        OnMessage(ScrolledMessage, &CKVTreeCtrl::OnScrolled),
        OnMessage(WM_LBUTTONDOWN, &CKVTreeCtrl::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CKVTreeCtrl::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CKVTreeCtrl::OnLButtonUp),
        OnMessage(WM_RBUTTONUP, &CKVTreeCtrl::OnRButtonUp),
        OnMessage(WM_CANCELMODE, &CKVTreeCtrl::OnCancelMode),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CKVTreeCtrl::CKVTreeCtrl()
{
    m_root.m_expanded = true;
}

CKVTreeCtrl::~CKVTreeCtrl()
{
    DestroyWindow();
}

bool CKVTreeCtrl::Create(const CRect& rect, CWnd* parent, UINT id)
{
    if (TreeClassName().isEmpty())
        TreeClassName() = AfxRegisterWndClass(0);
    if (!CWnd::Create(TreeClassName(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, id))
        return false;
    m_notifyWnd = parent;
    m_scrollBar.Create(CRect(0, 0, 1, 1), this);
    GetSafeHwnd()->setMouseTracking(true);
    UpdateScrollRange();
    return true;
}

bool CKVTreeCtrl::LoadIcons()
{
    return m_icons.LoadFromResource(IconImage);
}

int CKVTreeCtrl::CountRows() const
{
    int rows = 0;
    ForEachRow(m_root,
               [&](CKVTreeItem*)
               {
                   ++rows;
                   return true;
               });
    return rows;
}

CKVTreeItem* CKVTreeCtrl::ItemAtRow(int row) const
{
    CKVTreeItem* found = nullptr;
    if (row < 0)
        return nullptr;
    int index = 0;
    ForEachRow(m_root,
               [&](CKVTreeItem* item)
               {
                   if (index++ != row)
                       return true;
                   found = item;
                   return false;
               });
    return found;
}

int CKVTreeCtrl::GetRowOf(const CKVTreeItem* item) const
{
    int index = 0;
    ForEachRow(m_root,
               [&](CKVTreeItem* row)
               {
                   if (row == item)
                       return false;
                   ++index;
                   return true;
               });
    return index;
}

bool CKVTreeCtrl::IsScrollBarShown() const
{
    return m_scrollBar.IsWindow() && !m_scrollBar.GetSafeHwnd()->isHidden();
}

int CKVTreeCtrl::GetScrollOffset() const
{
    return IsScrollBarShown() ? m_scrollBar.m_pos : 0;
}

CKVTreeItem* CKVTreeCtrl::HitTest(const CPoint& point) const
{
    const int offsetY = point.y + GetScrollOffset();
    if (offsetY < 0)
        return nullptr;
    return ItemAtRow(offsetY / RowHeight);
}

void CKVTreeCtrl::UpdateScrollRange()
{
    if (!m_scrollBar.IsWindow())
        return;
    CRect client;
    GetClientRect(&client);
    m_scrollBar.m_min = 0;
    m_scrollBar.m_max = std::max(CountRows() * RowHeight - 1, 0);
    const int range = m_scrollBar.m_max - m_scrollBar.m_min + 1;
    m_scrollBar.m_page = std::max(std::min(range, client.Height() - 2), 0);
    m_scrollBar.ClampPos(m_scrollBar.m_pos);
    m_scrollBar.ShowWindow(m_scrollBar.m_page < range ? SW_SHOW : SW_HIDE);
    m_scrollBar.MoveWindow(client.Width() - 12, 1, 11, client.Height() - 2);
}

void CKVTreeCtrl::EnsureVisible(CKVTreeItem* item)
{
    for (CKVTreeItem* parent = m_root.FindParent(item); parent && parent != &m_root;
         parent = m_root.FindParent(parent))
        parent->m_expanded = true;
    UpdateScrollRange();
    CRect client;
    GetClientRect(&client);
    const int offset = GetScrollOffset();
    const int top = ItemAtRow(offset / RowHeight) ? offset / RowHeight : 0;
    const int row = GetRowOf(item);
    const int snapped = RowHeight * (offset / RowHeight);
    int newOffset = 0;
    if (row < top)
    {
        newOffset = snapped - RowHeight * (top - row);
    }
    else if (RowHeight * (row - top) < client.Height())
    {
        m_scrollBar.ClampPos(snapped);
        m_scrollBar.Invalidate();
        Invalidate();
        UpdateScrollRange();
        return;
    }
    else
    {
        newOffset = snapped + ((row - top + 1) * RowHeight + 2 - client.Height());
    }
    newOffset = std::max(newOffset, 0);
    const int last = CountRows() * RowHeight - 1;
    if (newOffset >= last)
        newOffset = last;
    m_scrollBar.ClampPos(newOffset);
    m_scrollBar.Invalidate();
    Invalidate();
}

INT_PTR CKVTreeCtrl::OnToolHitTest(const CPoint& point, CRect* toolRect) const
{
    CKVTreeItem* item = HitTest(point);
    if (!item)
        return -1;
    CRect client;
    GetClientRect(&client);
    const int top = std::max(point.y - point.y % RowHeight, 0);
    *toolRect = CRect(client.left, top, client.right, std::min(top + RowHeight, client.bottom));
    return INT_PTR(item->m_data);
}

QString CKVTreeCtrl::GetToolTipText(INT_PTR toolId)
{
    const CKVTreeItem* item = m_root.FindByData(reinterpret_cast<const void*>(toolId));
    return item ? item->m_text.left(ToolTipLimit) : QString();
}

bool CKVTreeCtrl::TranslateEvent(QEvent* event, bool* result)
{
    if (event->type() != QEvent::ToolTip)
        return CWnd::TranslateEvent(event, result);
    AnswerToolTipRequest(GetSafeHwnd(), event,
                         [this](const CPoint& point, CRect* rect)
                         {
                             const INT_PTR id = OnToolHitTest(point, rect);
                             return id == -1 ? QString() : GetToolTipText(id);
                         });
    *result = true;
    return true;
}

LRESULT CKVTreeCtrl::OnPaint(WPARAM, LPARAM)
{
    // The layer paints into an off-screen image and copies it in one block, so the rows are
    // drawn straight into the paint context.
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, Background);
    PaintItem(dc, &m_root, 1, 1 - GetScrollOffset());
    QPainter* painter = dc.Painter();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(ToQColor(FrameColor), 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(client.left, client.top, client.Width() - 1, client.Height() - 1);
    if (IsScrollBarShown())
        painter->drawLine(client.Width() - 13, 0, client.Width() - 13, client.bottom - 1);
    painter->restore();
    return 0;
}

int CKVTreeCtrl::PaintItem(CDC& dc, CKVTreeItem* item, int x, int y)
{
    const int startY = y;
    const int rowX = x;
    const int rowY = y;
    const bool isRoot = item == &m_root;
    QPainter* painter = dc.Painter();
    if (!isRoot)
    {
        CRect client;
        GetClientRect(&client);
        CRect row(client.left + 2, y + 1, client.right - (IsScrollBarShown() ? 14 : 2), y + RowHeight - 1);
        if (item == m_selected)
            dc.FillSolidRect(CRect(row.left, y + 1, row.right, y + RowHeight), SelectionColor);
        const int icon = !item->m_children.empty() && item->m_expanded ? 1 : item->m_image;
        if (m_icons.HasImage())
        {
            Gdiplus::Graphics graphics(&dc);
            m_icons.DrawStretched(graphics, CRect(x, y, x + IconWidth, y + RowHeight),
                                  CRect(IconWidth * icon, 0, IconWidth * icon + IconWidth, RowHeight));
        }
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(TextColor);
        m_font.DrawTextCentered(&dc, CRect(x + IconWidth, y + 1, row.right, y + RowHeight - 1), item->m_text,
                                TextFormat);
        x += IconWidth;
        y += RowHeight;
    }
    if (!isRoot && !item->m_expanded)
        return y - startY;
    const int lineX = rowX + IconWidth / 2;
    int lastChildMiddle = 0;
    for (CKVTreeItem* child : item->m_children)
    {
        const int childTop = y;
        y += PaintItem(dc, child, x, y);
        if (isRoot)
            continue;
        lastChildMiddle = childTop + RowHeight / 2;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(ToQColor(LineColor), 0));
        painter->drawLine(lineX, lastChildMiddle, rowX + IconWidth, lastChildMiddle);
        painter->restore();
    }
    if (!isRoot && !item->m_children.empty())
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(ToQColor(LineColor), 0));
        painter->drawLine(lineX, rowY + RowHeight + 1, lineX, lastChildMiddle);
        painter->restore();
    }
    return y - startY;
}

LRESULT CKVTreeCtrl::OnSize(WPARAM, LPARAM)
{
    Default();
    UpdateScrollRange();
    return 0;
}

LRESULT CKVTreeCtrl::OnScrolled(WPARAM, LPARAM)
{
    Invalidate();
    UpdateWindow();
    return 0;
}

LRESULT CKVTreeCtrl::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    CKVTreeItem* item = HitTest(point);
    m_pressed = item != nullptr;
    m_dragging = false;
    m_pressPoint = point;
    m_pressData = item ? item->m_data : nullptr;
    if (item != m_selected)
        Notify(NotifyLeftDown, item);
    Default();
    return 0;
}

LRESULT CKVTreeCtrl::OnMouseMove(WPARAM keys, LPARAM lParam)
{
    Default();
    // A dialog that the click opened may have taken the release.
    if (!(keys & MK_LBUTTON))
    {
        if (m_dragging)
            EndDrag(nullptr);
        m_pressed = false;
        return 0;
    }
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (m_pressed && !m_dragging)
    {
        const int distance = std::abs(point.x - m_pressPoint.x) + std::abs(point.y - m_pressPoint.y);
        if (distance < QApplication::startDragDistance())
            return 0;
        m_pressed = false;
        CKVTreeItem* source = m_pressData ? m_root.FindByData(m_pressData) : nullptr;
        if (!source)
            return 0;
        m_dragging = true;
        Notify(NotifyBeginDrag, source);
    }
    if (m_dragging)
        Notify(NotifyDragOver, HitTest(point));
    return 0;
}

LRESULT CKVTreeCtrl::OnLButtonUp(WPARAM, LPARAM lParam)
{
    m_pressed = false;
    if (m_dragging)
        EndDrag(HitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))));
    Default();
    return 0;
}

void CKVTreeCtrl::EndDrag(CKVTreeItem* target)
{
    m_dragging = false;
    Notify(NotifyDrop, target);
}

void CKVTreeCtrl::Notify(UINT code, CKVTreeItem* item)
{
    if (m_notifyWnd)
        m_notifyWnd->SendMessage(code, GetDlgCtrlID(), LPARAM(item));
}

LRESULT CKVTreeCtrl::OnRButtonUp(WPARAM, LPARAM lParam)
{
    CKVTreeItem* item = HitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    Notify(NotifyRightUp, item);
    Default();
    return 0;
}

LRESULT CKVTreeCtrl::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    m_pressed = false;
    if (m_dragging)
        EndDrag(nullptr);
    if (GetCapture() == this)
        ReleaseCapture();
    return 0;
}
