#include "controls/ToolbarBase.h"

#include "base/AnsiCodePage.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/PaintDC.h"

#include <algorithm>

namespace
{
constexpr DWORD PictureButtonStyle = 0x0081;
constexpr DWORD TextButtonStyle = 0x0009;
constexpr DWORD SwatchButtonStyle = 0x0201;
constexpr COLORREF TextButtonBackground = 0xC0C0C0;
constexpr int ToolTipBufferLength = 80;
} // namespace

const MessageMap* CToolbarBase::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_SIZE, &CToolbarBase::OnSize),
        OnMessage(WM_PAINT, &CToolbarBase::OnPaint),
        OnMessage(UM_IDLE, &CToolbarBase::OnIdle),
        OnNotify(TTN_NEEDTEXTA, &CToolbarBase::OnToolTipText),
        OnNotify(TTN_NEEDTEXTW, &CToolbarBase::OnToolTipText),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CToolbarBase::CToolbarBase() = default;

CToolbarBase::~CToolbarBase()
{
    m_items.clear();
}

CKVImageButton* CToolbarBase::AddButtonItem(std::unique_ptr<CKVImageButton> button, int set, int row,
                                            BYTE update, int rightAligned)
{
    const CSize size = button->GetPreferredSize();
    CToolbarItem item;
    item.set = set;
    item.rightAligned = rightAligned;
    item.row = row;
    item.width = size.cx;
    item.height = size.cy;
    item.update = update;
    CKVImageButton* result = button.get();
    item.window = std::move(button);
    m_items.push_back(std::move(item));
    return result;
}

CKVImageButton* CToolbarBase::AddButton(UINT stateImageId, UINT commandId, int set, int row, BYTE update,
                                        int rightAligned)
{
    auto button = std::make_unique<CKVImageButton>();
    button->Create(stateImageId, 0, QString(), PictureButtonStyle, CRect(0, 0, 1, 1), this, commandId,
                   AfxGetMainWnd(), BackgroundColor);
    return AddButtonItem(std::move(button), set, row, update, rightAligned);
}

CKVImageButton* CToolbarBase::AddTextButton(UINT iconImageId, UINT commandId, const QString& text, int set,
                                            int rightAligned, BYTE update)
{
    auto button = std::make_unique<CKVImageButton>();
    button->Create(TextButtonBackgroundId, iconImageId, text, TextButtonStyle, CRect(0, 0, 1, 1), this,
                   commandId, AfxGetMainWnd(), TextButtonBackground);
    return AddButtonItem(std::move(button), set, 0, update, rightAligned);
}

CKVImageButton* CToolbarBase::AddSwatchButton(UINT stateImageId, UINT commandId)
{
    auto button = std::make_unique<CKVImageButton>();
    button->Create(stateImageId, 0, QString(), SwatchButtonStyle, CRect(0, 0, 1, 1), this, commandId,
                   AfxGetMainWnd(), BackgroundColor);
    return AddButtonItem(std::move(button), 1, 0, 0, 0);
}

int CToolbarBase::CalcHeight() const
{
    int lastRow = 0;
    for (const CToolbarItem& item : m_items)
    {
        if (item.set == m_currentSet)
            lastRow = std::max(lastRow, item.row);
    }
    const int rows = lastRow + 1;
    return m_rowHeight * rows + (2 * m_rowPadding + 1) * (rows - 1) + m_bottomMargin + m_topMargin;
}

void CToolbarBase::HideItemWindows()
{
    for (CToolbarItem& item : m_items)
    {
        if (item.window && item.window->IsWindow())
            item.window->ShowWindow(SW_HIDE);
    }
}

void CToolbarBase::LayoutRow(int set, int row)
{
    CRect client;
    GetClientRect(&client);
    std::vector<CToolbarItem*> left;
    std::vector<CToolbarItem*> right;
    int rightWidth = 0;
    for (CToolbarItem& item : m_items)
    {
        if (item.set != set || item.row != row)
            continue;
        if (!item.rightAligned)
        {
            left.push_back(&item);
            continue;
        }
        if (!item.window)
        {
            rightWidth += m_separatorWidth;
        }
        else
        {
            if (!right.empty())
                rightWidth += m_gap;
            rightWidth += item.width;
        }
        right.push_back(&item);
    }

    const int top = row * m_rowPitch + m_topMargin;
    auto place = [&](CToolbarItem* item, int x, int width)
    {
        item->window->MoveWindow(x, top + item->yOffset, width, item->height, false);
        item->window->ShowWindow(SW_SHOW);
    };
    int x = m_leftMargin;
    for (CToolbarItem* item : left)
    {
        if (!item->window)
        {
            x += m_separatorWidth;
            continue;
        }
        const int width = item->width == 0 ? client.right - m_rightMargin - x : item->width;
        place(item, x, width);
        x += width + m_gap;
    }
    // Right items hug the right edge while there is room and are pushed past it when the left
    // items need the space.
    x = std::max(client.right - m_rightMargin - rightWidth, x);
    for (CToolbarItem* item : right)
    {
        if (!item->window)
        {
            x += m_separatorWidth;
            continue;
        }
        place(item, x, item->width);
        x += item->width + m_gap;
    }
}

