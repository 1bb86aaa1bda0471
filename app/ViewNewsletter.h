#pragma once

#include "app/ViewBase.h"
#include "controls/KVImage.h"
#include "controls/KVTabButtonList.h"
#include "editor/WndLayout.h"
#include "mail/BounceChecker.h"
#include "recipients/WndUsers.h"
#include "reports/WndSummary.h"

class CKVContext;

// Posted to the view by the bounce checker's worker when a check has ended, whatever its outcome.
constexpr UINT WM_BOUNCECHECKDONE = WM_USER + 2400;

namespace ndb
{
class CNdbUser;
class CNdbUserList;
} // namespace ndb

// The right-hand pane while a newsletter is open, and while nothing is: three page tabs
// ("Email", "Recipients", "Statistics & Tracking") over a rounded panel that holds the shown
// page: the layout editor, the newsletter's recipient list and its report window. With nothing
// open the view shows an empty dark panel. Commands go to the shown page first.
class CViewNewsletter : public CViewBase
{
public:
    static constexpr UINT ViewId = 4713;
    static constexpr UINT TabStripId = 4711;
    static constexpr UINT TabImage = 275;
    static constexpr UINT LightCornerImage = 226;
    static constexpr UINT DarkCornerImage = 227;
    static constexpr COLORREF BackgroundColor = 0x4D433E;
    static constexpr COLORREF EmptyPanelColor = 0x635B57;
    static constexpr COLORREF FrameColor = 0xE6E3E1;

    explicit CViewNewsletter(CKVContext* context);
    ~CViewNewsletter() override;

    bool Create(CWnd* parent, const CRect& rect);
    // Brings the view in line with the context's open document, on its first page.
    void OnDocumentChanged();
    // 1 the newsletter's page, 2 its recipients, 3 its reports; 0 while no newsletter is shown.
    int GetVisiblePage() const { return m_visiblePage; }
    // Whether the newsletter's page is being edited.
    bool IsEditing() const { return m_layout.IsEditing(); }
    CWndLayout& GetLayout() { return m_layout; }
    const CWndLayout& GetLayout() const { return m_layout; }
    CWndUsers& GetUsersWindow() { return m_users; }
    CWndSummary& GetReportWindow() { return m_summary; }
    const CKVTabButtonList& GetTabStrip() const { return m_tabStrip; }
    CBounceChecker& GetBounceChecker() { return m_bounceChecker; }

    bool OnCmdMsg(UINT id, UINT code) override;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnShowEmail(WPARAM, LPARAM);
    LRESULT OnShowRecipients(WPARAM, LPARAM);
    LRESULT OnShowStatistics(WPARAM, LPARAM);
    LRESULT OnShowReportOverview(WPARAM, LPARAM);
    LRESULT OnShowReportTracking(WPARAM, LPARAM);
    LRESULT OnStyles(WPARAM, LPARAM);
    LRESULT OnPalette(WPARAM, LPARAM);
    LRESULT OnEmailSettings(WPARAM, LPARAM);
    LRESULT OnServicesSettings(WPARAM, LPARAM);
    LRESULT OnEmailSettingsDelivery(WPARAM, LPARAM);
    LRESULT OnSend(WPARAM, LPARAM);
    LRESULT OnTestSend(WPARAM, LPARAM);
    LRESULT OnTestSendSettings(WPARAM, LPARAM);
    LRESULT OnBounceCheckDone(WPARAM, LPARAM);

private:
    void ShowPage(int page, UINT tabCommand);
    void ShowReport(int view);
    void ShowStatisticsPage();
    void RunSettingsSheet(int startPage);
    CRect PanelRect() const;
    bool IsNewsletterOpen() const;
    // The open newsletter changed: marked, the title told, the page brought up to date.
    void NewsletterChanged();
    // The checks before a send and the Send dialog, again after each visit to the settings;
    // true when the dialog ended with a send.
    bool RunSendChecks(const ndb::CNdbUserList& recipients, bool save, bool testSend);
    // Edits the test recipient in its dialog and stores it; false when the dialog was cancelled.
    bool EditTestRecipient(ndb::CNdbUser& user);
    void StartBounceCheck();

    CKVContext* m_context;
    CKVTabButtonList m_tabStrip;
    CKVImage m_lightCorner;
    CKVImage m_darkCorner;
    CRect m_margins{0, 10, 10, 10};
    CWndLayout m_layout;
    CWndUsers m_users;
    CWndSummary m_summary;
    int m_visiblePage = 0;
    // Last, so it is the first to go: its destructor waits for a running check.
    CBounceChecker m_bounceChecker;
};
