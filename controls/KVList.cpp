#include "controls/KVList.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/SystemParameters.h"
#include "platform/ui/ToolTipRequest.h"
#include "platform/ui/WndClass.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cwchar>
#include <string>

namespace
{
constexpr UINT HeaderImage = 303;
constexpr UINT CheckImage = 308;
constexpr UINT FirstHeaderId = 0x8000;
constexpr UINT LastHeaderId = 0x9000;
constexpr UINT ClassDoubleClicks = 0x0008;
constexpr DWORD ExStyle = 0x10200;
constexpr DWORD Style = 0x52200000;
constexpr int MinColumnWidth = 20;
constexpr int ToolTipLimit = 79;
constexpr Gdiplus::ARGB GridColor = 0xFFD8D9DA;
constexpr WPARAM VK_PRIOR = 0x21;
constexpr WPARAM VK_NEXT = 0x22;
constexpr WPARAM VK_A = 0x41;

// Row colours by marked set (none, with focus, without focus), then even, odd, sort even, sort odd.
constexpr Gdiplus::ARGB Colors[3][4] = {
    {0xFFFFFFFF, 0xFFF1F3F6, 0xFFF4F6F8, 0xFFE7E9EB},
    {0xFF8690A0, 0xFF828D9E, 0xFF737F92, 0xFF707C8F},
    {0xFFB8C2D2, 0xFFB4BFD0, 0xFFA5B1C4, 0xFFA2AEC1},
};

QString& ListClassName()
{
    static QString name;
    return name;
}

QColor ToQColor(Gdiplus::ARGB argb)
{
    return QColor::fromRgba(argb);
}

CPoint PointOf(LPARAM lParam)
{
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// The text in the form whose plain comparison (wcscmp) orders as wcscoll orders the texts.
std::wstring CollationKey(const QString& text)
{
    std::wstring wide(size_t(text.size()) * 2 + 1, L'\0');
    wide.resize(size_t(text.toWCharArray(wide.data())));
    std::wstring key(wide.size() * 4 + 16, L'\0');
    size_t length = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    if (length >= key.size())
    {
        key.assign(length + 1, L'\0');
        length = std::wcsxfrm(key.data(), wide.c_str(), key.size());
    }
    key.resize(length);
    return key;
}
} // namespace

const MessageMap* CKVList::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CKVList::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CKVList::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CKVList::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CKVList::OnLButtonUp),
        OnMessage(WM_CANCELMODE, &CKVList::OnCancelMode),
        OnMessage(WM_CAPTURECHANGED, &CKVList::OnCaptureChanged),
        OnMessage(WM_SIZE, &CKVList::OnSize),
        OnMessage(WM_MOUSEWHEEL, &CKVList::OnMouseWheel),
        OnMessage(WM_LBUTTONDBLCLK, &CKVList::OnLButtonDblClk),
        OnMessage(WM_RBUTTONDOWN, &CKVList::OnRButtonDown),
        OnMessage(WM_VSCROLL, &CKVList::OnVScroll),
        OnMessage(WM_HSCROLL, &CKVList::OnHScroll),
        OnMessage(WM_SETFOCUS, &CKVList::OnSetFocus),
        OnMessage(WM_KILLFOCUS, &CKVList::OnKillFocus),
        OnMessage(WM_KEYDOWN, &CKVList::OnKeyDown),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CKVList::CKVList() = default;

CKVList::~CKVList()
{
    DestroyWindow();
    DeleteAllRows();
}

bool CKVList::Create(const CRect& rect, CWnd* parent)
{
    if (ListClassName().isEmpty())
        ListClassName() = AfxRegisterWndClass(ClassDoubleClicks);
    if (!CreateEx(ExStyle, ListClassName(), QString(), Style, rect, parent, ControlId))
        return false;
    QWidget* widget = GetSafeHwnd();
    widget->setFocusPolicy(Qt::ClickFocus);
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    m_marker.Create(this, 1);
    return true;
}

void CKVList::AddColumn(const QString& title, int width)
{
    auto header = std::make_unique<CKVImageButton>();
    const UINT id = FirstHeaderId + UINT(m_headers.size());
    header->Create(HeaderImage, 0, title, 0x4A, CRect(0, 0, width, HeaderHeight), this, id, nullptr,
                   0xC0C0C0);
    header->m_textOffset = CPoint(4, 0);
    m_headers.push_back(std::move(header));
}

