#include "reports/WndSummary.h"

#include "base/TextHelpers.h"
#include "ndb/NdbNewsletter.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PaintDC.h"
#include "recipients/UserClipboard.h"
#include "reports/ReportContext.h"
#include "reports/ReportPage.h"
#include "reports/ReportText.h"
#include "services/QorxInstaller.h"
#include "x2/X2TextHelpers.h"

#include <QApplication>

namespace
{
constexpr UINT IdHelp = 32783;
constexpr UINT IdViewOverview = 32985;
constexpr UINT IdViewTracking = 32986;
constexpr UINT IdPrint = 57607;
constexpr UINT IdPrintPreview = 32964;
constexpr UINT IdCopy = 57634;
constexpr UINT IdRefresh = 33040;
constexpr UINT IdActivateStatistics = 33053;
constexpr UINT UM_SHOW_HELP = WM_APP + 0x400;
constexpr UINT ContextMenuId = 326;
constexpr COLORREF Background = RGB(225, 227, 230);
const QString PageName = QStringLiteral("wndsummary.htm");

// The number right after the keyword in the decoded text, as C's atoi reads it; -1 when the
// keyword is not there.
int NumberAfter(const QString& decoded, const QString& lower, const QString& keyword, int skip = 0)
{
    const qsizetype at = lower.indexOf(keyword);
    if (at < 0)
        return -1;
    return ParseIntText(decoded.mid(at + keyword.size() + skip));
}
} // namespace

const MessageMap* CWndSummary::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_BROWSER_BEFORE_NAVIGATE, &CWndSummary::OnBeforeNavigate),
        OnMessage(UM_BROWSER_CONTEXT_MENU, &CWndSummary::OnContextMenu),
        OnMessage(WM_PAINT, &CWndSummary::OnPaint),
        OnMessage(WM_SIZE, &CWndSummary::OnSize),
        OnMessage(WM_SHOWWINDOW, &CWndSummary::OnShowWindow),
        OnCommand(IdHelp, &CWndSummary::OnHelp),
        OnCommand(IdViewOverview, &CWndSummary::OnViewOverview),
        OnCommand(IdViewTracking, &CWndSummary::OnViewTracking),
        OnCommand(IdPrint, &CWndSummary::OnPrint),
        OnCommand(IdPrintPreview, &CWndSummary::OnPrintPreview),
        OnCommand(IdCopy, &CWndSummary::OnCopy),
        OnCommand(IdRefresh, &CWndSummary::OnRefresh),
        OnUpdateCommand(IdViewOverview, &CWndSummary::OnUpdateViewOverview),
        OnUpdateCommand(IdViewTracking, &CWndSummary::OnUpdateViewTracking),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CWndSummary::CWndSummary(IReportContext& context)
    : m_context(context), m_pageFontFace(QApplication::font("QMenu").family())
{
}

CWndSummary::~CWndSummary()
{
    DestroyWindow();
}

bool CWndSummary::CreateSummaryWindow(CWnd* parent)
{
    if (!Create(QString(), QString(), WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1, 1), parent, 0))
        return false;
    m_toolbar.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1, 1), this,
                     ToolbarId);
    return true;
}

void CWndSummary::CreateBrowser()
{
    // A browser costs a renderer process: it is made when the window first shows a report.
    if (m_browser.IsWindow() ||
        !m_browser.Create(QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, BrowserId))
        return;
    CRect client;
    GetClientRect(&client);
    LayOut(client.Width(), client.Height());
}

void CWndSummary::ResetReportSettings()
{
    const ndb::CNdbNewsletter* newsletter = m_context.GetCurrentNewsletter();
    if (!newsletter || newsletter->GetString(ndb::NewsletterId) == m_shownNewsletterId)
        return;
    m_settings = ReportSettings();
    m_serviceUrl.clear();
    m_shownNewsletterId = newsletter->GetString(ndb::NewsletterId);
}

