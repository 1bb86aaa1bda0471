#include "editor/WndLayout.h"

#include "base/AppSettings.h"
#include "controls/CommandIds.h"
#include "editor/EditedBody.h"
#include "editor/LayoutCommandIds.h"
#include "editor/LayoutContext.h"
#include "editor/NavigationFilter.h"
#include "effects/BackgroundImageToolsInstall.h"
#include "mail/SpamFilter.h"
#include "mailui/DlgSpamCheck.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/core/Shell.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/Menu.h"
#include "platform/ui/NestedWait.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WndClass.h"
#include "webserver/CssWriters.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/PageSources.h"
#include "webserver/ResourcePruning.h"

#include <QDeadlineTimer>
#include <QUrl>

#include <utility>

namespace
{
constexpr UINT DiscardChangesText = 15023;
constexpr UINT CantLoadSpamDatabaseText = 15027;
constexpr UINT CantSaveLayoutText = 15040;
constexpr UINT CantEditLayoutText = 15041;
constexpr UINT HelpTopic = 32941;
// Posted to itself: shows the context menu of the page event kept in m_menuEvent.
constexpr UINT UM_SHOW_CONTEXT_MENU = WM_USER + 0x601;
// Posted to itself when the scratch browser's blank page has loaded.
constexpr UINT UM_SCRATCH_LOADED = WM_USER + 0x603;
// Posted to itself once its first page has loaded.
constexpr UINT UM_LOAD_SPAM_DATABASE = WM_USER + 0x604;
constexpr UINT FirstCommand = 32768;
constexpr UINT LastCommand = 61440;
constexpr qsizetype MaxBodyLength = 64 * 1024 * 1024;
const QString ScratchDocument =
    QStringLiteral("<html><head></head><body contenteditable=\"true\"></body></html>");

// The popups of the context menu.
constexpr int EditModePopup = 0;
constexpr int ViewModePopup = 1;
} // namespace

const MessageMap* CWndLayout::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CWndLayout::OnPaint),
        OnMessage(WM_SIZE, &CWndLayout::OnSize),
        OnMessage(UM_BROWSER_BEFORE_NAVIGATE, &CWndLayout::OnBeforeNavigate),
        OnMessage(UM_BROWSER_DOCUMENT_COMPLETE, &CWndLayout::OnDocumentComplete),
        OnMessage(UM_BROWSER_CONTEXT_MENU, &CWndLayout::OnContextMenuEvent),
        OnMessage(UM_BROWSER_PASTE, &CWndLayout::OnBrowserPaste),
        OnMessage(UM_SHOW_CONTEXT_MENU, &CWndLayout::OnShowContextMenu),
        OnMessage(UM_SCRATCH_LOADED, &CWndLayout::OnScratchLoaded),
        OnMessage(UM_LOAD_SPAM_DATABASE, &CWndLayout::OnLoadSpamDatabase),
        OnMessage(UM_BROWSER_DBLCLICK, &CWndLayout::OnDoubleClickEvent),
        OnMessage(UM_IMAGE_DOUBLE_CLICKED, &CWndLayout::OnImageDoubleClicked),
        OnCommand(ID_LAYOUT_EDIT, &CWndLayout::OnEditLayout),
        OnCommand(ID_LAYOUT_SAVE, &CWndLayout::OnSaveLayout),
        OnCommand(ID_LAYOUT_CANCEL, &CWndLayout::OnCancelLayout),
        OnCommand(ID_LAYOUT_HELP, &CWndLayout::OnHelp),
        OnCommand(ID_SPAM_CHECK, &CWndLayout::OnSpamCheck),
        OnCommand(ID_INSERT_BOX, &CWndLayout::OnInsertBox),
        OnCommand(ID_INSERT_LINK, &CWndLayout::OnInsertLink),
        OnCommand(ID_INSERT_BOOKMARK, &CWndLayout::OnInsertBookmark),
        OnCommand(ID_INSERT_IMAGE, &CWndLayout::OnInsertImage),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CWndLayout::CWndLayout(ILayoutContext* context) : m_context(context), m_toolbar(context)
{
    InstallBackgroundImageTools();
}

CWndLayout::~CWndLayout()
{
    DestroyWindow();
}

