#pragma once

#include "controls/ToolbarHelp.h"
#include "platform/ui/IEBrowser.h"

// The help viewer: a top-level window with the search toolbar above a browser that shows the help
// pages of the data folder in the current language. The main window creates it on the first help
// request and asks it for a topic, the id of the dialog whose Help button was pressed. Page links
// whose address holds "?cmd=" start a program action instead of loading.
class CWndHelp : public CWnd
{
public:
    static constexpr UINT BrowserId = 4711;
    static constexpr UINT ToolbarId = 4712;

    CWndHelp();
    ~CWndHelp() override;

    // Creates the window, without a parent, on its start page.
    bool CreateHelpWindow();
    // Shows the topic's page and brings the window to the front; always true.
    bool ShowTopic(UINT topic);

    // Enter in the window searches; the mouse's back and forward buttons go back and forward.
    bool PreTranslateMessage(MSG* msg) override;

    // The page and the anchor ("#name" or empty) of a topic; "index" for a topic without a page.
    static QString TopicPage(UINT topic, QString* anchor);
    // The search text as it travels in the address of the search page.
    static QString EncodeSearchText(const QString& text);
    // The folder of the help pages in the current language.
    static QString GetHelpFolder();

    CIEBrowser& GetBrowser() { return m_browser; }
    CToolbarHelp& GetToolbar() { return m_toolbar; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnDestroyLater(WPARAM, LPARAM);
    LRESULT OnBeforeNavigate(WPARAM, LPARAM url);
    LRESULT OnContextMenu(WPARAM, LPARAM);
    LRESULT OnBack(WPARAM, LPARAM);
    void OnUpdateBack(CCmdUI* cmdUI);
    LRESULT OnForward(WPARAM, LPARAM);
    void OnUpdateForward(CCmdUI* cmdUI);
    LRESULT OnStartPage(WPARAM, LPARAM);
    LRESULT OnSearch(WPARAM, LPARAM);
    LRESULT OnCopy(WPARAM, LPARAM);
    LRESULT OnPrint(WPARAM, LPARAM);
    LRESULT OnPrintPreview(WPARAM, LPARAM);

private:
    void NavigateToFile(const QString& fileName, const QString& query = {}, const QString& fragment = {});

    CToolbarHelp m_toolbar;
    CIEBrowser m_browser;
};