void CWndSummary::RenderReport()
{
    const WaitCursor wait;
    CreateBrowser();
    const ndb::CNdbNewsletter* newsletter = m_context.GetCurrentNewsletter();
    if (!newsletter)
    {
        m_browser.Navigate(QStringLiteral("about:blank"));
        return;
    }
    m_shownAddresses.clear();
    if (m_serviceUrl.isEmpty())
    {
        const ndb::CNdbSender& sender = newsletter->Sender();
        QString found;
        CQorxInstaller client;
        if (client.GetServiceUrl(sender.GetString(ndb::SenderSiteAccess650),
                                 QStringLiteral("ws_stats_newsletter"),
                                 sender.GetString(ndb::SenderSiteAccess630),
                                 sender.GetString(ndb::SenderSiteAccess631), found) == QorxResult::Success)
            m_serviceUrl = found;
    }
    CReportPage page(*newsletter, m_settings, m_serviceUrl, m_pageFontFace,
                     [this](const QString& path) { return m_context.MakeServerUrl(path); });
    const QString text = page.Render();
    m_shownAddresses = page.GetShownAddresses();
    if (m_settings.view == ReportSettings::Tracking)
        m_linkAddresses = page.GetLinkAddresses();
    m_context.PutPageInWebStore(PageName, text);
    m_browser.Navigate(m_context.MakeServerUrl(QStringLiteral("webstore/") + PageName));
}

LRESULT CWndSummary::OnPageCommand(const QString& address)
{
    const QString decoded = DecodeFormValue(address);
    // Letter case changes by ASCII only, so a position in one text is the same in the other.
    const QString lower = AsciiLower(decoded);
    if (lower.contains(QLatin1String("__copyusers__")))
    {
        CopyShownRecipients();
        return 1;
    }
    if (lower.contains(QLatin1String("__sort__")))
    {
        if (SetSortKey(decoded, lower))
            RenderReport();
        return 1;
    }
    if (lower.contains(QLatin1String("__formpost__")))
    {
        const int days = NumberAfter(decoded, lower, QStringLiteral("displaydays="));
        if (lower.contains(QLatin1String("displaydays=")))
        {
            // Only the page's own periods; anything else leaves the chart as it was.
            if (IsDisplayDayChoice(days))
                m_settings.displayDays = days;
            RenderReport();
        }
        return 1;
    }
    if (lower.contains(QLatin1String("__trackingmode__")))
    {
        SetTrackingMode(decoded, lower);
        RenderReport();
        return 1;
    }
    if (lower.contains(QLatin1String("activate_statistics")))
    {
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_COMMAND, IdActivateStatistics);
        return 1;
    }
    return 0;
}

bool CWndSummary::SetSortKey(const QString& decoded, const QString& lower)
{
    struct SortList
    {
        const char* keyword;
        int* key;
        int lastKey;
    };
    const SortList lists[] = {
        {"sorthotlist=", &m_settings.hotListSortKey, SortByClicksMostFirst},
        {"sortreadloglist=", &m_settings.readLogSortKey, SortByTimeLatestFirst},
        {"sortlinklist=", &m_settings.linkListSortKey, SortByTimeLatestFirst},
    };
    for (const SortList& list : lists)
    {
        const int key = NumberAfter(decoded, lower, QString::fromLatin1(list.keyword));
        if (key == -1 && !lower.contains(QLatin1String(list.keyword)))
            continue;
        // A key the list has no column for leaves the order as it was.
        if (key >= 0 && key <= list.lastKey)
            *list.key = key;
        return true;
    }
    return false;
}

void CWndSummary::SetTrackingMode(const QString& decoded, const QString& lower)
{
    if (lower.contains(QLatin1String("trackingmodehotlist")))
    {
        m_settings.trackingView = ReportSettings::HotList;
    }
    else if (lower.contains(QLatin1String("trackingmodeopened")))
    {
        m_settings.trackingView = ReportSettings::RecentlyOpened;
    }
    else if (lower.contains(QLatin1String("trackingmodelinks")))
    {
        m_settings.trackingView = ReportSettings::OneLink;
        const int index = NumberAfter(decoded, lower, QStringLiteral("trackingmodelinks"), 1);
        if (index >= 0 && index < m_linkAddresses.size())
            m_settings.chosenLink = m_linkAddresses.at(index);
    }
}