void CToolbarBase::SetEditMode()
{
    m_currentSet = 1;
    ShowCurrentSet();
}

void CToolbarBase::ShowCurrentSet()
{
    EnableToolTips(true);
    HideItemWindows();
    const int set = m_currentSet == 0 ? 0 : 1;
    LayoutRow(set, 0);
    LayoutRow(set, 1);
}

LRESULT CToolbarBase::OnSize(WPARAM, LPARAM)
{
    Default();
    ShowCurrentSet();
    return 0;
}

LRESULT CToolbarBase::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, BackgroundColor);
    const int y = m_topMargin + m_rowHeight + m_rowPadding;
    // A one-pixel line whose end point is left out.
    dc.FillSolidRect(CRect(0, y, std::max(client.right - 1, 0), y + 1), LineColor);
    return 0;
}

LRESULT CToolbarBase::OnIdle(WPARAM, LPARAM count)
{
    if (count != 0)
        return 0;
    CWnd* mainWnd = AfxGetMainWnd();
    if (!mainWnd)
        return 0;
    for (CToolbarItem& item : m_items)
    {
        if (item.update != 1 || !item.window || !item.window->IsWindow() || !item.window->IsWindowVisible())
            continue;
        CCmdUI cmdUI;
        cmdUI.m_nID = item.window->GetDlgCtrlID();
        cmdUI.m_pOther = item.window.get();
        cmdUI.DoUpdate(mainWnd, false);
    }
    return 0;
}

LRESULT CToolbarBase::OnToolTipText(WPARAM, LPARAM header)
{
    return FillToolTipText(reinterpret_cast<NMHDR*>(header));
}

LRESULT CToolbarBase::FillToolTipText(NMHDR* header)
{
    if (!header || (header->code != TTN_NEEDTEXTW && header->code != TTN_NEEDTEXTA))
        return 0;
    const UINT_PTR id = ToolTipToolId(header);
    WriteToolTipText(header, id != 0 ? LoadAppString(quint32(id)) : QString());
    return 0;
}

UINT_PTR CToolbarBase::ToolTipToolId(const NMHDR* header)
{
    if (!header || (header->code != TTN_NEEDTEXTW && header->code != TTN_NEEDTEXTA))
        return 0;
    const UINT flags = header->code == TTN_NEEDTEXTW ? reinterpret_cast<const TOOLTIPTEXTW*>(header)->uFlags
                                                     : reinterpret_cast<const TOOLTIPTEXTA*>(header)->uFlags;
    if (!(flags & TTF_IDISHWND))
        return header->idFrom;
    const auto* wnd = reinterpret_cast<const CWnd*>(header->idFrom);
    return wnd ? wnd->GetDlgCtrlID() : 0;
}

void CToolbarBase::WriteToolTipText(NMHDR* header, const QString& text)
{
    // The notification's own buffer takes 79 characters and the terminator.
    if (!header)
        return;
    if (header->code == TTN_NEEDTEXTW)
    {
        auto* notify = reinterpret_cast<TOOLTIPTEXTW*>(header);
        const qsizetype length = std::min<qsizetype>(text.size(), ToolTipBufferLength - 1);
        std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), length, notify->szText);
        notify->szText[length] = 0;
        notify->lpszText = nullptr;
    }
    else if (header->code == TTN_NEEDTEXTA)
    {
        auto* notify = reinterpret_cast<TOOLTIPTEXTA*>(header);
        const QByteArray bytes = AnsiCodePage::FromText(text);
        const qsizetype length = std::min<qsizetype>(bytes.size(), ToolTipBufferLength - 1);
        std::copy_n(bytes.constData(), length, notify->szText);
        notify->szText[length] = 0;
        notify->lpszText = nullptr;
    }
}
