#pragma once

#include "app/ViewBase.h"
#include "controls/KVImage.h"
#include "controls/KVTabButtonList.h"
#include "editor/WndLayout.h"
#include "mail/BounceChecker.h"
#include "recipients/WndUsers.h"
#include "reports/WndSummary.h"

class CKVContext;

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
    CBounceChecker& GetBounceChecker() { return m_bounceChecker; }
    const CKVTabButtonList& GetTabStrip() const { return m_tabStrip; }

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
    LRESULT OnBounceCheckDone(WPARAM, LPARAM);

private:
    void ShowPage(int page, UINT tabCommand);
    void ShowReport(int view);
    void ShowStatisticsPage();
    void StartBounceCheck();
    void MergeBounceResults(ndb::CNdbNewsletter& newsletter);
    void RunSettingsSheet(int startPage);
    CRect PanelRect() const;
    bool IsNewsletterOpen() const;
    // The open newsletter changed: marked, the title told, the page brought up to date.
    void NewsletterChanged();

    CKVContext* m_context;
    CKVTabButtonList m_tabStrip;
    CKVImage m_lightCorner;
    CKVImage m_darkCorner;
    CRect m_margins{0, 10, 10, 10};
    CWndLayout m_layout;
    CWndUsers m_users;
    CWndSummary m_summary;
    CBounceChecker m_bounceChecker;
    int m_visiblePage = 0;
};