bool CWndLayout::Create(CWnd* parent)
{
    if (!CWnd::Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 1, 1),
                      parent, 0))
        return false;
    m_toolbar.Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                     CRect(0, 0, 1, 1), this, ToolbarId);
    m_browser.Create(QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, BrowserId);
    // Ctrl+Z and Ctrl+Y are keys of the main window, which runs Undo and Redo as commands.
    m_browser.SetHostUndoKeys(true);
    m_browser.Navigate(QStringLiteral("about:blank"));
    return true;
}

CIEBrowser& CWndLayout::GetScratchBrowser()
{
    // The browser control is always a visible child: a place outside the client area hides it.
    // Its empty editable document is made once "about:blank" has loaded.
    if (!m_scratch.IsWindow() &&
        m_scratch.Create(QString(), WS_CHILD, CRect(-200, -200, -1, 0), this, ScratchBrowserId))
        m_scratch.Navigate(QStringLiteral("about:blank"));
    return m_scratch;
}

LRESULT CWndLayout::OnLoadSpamDatabase(WPARAM, LPARAM)
{
    LoadSpamDatabase();
    return 0;
}

void CWndLayout::LoadSpamDatabase()
{
    // A database that cannot be read is reported once.
    if (std::exchange(m_spamDatabaseTried, true))
        return;
    SpamFilter::CSpamFilter& filter = m_context->GetSpamFilter();
    if (filter.GetDatabase().GetWordCount() > 0)
        return;
    const QString folder = GetSystemPath() + QStringLiteral("spamdb/");
    if (!filter.LoadDatabase(folder + QStringLiteral("spamdb.dat")))
        AfxMessageBox(LoadAppString(CantLoadSpamDatabaseText) + QStringLiteral("\n(") + folder + u')',
                      MB_ICONINFORMATION);
}

ndb::CNdbNewsletter* CWndLayout::CurrentNewsletter() const
{
    return m_context ? m_context->GetCurrentNewsletter() : nullptr;
}

bool CWndLayout::IsEditing() const
{
    return m_browser.GetEditFlag();
}

QString CWndLayout::GetPageUrl(bool edit) const
{
    const ndb::CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!newsletter)
        return {};
    // Encoded, so that a "#" or "?" in the file name stays part of the name.
    const QString fileName =
        QString::fromLatin1(QUrl::toPercentEncoding(newsletter->GetString(ndb::NewsletterFileName)));
    return m_context->MakeServerUrl(edit ? fileName + QStringLiteral("?kvlettermode=edit") : fileName);
}

void CWndLayout::SendToMainWindow(UINT command)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, command);
}

// ---- Modes ----

void CWndLayout::Refresh()
{
    m_toolbar.FillStyleCombo();
    if (IsEditing())
    {
        ReplaceNewsletterCss();
        return;
    }
    if (m_waiting)
        return;
    m_browser.Navigate(CurrentNewsletter() ? GetPageUrl() : QStringLiteral("about:blank"));
}

void CWndLayout::ReplaceNewsletterCss()
{
    const ndb::CNdbNewsletter* newsletter = CurrentNewsletter();
    std::unique_ptr<CHtmlDocument> document;
    if (!newsletter || !m_browser.GetDHtmlDocument(document))
        return;
    std::optional<CHtmlElement> style = document->GetElementById(QLatin1String(SystemStyleId));
    if (!style || style->GetTagName() != QLatin1String("style"))
        return;
    const CNewsletterPageSource source(*newsletter);
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    pageContext.SetServerPort(m_context->GetServerPort());
    pageContext.SetUnsubscribeText(m_context->GetUnsubscribeText());
    style->SetInnerHtml(BuildNewsletterCss(&pageContext));
}

bool CWndLayout::NavigateAndWait(const QString& url)
{
    const WaitCursor wait;
    m_documentComplete = false;
    m_waiting = true;
    const QDeadlineTimer deadline(WaitSlices * WaitSliceMs);
    bool shown = false;
    if (m_browser.Navigate(url))
    {
        // A load that the new one cut short completes too, and may even leave its document
        // behind a moment: only the document of the address asked for ends the wait.
        while (!shown && WaitForDocumentComplete(deadline))
            shown = ShowsPage(url);
    }
    m_waiting = false;
    return shown;
}

