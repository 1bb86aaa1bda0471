#pragma once

#include "controls/ToolbarSummary.h"
#include "platform/ui/IEBrowser.h"
#include "reports/ReportSettings.h"

#include <QString>
#include <QStringList>

class IReportContext;

// The report window of a newsletter: the report toolbar above a browser that shows the report
// page. It keeps the report's settings for the shown newsletter and turns the page's links and
// forms into commands.
class CWndSummary : public CWnd
{
public:
    static constexpr UINT ToolbarId = 4700;
    static constexpr UINT BrowserId = 4711;
    static constexpr UINT HelpTopic = 32943;

    explicit CWndSummary(IReportContext& context);
    ~CWndSummary() override;

    bool CreateSummaryWindow(CWnd* parent);
    // Back to the defaults when another newsletter is open than the one the settings are for.
    void ResetReportSettings();
    void RenderReport();
    // 1 when the address was a command of the page (the navigation is cancelled), else 0.
    LRESULT OnPageCommand(const QString& address);

    const ReportSettings& GetSettings() const { return m_settings; }
    // The view to render when the window is next shown.
    void SetReportView(int view) { m_settings.view = view; }
    const QStringList& GetShownAddresses() const { return m_shownAddresses; }
    const QStringList& GetLinkAddresses() const { return m_linkAddresses; }
    CIEBrowser& GetBrowser() { return m_browser; }
    CToolbarSummary& GetToolbar() { return m_toolbar; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnBeforeNavigate(WPARAM, LPARAM address);
    LRESULT OnContextMenu(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM size);
    LRESULT OnShowWindow(WPARAM show, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnViewOverview(WPARAM, LPARAM);
    LRESULT OnViewTracking(WPARAM, LPARAM);
    void OnUpdateViewOverview(CCmdUI* cmdUI);
    void OnUpdateViewTracking(CCmdUI* cmdUI);
    LRESULT OnPrint(WPARAM, LPARAM);
    LRESULT OnPrintPreview(WPARAM, LPARAM);
    LRESULT OnCopy(WPARAM, LPARAM);
    LRESULT OnRefresh(WPARAM, LPARAM);

private:
    void CreateBrowser();
    void LayOut(int width, int height);
    void CopyShownRecipients();
    bool SetSortKey(const QString& decoded, const QString& lower);
    void SetTrackingMode(const QString& decoded, const QString& lower);

    IReportContext& m_context;
    CIEBrowser m_browser;
    CToolbarSummary m_toolbar;
    QString m_pageFontFace;
    QString m_shownNewsletterId;
    ReportSettings m_settings;
    QString m_serviceUrl;
    QStringList m_shownAddresses;
    QStringList m_linkAddresses;
};