void CWndSummary::CopyShownRecipients()
{
    const WaitCursor wait;
    const ndb::CNdbNewsletter* newsletter = m_context.GetCurrentNewsletter();
    if (!newsletter)
        return;
    std::map<QString, ndb::CNdbUser*> index;
    newsletter->Users().IndexByAddress(index);
    ndb::CNdbUserList copied;
    std::set<const ndb::CNdbUser*> taken;
    for (const QString& address : std::as_const(m_shownAddresses))
    {
        const auto found = index.find(address);
        if (found != index.end() && taken.insert(found->second).second)
            copied.AddUser(std::make_unique<ndb::CNdbUser>(*found->second));
    }
    CopyUsersToClipboard(copied);
}

LRESULT CWndSummary::OnBeforeNavigate(WPARAM, LPARAM address)
{
    return OnPageCommand(*reinterpret_cast<const QString*>(address));
}

LRESULT CWndSummary::OnContextMenu(WPARAM, LPARAM)
{
    const std::unique_ptr<CHtmlEventObj> event = m_browser.GetEvent();
    if (!event)
        return 0;
    if (event->WantsBrowserMenu())
        return 1;
    CMenu menu;
    CMenu* popup = menu.LoadMenu(ContextMenuId) ? menu.GetSubMenu(0) : nullptr;
    if (!popup)
        return 0;
    const UINT command = popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                               event->GetScreenX(), event->GetScreenY(), this);
    PostMessage(WM_COMMAND, command);
    return 0;
}

LRESULT CWndSummary::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, Background);
    return 0;
}

LRESULT CWndSummary::OnSize(WPARAM, LPARAM size)
{
    Default();
    LayOut(LOWORD(size), HIWORD(size));
    return 0;
}

void CWndSummary::LayOut(int width, int height)
{
    if (!m_toolbar.IsWindow())
        return;
    const int toolbarHeight = m_toolbar.CalcHeight();
    m_toolbar.MoveWindow(0, 3, width, toolbarHeight + 3);
    if (m_browser.IsWindow())
        m_browser.MoveWindow(0, toolbarHeight + 6, width, height - toolbarHeight - 6);
}

LRESULT CWndSummary::OnShowWindow(WPARAM show, LPARAM)
{
    Default();
    if (show)
        RenderReport();
    return 0;
}

LRESULT CWndSummary::OnHelp(WPARAM, LPARAM)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(UM_SHOW_HELP, HelpTopic);
    return 0;
}

LRESULT CWndSummary::OnViewOverview(WPARAM, LPARAM)
{
    m_settings.view = ReportSettings::Overview;
    RenderReport();
    return 0;
}

LRESULT CWndSummary::OnViewTracking(WPARAM, LPARAM)
{
    m_settings.view = ReportSettings::Tracking;
    RenderReport();
    return 0;
}

void CWndSummary::OnUpdateViewOverview(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_settings.view == ReportSettings::Overview);
}

void CWndSummary::OnUpdateViewTracking(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_settings.view == ReportSettings::Tracking);
}

LRESULT CWndSummary::OnPrint(WPARAM, LPARAM)
{
    m_browser.ExecCommandIfEnabled(IDM_PRINT);
    return 0;
}

LRESULT CWndSummary::OnPrintPreview(WPARAM, LPARAM)
{
    m_browser.ExecCommandIfEnabled(IDM_PRINTPREVIEW);
    return 0;
}

LRESULT CWndSummary::OnCopy(WPARAM, LPARAM)
{
    m_browser.ExecCommandIfEnabled(IDM_COPY);
    return 0;
}

LRESULT CWndSummary::OnRefresh(WPARAM, LPARAM)
{
    RenderReport();
    return 0;
}
