#include "app/WndHelp.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Menu.h"
#include "platform/ui/StandardIcons.h"
#include "platform/ui/SystemMessageBox.h"
#include "res/dialogs/ColorPicker.h"
#include "res/dialogs/FontSelect.h"
#include "res/dialogs/FtpAdvanced.h"
#include "res/dialogs/GreEffectDropShadowProperties.h"
#include "res/dialogs/GreLayerImageProperties.h"
#include "res/dialogs/GreLayerTextProperties.h"
#include "res/dialogs/HtmlActionProperties.h"
#include "res/dialogs/HtmlBookmarkInsert.h"
#include "res/dialogs/HtmlHrProperties.h"
#include "res/dialogs/HtmlImageProperties.h"
#include "res/dialogs/HtmlLayoutProperties.h"
#include "res/dialogs/HtmlListProperties.h"
#include "res/dialogs/HtmlTableCellProperties.h"
#include "res/dialogs/HtmlTableInsert.h"
#include "res/dialogs/HtmlTableProperties.h"
#include "res/dialogs/ImageImportOptions.h"
#include "res/dialogs/MailGroupCreate.h"
#include "res/dialogs/MailGroupSettings.h"
#include "res/dialogs/NewsletterCreate.h"
#include "res/dialogs/OrganizeShortcuts.h"
#include "res/dialogs/PageHtmlBox1.h"
#include "res/dialogs/PageHtmlBox2.h"
#include "res/dialogs/PageHtmlBox3.h"
#include "res/dialogs/PageSenderAttachments.h"
#include "res/dialogs/PageSenderGeneral.h"
#include "res/dialogs/PageSenderPlainText.h"
#include "res/dialogs/PageSenderSendOptions.h"
#include "res/dialogs/PageSenderServices.h"
#include "res/dialogs/PageSiteAccountProperties1.h"
#include "res/dialogs/PageSiteAccountProperties2.h"
#include "res/dialogs/PageStyle1.h"
#include "res/dialogs/PageStyle2.h"
#include "res/dialogs/PageStyle3.h"
#include "res/dialogs/PageStyle4.h"
#include "res/dialogs/Palette.h"
#include "res/dialogs/PaletteAddColor.h"
#include "res/dialogs/PipelineLibrary.h"
#include "res/dialogs/PipelineProperties.h"
#include "res/dialogs/QorxInstall.h"
#include "res/dialogs/Send.h"
#include "res/dialogs/SendOptionsMoreSettings.h"
#include "res/dialogs/ServicesMoreSettings.h"
#include "res/dialogs/SiteAccounts.h"
#include "res/dialogs/SpamCheck.h"
#include "res/dialogs/StyleAdd.h"
#include "res/dialogs/StyleRename.h"
#include "res/dialogs/Styles.h"
#include "res/dialogs/Update.h"
#include "res/dialogs/UserAdd.h"
#include "res/dialogs/UserImportCsvDelimiter.h"
#include "res/dialogs/UserImportFilter.h"
#include "res/dialogs/UserImportMap.h"
#include "res/dialogs/UserImportMapField.h"
#include "res/dialogs/UserImportSelect.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>