void CKVList::EnableCheckBoxes()
{
    m_checkColumn = 1;
    m_checkFrameWidth = 19;
    if (!m_checkImage.LoadFromResource(CheckImage))
        m_checkColumn = -1;
    Invalidate();
}

void CKVList::SetFilter(const QString& text)
{
    m_visibleRows.clear();
    if (text.isEmpty())
    {
        m_visibleRows = m_rows;
    }
    else
    {
        for (CKVListRow* row : m_rows)
        {
            if (row->MatchesFilter(text))
                m_visibleRows.push_back(row);
        }
    }
    SortByColumn(m_sortColumn, m_ascending);
    m_filterText = text;
    if (CWnd* parent = GetParent())
        parent->SendMessage(NotifyMarking, 0, 0);
    if (QWidget* widget = GetSafeHwnd())
    {
        const CRect client = GetListClientRect();
        widget->update(0, HeaderHeight, client.Width(), std::max(client.Height() - HeaderHeight, 0));
    }
}

void CKVList::SortByColumn(int column, bool ascending)
{
    if (m_visibleRows.empty())
        return;
    // Each cell is collated once into a key instead of once per comparison; the rows themselves
    // stay where they are, only their pointers move.
    std::vector<std::pair<std::wstring, CKVListRow*>> keyed;
    keyed.reserve(m_visibleRows.size());
    for (CKVListRow* row : m_visibleRows)
        keyed.emplace_back(CollationKey(row->CellText(column)), row);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [ascending](const auto& a, const auto& b)
                     {
                         const int result = std::wcscmp(a.first.c_str(), b.first.c_str());
                         // Equal cells compare 0 both ways, so they keep their order in either direction.
                         return (ascending ? result : -result) < 0;
                     });
    for (size_t i = 0; i < keyed.size(); ++i)
        m_visibleRows[i] = keyed[i].second;
}

int CKVList::GetColumnWidth(int column) const
{
    const QWidget* widget = m_headers[size_t(column)]->GetSafeHwnd();
    return widget ? widget->width() : 0;
}

int CKVList::GetTotalColumnWidth() const
{
    int total = 0;
    for (int i = 0; i < GetColumnCount(); ++i)
        total += GetColumnWidth(i);
    return total;
}

int CKVList::ColumnLeft(int column) const
{
    int x = -m_scrollBars.GetScrollPos(SB_HORZ);
    for (int i = 0; i < column; ++i)
        x += GetColumnWidth(i);
    return x;
}

int CKVList::AreaHeight() const
{
    return std::max(GetListClientRect().Height() - HeaderHeight, 0);
}

void CKVList::UpdateScrollBars(bool repaint)
{
    if (!IsWindow())
        return;
    // Showing one bar takes room from the other direction, so the pair is settled twice.
    for (int pass = 0; pass < 2; ++pass)
    {
        const CRect client = GetListClientRect();
        const int totals[2] = {GetTotalColumnWidth(), GetRowCount() * RowHeight};
        const int spaces[2] = {client.Width(), AreaHeight()};
        for (int bar : {SB_VERT, SB_HORZ})
        {
            const int total = totals[bar == SB_VERT ? 1 : 0];
            const int space = spaces[bar == SB_VERT ? 1 : 0];
            if (total > space)
            {
                SCROLLINFO info;
                info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
                info.nMin = 0;
                info.nMax = total - 1;
                info.nPage = UINT(space);
                info.nPos = std::min(m_scrollBars.GetScrollPos(bar), total - space);
                m_scrollBars.SetScrollInfo(bar, info);
                m_scrollBars.EnableScrollBar(bar, true);
                m_scrollBars.ShowScrollBar(bar, true);
            }
            else
            {
                m_scrollBars.EnableScrollBar(bar, false);
                m_scrollBars.ShowScrollBar(bar, false);
                m_scrollBars.SetScrollPos(bar, 0);
            }
        }
    }
    if (repaint)
    {
        LayoutHeaders();
        Invalidate();
    }
}

