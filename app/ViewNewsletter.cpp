#include "app/ViewNewsletter.h"

#include "app/KVContext.h"
#include "app/PanelPainting.h"
#include "controls/CommandIds.h"
#include "dialogs/DlgPalette.h"
#include "dialogs/DlgStyles.h"
#include "mailui/EmailSettingsSheet.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbPaletteColor.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WndClass.h"

namespace
{
constexpr DWORD ViewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// A palette counts as changed when any entry differs in place: its key, colour or name, and
// also when the entries were only put in another order.
bool PalettesDiffer(const ndb::CNdbPalette& before, const ndb::CNdbPalette& after)
{
    if (before.GetColorCount() != after.GetColorCount())
        return true;
    for (int i = 0; i < before.GetColorCount(); ++i)
    {
        const ndb::CNdbPaletteColor* a = before.GetColorAt(i);
        const ndb::CNdbPaletteColor* b = after.GetColorAt(i);
        if (a->GetKey() != b->GetKey() || a->GetName() != b->GetName() ||
            !(static_cast<const ndb::CNdbColor&>(*a) == *b))
            return true;
    }
    return false;
}

struct Tab
{
    UINT text;
    UINT command;
};
constexpr Tab Tabs[] = {{14800, ID_VIEW_EMAIL}, {14801, ID_VIEW_SUBSCRIBERS}, {14802, ID_VIEW_STATISTICS}};
} // namespace

const MessageMap* CViewNewsletter::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CViewNewsletter::OnPaint),
        OnMessage(WM_SIZE, &CViewNewsletter::OnSize),
        OnMessage(WM_BOUNCECHECKDONE, &CViewNewsletter::OnBounceCheckDone),
        OnCommand(ID_VIEW_EMAIL, &CViewNewsletter::OnShowEmail),
        OnCommand(ID_VIEW_SUBSCRIBERS, &CViewNewsletter::OnShowRecipients),
        OnCommand(ID_VIEW_STATISTICS, &CViewNewsletter::OnShowStatistics),
        OnCommand(ID_VIEW_REPORT_OVERVIEW, &CViewNewsletter::OnShowReportOverview),
        OnCommand(ID_VIEW_REPORT_TRACKING, &CViewNewsletter::OnShowReportTracking),
        OnCommand(ID_FORMAT_STYLES, &CViewNewsletter::OnStyles),
        OnCommand(ID_FORMAT_PALETTE, &CViewNewsletter::OnPalette),
        OnCommand(ID_EMAIL_SETTINGS, &CViewNewsletter::OnEmailSettings),
        OnCommand(ID_EMAIL_SETTINGS_SERVICES, &CViewNewsletter::OnServicesSettings),
        OnCommand(ID_EMAIL_SETTINGS_DELIVERY, &CViewNewsletter::OnEmailSettingsDelivery),
        OnCommand(ID_SEND, &CViewNewsletter::OnSend),
        OnCommand(ID_TEST_SEND, &CViewNewsletter::OnTestSend),
        OnCommand(ID_TEST_SEND_SETTINGS, &CViewNewsletter::OnTestSendSettings),
    };
    static const MessageMap map{CViewBase::GetMessageMap(), entries};
    return &map;
}

CViewNewsletter::CViewNewsletter(CKVContext* context)
    : m_context(context), m_layout(context), m_users(context, 0), m_summary(*context)
{
}

CViewNewsletter::~CViewNewsletter()
{
    DestroyWindow();
}

bool CViewNewsletter::Create(CWnd* parent, const CRect& rect)
{
    if (!CWnd::Create(AfxRegisterWndClass(0), QString(), ViewStyle, rect, parent, ViewId))
        return false;
    if (m_tabStrip.Create(AfxRegisterWndClass(0), QString(), ViewStyle, CRect(0, 0, 1, 1), this, TabStripId))
    {
        m_tabStrip.m_tabImage.LoadFromResource(TabImage);
        m_tabStrip.m_notifyWnd = this;
        m_tabStrip.EnableToolTips();
    }
    for (const Tab& tab : Tabs)
        m_tabStrip.AddTab(LoadAppString(tab.text), tab.command);
    m_tabStrip.SelectTab(ID_VIEW_EMAIL);
    m_tabStrip.ShowWindow(SW_HIDE);
    m_layout.Create(this);
    m_users.Create(this);
    m_summary.CreateSummaryWindow(this);
    m_lightCorner.LoadFromResource(LightCornerImage);
    m_darkCorner.LoadFromResource(DarkCornerImage);
    return true;
}