namespace
{
constexpr UINT IdBack = 32953;
constexpr UINT IdForward = 32954;
constexpr UINT IdStartPage = 32955;
constexpr UINT IdSearch = 32956;
constexpr UINT IdCopy = 57634;
constexpr UINT IdPrint = 57607;
constexpr UINT IdPrintPreview = 32964;

constexpr UINT TitleString = 14900;
constexpr UINT EmptySearchString = 14901;
constexpr UINT SearchCaptionString = 14902;
constexpr UINT HelpIcon = 352;
constexpr UINT ContextMenuId = 326;
constexpr int ContextMenuPopup = 1;
constexpr int Width = 780;
constexpr int Height = 580;
constexpr int ToolbarMargin = 4;

// Closing the window destroys it once the close has been handled.
constexpr UINT UM_DESTROY_LATER = WM_APP + 0x401;

struct Topic
{
    UINT id;
    const char* page;
    const char* anchor;
};

const Topic Topics[] = {
    {IDD_PAGE_STYLE1, "Style", "#font"},
    {IDD_PAGE_STYLE2, "Style", "#layout"},
    {IDD_PAGE_STYLE3, "Style", "#backgroundandborders"},
    {IDD_PAGE_STYLE4, "Style", "#misc"},
    {IDD_PALETTE, "OrganizePalette", ""},
    {IDD_PALETTE_ADD_COLOR, "OrganizePalette", ""},
    {IDD_NEWSLETTER_CREATE, "CreateNewsletter", ""},
    {IDD_HTML_ACTION_PROPERTIES, "HyperlinkProperties", ""},
    {IDD_PAGE_SENDER_GENERAL, "MailSettings", "#General"},
    {IDD_PAGE_SENDER_ATTACHMENTS, "MailSettings", "#Attachements"},
    {IDD_PAGE_SENDER_PLAIN_TEXT, "MailSettings", "#PlainText"},
    {IDD_SEND_OPTIONS_MORE_SETTINGS, "MailSettings", "#Advanced"},
    {IDD_SERVICES_MORE_SETTINGS, "MailSettings", "#AdvancedServices"},
    {IDD_PAGE_SENDER_SEND_OPTIONS, "3SendNewsletter", ""},
    {IDD_SEND, "3SendNewsletter", ""},
    {IDD_FTP_ADVANCED, "SiteAccounts", "#advanceddeployment"},
    {IDD_HTML_TABLE_INSERT, "InsertTable", ""},
    {IDD_HTML_TABLE_CELL_PROPERTIES, "TableCellProperties", ""},
    {IDD_HTML_TABLE_PROPERTIES, "TableProperties", ""},
    {IDD_HTML_IMAGE_PROPERTIES, "ImageProperties", ""},
    {IDD_HTML_HR_PROPERTIES, "HorizontalLineProperties", ""},
    {IDD_PAGE_HTML_BOX1, "BoxProperties", "#tab1"},
    {IDD_PAGE_HTML_BOX2, "BoxProperties", "#tab2"},
    {IDD_PAGE_HTML_BOX3, "BoxProperties", "#tab3"},
    {IDD_HTML_LIST_PROPERTIES, "ListProperties", ""},
    {IDD_FONT_SELECT, "SelectFont", ""},
    {IDD_PIPELINE_LIBRARY, "ImageEffectsLibrary", ""},
    {IDD_UPDATE, "Update", ""},
    {IDD_HTML_LAYOUT_PROPERTIES, "LayoutProperties", ""},
    {IDD_USER_ADD, "AddRecipient", ""},
    {IDD_HTML_BOOKMARK_INSERT, "InsertBookmark", ""},
    {IDD_COLOR_PICKER, "ColorPicker", ""},
    {IDD_PIPELINE_PROPERTIES, "ImageTransform", ""},
    {IDD_GRE_LAYER_TEXT_PROPERTIES, "ImageTransform", "#text"},
    {IDD_GRE_LAYER_IMAGE_PROPERTIES, "ImageTransform", "#bild"},
    {IDD_STYLE_ADD, "Styles", "#add"},
    {IDD_STYLES, "Styles", ""},
    {IDD_STYLE_RENAME, "Styles", "#rename"},
    {IDD_SPAM_CHECK, "NewsletterContentScreening", ""},
    {IDD_USER_IMPORT_MAP, "ImportRecipients", "#ImportRecipients"},
    {IDD_USER_IMPORT_MAP_FIELD, "ImportRecipients", "#MapColumn"},
    {IDD_USER_IMPORT_SELECT, "ImportRecipients", ""},
    {IDD_USER_IMPORT_FILTER, "ImportRecipients", "#RecipientsToImport"},
    {IDD_USER_IMPORT_CSV_DELIMITER, "ImportRecipients", "#SelectColumnDelimiter"},
    {IDD_QORX_INSTALL, "InstallQuorvane", ""},
    {IDD_PAGE_SITE_ACCOUNT_PROPERTIES1, "SiteAccounts", "#step1"},
    {IDD_PAGE_SITE_ACCOUNT_PROPERTIES2, "SiteAccounts", "#step2"},
    {IDD_GRE_EFFECT_DROP_SHADOW_PROPERTIES, "DropShadowProperties", ""},
    {IDD_ORGANIZE_SHORTCUTS, "Organize", ""},
    {IDD_IMAGE_IMPORT_OPTIONS, "ImportOptionsforImages", ""},
    {IDD_MAIL_GROUP_CREATE, "CreateMailgroup", ""},
    {IDD_MAIL_GROUP_SETTINGS, "MailGroupSettings", ""},
    {IDD_SITE_ACCOUNTS, "Quorvane", ""},
    {IDD_PAGE_SENDER_SERVICES, "Quorvane", ""},
    {32994, "Tutorial", ""},
};

// Page links start program actions through addresses holding "?cmd=" and a keyword.
struct LinkCommand
{
    const char* keyword;
    int onlinePage; // 0: the intro program
};

const LinkCommand LinkCommands[] = {
    {"visit", 1},
    {"support", 2},
    {"smtpserverlist", 3},
    {"intromovie", 0},
};

// The characters a search text keeps as they are, besides ASCII letters and digits.
constexpr char16_t PlainSearchCharacters[] = u";/?:@&=+$,#.-_!~*\"'()[]{}<>^";

bool IsPlainSearchCharacter(QChar c)
{
    if (c.unicode() >= 0x80)
        return false;
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           std::u16string_view(PlainSearchCharacters).find(c.unicode()) != std::u16string_view::npos;
}

} // namespace