void CKVList::LayoutHeaders()
{
    int x = -m_scrollBars.GetScrollPos(SB_HORZ);
    for (auto& header : m_headers)
    {
        const int width = header->GetSafeHwnd() ? header->GetSafeHwnd()->width() : 0;
        header->MoveWindow(x, 0, width, HeaderHeight, false);
        header->Invalidate();
        x += width;
    }
    for (auto& header : m_headers)
        header->UpdateWindow();
}

void CKVList::SetAllChecked(bool checked)
{
    for (int i = 0; i < GetRowCount(); ++i)
        SetChecked(i, checked);
    if (CWnd* parent = GetParent())
        parent->SendMessage(NotifyMarking, 0, 0);
}

int CKVList::GetCheckedCount() const
{
    return int(std::count_if(m_visibleRows.begin(), m_visibleRows.end(),
                             [](const CKVListRow* row) { return row->m_checked; }));
}

void CKVList::DeleteAllRows()
{
    m_visibleRows.clear();
    std::vector<CKVListRow*> rows;
    rows.swap(m_rows);
    for (CKVListRow* row : rows)
        delete row;
}

void CKVList::DeleteRow(CKVListRow* row)
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), row);
    if (it == m_rows.end())
        return;
    m_rows.erase(it);
    m_visibleRows.erase(std::remove(m_visibleRows.begin(), m_visibleRows.end(), row), m_visibleRows.end());
    delete row;
}

int CKVList::RowAtPoint(const CPoint& point) const
{
    if (point.y < HeaderHeight)
        return -1;
    const int row = (point.y + m_scrollBars.GetScrollPos(SB_VERT) - HeaderHeight) / RowHeight;
    return row >= 0 && row < GetRowCount() ? row : -1;
}

int CKVList::ColumnBorderAt(const CPoint& point) const
{
    int right = -m_scrollBars.GetScrollPos(SB_HORZ);
    for (int i = 0; i < GetColumnCount(); ++i)
    {
        right += GetColumnWidth(i);
        if (right - 3 < point.x && point.x < right + 3)
            return i;
    }
    return -1;
}

bool CKVList::CellAtPoint(const CPoint& point, int* row, int* column, CRect* cell) const
{
    *row = RowAtPoint(point);
    if (*row < 0)
        return false;
    int left = -m_scrollBars.GetScrollPos(SB_HORZ);
    for (int i = 0; i < GetColumnCount(); ++i)
    {
        const int right = left + GetColumnWidth(i);
        if (point.x >= left && point.x < right)
        {
            *column = i;
            const int top = HeaderHeight + RowHeight * *row - m_scrollBars.GetScrollPos(SB_VERT);
            *cell = CRect(left, top, right, top + RowHeight);
            return true;
        }
        left = right;
    }
    return false;
}

INT_PTR CKVList::OnToolHitTest(const CPoint& point, CRect* toolRect) const
{
    int row = 0;
    int column = 0;
    if (!CellAtPoint(point, &row, &column, toolRect))
        return -1;
    return INT_PTR(MAKELPARAM(point.x, point.y));
}

QString CKVList::GetToolTipText(INT_PTR toolId) const
{
    const CPoint point(GET_X_LPARAM(toolId), GET_Y_LPARAM(toolId));
    int row = 0;
    int column = 0;
    CRect cell;
    if (!CellAtPoint(point, &row, &column, &cell))
        return QString();
    return GetRow(row)->GetCellText(column).left(ToolTipLimit);
}

bool CKVList::IsResizable(int column) const
{
    return column >= 0 && column != m_iconColumn && column != m_checkColumn;
}

