#include "app/MainWnd.h"

#include "app/DlgAbout.h"
#include "app/DlgOrganizeShortcuts.h"
#include "app/KVContext.h"
#include "app/MainWindowPlacement.h"
#include "app/NewsletterCopies.h"
#include "app/NewsletterCreation.h"
#include "app/ShellHooks.h"
#include "app/ShortcutStore.h"
#include "app/UpdateOnStart.h"
#include "base/AppSettings.h"
#include "base/FileHelpers.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbShortcuts.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MenuCmdUI.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/StandardIcons.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WndClass.h"
#include "services/TemplateCatalogue.h"
#include "services/TemplateLocalisation.h"

#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>

#include <functional>

namespace
{
constexpr UINT TitleText = 12900;
constexpr UINT CantOpenFileText = 12901;
constexpr UINT SaveNewsletterQuestion = 12902;
constexpr UINT CantSaveNewsletterText = 12903;
constexpr UINT SaveMailingListQuestion = 12904;
constexpr UINT CantSaveMailingListText = 12905;
constexpr UINT OverwriteQuestion = 12914;
constexpr UINT CantCreateNewsletterText = 12915;
constexpr UINT KelvoraFilesText = 12916;
constexpr UINT NewsletterFilesText = 12917;
constexpr UINT MailingListFilesText = 12918;
constexpr UINT NewsletterFilterText = 12919;
constexpr UINT TemplateFilterText = 12920;
constexpr UINT CantSaveTemplateText = 12921;
constexpr UINT TemplateSavedText = 12922;
constexpr UINT CantCreateMailingListText = 12924;
constexpr UINT InUseText = 12928;
constexpr UINT ForeignLockText = 40100;
constexpr UINT CantLoadCatalogueText = 12907;
constexpr UINT CantCreateFileText = 12913;

const QString Creator = QStringLiteral("Kelvora");
constexpr int CreatorMajor = 2007;
constexpr int CreatorMinor = 1;
constexpr DWORD FileDialogFlags = OFN_EXPLORER | OFN_ENABLESIZING;
constexpr UINT FirstCommand = 32768;
constexpr UINT LastCommand = 61440;
constexpr int MinimumShownSplit = 50;

// When the main window enables a command, by what is open and shown.
enum class EnabledWhen
{
    Always,
    NewsletterOpen,
    DocumentOpen,
    LayoutShown,
    LayoutEditing,
    RecipientsShown,
    CutOrPaste,
    MailingListOpen,
    DynamicListOpen,
    NothingOpen,
};

struct EnableRule
{
    UINT first;
    UINT last;
    EnabledWhen when;
};

constexpr EnableRule EnableRules[] = {
    {32771, 32771, EnabledWhen::Always},          {32779, 32779, EnabledWhen::Always},
    {32896, 32896, EnabledWhen::Always},          {32927, 32928, EnabledWhen::Always},
    {32930, 32934, EnabledWhen::Always},          {32944, 32944, EnabledWhen::Always},
    {32946, 32946, EnabledWhen::Always},          {32949, 32949, EnabledWhen::Always},
    {32951, 32951, EnabledWhen::Always},          {32970, 32970, EnabledWhen::Always},
    {32991, 32991, EnabledWhen::Always},          {32993, 32994, EnabledWhen::Always},
    {33030, 33030, EnabledWhen::Always},          {57601, 57601, EnabledWhen::Always},
    {32772, 32774, EnabledWhen::NewsletterOpen},  {32778, 32778, EnabledWhen::NewsletterOpen},
    {32780, 32782, EnabledWhen::NewsletterOpen},  {32887, 32887, EnabledWhen::NewsletterOpen},
    {32901, 32901, EnabledWhen::NewsletterOpen},  {32985, 32986, EnabledWhen::NewsletterOpen},
    {32888, 32888, EnabledWhen::NewsletterOpen},  {32964, 32964, EnabledWhen::NewsletterOpen},
    {57607, 57607, EnabledWhen::NewsletterOpen},  {57602, 57603, EnabledWhen::DocumentOpen},
    {32890, 32890, EnabledWhen::DocumentOpen},    {57634, 57634, EnabledWhen::DocumentOpen},
    {32775, 32775, EnabledWhen::LayoutShown},     {32776, 32777, EnabledWhen::LayoutEditing},
    {32872, 32872, EnabledWhen::LayoutEditing},   {32786, 32787, EnabledWhen::LayoutEditing},
    {32795, 32795, EnabledWhen::LayoutEditing},   {32797, 32808, EnabledWhen::LayoutEditing},
    {32813, 32814, EnabledWhen::LayoutEditing},   {32817, 32817, EnabledWhen::LayoutEditing},
    {32825, 32828, EnabledWhen::LayoutEditing},   {32832, 32837, EnabledWhen::LayoutEditing},
    {32839, 32843, EnabledWhen::LayoutEditing},   {32845, 32851, EnabledWhen::LayoutEditing},
    {32873, 32873, EnabledWhen::LayoutEditing},   {32882, 32882, EnabledWhen::LayoutEditing},
    {32895, 32895, EnabledWhen::LayoutEditing},   {32899, 32899, EnabledWhen::LayoutEditing},
    {57643, 57644, EnabledWhen::LayoutEditing},   {32902, 32903, EnabledWhen::RecipientsShown},
    {32905, 32906, EnabledWhen::RecipientsShown}, {57635, 57635, EnabledWhen::CutOrPaste},
    {57637, 57637, EnabledWhen::CutOrPaste},      {32987, 32987, EnabledWhen::MailingListOpen},
    {32990, 32990, EnabledWhen::DynamicListOpen}, {33032, 33032, EnabledWhen::NothingOpen},
};

QString FileNameOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

// The name a document's shortcut gets.
QString DocumentName(const ndb::CNdbBase& document)
{
    if (const auto* newsletter = dynamic_cast<const ndb::CNdbNewsletter*>(&document))
        return newsletter->GetString(ndb::NewsletterName);
    if (const auto* list = dynamic_cast<const ndb::CNdbMailGroup*>(&document))
        return list->GetString(ndb::MailGroupName);
    return {};
}

void ShowError(const QString& text)
{
    AfxMessageBox(text, MB_ICONERROR);
}

// A new document's name becomes its file name in the folder: it may not leave the folder.
bool IsDocumentName(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\');
}

// Asks whether to save the modified document; Yes finishes the edits in progress and saves it.
// False on Cancel or a failed save.
template <class Document>
bool AskToSave(Document& document, UINT question, int nameField, int pathField, UINT saveFailed,
               const std::function<bool()>& finishEdits = {})
{
    const int answer = AfxMessageBox(
        FormatResourceText(LoadAppString(question), {document.GetString(nameField)}), MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES && finishEdits && !finishEdits())
        return false;
    if (answer == IDYES && !document.Save(document.GetString(pathField), Creator, CreatorMajor, CreatorMinor))
    {
        ShowError(LoadAppString(saveFailed));
        return false;
    }
    return true;
}
} // namespace