bool CViewNewsletter::IsNewsletterOpen() const
{
    return m_context && m_context->GetCurrentNewsletter();
}

void CViewNewsletter::OnDocumentChanged()
{
    const bool open = IsNewsletterOpen();
    m_layout.ShowWindow(open ? SW_SHOW : SW_HIDE);
    m_users.ShowWindow(SW_HIDE);
    m_summary.ShowWindow(SW_HIDE);
    m_tabStrip.ShowWindow(open ? SW_SHOW : SW_HIDE);
    if (m_tabStrip.GetTabCount() > 0)
    {
        m_tabStrip.SelectTab(ID_VIEW_EMAIL);
        m_tabStrip.UpdateWindow();
    }
    m_layout.Refresh();
    if (open)
        m_users.ReloadRows();
    m_summary.ResetReportSettings();
    // Results a late check still brings name the old newsletter and are dropped.
    m_bounceChecker.Stop(50);
    m_visiblePage = open ? 1 : 0;
    Invalidate();
}

bool CViewNewsletter::OnCmdMsg(UINT id, UINT code)
{
    if (m_visiblePage == 1 && m_layout.IsWindow() && m_layout.OnCmdMsg(id, code))
        return true;
    if (m_visiblePage == 2 && m_users.IsWindow() && m_users.OnCmdMsg(id, code))
        return true;
    if (m_visiblePage == 3 && m_summary.IsWindow() && m_summary.OnCmdMsg(id, code))
        return true;
    return CViewBase::OnCmdMsg(id, code);
}

CRect CViewNewsletter::PanelRect() const
{
    CRect rect;
    GetClientRect(&rect);
    return CRect(rect.left + m_margins.left, rect.top + m_margins.top, rect.right - m_margins.right,
                 rect.bottom - m_margins.bottom);
}

LRESULT CViewNewsletter::OnSize(WPARAM, LPARAM)
{
    Default();
    CRect rect = PanelRect();
    if (m_tabStrip.IsWindow())
    {
        const int tabHeight = m_tabStrip.GetTabHeight();
        m_tabStrip.MoveWindow(rect.left, rect.top, rect.Width(), tabHeight);
        rect.top += tabHeight;
    }
    rect.left += m_lightCorner.GetWidth() / 2;
    rect.right -= m_lightCorner.GetWidth() / 2;
    rect.bottom -= m_lightCorner.GetHeight() / 2;
    for (CWnd* page :
         {static_cast<CWnd*>(&m_layout), static_cast<CWnd*>(&m_users), static_cast<CWnd*>(&m_summary)})
    {
        if (page->IsWindow())
            page->MoveWindow(rect);
    }
    return 0;
}

LRESULT CViewNewsletter::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    // The layer sends no WM_ERASEBKGND: the background is filled here.
    dc.FillSolidRect(client, BackgroundColor);
    CRect panel = PanelRect();
    const int a = m_lightCorner.GetWidth() / 2;
    const int b = m_lightCorner.GetHeight() / 2;
    if (m_tabStrip.IsWindow() && !m_tabStrip.GetSafeHwnd()->isHidden())
    {
        // The top-left corner joins the first tab and stays square.
        panel.top = m_tabStrip.GetSafeHwnd()->geometry().bottom() + 1;
        PanelPainting::DrawBorders(dc, panel, a, b, FrameColor);
        PanelPainting::DrawCorner(dc, m_lightCorner, panel, PanelPainting::BottomLeft, BackgroundColor);
        PanelPainting::DrawCorner(dc, m_lightCorner, panel, PanelPainting::BottomRight, BackgroundColor);
        PanelPainting::DrawCorner(dc, m_lightCorner, panel, PanelPainting::TopRight, BackgroundColor);
        return 0;
    }
    const int c = m_darkCorner.GetWidth() / 2;
    const int d = m_darkCorner.GetHeight() / 2;
    dc.FillSolidRect(CRect(panel.left, panel.top + d, panel.right, panel.bottom - d), EmptyPanelColor);
    dc.FillSolidRect(CRect(panel.left + c, panel.top, panel.right - c, panel.top + d), EmptyPanelColor);
    dc.FillSolidRect(CRect(panel.left + c, panel.bottom - d, panel.right - c, panel.bottom), EmptyPanelColor);
    for (const PanelPainting::Corner corner : {PanelPainting::TopLeft, PanelPainting::TopRight,
                                               PanelPainting::BottomLeft, PanelPainting::BottomRight})
        PanelPainting::DrawCornerPicture(dc, m_darkCorner, panel, corner);
    return 0;
}

