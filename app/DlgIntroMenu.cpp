#include "app/DlgIntroMenu.h"

#include "app/KVContext.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "controls/KVImageButton.h"
#include "controls/ToolbarBase.h"
#include "ndb/NdbShortcutLink.h"
#include "ndb/NdbShortcuts.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/GdiplusGraphics.h"
#include "platform/ui/Notify.h"
#include "platform/ui/PaintDC.h"

namespace
{
constexpr COLORREF ButtonBackground = RGB(192, 192, 192);
constexpr UINT RecentRowImage = 269;
constexpr UINT NewsletterIcon = 268;
constexpr UINT MailingListIcon = 267;
constexpr DWORD RecentButtonStyle = 0x21;
constexpr int RecentLeft = 49;
constexpr int RecentTop = 309;
constexpr int VisitCommand = 1;

struct FixedButton
{
    UINT command;
    UINT image;
    int x;
    int y;
};

constexpr FixedButton FixedButtons[] = {
    {ID_FILE_CREATE_NEWSLETTER, 266, 48, 156},
    {ID_FILE_OPEN, 264, 48, 222},
    {ID_HELP_INTRO_MOVIE, 263, 438, 156},
    {ID_HELP_TUTORIAL, 265, 438, 254},
    {ID_HELP_VISIT, 261, 438, 352},
    {IDCANCEL, 262, 597, 504},
};

CPoint ScreenPoint(CWnd& window, LPARAM lParam)
{
    CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    window.ClientToScreen(&point);
    return point;
}
} // namespace

const MessageMap* CDlgIntroMenu::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommandRange(FirstRecentCommand, FirstRecentCommand + MaxRecentButtons - 1,
                       &CDlgIntroMenu::OnEndWithCommand),
        OnMessage(WM_ERASEBKGND, &CDlgIntroMenu::OnEraseBackground),
        OnMessage(WM_PAINT, &CDlgIntroMenu::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CDlgIntroMenu::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CDlgIntroMenu::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CDlgIntroMenu::OnLButtonUp),
        OnMessage(WM_CAPTURECHANGED, &CDlgIntroMenu::OnCaptureLost),
        OnMessage(WM_CANCELMODE, &CDlgIntroMenu::OnCaptureLost),
        OnCommand(ID_FILE_CREATE_NEWSLETTER, &CDlgIntroMenu::OnEndWithCommand),
        OnCommand(ID_FILE_OPEN, &CDlgIntroMenu::OnEndWithCommand),
        OnCommand(ID_HELP_VISIT, &CDlgIntroMenu::OnVisit),
        OnNotify(TTN_NEEDTEXTW, &CDlgIntroMenu::OnToolTipText),
        OnNotify(TTN_NEEDTEXTA, &CDlgIntroMenu::OnToolTipText),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgIntroMenu::CDlgIntroMenu(CKVContext* context, CWnd* parent) : CDialog(IDD, parent), m_context(context)
{
    m_background.LoadFromResource(BackgroundImage);
}

CDlgIntroMenu::~CDlgIntroMenu()
{
    // The buttons go before the window that holds them.
    m_buttons.clear();
    DestroyWindow();
}

UINT CDlgIntroMenu::Run(CKVContext* context, CWnd* parent)
{
    CDlgIntroMenu menu(context, parent);
    return UINT(menu.DoModal());
}

bool CDlgIntroMenu::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_background.GetWidth() > 0)
    {
        MoveWindow(0, 0, m_background.GetWidth(), m_background.GetHeight());
        CenterWindow();
        BringWindowToTop();
    }
    // Layered: only what the menu paints shows; the rounded corners and the shadow let the
    // windows behind it through, without a copy of the screen.
    ModifyStyleEx(0, WS_EX_LAYERED);
    AddFixedButtons();
    AddRecentButtons();
    EnableToolTips(true);
    return true;
}

void CDlgIntroMenu::AddFixedButtons()
{
    for (const FixedButton& fixed : FixedButtons)
    {
        auto button = std::make_unique<CKVImageButton>(fixed.image, this, fixed.command);
        const CSize size = button->GetPreferredSize();
        button->MoveWindow(fixed.x, fixed.y, size.cx, size.cy);
        m_buttons.push_back(std::move(button));
    }
}