const MessageMap* CMainWnd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CMainWnd::OnCreate),
        OnMessage(WM_PAINT, &CMainWnd::OnPaint),
        OnMessage(WM_SIZE, &CMainWnd::OnSize),
        OnMessage(WM_GETMINMAXINFO, &CMainWnd::OnGetMinMaxInfo),
        OnMessage(WM_INITMENUPOPUP, &CMainWnd::OnInitMenuPopup),
        OnMessage(WM_CLOSE, &CMainWnd::OnClose),
        OnMessage(WM_QUERYENDSESSION, &CMainWnd::OnQueryEndSession),
        OnMessage(UM_SHOW_HELP, &CMainWnd::OnShowHelp),
        OnMessage(UM_OPEN_SHORTCUT, &CMainWnd::OnOpenShortcut),
        OnCommand(ID_FILE_ORGANIZE_NEWSLETTERS, &CMainWnd::OnOrganizeNewsletters),
        OnCommand(ID_FILE_CREATE_MAILING_LIST, &CMainWnd::OnCreateMailingList),
        OnCommand(ID_FILE_ORGANIZE_MAILING_LISTS, &CMainWnd::OnOrganizeMailingLists),
        OnCommand(ID_FILE_OPEN, &CMainWnd::OnFileOpen),
        OnCommandRange(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, &CMainWnd::OnOpenRecent),
        OnCommand(ID_FILE_CLOSE, &CMainWnd::OnFileClose),
        OnCommand(ID_FILE_SAVE, &CMainWnd::OnFileSave),
        OnCommand(ID_FILE_SAVE_AS, &CMainWnd::OnFileSaveAs),
        OnCommand(ID_APP_EXIT, &CMainWnd::OnAppExit),
        OnCommand(ID_FILE_CREATE_EMPTY_NEWSLETTER, &CMainWnd::OnCreateEmptyNewsletter),
        OnCommand(ID_FILE_CREATE_NEWSLETTER, &CMainWnd::OnCreateNewsletter),
        OnCommand(ID_FILE_INTRO_MENU, &CMainWnd::OnIntroMenu),
        OnCommand(ID_CURBASE_CHANGED, &CMainWnd::OnDocumentChanged),
        OnCommand(ID_VIEW_NAVIGATION_PANE, &CMainWnd::OnToggleNavigationPane),
        OnCommand(ID_HELP_ABOUT, &CMainWnd::OnAbout),
        OnCommand(ID_HELP_CONTENTS, &CMainWnd::OnHelpContents),
        OnCommand(ID_HELP, &CMainWnd::OnHelpContents),
        OnCommand(ID_HELP_INDEX, &CMainWnd::OnHelpContents),
        OnCommand(ID_HELP_TUTORIAL, &CMainWnd::OnHelpTutorial),
        OnCommand(ID_HELP_INTRO_MOVIE, &CMainWnd::OnHelpIntroMovie),
        OnCommand(ID_HELP_VISIT, &CMainWnd::OnHelpVisit),
        OnCommand(ID_HELP_SUPPORT, &CMainWnd::OnHelpSupport),
        OnCommand(ID_SPLASH_ENDED, &CMainWnd::OnSplashEnded),
        OnCommand(ID_TOOLS_SITE_ACCOUNTS, &CMainWnd::OnSiteAccounts),
        OnCommand(ID_TOOLS_CHECK_UPDATES, &CMainWnd::OnCheckForUpdates),
        OnCommand(ID_TOOLS_AUTO_UPDATE, &CMainWnd::OnAutoUpdate),
        OnUpdateCommandRange(FirstCommand, LastCommand, &CMainWnd::OnUpdateCommand),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CMainWnd::CMainWnd(CKVContext* context)
    : m_context(context), m_viewNav(context), m_viewNewsletter(context), m_viewMailGroup(context)
{
}

