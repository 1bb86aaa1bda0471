#pragma once

#include "app/DocumentLock.h"
#include "app/ViewMailGroup.h"
#include "app/ViewNav.h"
#include "app/ViewNewsletter.h"
#include "app/WndHelp.h"
#include "app/WndSplash.h"
#include "controls/HorizontalSplitterWnd.h"
#include "platform/ui/Menu.h"

#include <memory>

class CKVContext;
class CMenu;
namespace ndb
{
class CNdbBase;
class CNdbMailGroup;
class CNdbNewsletter;
} // namespace ndb

// The program's one top-level window: the menu bar, a splitter with the navigation pane on the
// left and the open document's view on the right, the open document's lock, the splash, the help
// window and the command route. Every command of the menu and the keys comes here first and goes
// on, in this order, to the splitter's panes (the navigation pane, then the document view), then
// to this window's own
// table. The help window, while it is open, is offered them first when it has the focus and
// else after the splitter. One update handler decides which menu items and buttons are enabled.
class CMainWnd : public CWnd
{
public:
    static constexpr UINT MenuId = 128;
    static constexpr UINT AcceleratorId = 228;
    static constexpr UINT IconId = 128;
    static constexpr UINT SplitterId = 4711;
    static constexpr UINT NavigationViewId = 4712;
    static constexpr int MinimumWidth = 400;
    static constexpr int MinimumHeight = 500;

    explicit CMainWnd(CKVContext* context);
    ~CMainWnd() override;

    // The window with menu 128 at the rectangle, not yet shown.
    bool Create(const CRect& rect);
    // A document named on the command line, opened when the splash ends.
    void SetPendingDocument(const QString& path) { m_pendingDocument = path; }

    bool OnCmdMsg(UINT id, UINT code) override;
    bool PreTranslateMessage(MSG* msg) override;

    // The document life cycle. Every question and error goes through the program's message box.
    bool OpenNewsletter(const QString& path);
    bool OpenMailingList(const QString& path);
    // True when nothing is open afterwards; false when the user cancelled or a save failed.
    bool CloseDocument();
    // Saves the open newsletter under the path: as a template when the path ends in ".kvnlt",
    // else as a copy that is then opened.
    void SaveNewsletterAs(const QString& path);
    // New documents named "<name>.kvnl" and "<name>.kvmg" in the folder, then opened.
    bool CreateEmptyNewsletter(const QString& name, const QString& folder);
    bool CreateMailingList(const QString& name, const QString& folder);
    void SetTitle(const QString& name, bool modified);

    CHorizontalSplitterWnd& GetSplitter() { return m_splitter; }
    CWndSplash* GetSplash() const { return m_splash.get(); }
    CWndHelp* GetHelpWindow() const { return m_help.get(); }
    CViewNav& GetNavigationView() { return m_viewNav; }
    CViewNewsletter& GetNewsletterView() { return m_viewNewsletter; }
    CViewMailGroup& GetMailGroupView() { return m_viewMailGroup; }
    const CDocumentLock& GetDocumentLock() const { return m_lock; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM popup, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnShowHelp(WPARAM topic, LPARAM);
    LRESULT OnOpenShortcut(WPARAM, LPARAM record);

    LRESULT OnOrganizeNewsletters(WPARAM, LPARAM);
    LRESULT OnOrganizeMailingLists(WPARAM, LPARAM);
    LRESULT OnCreateMailingList(WPARAM, LPARAM);
    LRESULT OnFileOpen(WPARAM, LPARAM);
    LRESULT OnOpenRecent(WPARAM command, LPARAM);
    LRESULT OnFileClose(WPARAM, LPARAM);
    LRESULT OnFileSave(WPARAM, LPARAM);
    LRESULT OnFileSaveAs(WPARAM, LPARAM);
    LRESULT OnAppExit(WPARAM, LPARAM);
    LRESULT OnCreateEmptyNewsletter(WPARAM, LPARAM);
    LRESULT OnCreateNewsletter(WPARAM, LPARAM);
    LRESULT OnIntroMenu(WPARAM, LPARAM);
    LRESULT OnDocumentChanged(WPARAM, LPARAM);
    LRESULT OnToggleNavigationPane(WPARAM, LPARAM);
    LRESULT OnAbout(WPARAM, LPARAM);
    LRESULT OnHelpContents(WPARAM, LPARAM);
    LRESULT OnHelpTutorial(WPARAM, LPARAM);
    LRESULT OnHelpIntroMovie(WPARAM, LPARAM);
    LRESULT OnHelpVisit(WPARAM, LPARAM);
    LRESULT OnHelpSupport(WPARAM, LPARAM);
    LRESULT OnSplashEnded(WPARAM, LPARAM);
    LRESULT OnSiteAccounts(WPARAM, LPARAM);
    LRESULT OnCheckForUpdates(WPARAM, LPARAM);
    LRESULT OnAutoUpdate(WPARAM, LPARAM);
    void OnUpdateCommand(CCmdUI* cmdUI);

private:
    bool OpenDocument(const QString& path, int kind);
    std::unique_ptr<ndb::CNdbBase> LoadDocument(const QString& path, int kind) const;
    bool IsDocumentModified() const;
    // Brings the views, the splitter and the navigation pane in line with the open document; the
    // record (a shortcut) is selected in the pane.
    void ShowDocumentViews(const ndb::CNdbBase* selectInPane);
    bool OpenLink(const ndb::CNdbBase* link);
    void OrganizeShortcuts(UINT groupId);
    void ShowSplash();
    bool IsHelpWindowOpen() const { return m_help && m_help->IsWindow(); }
    bool SaveTemplate(const QString& path);
    bool ConfirmOverwrite(const QString& path);
    void RebuildRecentItems(CMenu& popup) const;
    CMenu* FindRecentPopup() const;
    bool IsEnabledByTable(UINT id, bool& enabled) const;

    CHorizontalSplitterWnd m_splitter;
    std::unique_ptr<CWndHelp> m_help;
    std::unique_ptr<CWndSplash> m_splash;
    QString m_pendingDocument;
    CDocumentLock m_lock;
    CKVContext* m_context;
    CViewNav m_viewNav;
    CViewNewsletter m_viewNewsletter;
    CViewMailGroup m_viewMailGroup;
    CAcceleratorTable m_accelerators;
    bool m_acceleratorsLoaded = false;
    // The File menu's "Open Recent" popup, found by its entries when the menu is new.
    CMenu* m_recentPopup = nullptr;
};