bool CKVList::TranslateEvent(QEvent* event, bool* result)
{
    switch (event->type())
    {
    case QEvent::ToolTip:
    {
        AnswerToolTipRequest(GetSafeHwnd(), event,
                             [this](const CPoint& point, CRect* rect)
                             {
                                 const INT_PTR id = OnToolHitTest(point, rect);
                                 return id == -1 ? QString() : GetToolTipText(id);
                             });
        *result = true;
        return true;
    }
    case QEvent::Wheel:
    {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint global = wheel->globalPosition().toPoint();
        SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, unsigned(wheel->angleDelta().y())),
                    MAKELPARAM(global.x(), global.y()));
        *result = true;
        return true;
    }
    case QEvent::MouseButtonDblClick:
    {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const QPoint p = mouse->position().toPoint();
        SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(p.x(), p.y()));
        *result = true;
        return true;
    }
    case QEvent::KeyPress:
    {
        // The keys the list scrolls by; the layer types a character for Ctrl+A.
        auto* key = static_cast<QKeyEvent*>(event);
        static const std::pair<int, WPARAM> keys[] = {
            {Qt::Key_Up, VK_UP},         {Qt::Key_Down, VK_DOWN}, {Qt::Key_PageUp, VK_PRIOR},
            {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_Home, VK_HOME}, {Qt::Key_End, VK_END},
            {Qt::Key_A, VK_A},
        };
        for (const auto& [qtKey, virtualKey] : keys)
        {
            if (key->key() != qtKey)
                continue;
            SetDispatchedKeyModifiers(key->modifiers());
            SendMessage(WM_KEYDOWN, virtualKey, 1);
            SetDispatchedKeyModifiers(Qt::NoModifier);
            *result = true;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CWnd::TranslateEvent(event, result);
}

LRESULT CKVList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) >= FirstHeaderId && LOWORD(wParam) <= LastHeaderId)
    {
        OnHeaderClick(int(LOWORD(wParam) - FirstHeaderId));
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CKVList::OnHeaderClick(int column)
{
    if (column < 0 || column >= GetColumnCount())
        return;
    if (column == m_sortColumn)
    {
        m_ascending = !m_ascending;
    }
    else
    {
        m_sortColumn = column;
        m_ascending = true;
    }
    SortByColumn(column, m_ascending);
    const CRect client = GetListClientRect();
    GetSafeHwnd()->update(0, HeaderHeight, client.Width(), AreaHeight());
}

Gdiplus::ARGB CKVList::RowColor(int index, bool marked, bool sortColumn) const
{
    const int set = !marked ? 0 : (m_focused ? 1 : 2);
    return Colors[set][(sortColumn ? 2 : 0) + (index % 2)];
}

LRESULT CKVList::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    PaintHeaderFill(dc);
    PaintRows(dc, HeaderHeight, HeaderHeight + AreaHeight());
    return 0;
}

void CKVList::PaintHeaderFill(CDC& dc)
{
    const CRect client = GetListClientRect();
    const int left = ColumnLeft(GetColumnCount());
    if (left >= client.right)
        return;
    if (!m_headerImage.HasImage())
    {
        dc.Painter()->fillRect(QRect(left, 0, client.right - left, HeaderHeight), ToQColor(m_headerFill));
        return;
    }
    Gdiplus::Graphics graphics(&dc);
    for (int x = left; x < client.right; x += m_headerImage.GetWidth())
        m_headerImage.Draw(graphics, x, 0);
}

void CKVList::PaintRows(CDC& dc, int top, int bottom)
{
    const int v = m_scrollBars.GetScrollPos(SB_VERT);
    const int first = (std::max(top, HeaderHeight) - HeaderHeight + v) / RowHeight;
    const int last = (bottom - HeaderHeight + v) / RowHeight;
    for (int index = first; index <= last; ++index)
        PaintRow(dc, index);
}