CMainWnd::~CMainWnd()
{
    // The window goes first, while every member it may still call on is alive; the lock goes with
    // its member.
    DestroyWindow();
}

bool CMainWnd::Create(const CRect& rect)
{
    return CreateEx(0, AfxRegisterWndClass(0), LoadAppString(TitleText),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rect, nullptr, MenuId);
}

// ---- Window messages ----

LRESULT CMainWnd::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    ShowSplash();
    m_recentPopup = FindRecentPopup();
    CShortcutStore(m_context->GetShortcuts()).Load();
    SetIcon(LoadProgramIcon(IconId));
    m_acceleratorsLoaded = m_accelerators.Load(AcceleratorId);
    const DWORD childStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    m_splitter.Create(AfxRegisterWndClass(0), QString(), childStyle, CRect(0, 0, 1, 1), this, SplitterId);
    m_viewNav.Create(AfxRegisterWndClass(0), QString(), childStyle, CRect(0, 0, 1, 1), &m_splitter,
                     NavigationViewId);
    m_splitter.m_firstPane = &m_viewNav;
    m_viewNewsletter.Create(&m_splitter, CRect(0, 0, 200, 200));
    m_viewMailGroup.Create(&m_splitter, CRect(0, 0, 200, 200));
    m_splitter.m_secondPane = &m_viewNewsletter;
    m_splitter.RecalcLayout();
    // The window is built: the splash ends now or when its time has run out.
    if (m_splash->IsWindow())
        m_splash->SetReady();
    else
        PostMessage(WM_COMMAND, ID_SPLASH_ENDED);
    return 0;
}

void CMainWnd::ShowSplash()
{
    m_splash = std::make_unique<CWndSplash>();
    if (!m_splash->Create(this))
        return;
    m_splash->SetEndCommand(this, ID_SPLASH_ENDED);
    m_splash->ShowWindow(SW_SHOW);
    m_splash->UpdateWindow();
    m_splash->SetTimer(CWndSplash::TimerId, CWndSplash::TimerElapse);
}

LRESULT CMainWnd::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, 0xFFFFFF);
    return 0;
}

LRESULT CMainWnd::OnSize(WPARAM, LPARAM lParam)
{
    Default();
    if (m_splitter.IsWindow())
        m_splitter.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam), true);
    return 0;
}

LRESULT CMainWnd::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = CPoint(MinimumWidth, MinimumHeight);
    return Default();
}

LRESULT CMainWnd::OnInitMenuPopup(WPARAM wParam, LPARAM)
{
    auto* popup = reinterpret_cast<CMenu*>(wParam);
    popup->CheckMenuItem(ID_VIEW_NAVIGATION_PANE,
                         MF_BYCOMMAND | (m_splitter.IsCollapsed() ? MF_UNCHECKED : MF_CHECKED));
    if (popup == m_recentPopup)
        RebuildRecentItems(*popup);
    CMenuCmdUI cmdUI(popup);
    for (int position = 0; position < popup->GetMenuItemCount(); ++position)
    {
        const UINT id = popup->GetMenuItemID(position);
        if (id == 0 || id == UINT(-1))
            continue;
        cmdUI.m_nID = id;
        cmdUI.m_nIndex = UINT(position);
        cmdUI.DoUpdate(this, false);
    }
    return Default();
}

CMenu* CMainWnd::FindRecentPopup() const
{
    CMenu* fileMenu = GetMenu() ? GetMenu()->GetSubMenu(0) : nullptr;
    for (int position = 0; fileMenu && position < fileMenu->GetMenuItemCount(); ++position)
    {
        CMenu* popup = fileMenu->GetSubMenu(position);
        if (popup && popup->GetMenuState(ID_FILE_MRU_FIRST, MF_BYCOMMAND) != UINT(-1))
            return popup;
    }
    return nullptr;
}