bool CWndLayout::WaitForDocumentComplete(const QDeadlineTimer& deadline)
{
    if (!m_documentComplete && !deadline.hasExpired())
    {
        CNestedWait completed;
        m_pageWait = &completed;
        completed.Run(int(deadline.remainingTime()));
        m_pageWait = nullptr;
    }
    return std::exchange(m_documentComplete, false);
}

bool CWndLayout::ShowsPage(const QString& url) const
{
    // The new document may be there before it has finished loading, still without its body.
    std::unique_ptr<CHtmlDocument> document;
    QString shown;
    QString state;
    return m_browser.GetDHtmlDocument(document) && document->GetUrl(shown) && QUrl(shown) == QUrl(url) &&
           document->GetReadyState(state) && state == QLatin1String("complete");
}

LRESULT CWndLayout::OnDocumentComplete(WPARAM id, LPARAM)
{
    if (id == BrowserId)
    {
        m_documentComplete = true;
        if (m_pageWait)
            m_pageWait->Quit();
        // The start-up shows the first page without waiting for the spam database.
        if (!m_spamDatabaseTried)
            PostMessage(UM_LOAD_SPAM_DATABASE);
    }
    else if (id == ScratchBrowserId && !m_scratchReady)
    {
        // The engine is still delivering the load here: the page answers once this has returned.
        PostMessage(UM_SCRATCH_LOADED);
    }
    return 0;
}

LRESULT CWndLayout::OnScratchLoaded(WPARAM, LPARAM)
{
    if (m_scratchReady)
        return 0;
    m_scratchReady = m_scratch.LoadHtml(ScratchDocument);
    m_scratch.SetEditMode(true);
    return 0;
}

LRESULT CWndLayout::OnEditLayout(WPARAM, LPARAM)
{
    if (!CurrentNewsletter() || IsEditing() || m_waiting)
        return 0;
    if (NavigateAndWait(GetPageUrl(true)))
        m_browser.SetEditMode(true);
    // Never an edit toolbar over a page that takes no typing.
    if (!IsEditing())
    {
        AfxMessageBox(LoadAppString(CantEditLayoutText), MB_ICONINFORMATION);
        NavigateAndWait(GetPageUrl());
        return 0;
    }
    m_toolbar.SetEditMode();
    ArrangeChildren();
    SendToMainWindow(ID_CURBASE_CHANGED);
    return 0;
}

LRESULT CWndLayout::OnSpamCheck(WPARAM, LPARAM)
{
    std::unique_ptr<CHtmlDocument> document;
    QString body;
    if (!CurrentNewsletter() || !IsEditing() || !m_browser.GetDHtmlDocument(document) ||
        !document->GetBodyInnerHtml(body, MaxBodyLength) || body.isEmpty())
        return 0;
    LoadSpamDatabase();
    CDlgSpamCheck dialog(m_context, body, this);
    dialog.DoModal();
    return 0;
}

bool CWndLayout::SaveEdit()
{
    if (!IsEditing() || m_waiting)
        return false;
    const WaitCursor wait;
    std::unique_ptr<CHtmlDocument> document;
    QString markup;
    bool stored = m_browser.GetDHtmlDocument(document) && document->GetBodyInnerHtml(markup, MaxBodyLength);
    QString layout;
    stored = stored && MakeStoredLayout(markup, m_context->GetServerPort(), layout);
    if (stored)
    {
        if (ndb::CNdbNewsletter* newsletter = CurrentNewsletter())
        {
            const auto lock = m_context->WriteDocument();
            stored = newsletter->Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(layout));
            if (stored)
            {
                PruneUnusedResources(*newsletter);
                PruneUnusedPipelineImages(*newsletter);
            }
        }
    }
    // A layout that did not reach the record is not thrown away with the live page.
    if (!stored)
    {
        AfxMessageBox(LoadAppString(CantSaveLayoutText), MB_ICONERROR);
        return false;
    }
    EndEdit();
    SendToMainWindow(ID_CURBASE_CHANGED);
    return true;
}

void CWndLayout::CancelEdit()
{
    if (IsEditing() && !m_waiting)
        EndEdit();
}