void CDlgIntroMenu::AddRecentButtons()
{
    const ndb::CNdbFolder& recent = m_context->GetShortcuts().Recent();
    int top = RecentTop;
    CKVImage row;
    row.LoadFromResource(RecentRowImage);
    for (int position = 0; position < std::min(recent.GetCount(), MaxRecentButtons); ++position)
    {
        const ndb::CNdbBase* entry = recent.GetItemAt(position);
        ndb::CNdbFieldValue type;
        if (!entry || entry->GetKind() != ndb::NdbKindShortcutLink ||
            !static_cast<const ndb::CNdbShortcutLink*>(entry)->GetField(ndb::ShortcutLinkType, type))
            continue;
        auto button = std::make_unique<CKVImageButton>();
        const UINT icon = type.GetInt() == ndb::NdbKindNewsletter ? NewsletterIcon : MailingListIcon;
        const CRect rect(RecentLeft, top, RecentLeft + row.GetWidth(), top + row.GetHeight() / 4);
        button->Create(RecentRowImage, icon, entry->GetName(), RecentButtonStyle, rect, this,
                       FirstRecentCommand + UINT(position), this, ButtonBackground);
        button->m_textOffset = CPoint(0, -1);
        top = rect.bottom + 1;
        m_buttons.push_back(std::move(button));
    }
}

bool CDlgIntroMenu::OnCmdMsg(UINT id, UINT code)
{
    if (CDialog::OnCmdMsg(id, code))
        return true;
    CWnd* parent = GetParent();
    if (code != 0 || !parent)
        return false;
    parent->SendMessage(WM_COMMAND, id);
    return true;
}

LRESULT CDlgIntroMenu::OnEraseBackground(WPARAM, LPARAM)
{
    return 1;
}

LRESULT CDlgIntroMenu::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    Gdiplus::Graphics graphics(&dc);
    const CRect whole(0, 0, m_background.GetWidth(), m_background.GetHeight());
    m_background.DrawStretched(graphics, whole, whole);
    return 0;
}

LRESULT CDlgIntroMenu::OnLButtonDown(WPARAM, LPARAM point)
{
    if (m_movable)
    {
        GetWindowRect(&m_dragStartRect);
        m_dragStartCursor = ScreenPoint(*this, point);
        SetCapture();
        SetCursor(QCursor(Qt::SizeAllCursor));
        m_dragging = true;
    }
    return Default();
}

LRESULT CDlgIntroMenu::OnMouseMove(WPARAM, LPARAM point)
{
    if (m_dragging)
        MoveWithCursor(ScreenPoint(*this, point));
    return Default();
}

LRESULT CDlgIntroMenu::OnLButtonUp(WPARAM, LPARAM point)
{
    if (m_dragging)
    {
        // Cleared first: giving up the capture reports a capture change, which is no loss here.
        // Without the capture every window shows its own cursor again.
        m_dragging = false;
        const CPoint cursor = ScreenPoint(*this, point);
        ReleaseCapture();
        MoveWithCursor(cursor);
    }
    return Default();
}

LRESULT CDlgIntroMenu::OnCaptureLost(WPARAM, LPARAM)
{
    if (m_dragging)
    {
        m_dragging = false;
        MoveWindow(m_dragStartRect);
    }
    return Default();
}

void CDlgIntroMenu::MoveWithCursor(const CPoint& cursor)
{
    CRect moved = m_dragStartRect;
    moved.OffsetRect(cursor.x - m_dragStartCursor.x, cursor.y - m_dragStartCursor.y);
    MoveWindow(moved);
    UpdateWindow();
}

LRESULT CDlgIntroMenu::OnEndWithCommand(WPARAM id, LPARAM)
{
    EndDialog(int(LOWORD(id)));
    return 0;
}

LRESULT CDlgIntroMenu::OnVisit(WPARAM, LPARAM)
{
    OpenOnlinePage(VisitCommand);
    return 0;
}

LRESULT CDlgIntroMenu::OnToolTipText(WPARAM, LPARAM lParam)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    const UINT id = UINT(CToolbarBase::ToolTipToolId(header));
    QString text = LoadAppString(id);
    if (id >= FirstRecentCommand && id < FirstRecentCommand + MaxRecentButtons)
    {
        if (const CWnd* button = GetDlgItem(int(id)))
            text = static_cast<const CKVImageButton*>(button)->GetText();
    }
    CToolbarBase::WriteToolTipText(header, text);
    return 0;
}