// The popup lists exactly the recent files, newest first. It is rebuilt whole each time: an
// entry taken out while the list was short must come back when the list grows again.
void CMainWnd::RebuildRecentItems(CMenu& popup) const
{
    while (popup.GetMenuItemCount() > 0)
        popup.RemoveMenu(0, MF_BYPOSITION);
    const ndb::CNdbFolder& recent = m_context->GetShortcuts().Recent();
    for (int position = 0; position <= int(ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST); ++position)
    {
        const ndb::CNdbBase* link = recent.GetItemAt(position);
        if (link && link->GetKind() == ndb::NdbKindShortcutLink && !link->GetPath().isEmpty())
            popup.AppendMenu(MF_STRING, ID_FILE_MRU_FIRST + position, link->GetPath());
    }
}

LRESULT CMainWnd::OnClose(WPARAM, LPARAM)
{
    if (!CloseDocument())
        return 0;
    WINDOWPLACEMENT placement;
    if (GetWindowPlacement(&placement))
        MainWindowPlacement::Write(placement.showCmd, placement.rcNormalPosition);
    return Default();
}

LRESULT CMainWnd::OnQueryEndSession(WPARAM, LPARAM)
{
    return IsDocumentModified() ? 0 : 1;
}

LRESULT CMainWnd::OnShowHelp(WPARAM topic, LPARAM)
{
    // Closing the help window destroys only the window; the next request makes a new one.
    if (!IsHelpWindowOpen())
    {
        m_help = std::make_unique<CWndHelp>();
        m_help->CreateHelpWindow();
    }
    m_help->ShowTopic(UINT(topic));
    return 0;
}

LRESULT CMainWnd::OnOpenShortcut(WPARAM, LPARAM lParam)
{
    const auto* record = reinterpret_cast<const ndb::CNdbBase*>(lParam);
    if (!record || record->GetKind() != ndb::NdbKindShortcutLink)
        return 0;
    const ndb::CNdbBase* document = m_context->GetCurrentDocument();
    if (document && record->GetPath() == document->GetPath())
        return 0;
    return OpenLink(record) ? 1 : 0;
}

// ---- Command route ----

bool CMainWnd::OnCmdMsg(UINT id, UINT code)
{
    if (IsHelpWindowOpen() && m_help->ContainsFocus() && m_help->OnCmdMsg(id, code))
        return true;
    if (m_splitter.IsWindow() && m_splitter.OnCmdMsg(id, code))
        return true;
    if (IsHelpWindowOpen() && m_help->OnCmdMsg(id, code))
        return true;
    return CWnd::OnCmdMsg(id, code);
}

bool CMainWnd::PreTranslateMessage(MSG* msg)
{
    if (m_acceleratorsLoaded && msg->message == WM_KEYDOWN &&
        m_accelerators.TranslateAccelerator(this, static_cast<const QKeyEvent*>(msg->event)))
        return true;
    return CWnd::PreTranslateMessage(msg);
}

bool CMainWnd::IsEnabledByTable(UINT id, bool& enabled) const
{
    const ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    const ndb::CNdbMailGroup* list = m_context->GetOpenMailingList();
    // A list without a type is a normal one, as its view treats it.
    const bool dynamicList =
        list && list->GetInt(ndb::MailGroupKind, ndb::NdbMailGroupNormal) == ndb::NdbMailGroupDynamic;
    const bool staticList = list && !dynamicList;
    const int page = newsletter ? m_viewNewsletter.GetVisiblePage() : 0;
    const bool editing = m_viewNewsletter.IsEditing();
    for (const EnableRule& rule : EnableRules)
    {
        if (id < rule.first || id > rule.last)
            continue;
        switch (rule.when)
        {
        case EnabledWhen::Always:
            enabled = true;
            break;
        case EnabledWhen::NewsletterOpen:
            enabled = newsletter != nullptr;
            break;
        case EnabledWhen::DocumentOpen:
            enabled = newsletter || list;
            break;
        case EnabledWhen::LayoutShown:
            enabled = page == 1 && !editing;
            break;
        case EnabledWhen::LayoutEditing:
            enabled = page == 1 && editing;
            break;
        case EnabledWhen::RecipientsShown:
            enabled = staticList || page == 2;
            break;
        case EnabledWhen::CutOrPaste:
            enabled = staticList || page == 2 || (page == 1 && editing);
            break;
        case EnabledWhen::MailingListOpen:
            enabled = list != nullptr;
            break;
        case EnabledWhen::DynamicListOpen:
            enabled = dynamicList;
            break;
        case EnabledWhen::NothingOpen:
            enabled = !newsletter && !list;
            break;
        }
        return true;
    }
    return false;
}

void CMainWnd::OnUpdateCommand(CCmdUI* cmdUI)
{
    if (cmdUI->m_nID == ID_TOOLS_AUTO_UPDATE)
    {
        cmdUI->SetCheck(UpdateOnStart::IsOn() ? 1 : 0);
        return;
    }
    bool enabled = false;
    if (IsEnabledByTable(cmdUI->m_nID, enabled))
        cmdUI->Enable(enabled);
}