void CKVList::PaintRow(CDC& dc, int index)
{
    const CRect client = GetListClientRect();
    const int top = HeaderHeight + RowHeight * index - m_scrollBars.GetScrollPos(SB_VERT);
    if (top + RowHeight <= HeaderHeight || top >= client.bottom)
        return;
    const CKVListRow* row = index >= 0 && index < GetRowCount() ? m_visibleRows[size_t(index)] : nullptr;
    const bool marked = row && row->m_checked;
    QPainter* painter = dc.Painter();
    painter->save();
    painter->setClipRect(QRect(0, HeaderHeight, client.Width(), client.Height() - HeaderHeight));
    painter->fillRect(QRect(0, top, client.Width(), RowHeight), ToQColor(RowColor(index, marked, false)));
    std::unique_ptr<Gdiplus::Graphics> graphics;
    int left = -m_scrollBars.GetScrollPos(SB_HORZ);
    for (int column = 0; column < GetColumnCount(); ++column)
    {
        const int right = left + GetColumnWidth(column);
        const CRect cell(left, top, right, top + RowHeight);
        left = right;
        if (cell.right <= 0 || cell.left >= client.right)
            continue;
        if (column == m_sortColumn)
            painter->fillRect(cell.ToQRect(), ToQColor(RowColor(index, marked, true)));
        painter->fillRect(QRect(cell.right - 1, top, 1, RowHeight), ToQColor(GridColor));
        if (!row)
            continue;
        const QString& text = row->CellText(column);
        if (text.isEmpty())
            continue;
        int frame = -1;
        const CKVImage* strip = nullptr;
        int frameWidth = 0;
        if (column == m_iconColumn && m_iconImage.HasImage())
        {
            bool ok = false;
            const int n = text.toInt(&ok);
            frame = ok && n >= 0 && n <= 7 ? n : -1;
            strip = &m_iconImage;
            frameWidth = m_iconFrameWidth;
        }
        else if (column == m_checkColumn && m_checkImage.HasImage())
        {
            frame = text == QLatin1String("1") ? 1 : -1;
            strip = &m_checkImage;
            frameWidth = m_checkFrameWidth;
        }
        else
        {
            DrawCellText(dc, cell, text, marked);
            continue;
        }
        if (frame < 0)
            continue;
        if (!graphics)
            graphics = std::make_unique<Gdiplus::Graphics>(&dc);
        const int height = strip->GetHeight();
        strip->DrawStretched(*graphics, CRect(cell.left, cell.top, cell.left + frameWidth, cell.top + height),
                             CRect(frame * frameWidth, 0, frame * frameWidth + frameWidth, height));
    }
    painter->restore();
}

