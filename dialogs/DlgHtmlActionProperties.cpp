#include "dialogs/DlgHtmlActionProperties.h"

#include "dialogs/LinkAddress.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Button.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/HtmlActionProperties.h"

namespace
{
constexpr UINT TemplateId = IDD_HTML_ACTION_PROPERTIES;
constexpr quint32 RefusedSchemeText = 10950;

enum ControlId : UINT
{
    IdUrl = IDC_URL,
    IdBookmark = IDC_BOOKMARK,
    IdWebView = IDC_WEB_VIEW,
    IdUnsubscribe = IDC_UNSUBSCRIBE,
    IdNoLink = IDC_NO_LINK,
    IdByEmail = IDC_BY_EMAIL,
    IdAutomatic = IDC_AUTOMATIC,
    IdProtocols = IDC_PROTOCOLS,
    IdAddress = IDC_ACTION_ADDRESS,
    IdBookmarks = IDC_BOOKMARKS,
    IdHelp = IDC_HELP,
};

// The protocol list's entries; the item data is the position.
const char* const Protocols[] = {"", "http://", "https://", "ftp://", "mailto:"};
constexpr int NoProtocol = 0;
constexpr int Http = 1;
} // namespace

const MessageMap* CDlgHtmlActionProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdUrl, &CDlgHtmlActionProperties::OnKindClicked),
        OnControl(BN_CLICKED, IdBookmark, &CDlgHtmlActionProperties::OnKindClicked),
        OnControl(BN_CLICKED, IdWebView, &CDlgHtmlActionProperties::OnKindClicked),
        OnControl(BN_CLICKED, IdUnsubscribe, &CDlgHtmlActionProperties::OnKindClicked),
        OnControl(BN_CLICKED, IdNoLink, &CDlgHtmlActionProperties::OnKindClicked),
        OnControl(BN_CLICKED, IdByEmail, &CDlgHtmlActionProperties::OnUnsubscribeClicked),
        OnControl(BN_CLICKED, IdAutomatic, &CDlgHtmlActionProperties::OnUnsubscribeClicked),
        OnCommand(IdHelp, &CDlgHtmlActionProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlActionProperties::CDlgHtmlActionProperties(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgHtmlActionProperties::~CDlgHtmlActionProperties()
{
    DestroyWindow();
}

void CDlgHtmlActionProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdBookmarks, m_bookmarks);
    DDX_Control(dx, IdProtocols, m_protocols);
    DDX_Control(dx, IdAddress, m_addressEdit);
    DDX_Radio(dx, IdUrl, m_kind);
    DDX_Radio(dx, IdByEmail, m_unsubscribeKind);
    DDX_Text(dx, IdAddress, m_address);
}

bool CDlgHtmlActionProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowProtocol();
    FillBookmarks();
    DlgItem(IdWebView).EnableWindow(m_webViewAvailable);
    if (!m_webViewAvailable && m_kind == KindWebView)
        m_kind = KindNoLink;
    UpdateData(false);
    UpdateControls();
    return true;
}

void CDlgHtmlActionProperties::ShowProtocol()
{
    for (int i = 0; i < int(std::size(Protocols)); ++i)
        m_protocols.SetItemData(m_protocols.AddString(QLatin1String(Protocols[i])), i);
    int protocol = m_address.isEmpty() ? Http : NoProtocol;
    for (int i = Http; i < int(std::size(Protocols)); ++i)
    {
        if (m_address.startsWith(QLatin1String(Protocols[i]), Qt::CaseInsensitive))
        {
            m_address.remove(0, qsizetype(qstrlen(Protocols[i])));
            protocol = i;
        }
    }
    // An address of its own kind (relative, "#name", another scheme) is shown whole, with the
    // empty entry, so that OK gives it back as it was.
    m_protocols.SetCurSel(protocol);
}

void CDlgHtmlActionProperties::FillBookmarks()
{
    if (m_bookmarkNames.isEmpty())
    {
        m_bookmarks.EnableWindow(false);
        DlgItem(IdBookmark).EnableWindow(false);
        if (m_kind == KindBookmark)
            m_kind = KindUrl;
        if (m_address.isEmpty() && !m_bookmarkName.isEmpty())
        {
            m_address = u'#' + m_bookmarkName;
            m_protocols.SetCurSel(NoProtocol);
        }
        return;
    }
    int selected = 0;
    for (int i = 0; i < m_bookmarkNames.size(); ++i)
    {
        m_bookmarks.SetItemData(m_bookmarks.AddString(m_bookmarkNames.at(i)), i);
        if (m_bookmarkNames.at(i).compare(m_bookmarkName, Qt::CaseInsensitive) == 0)
            selected = i;
    }
    m_bookmarks.SetCurSel(selected);
}

void CDlgHtmlActionProperties::UpdateControls()
{
    UpdateData(true);
    const bool hasBookmarks = !m_bookmarkNames.isEmpty();
    m_addressEdit.EnableWindow(m_kind == KindUrl);
    m_protocols.EnableWindow(m_kind == KindUrl);
    m_bookmarks.EnableWindow(hasBookmarks && m_kind == KindBookmark);
    DlgItem(IdByEmail).EnableWindow(m_kind == KindUnsubscribe);
    DlgItem(IdAutomatic).EnableWindow(m_kind == KindUnsubscribe);
    if (m_kind == KindUrl)
        m_addressEdit.SetFocus();
}

LRESULT CDlgHtmlActionProperties::OnKindClicked(WPARAM, LPARAM)
{
    UpdateControls();
    return 0;
}

LRESULT CDlgHtmlActionProperties::OnUnsubscribeClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    return 0;
}

void CDlgHtmlActionProperties::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_kind == KindUrl)
    {
        // A scheme the user typed is kept as typed, without a second one in front.
        const int protocol = m_protocols.GetCurSel();
        if (protocol > NoProtocol && LinkScheme(m_address).isEmpty())
            m_address = QLatin1String(Protocols[m_protocols.GetItemData(protocol)]) + m_address;
        if (!IsAllowedLinkAddress(m_address))
        {
            AfxMessageBox(LoadAppString(RefusedSchemeText), MB_ICONEXCLAMATION);
            UpdateData(false);
            m_addressEdit.SetFocus();
            return;
        }
    }
    if (m_kind == KindBookmark && m_bookmarks.GetCurSel() >= 0)
        m_bookmarkName = m_bookmarkNames.value(int(m_bookmarks.GetItemData(m_bookmarks.GetCurSel())));
    EndDialog(IDOK);
}

LRESULT CDlgHtmlActionProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