void CViewNewsletter::ShowPage(int page, UINT tabCommand)
{
    if (!IsNewsletterOpen())
        return;
    m_layout.ShowWindow(page == 1 ? SW_SHOW : SW_HIDE);
    m_users.ShowWindow(page == 2 ? SW_SHOW : SW_HIDE);
    m_summary.ShowWindow(page == 3 ? SW_SHOW : SW_HIDE);
    m_tabStrip.SelectTab(tabCommand);
    m_visiblePage = page;
    Invalidate();
}

LRESULT CViewNewsletter::OnShowEmail(WPARAM, LPARAM)
{
    ShowPage(1, ID_VIEW_EMAIL);
    return 0;
}

LRESULT CViewNewsletter::OnShowRecipients(WPARAM, LPARAM)
{
    ShowPage(2, ID_VIEW_SUBSCRIBERS);
    return 0;
}

LRESULT CViewNewsletter::OnShowStatistics(WPARAM, LPARAM)
{
    ShowStatisticsPage();
    return 0;
}

void CViewNewsletter::ShowStatisticsPage()
{
    ShowPage(3, ID_VIEW_STATISTICS);
    StartBounceCheck();
}

void CViewNewsletter::ShowReport(int view)
{
    if (!IsNewsletterOpen())
        return;
    // A shown window renders the other view at once; a hidden one renders when it is shown.
    if (m_visiblePage == 3)
    {
        m_summary.SendMessage(WM_COMMAND, view == ReportSettings::Overview ? ID_VIEW_REPORT_OVERVIEW
                                                                           : ID_VIEW_REPORT_TRACKING);
        return;
    }
    m_summary.SetReportView(view);
    ShowStatisticsPage();
}

LRESULT CViewNewsletter::OnShowReportOverview(WPARAM, LPARAM)
{
    ShowReport(ReportSettings::Overview);
    return 0;
}

LRESULT CViewNewsletter::OnShowReportTracking(WPARAM, LPARAM)
{
    ShowReport(ReportSettings::Tracking);
    return 0;
}

void CViewNewsletter::NewsletterChanged()
{
    m_context->GetCurrentNewsletter()->SetModified(true);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_CURBASE_CHANGED);
    m_layout.Refresh();
    if (m_summary.IsWindow() && m_visiblePage == 3)
        m_summary.RenderReport();
}

LRESULT CViewNewsletter::OnStyles(WPARAM, LPARAM)
{
    if (!IsNewsletterOpen())
        return 0;
    CDlgStyles dialog(m_context, this);
    dialog.DoModal();
    UpdateWindow();
    if (dialog.IsModified())
        NewsletterChanged();
    return 0;
}

LRESULT CViewNewsletter::OnPalette(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return 0;
    ndb::CNdbPalette copy(newsletter->Palette());
    CDlgPalette dialog(&copy, this);
    if (dialog.DoModal() != IDOK || !PalettesDiffer(newsletter->Palette(), copy))
        return 0;
    {
        const auto lock = m_context->WriteDocument();
        newsletter->Palette() = copy;
    }
    NewsletterChanged();
    return 0;
}

void CViewNewsletter::RunSettingsSheet(int startPage)
{
    if (IsNewsletterOpen() && RunEmailSettings(*m_context, startPage, this))
        NewsletterChanged();
}

LRESULT CViewNewsletter::OnEmailSettings(WPARAM, LPARAM)
{
    RunSettingsSheet(EmailSettingsSheet::GeneralPage);
    return 0;
}

// The report page asks for this when the newsletter has no statistics service yet.
LRESULT CViewNewsletter::OnServicesSettings(WPARAM, LPARAM)
{
    RunSettingsSheet(EmailSettingsSheet::ServicesPage);
    return 0;
}