void CKVList::DrawCellText(CDC& dc, const CRect& cell, const QString& text, bool marked)
{
    if (!m_font)
    {
        NONCLIENTMETRICS metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        m_font = std::make_unique<QFont>(metrics.lfMenuFont.lfFaceName);
        m_font->setPixelSize(11);
        m_font->setStyleStrategy(QFont::NoAntialias);
    }
    QPainter* painter = dc.Painter();
    painter->setFont(*m_font);
    painter->setPen(marked ? QColor(Qt::white) : QColor(Qt::black));
    painter->drawText(cell.ToQRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void CKVList::RepaintRow(int index)
{
    QWidget* widget = GetSafeHwnd();
    if (!widget)
        return;
    const int top = HeaderHeight + RowHeight * index - m_scrollBars.GetScrollPos(SB_VERT);
    if (top + RowHeight > HeaderHeight && top < widget->height())
        widget->update(0, top, GetListClientRect().Width(), RowHeight);
}

void CKVList::SetChecked(int index, bool checked)
{
    CKVListRow* row = m_visibleRows[size_t(index)];
    if (row->m_checked == checked)
        return;
    row->m_checked = checked;
    RepaintRow(index);
}

bool CKVList::SelectAt(WPARAM keys, bool right, const CPoint& point)
{
    const int row = RowAtPoint(point);
    bool sweep = false;
    if (row < 0)
    {
        for (int i = 0; i < GetRowCount(); ++i)
            SetChecked(i, false);
        m_anchor = -1;
    }
    else if (keys & MK_CONTROL)
    {
        SetChecked(row, right ? true : !GetRow(row)->m_checked);
        m_anchor = row;
    }
    else if (keys & MK_SHIFT)
    {
        const int anchor = m_anchor >= 0 && m_anchor < GetRowCount() ? m_anchor : 0;
        const int from = std::min(anchor, row);
        const int to = std::max(anchor, row);
        for (int i = 0; i < GetRowCount(); ++i)
            SetChecked(i, i >= from && i <= to);
    }
    else if (right && GetRow(row)->m_checked)
    {
        // A right click on a marked row keeps the whole marking for the context menu.
        m_anchor = row;
    }
    else
    {
        SetChecked(row, right || GetCheckedCount() > 1 ? true : !GetRow(row)->m_checked);
        for (int i = 0; i < GetRowCount(); ++i)
        {
            if (i != row)
                SetChecked(i, false);
        }
        m_anchor = row;
        sweep = !right;
    }
    if (CWnd* parent = GetParent())
        parent->SendMessage(NotifyMarking, 0, 0);
    return sweep;
}

LRESULT CKVList::OnLButtonDown(WPARAM keys, LPARAM lParam)
{
    SetFocus();
    const CPoint point = PointOf(lParam);
    const int border = ColumnBorderAt(point);
    if (border >= 0 && IsResizable(border))
    {
        const int right = ColumnLeft(border + 1);
        m_mouseMode = MouseResize;
        m_pressPoint = point;
        m_resizeDistance = point.x - right;
        m_resizeColumn = border;
        m_resizeMinX = border > 0 ? ColumnLeft(border) + MinColumnWidth : 0;
        m_marker.MoveTo(right);
        m_marker.ShowWindow(SW_SHOW);
        SetCapture();
    }
    else
    {
        const int row = RowAtPoint(point);
        m_sweepAnchor = row;
        m_sweepLast = row;
        if (SelectAt(keys, false, point) && row >= 0)
        {
            SetCapture();
            m_mouseMode = MouseSweep;
        }
    }
    Default();
    return 0;
}

LRESULT CKVList::OnMouseMove(WPARAM, LPARAM lParam)
{
    const CPoint point = PointOf(lParam);
    switch (m_mouseMode)
    {
    case MouseResize:
        m_marker.MoveTo(std::max(point.x - m_resizeDistance, m_resizeMinX));
        break;
    case MouseNone:
    {
        const bool sizing = IsResizable(ColumnBorderAt(point));
        GetSafeHwnd()->setCursor(sizing ? Qt::SizeHorCursor : Qt::ArrowCursor);
        break;
    }
    case MouseSweep:
    {
        int end = RowAtPoint(point);
        if (end < 0)
            end = m_sweepAnchor;
        const int from = std::min({m_sweepAnchor, end, m_sweepLast});
        const int to = std::max({m_sweepAnchor, end, m_sweepLast});
        const int low = std::min(m_sweepAnchor, end);
        const int high = std::max(m_sweepAnchor, end);
        for (int i = std::max(from, 0); i <= to && i < GetRowCount(); ++i)
            SetChecked(i, i >= low && i <= high);
        m_sweepLast = end;
        if (CWnd* parent = GetParent())
            parent->SendMessage(NotifyMarking, 0, 0);
        break;
    }
    }
    return 0;
}

LRESULT CKVList::OnLButtonUp(WPARAM, LPARAM lParam)
{
    const MouseMode mode = m_mouseMode;
    m_mouseMode = MouseNone;
    if (mode == MouseResize)
    {
        const int column = m_resizeColumn;
        const int x = GET_X_LPARAM(lParam);
        if (GetCapture() == this)
            ReleaseCapture();
        m_marker.ShowWindow(SW_HIDE);
        const int left = ColumnLeft(column);
        const int right = std::max(ColumnLeft(column + 1) + (x - m_pressPoint.x), left + MinColumnWidth);
        m_headers[size_t(column)]->MoveWindow(left, 0, right - left, HeaderHeight);
        UpdateScrollBars(true);
    }
    else if (mode == MouseSweep && GetCapture() == this)
    {
        ReleaseCapture();
    }
    return 0;
}

LRESULT CKVList::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    if (GetCapture() == this)
        ReleaseCapture();
    m_marker.ShowWindow(SW_HIDE);
    m_mouseMode = MouseNone;
    return 0;
}

LRESULT CKVList::OnCaptureChanged(WPARAM, LPARAM)
{
    m_marker.ShowWindow(SW_HIDE);
    m_mouseMode = MouseNone;
    Default();
    return 0;
}

LRESULT CKVList::OnSize(WPARAM, LPARAM)
{
    Default();
    m_scrollBars.Layout();
    UpdateScrollBars(false);
    Invalidate();
    UpdateWindow();
    return 0;
}

LRESULT CKVList::OnMouseWheel(WPARAM wParam, LPARAM)
{
    const auto delta = std::int16_t(HIWORD(wParam));
    ScrollByKey(delta > 0 ? SB_LINEUP : SB_LINEDOWN, true);
    return 1;
}

LRESULT CKVList::OnLButtonDblClk(WPARAM, LPARAM lParam)
{
    const int row = RowAtPoint(PointOf(lParam));
    if (row >= 0)
    {
        if (CWnd* parent = GetParent())
            parent->SendMessage(NotifyDoubleClick, WPARAM(row), LPARAM(GetRow(row)));
    }
    Default();
    return 0;
}

LRESULT CKVList::OnRButtonDown(WPARAM keys, LPARAM lParam)
{
    SelectAt(keys, true, PointOf(lParam));
    CPoint cursor;
    GetCursorPos(&cursor);
    if (CWnd* parent = GetParent())
        parent->SendMessage(NotifyRightClick, 0, MAKELPARAM(cursor.x, cursor.y));
    Default();
    return 0;
}

void CKVList::ScrollByKey(UINT code, bool vertical)
{
    if (vertical)
        OnVScroll(code, 0);
    else
        OnHScroll(code, 0);
}

LRESULT CKVList::OnVScroll(WPARAM wParam, LPARAM)
{
    const int v = m_scrollBars.GetScrollPos(SB_VERT);
    const int area = AreaHeight();
    const int whole = area / RowHeight;
    const int page = whole < 3 ? RowHeight : (whole - 2) * RowHeight;
    int pos = v;
    switch (LOWORD(wParam))
    {
    case SB_LINEUP:
        pos -= RowHeight;
        break;
    case SB_LINEDOWN:
        pos += RowHeight;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = GetRowCount() * RowHeight;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        pos = m_scrollBars.GetTrackPos(SB_VERT);
        break;
    default:
        return 0;
    }
    ScrollVertTo(pos);
    return 0;
}

void CKVList::ScrollVertTo(int pos)
{
    const int total = GetRowCount() * RowHeight;
    const int area = AreaHeight();
    if (total <= area)
        return;
    pos = std::clamp(pos, 0, total - area);
    const int v = m_scrollBars.GetScrollPos(SB_VERT);
    if (pos == v)
        return;
    m_scrollBars.SetScrollPos(SB_VERT, pos);
    // Moves the rows already drawn; Qt paints only the band that scrolled into view.
    const CRect client = GetListClientRect();
    GetSafeHwnd()->scroll(0, v - pos, QRect(0, HeaderHeight, client.Width(), area));
}

LRESULT CKVList::OnHScroll(WPARAM wParam, LPARAM)
{
    int pos = m_scrollBars.GetScrollPos(SB_HORZ);
    switch (LOWORD(wParam))
    {
    case SB_LINELEFT:
        pos -= 1;
        break;
    case SB_LINERIGHT:
        pos += 1;
        break;
    case SB_PAGELEFT:
        pos -= 10;
        break;
    case SB_PAGERIGHT:
        pos += 10;
        break;
    case SB_LEFT:
        pos = 0;
        break;
    case SB_RIGHT:
        pos = GetTotalColumnWidth();
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        pos = m_scrollBars.GetTrackPos(SB_HORZ);
        break;
    default:
        return 0;
    }
    ScrollHorzTo(pos);
    return 0;
}

void CKVList::ScrollHorzTo(int pos)
{
    const int total = GetTotalColumnWidth();
    const int width = GetListClientRect().Width();
    if (total <= width)
        return;
    pos = std::clamp(pos, 0, total - width);
    if (pos == m_scrollBars.GetScrollPos(SB_HORZ))
        return;
    m_scrollBars.SetScrollPos(SB_HORZ, pos);
    LayoutHeaders();
    Invalidate();
    UpdateWindow();
}

LRESULT CKVList::OnSetFocus(WPARAM, LPARAM)
{
    m_focused = true;
    Invalidate();
    return 0;
}

LRESULT CKVList::OnKillFocus(WPARAM, LPARAM)
{
    m_focused = false;
    Invalidate();
    return 0;
}

LRESULT CKVList::OnKeyDown(WPARAM key, LPARAM)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (key)
    {
    case VK_UP:
        ScrollByKey(SB_LINEUP, true);
        break;
    case VK_DOWN:
        ScrollByKey(SB_LINEDOWN, true);
        break;
    case VK_PRIOR:
        ScrollByKey(SB_PAGEUP, true);
        break;
    case VK_NEXT:
        ScrollByKey(SB_PAGEDOWN, true);
        break;
    case VK_HOME:
        ScrollByKey(SB_TOP, control);
        break;
    case VK_END:
        ScrollByKey(SB_BOTTOM, control);
        break;
    case VK_A:
        if (control && GetKeyState(VK_SHIFT) >= 0)
            SetAllChecked(true);
        break;
    default:
        break;
    }
    Default();
    return 0;
}