// ---- Documents ----

bool CMainWnd::IsDocumentModified() const
{
    if (const ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter())
        return newsletter->IsModified();
    if (const ndb::CNdbMailGroup* list = m_context->GetOpenMailingList())
        return list->IsModified();
    return false;
}

void CMainWnd::SetTitle(const QString& name, bool modified)
{
    const QString title = LoadAppString(TitleText);
    if (name.isEmpty())
        SetWindowText(title);
    else
        SetWindowText(name + (modified ? QStringLiteral("* - ") : QStringLiteral(" - ")) + title);
}

bool CMainWnd::OpenNewsletter(const QString& path)
{
    return OpenDocument(path, ndb::NdbKindNewsletter);
}

bool CMainWnd::OpenMailingList(const QString& path)
{
    return OpenDocument(path, ndb::NdbKindMailGroup);
}

std::unique_ptr<ndb::CNdbBase> CMainWnd::LoadDocument(const QString& path, int kind) const
{
    const ndb::CNdbFieldValue pathValue(path);
    const ndb::CNdbFieldValue fileName(FileNameOf(path));
    if (kind == ndb::NdbKindNewsletter)
    {
        auto newsletter = std::make_unique<ndb::CNdbNewsletter>();
        if (!newsletter->Load(path))
            return nullptr;
        newsletter->SetField(ndb::NewsletterPath, pathValue);
        newsletter->SetField(ndb::NewsletterFileName, fileName);
        return newsletter;
    }
    auto list = std::make_unique<ndb::CNdbMailGroup>();
    if (!list->Load(path))
        return nullptr;
    list->SetField(ndb::MailGroupPath, pathValue);
    list->SetField(ndb::MailGroupFileName, fileName);
    return list;
}

bool CMainWnd::OpenDocument(const QString& path, int kind)
{
    // The layout editor waits for a page of the open document: nothing replaces it meanwhile.
    if (m_viewNewsletter.GetLayout().IsWaiting())
        return false;
    QString owner;
    QString computer;
    if (CDocumentLock::IsInUse(path, owner, computer))
    {
        ShowError(FormatResourceText(LoadAppString(InUseText), {owner, computer}));
        return false;
    }
    const WaitCursor wait;
    if (IsDocumentModified() && !CloseDocument())
        return false;
    std::unique_ptr<ndb::CNdbBase> record = LoadDocument(path, kind);
    if (!record)
    {
        ShowError(LoadAppString(CantOpenFileText) + u' ' + path);
        return false;
    }
    const QString name = DocumentName(*record);
    const QString fileName = FileNameOf(path);
    // The web server's threads read the document: the context swaps it under its lock.
    m_context->SetCurrentDocument(std::move(record));
    ndb::CNdbShortcutLink* link = CShortcutStore(m_context->GetShortcuts()).AddDocument(path, kind, name);
    ShowDocumentViews(link);
    SetTitle(fileName, false);
    // Another account's "~" file, or a link put in its place, is reported and left as it is.
    if (!m_lock.Create(path) && IsForeignFile(CDocumentLock::LockPathOf(path)))
        ShowError(FormatResourceText(LoadAppString(ForeignLockText), {CDocumentLock::LockPathOf(path)}));
    return true;
}

void CMainWnd::ShowDocumentViews(const ndb::CNdbBase* selectInPane)
{
    m_viewNewsletter.OnDocumentChanged();
    m_viewMailGroup.OnDocumentChanged();
    const bool list = m_context->GetOpenMailingList() != nullptr;
    m_viewNewsletter.ShowWindow(list ? SW_HIDE : SW_SHOW);
    m_viewMailGroup.ShowWindow(list ? SW_SHOW : SW_HIDE);
    m_splitter.m_secondPane = list ? static_cast<CWnd*>(&m_viewMailGroup) : &m_viewNewsletter;
    m_splitter.RecalcLayout();
    ndb::CNdbShortcuts& shortcuts = m_context->GetShortcuts();
    m_viewNav.RebuildTree(&shortcuts.Newsletters(), m_viewNav.FindTreeTab(CViewNav::NewsletterGroupId),
                          list ? nullptr : selectInPane);
    m_viewNav.RebuildTree(&shortcuts.MailingLists(), m_viewNav.FindTreeTab(CViewNav::MailingListGroupId),
                          list ? selectInPane : nullptr);
}

bool CMainWnd::CloseDocument()
{
    if (ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter())
    {
        CWndLayout& layout = m_viewNewsletter.GetLayout();
        if (layout.IsWaiting())
            return false;
        const auto saveEdit = [&layout] { return !layout.IsEditing() || layout.SaveEdit(); };
        if (newsletter->IsModified() && !AskToSave(*newsletter, SaveNewsletterQuestion, ndb::NewsletterName,
                                                   ndb::NewsletterPath, CantSaveNewsletterText, saveEdit))
            return false;
        layout.CancelEdit();
        m_lock.Delete();
    }
    if (ndb::CNdbMailGroup* list = m_context->GetOpenMailingList())
    {
        if (list->IsModified() && !AskToSave(*list, SaveMailingListQuestion, ndb::MailGroupName,
                                             ndb::MailGroupPath, CantSaveMailingListText))
            return false;
        m_lock.Delete();
    }
    m_context->SetCurrentDocument(nullptr);
    ShowDocumentViews(nullptr);
    SetTitle(QString(), false);
    return true;
}