void CWndLayout::EndEdit()
{
    m_browser.SetEditMode(false);
    ShowViewToolbar();
    NavigateAndWait(GetPageUrl());
}

void CWndLayout::ShowViewToolbar()
{
    m_toolbar.m_currentSet = 0;
    m_toolbar.Invalidate();
    m_toolbar.ShowCurrentSet();
    ArrangeChildren();
}

LRESULT CWndLayout::OnSaveLayout(WPARAM, LPARAM)
{
    SaveEdit();
    return 0;
}

LRESULT CWndLayout::OnCancelLayout(WPARAM, LPARAM)
{
    if (IsEditing() && AfxMessageBox(LoadAppString(DiscardChangesText), MB_YESNO) == IDYES)
        CancelEdit();
    return 0;
}

LRESULT CWndLayout::OnHelp(WPARAM, LPARAM)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(UM_SHOW_HELP, HelpTopic);
    return 0;
}

// ---- Navigation ----

LRESULT CWndLayout::OnBeforeNavigate(WPARAM, LPARAM url)
{
    const QString& address = *reinterpret_cast<const QString*>(url);
    switch (DecideNavigation(address, m_context->GetServerPort(), QLatin1String(PlaceholderLinkAddress)))
    {
    case NavigationDecision::LoadInside:
        return 0;
    case NavigationDecision::OpenOnDesktop:
        ShellOpen(address);
        return 1;
    case NavigationDecision::Cancel:
        return 1;
    }
    return 1;
}

// ---- Window ----

void CWndLayout::ArrangeChildren()
{
    if (!m_browser.IsWindow())
        return;
    CRect client;
    GetClientRect(&client);
    const int toolbarHeight = m_toolbar.IsWindow() ? m_toolbar.CalcHeight() : 0;
    if (m_toolbar.IsWindow())
        m_toolbar.MoveWindow(0, 3, client.Width(), toolbarHeight + 3);
    m_browser.MoveWindow(0, toolbarHeight + 6, client.Width(), client.Height() - toolbarHeight - 6);
}

LRESULT CWndLayout::OnSize(WPARAM, LPARAM)
{
    Default();
    ArrangeChildren();
    return 0;
}

LRESULT CWndLayout::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, BackgroundColor);
    return 0;
}

bool CWndLayout::OnCmdMsg(UINT id, UINT code)
{
    // The editor only sets check marks and fills its boxes; the main window decides what is
    // enabled, so the update goes on.
    if (code == CN_UPDATE_COMMAND_UI)
    {
        if (CCmdUI* cmdUI = CCmdUI::InProgress(); cmdUI && id >= FirstCommand && id <= LastCommand)
            OnUpdateEditCommand(cmdUI);
        return false;
    }
    return (code == 0 && RunTableCommand(id)) || CWnd::OnCmdMsg(id, code);
}

// ---- Context menu ----

LRESULT CWndLayout::OnContextMenuEvent(WPARAM, LPARAM)
{
    std::unique_ptr<CHtmlEventObj> event = m_browser.GetEvent();
    if (!event)
        return 0;
    if (event->WantsBrowserMenu())
        return 1;
    // The page cannot be read until the engine is done with its menu request: the menu follows.
    m_menuEvent = std::move(event);
    PostMessage(UM_SHOW_CONTEXT_MENU);
    return 0;
}

LRESULT CWndLayout::OnShowContextMenu(WPARAM, LPARAM)
{
    const std::unique_ptr<CHtmlEventObj> event = std::move(m_menuEvent);
    CMenu menu;
    if (!event || !menu.LoadMenu(ContextMenuId))
        return 0;
    if (IsEditing())
        ShowEditModeMenu(*menu.GetSubMenu(EditModePopup), *event);
    else
        ShowViewModeMenu(*menu.GetSubMenu(ViewModePopup), event->GetScreenX(), event->GetScreenY());
    return 0;
}

void CWndLayout::ShowViewModeMenu(CMenu& menu, int x, int y)
{
    const UINT command = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, this);
    if (command >= ID_EMAIL_SETTINGS && command <= ID_SEND)
    {
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_COMMAND, command);
    }
    else if (command != 0)
    {
        PostMessage(WM_COMMAND, command);
    }
}