const MessageMap* CWndHelp::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CWndHelp::OnCreate),
        OnMessage(WM_SIZE, &CWndHelp::OnSize),
        OnMessage(WM_CLOSE, &CWndHelp::OnClose),
        OnMessage(UM_DESTROY_LATER, &CWndHelp::OnDestroyLater),
        OnMessage(UM_BROWSER_BEFORE_NAVIGATE, &CWndHelp::OnBeforeNavigate),
        OnMessage(UM_BROWSER_CONTEXT_MENU, &CWndHelp::OnContextMenu),
        OnCommand(IdBack, &CWndHelp::OnBack),
        OnUpdateCommand(IdBack, &CWndHelp::OnUpdateBack),
        OnCommand(IdForward, &CWndHelp::OnForward),
        OnUpdateCommand(IdForward, &CWndHelp::OnUpdateForward),
        OnCommand(IdStartPage, &CWndHelp::OnStartPage),
        OnCommand(IdSearch, &CWndHelp::OnSearch),
        OnCommand(IdCopy, &CWndHelp::OnCopy),
        OnCommand(IdPrint, &CWndHelp::OnPrint),
        OnCommand(IdPrintPreview, &CWndHelp::OnPrintPreview),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CWndHelp::CWndHelp() = default;

CWndHelp::~CWndHelp()
{
    DestroyWindow();
}

bool CWndHelp::CreateHelpWindow()
{
    return CreateEx(0, QString(), LoadAppString(TitleString), WS_OVERLAPPEDWINDOW, CRect(-100, -100, 90, 90),
                    nullptr, 0);
}

LRESULT CWndHelp::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    MoveWindow(0, 0, Width, Height);
    CenterWindow();
    SetIcon(LoadProgramIcon(HelpIcon));

    CRect client;
    GetClientRect(&client);
    const int toolbarHeight = m_toolbar.CalcHeight();
    m_browser.Create(QString(), WS_CHILD | WS_VISIBLE,
                     CRect(0, toolbarHeight, client.Width(), client.Height()), this, BrowserId);
    m_toolbar.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, client.Width(), toolbarHeight),
                     this, ToolbarId);
    m_toolbar.m_leftMargin = ToolbarMargin;
    m_toolbar.m_topMargin = ToolbarMargin;
    m_toolbar.m_rightMargin = ToolbarMargin;
    m_toolbar.m_bottomMargin = ToolbarMargin;
    m_toolbar.MoveWindow(0, 0, client.Width(), m_toolbar.CalcHeight());
    OnStartPage(0, 0);
    return 0;
}

LRESULT CWndHelp::OnSize(WPARAM, LPARAM size)
{
    Default();
    if (!m_browser.IsWindow())
        return 0;
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    const int toolbarHeight = m_toolbar.CalcHeight();
    m_toolbar.MoveWindow(0, 0, width, toolbarHeight);
    m_browser.MoveWindow(0, toolbarHeight, width, height - toolbarHeight);
    return 0;
}

LRESULT CWndHelp::OnClose(WPARAM, LPARAM)
{
    Default();
    PostMessage(UM_DESTROY_LATER);
    return 0;
}

LRESULT CWndHelp::OnDestroyLater(WPARAM, LPARAM)
{
    DestroyWindow();
    return 0;
}

QString CWndHelp::TopicPage(UINT topic, QString* anchor)
{
    for (const Topic& entry : Topics)
    {
        if (entry.id == topic)
        {
            *anchor = QString::fromLatin1(entry.anchor);
            return QString::fromLatin1(entry.page);
        }
    }
    anchor->clear();
    return QStringLiteral("index");
}

QString CWndHelp::GetHelpFolder()
{
    return GetSystemPath() + QStringLiteral("help/content/") + GetLanguageFolder();
}

void CWndHelp::NavigateToFile(const QString& fileName, const QString& query, const QString& fragment)
{
    // Built as a URL rather than pasted together, so that a folder name holding "#", "?" or "%"
    // still names the file.
    QString address = QUrl::fromLocalFile(GetHelpFolder() + fileName).toString(QUrl::FullyEncoded);
    if (!query.isEmpty())
        address += u'?' + query;
    if (!fragment.isEmpty())
        address += u'#' + fragment;
    m_browser.Navigate(address);
}

bool CWndHelp::ShowTopic(UINT topic)
{
    QString anchor;
    const QString page = TopicPage(topic, &anchor) + QStringLiteral(".htm");
    if (QFileInfo::exists(GetHelpFolder() + page))
        NavigateToFile(page, QString(), anchor.mid(1));
    else
        NavigateToFile(QStringLiteral("PageNotFound.htm"));
    ShowWindow(SW_SHOW);
    if (IsIconic())
        ShowWindow(SW_RESTORE);
    BringWindowToTop();
    return true;
}