bool CMainWnd::OpenLink(const ndb::CNdbBase* link)
{
    const auto* shortcut = dynamic_cast<const ndb::CNdbShortcutLink*>(link);
    if (!shortcut)
        return false;
    switch (shortcut->GetInt(ndb::ShortcutLinkType))
    {
    case ndb::NdbKindNewsletter:
        return OpenNewsletter(shortcut->GetPath());
    case ndb::NdbKindMailGroup:
        return OpenMailingList(shortcut->GetPath());
    default:
        return false;
    }
}

bool CMainWnd::ConfirmOverwrite(const QString& path)
{
    return !QFileInfo::exists(path) || AfxMessageBox(LoadAppString(OverwriteQuestion), MB_YESNO) == IDYES;
}

void CMainWnd::SaveNewsletterAs(const QString& path)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return;
    if (path.endsWith(QLatin1String(".kvnlt")))
    {
        if (SaveTemplate(path))
            AfxMessageBox(LoadAppString(TemplateSavedText), MB_OK);
        else
            ShowError(LoadAppString(CantSaveTemplateText));
        return;
    }
    // The open document keeps its lock until the copy is written and can be opened in its place.
    std::unique_ptr<ndb::CNdbNewsletter> copy = NewsletterCopies::MakeCopy(*newsletter);
    if (!copy || !copy->Save(path, Creator, CreatorMajor, CreatorMinor))
    {
        ShowError(LoadAppString(CantSaveNewsletterText));
        return;
    }
    const QString openPath = newsletter->GetString(ndb::NewsletterPath);
    m_lock.Delete();
    if (!OpenNewsletter(path) && m_context->GetCurrentNewsletter() == newsletter)
        m_lock.Create(openPath);
}

bool CMainWnd::SaveTemplate(const QString& path)
{
    std::unique_ptr<ndb::CNdbNewsletter> copy =
        NewsletterCopies::MakeTemplate(*m_context->GetCurrentNewsletter());
    return copy && copy->SaveTemplate(path, {}, {}, Creator);
}

bool CMainWnd::CreateEmptyNewsletter(const QString& name, const QString& folder)
{
    const QString fileName = name + QStringLiteral(".kvnl");
    const QString path = WithTrailingSlash(folder) + fileName;
    if (!IsDocumentName(name))
    {
        ShowError(LoadAppString(CantCreateNewsletterText) + path);
        return false;
    }
    ndb::CNdbNewsletter newsletter(name);
    newsletter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    newsletter.SetField(ndb::NewsletterCreated, ndb::CNdbFieldValue(QDateTime::currentDateTime()));
    newsletter.SetField(ndb::NewsletterPath, ndb::CNdbFieldValue(path));
    newsletter.SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(fileName));
    if (!ConfirmOverwrite(path))
        return false;
    if (!newsletter.Save(path, QString(), 0, 0))
    {
        ShowError(LoadAppString(CantCreateNewsletterText) + path);
        return false;
    }
    return OpenNewsletter(path);
}