bool CWndHelp::PreTranslateMessage(MSG* msg)
{
    if (!ContainsFocus())
        return CWnd::PreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        PostMessage(WM_COMMAND, IdSearch);
    if (msg->message == WM_XBUTTONDOWN)
    {
        const bool back = HIWORD(msg->wParam) == XBUTTON1;
        if (back ? m_browser.CanGoBack() : m_browser.CanGoForward())
            PostMessage(WM_COMMAND, back ? IdBack : IdForward);
        return true;
    }
    // The engine would go back or forward on the button's release itself as well.
    if (msg->message == WM_XBUTTONUP)
        return true;
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CWndHelp::OnBeforeNavigate(WPARAM, LPARAM url)
{
    const QString address = reinterpret_cast<const QString*>(url)->toLower();
    const qsizetype at = address.indexOf(QLatin1String("?cmd="));
    if (at < 0)
        return 0;
    const QStringView command = QStringView(address).mid(at + 5);
    for (const LinkCommand& link : LinkCommands)
    {
        if (!command.startsWith(QLatin1String(link.keyword)))
            continue;
        if (link.onlinePage)
            OpenOnlinePage(link.onlinePage);
        else
            RunIntroMovie(GetLanguageCode());
        break;
    }
    // Such a link is a command, never a page to show.
    return 1;
}

LRESULT CWndHelp::OnContextMenu(WPARAM, LPARAM)
{
    const std::unique_ptr<CHtmlEventObj> event = m_browser.GetEvent();
    if (!event)
        return 0;
    if (event->WantsBrowserMenu())
        return 1;
    CMenu menu;
    CMenu* popup = menu.LoadMenu(ContextMenuId) ? menu.GetSubMenu(ContextMenuPopup) : nullptr;
    if (!popup)
        return 0;
    const UINT command = popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                               event->GetScreenX(), event->GetScreenY(), this);
    PostMessage(WM_COMMAND, command);
    return 0;
}

LRESULT CWndHelp::OnBack(WPARAM, LPARAM)
{
    m_browser.GoBack();
    return 0;
}

void CWndHelp::OnUpdateBack(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_browser.CanGoBack());
}

LRESULT CWndHelp::OnForward(WPARAM, LPARAM)
{
    m_browser.GoForward();
    return 0;
}

void CWndHelp::OnUpdateForward(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_browser.CanGoForward());
}

LRESULT CWndHelp::OnStartPage(WPARAM, LPARAM)
{
    NavigateToFile(QStringLiteral("index.htm"));
    return 0;
}

QString CWndHelp::EncodeSearchText(const QString& text)
{
    // Other characters go as the percent escapes of their UTF-8 bytes, which the search page
    // decodes; escapes of the 16-bit codes could not be told apart from two bytes and two
    // letters ("%20AC").
    QString encoded;
    for (qsizetype i = 0; i < text.size();)
    {
        if (IsPlainSearchCharacter(text[i]))
        {
            encoded += text[i++];
            continue;
        }
        qsizetype end = i + 1;
        while (end < text.size() && !IsPlainSearchCharacter(text[end]))
            ++end;
        encoded += QString::fromLatin1(text.mid(i, end - i).toUtf8().toPercentEncoding());
        i = end;
    }
    return encoded;
}

LRESULT CWndHelp::OnSearch(WPARAM, LPARAM)
{
    const QString text = m_toolbar.GetSearchText().trimmed();
    if (text.isEmpty())
    {
        MessageBox(this, LoadAppString(EmptySearchString), LoadAppString(SearchCaptionString),
                   MB_ICONINFORMATION);
        if (CEdit* field = m_toolbar.GetSearchField())
            field->SetFocus();
        return 0;
    }
    // A new number each time keeps the browser from showing an earlier result page again.
    const int number = int(QRandomGenerator::global()->bounded(10000));
    NavigateToFile(QStringLiteral("SearchResult.htm"), QString::number(number), EncodeSearchText(text));
    return 0;
}

LRESULT CWndHelp::OnCopy(WPARAM, LPARAM)
{
    m_browser.ExecCommandIfEnabled(IDM_COPY);
    return 0;
}

LRESULT CWndHelp::OnPrint(WPARAM, LPARAM)
{
    m_browser.ExecCommandIfEnabled(IDM_PRINT);
    return 0;
}

LRESULT CWndHelp::OnPrintPreview(WPARAM, LPARAM)
{
    m_browser.ExecCommandIfEnabled(IDM_PRINTPREVIEW);
    return 0;
}