bool CMainWnd::CreateMailingList(const QString& name, const QString& folder)
{
    const QString fileName = name + QStringLiteral(".kvmg");
    const QString path = WithTrailingSlash(folder) + fileName;
    if (!IsDocumentName(name))
    {
        ShowError(LoadAppString(CantCreateMailingListText) + path);
        return false;
    }
    ndb::CNdbMailGroup list(name);
    list.SetField(ndb::MailGroupId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    list.SetField(ndb::MailGroupPath, ndb::CNdbFieldValue(path));
    list.SetField(ndb::MailGroupFileName, ndb::CNdbFieldValue(fileName));
    if (!ConfirmOverwrite(path))
        return false;
    if (!list.Save(path, Creator, CreatorMajor, CreatorMinor))
    {
        ShowError(LoadAppString(CantCreateMailingListText) + path);
        return false;
    }
    return OpenMailingList(path);
}

// ---- Commands ----

void CMainWnd::OrganizeShortcuts(UINT groupId)
{
    CDlgOrganizeShortcuts dialog(m_viewNav.FolderOfGroup(groupId), this);
    dialog.DoModal();
    CShortcutStore(m_context->GetShortcuts()).Save();
    m_viewNav.RebuildTree(m_viewNav.FolderOfGroup(groupId), m_viewNav.FindTreeTab(groupId), nullptr);
}

LRESULT CMainWnd::OnOrganizeNewsletters(WPARAM, LPARAM)
{
    OrganizeShortcuts(CViewNav::NewsletterGroupId);
    return 0;
}

LRESULT CMainWnd::OnOrganizeMailingLists(WPARAM, LPARAM)
{
    OrganizeShortcuts(CViewNav::MailingListGroupId);
    return 0;
}

LRESULT CMainWnd::OnCreateMailingList(WPARAM, LPARAM)
{
    QString name;
    QString folder;
    if (ShellHooks::Get().askNewMailingList(this, name, folder))
        CreateMailingList(name, folder);
    return 0;
}

LRESULT CMainWnd::OnCreateEmptyNewsletter(WPARAM, LPARAM)
{
    QString name;
    QString folder;
    if (ShellHooks::Get().askNewNewsletter(this, name, folder))
        CreateEmptyNewsletter(name, folder);
    return 0;
}

LRESULT CMainWnd::OnCreateNewsletter(WPARAM, LPARAM)
{
    CConceptTemplateFolder catalogue;
    const bool online = LoadOnlineTemplateCatalogue(catalogue);
    if (!online && !LoadOfflineTemplateCatalogue(catalogue))
    {
        AfxMessageBox(LoadAppString(CantLoadCatalogueText), MB_ICONEXCLAMATION);
        return 0;
    }
    AddCustomTemplates(catalogue);
    NewsletterStart start;
    if (!ShellHooks::Get().chooseNewsletterStart(nullptr, catalogue, online, start))
        return 0;

    ndb::CNdbNewsletter newsletter;
    if (start.webPageMode)
    {
        NewsletterCreation::ImportPage(this, newsletter, start.webAddress);
    }
    else
    {
        if (!start.selectedTemplate)
            return 0;
        const WaitCursor wait;
        if (const quint32 failure = NewsletterCreation::LoadTemplate(newsletter, *start.selectedTemplate))
        {
            ShowError(LoadAppString(failure));
            return 0;
        }
    }
    NewsletterCreation::Localise(newsletter, start.selectedTemplate);
    if (IsDebugMode() && !UnknownLocalisationKeys().empty())
    {
        const QStringList keys(UnknownLocalisationKeys().begin(), UnknownLocalisationKeys().end());
        AfxMessageBox(QStringLiteral("Unknown keywords:\n\n") + keys.join(QStringLiteral(", ")) + u'.',
                      MB_ICONEXCLAMATION);
    }
    NewsletterCreation::GiveIdentity(newsletter, start.projectName, WithTrailingSlash(start.location));
    const QString path = newsletter.GetString(ndb::NewsletterPath);
    if (!newsletter.Save(path, QString(), 0, 0))
    {
        ShowError(LoadAppString(CantCreateFileText));
        return 0;
    }
    OpenNewsletter(path);
    return 0;
}

LRESULT CMainWnd::OnIntroMenu(WPARAM, LPARAM)
{
    // The chosen work runs once the menu has closed.
    const UINT command = ShellHooks::Get().runIntroMenu(m_context, this);
    if (command == ID_FILE_CREATE_NEWSLETTER || command == ID_FILE_OPEN ||
        (command >= ID_FILE_MRU_FIRST && command <= ID_FILE_MRU_LAST))
        PostMessage(WM_COMMAND, command);
    return 0;
}

LRESULT CMainWnd::OnFileOpen(WPARAM, LPARAM)
{
    const QString filter = LoadAppString(KelvoraFilesText) +
                           QStringLiteral(" (*.kvnl;*.kvmg)|*.kvnl;*.kvmg|") +
                           LoadAppString(NewsletterFilesText) + QStringLiteral(" (*.kvnl)|*.kvnl|") +
                           LoadAppString(MailingListFilesText) + QStringLiteral(" (*.kvmg)|*.kvmg||");
    CFileDialog dialog(true, QString(), QString(), FileDialogFlags, filter, this);
    if (dialog.DoModal() != IDOK)
        return 0;
    const QString extension = dialog.GetFileExt();
    if (extension.compare(QLatin1String("kvnl"), Qt::CaseInsensitive) == 0)
        OpenNewsletter(dialog.GetPathName());
    else if (extension.compare(QLatin1String("kvmg"), Qt::CaseInsensitive) == 0)
        OpenMailingList(dialog.GetPathName());
    return 0;
}

LRESULT CMainWnd::OnOpenRecent(WPARAM wParam, LPARAM)
{
    const int position = int(LOWORD(wParam) - ID_FILE_MRU_FIRST);
    if (const ndb::CNdbBase* link = m_context->GetShortcuts().Recent().GetItemAt(position))
        OpenLink(link);
    return 0;
}

LRESULT CMainWnd::OnFileClose(WPARAM, LPARAM)
{
    CloseDocument();
    return 0;
}

LRESULT CMainWnd::OnFileSave(WPARAM, LPARAM)
{
    // Save first ends the layout editing, keeping the edits in the record; a second Save writes.
    if (CWndLayout& layout = m_viewNewsletter.GetLayout(); layout.IsEditing())
    {
        layout.SaveEdit();
        return 0;
    }
    // The lock stays on while the file is written beside the old one and renamed over it.
    if (ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
        newsletter && newsletter->IsModified())
    {
        if (newsletter->Save(newsletter->GetString(ndb::NewsletterPath), QString(), 0, 0))
            SetTitle(newsletter->GetString(ndb::NewsletterFileName), false);
        else
            ShowError(LoadAppString(CantSaveNewsletterText));
    }
    else if (ndb::CNdbMailGroup* list = m_context->GetOpenMailingList(); list && list->IsModified())
    {
        if (list->Save(list->GetString(ndb::MailGroupPath), QString(), 0, 0))
            SetTitle(list->GetString(ndb::MailGroupFileName), false);
        else
            ShowError(LoadAppString(CantSaveMailingListText));
    }
    else
    {
        return 0;
    }
    if (!m_lock.IsHeld())
        m_lock.Create(m_context->GetCurrentDocument()->GetPath());
    return 0;
}

LRESULT CMainWnd::OnFileSaveAs(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return 0;
    // The copy takes the edits: the layout editing ends first, keeping them in the record.
    if (CWndLayout& layout = m_viewNewsletter.GetLayout(); layout.IsEditing() && !layout.SaveEdit())
        return 0;
    const QString filter = LoadAppString(NewsletterFilterText) + QStringLiteral(" (*.kvnl)|*.kvnl|") +
                           LoadAppString(TemplateFilterText) + QStringLiteral(" (*.kvnlt)|*.kvnlt||");
    QString path;
    for (;;)
    {
        CFileDialog dialog(false, QString(), newsletter->GetString(ndb::NewsletterPath), FileDialogFlags,
                           filter, this);
        if (dialog.DoModal() != IDOK)
            return 0;
        path = dialog.GetPathName();
        if (ConfirmOverwrite(path))
            break;
    }
    SaveNewsletterAs(path);
    return 0;
}

LRESULT CMainWnd::OnAppExit(WPARAM, LPARAM)
{
    PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainWnd::OnDocumentChanged(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    ndb::CNdbMailGroup* list = m_context->GetOpenMailingList();
    if (newsletter)
        newsletter->SetModified(true);
    if (list)
        list->SetModified(true);
    QString fileName;
    if (newsletter)
        fileName = newsletter->GetString(ndb::NewsletterFileName);
    else if (list)
        fileName = list->GetString(ndb::MailGroupFileName);
    SetTitle(fileName, true);
    return 0;
}

LRESULT CMainWnd::OnToggleNavigationPane(WPARAM, LPARAM)
{
    if (m_splitter.IsCollapsed())
    {
        m_splitter.SetCollapsed(false);
        if (m_splitter.GetSplitPosition() < MinimumShownSplit)
            m_splitter.SetSplitPosition(MinimumShownSplit);
    }
    else
    {
        m_splitter.SetCollapsed(true);
    }
    m_splitter.RecalcLayout();
    m_splitter.Invalidate();
    return 0;
}

LRESULT CMainWnd::OnAbout(WPARAM, LPARAM)
{
    CDlgAbout dialog(m_context, this);
    dialog.DoModal();
    return 0;
}

LRESULT CMainWnd::OnHelpContents(WPARAM, LPARAM)
{
    SendMessage(UM_SHOW_HELP, 0);
    return 0;
}

LRESULT CMainWnd::OnHelpTutorial(WPARAM, LPARAM)
{
    SendMessage(UM_SHOW_HELP, ID_HELP_TUTORIAL);
    return 0;
}

LRESULT CMainWnd::OnHelpIntroMovie(WPARAM, LPARAM)
{
    RunIntroMovie(GetLanguageCode());
    return 0;
}

LRESULT CMainWnd::OnHelpVisit(WPARAM, LPARAM)
{
    OpenOnlinePage(1);
    return 0;
}

LRESULT CMainWnd::OnHelpSupport(WPARAM, LPARAM)
{
    OpenOnlinePage(2);
    return 0;
}

LRESULT CMainWnd::OnSplashEnded(WPARAM, LPARAM)
{
    if (m_pendingDocument.contains(QLatin1String(".kvnl")) && OpenNewsletter(m_pendingDocument))
        return 0;
    if (m_pendingDocument.contains(QLatin1String(".kvmg")) && OpenMailingList(m_pendingDocument))
        return 0;
    PostMessage(WM_COMMAND, ID_FILE_INTRO_MENU);
    return 0;
}

LRESULT CMainWnd::OnSiteAccounts(WPARAM, LPARAM)
{
    ShellHooks::Get().runSiteAccounts(this);
    return 0;
}

LRESULT CMainWnd::OnCheckForUpdates(WPARAM, LPARAM)
{
    if (ShellHooks::Get().runUpdate(this, false))
        PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainWnd::OnAutoUpdate(WPARAM, LPARAM)
{
    UpdateOnStart::Toggle();
    return 0;
}
