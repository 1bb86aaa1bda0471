#include "mailui/DlgSend.h"

#include "dialogs/ShowHelp.h"
#include "mail/DirectDeliveryTest.h"
#include "mail/RecipientMerge.h"
#include "mailui/DlgSendStatus.h"
#include "mailui/SendDialogContext.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"

#include <QStringList>
#include <QUrl>

#include <vector>

namespace
{
enum StringIds
{
    SubjectTitle = 15100,
    NotEnteredText = 15101,
    FromTitle = 15102,
    OrganizationTitle = 15103,
    ReplyToTitle = 15104,
    SpamCheckTitle = 15105,
    HighRiskText = 15106,
    MediumRiskText = 15107,
    LowRiskText = 15108,
    NotEnabledText = 15109,
    NewsletterLegend = 15110,
    DeliveryLegend = 15111,
    EmailCountTitle = 15112,
    NoneText = 15113,
    AttachmentCountTitle = 15114,
    SendModeTitle = 15115,
    RelayText = 15116,
    DirectText = 15117,
    BouncesTitle = 15118,
    ServicesLegend = 15119,
    WebViewTitle = 15120,
    TrackingTitle = 15122,
    EnabledText = 15123,
    DynamicListTitle = 15124,
    DirectRefusedText = 15127,
};

// Posted to the main window, whose newsletter view opens the e-mail settings at "Delivery".
constexpr UINT EmailSettingsDeliveryCommand = 33054;
constexpr int IDC_HELP = 1212;
constexpr int RelayDelivery = 1;

const char* const StyleRules[][2] = {
    {".container", "margin-bottom:15px"},
    {"td", "border-bottom:solid 1px #dfdbdf|vertical-align:bottom|font-family:arial,sans-serif|font-size:8pt|"
           "color:#000000|padding:5px 0px 2px 5px"},
    {"a", "color:#101080"},
    {"a:hover", "text-decoration:underline"},
    {"legend", "font-family:arial,sans-serif|font-size:8pt|color:#0046d5|font-weight:bold|padding-bottom:5px|"
               "margin-bottom:10px|margin-left:-15px"},
    {"fieldset", "padding:10px 15px 3px 15px|margin-bottom:0px"},
    {".title", "white-space:nowrap|vertical-align:top|font-weight:bold|padding-left:2px"},
    {".text", "text-align:right|padding-left:5px|padding-right:2px"},
    {".textenabled", "text-align:right|padding-left:5px|padding-right:2px|color:#108010"},
    {".textmedium", "text-align:right|padding-left:5px|padding-right:2px|color:#baab04"},
    {".textdisabled", "text-align:right|padding-left:5px|padding-right:2px|color:#e80000"},
};

// The class of a value cell: plain, green, amber or red.
enum class Tone
{
    Text,
    Enabled,
    Medium,
    Disabled,
};

QString ClassOf(Tone tone)
{
    switch (tone)
    {
    case Tone::Enabled:
        return QStringLiteral("textenabled");
    case Tone::Medium:
        return QStringLiteral("textmedium");
    case Tone::Disabled:
        return QStringLiteral("textdisabled");
    case Tone::Text:
        break;
    }
    return QStringLiteral("text");
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// Lines of the page, each ended with CR LF when joined.
class SummaryLines
{
public:
    void Add(const QString& line) { m_lines << line; }
    // One row: its own table of a title and a value cell. The value is markup already.
    void AddRow(quint32 title, const QString& valueMarkup, Tone tone)
    {
        Add(QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"width:100%\">"));
        Add(QStringLiteral("\t<tr>"));
        Add(QStringLiteral("\t\t<td class=\"title\">%1</td>").arg(Escaped(LoadAppString(title))));
        Add(QStringLiteral("\t\t<td class=\"%1\">").arg(ClassOf(tone)) + valueMarkup +
            QStringLiteral("</td>"));
        Add(QStringLiteral("\t</tr>"));
        Add(QStringLiteral("</table>"));
    }
    void AddTextRow(quint32 title, const QString& text, Tone tone) { AddRow(title, Escaped(text), tone); }
    void AddStringRow(quint32 title, quint32 text, Tone tone)
    {
        AddTextRow(title, LoadAppString(text), tone);
    }
    void AddSwitchRow(quint32 title, bool on)
    {
        AddStringRow(title, on ? EnabledText : NotEnabledText, on ? Tone::Enabled : Tone::Disabled);
    }
    void BeginFieldset(quint32 legend)
    {
        Add(QStringLiteral("<fieldset>"));
        Add(QStringLiteral("<legend>%1</legend>").arg(Escaped(LoadAppString(legend))));
        Add(QStringLiteral("<div class=\"container\">"));
    }
    void EndFieldset()
    {
        Add(QStringLiteral("</div>"));
        Add(QStringLiteral("</fieldset>"));
    }
    QString Text() const { return m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

private:
    QStringList m_lines;
};

void AddHead(SummaryLines& page)
{
    page.Add(QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                            "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"));
    page.Add(QStringLiteral("<html xmlns=\"http://www.w3.org/1999/xhtml\">"));
    page.Add(QStringLiteral("<head>"));
    page.Add(QStringLiteral("<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />"));
    page.Add(QStringLiteral("<title></title>"));
    page.Add(QStringLiteral("<style type=\"text/css\">"));
    for (const auto& [selector, declarations] : StyleRules)
    {
        page.Add(QLatin1String(selector) + QStringLiteral(" {"));
        for (const QString& declaration : QString::fromLatin1(declarations).split(u'|'))
            page.Add(u'\t' + declaration + u';');
        page.Add(QStringLiteral("}"));
    }
    page.Add(QStringLiteral("</style>"));
    page.Add(QStringLiteral("</head>"));
    page.Add(QStringLiteral("<body style=\"margin:0px;padding:0px;background-color:#FFFFFF;height:100%;\">"));
    page.Add(QStringLiteral("<div style=\"margin:0px 10px 10px 10px;padding:0px 5px 5px 5px;\">"));
}

void AddFromRow(SummaryLines& page, const ndb::CNdbSender& sender)
{
    const QString address = sender.GetString(ndb::SenderFromAddress);
    const QString name = sender.GetString(ndb::SenderFromName);
    if (address.isEmpty())
        page.AddStringRow(FromTitle, NotEnteredText, Tone::Disabled);
    else if (!name.isEmpty())
        page.AddRow(FromTitle,
                    Escaped(name) + QStringLiteral(" &lt;") + Escaped(address) + QStringLiteral("&gt;"),
                    Tone::Text);
    else
        page.AddRow(FromTitle, QStringLiteral("&lt;") + Escaped(address) + QStringLiteral("&gt;"),
                    Tone::Text);
}
} // namespace

const MessageMap* CDlgSend::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_BROWSER_BEFORE_NAVIGATE, &CDlgSend::OnBeforeNavigate),
        OnCommand(EmailSettingsButton, &CDlgSend::OnEmailSettings),
        OnCommand(IDC_HELP, &CDlgSend::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgSend::CDlgSend(ISendDialogContext* context, const ndb::CNdbUserList& recipients, bool testSend,
                   CWnd* parent)
    : CDialog(IDD, parent), m_context(context), m_recipients(recipients), m_testSend(testSend)
{
}

ndb::CNdbNewsletter* CDlgSend::GetCurrentNewsletter() const
{
    return m_context ? m_context->GetCurrentNewsletter() : nullptr;
}

bool CDlgSend::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect rect;
    if (CWnd* frame = GetDlgItem(BrowserFrame))
    {
        frame->GetWindowRect(&rect);
        ScreenToClient(&rect);
    }
    m_browser.Create(QString(), WS_CHILD | WS_VISIBLE, rect, this, BrowserId);
    m_browser.Navigate(QStringLiteral("about:blank"));
    if (GetCurrentNewsletter())
    {
        m_context->PutPageInWebStore(QLatin1String(PageName), BuildSummaryPage());
        m_browser.Navigate(m_context->MakeServerUrl(QStringLiteral("webstore/") + QLatin1String(PageName)));
    }
    return true;
}

int CDlgSend::CountEmails() const
{
    // A test send goes to its recipient whatever the send log says.
    return m_recipients.CountPending(m_testSend ? nullptr : GetCurrentNewsletter());
}

QString CDlgSend::BuildSummaryPage() const
{
    const ndb::CNdbNewsletter& newsletter = *GetCurrentNewsletter();
    const ndb::CNdbSender& sender = newsletter.Sender();
    const ndb::CNdbLayout& layout = newsletter.Layout();
    SummaryLines page;
    AddHead(page);

    page.BeginFieldset(NewsletterLegend);
    const QString subject = newsletter.GetString(ndb::NewsletterName);
    if (subject.isEmpty())
        page.AddStringRow(SubjectTitle, NotEnteredText, Tone::Disabled);
    else
        page.AddTextRow(SubjectTitle, subject, Tone::Text);
    AddFromRow(page, sender);
    if (const QString organization = sender.GetString(ndb::SenderOrganization); !organization.isEmpty())
        page.AddTextRow(OrganizationTitle, organization, Tone::Text);
    if (const QString replyTo = sender.GetString(ndb::SenderReplyTo); !replyTo.isEmpty())
        page.AddTextRow(ReplyToTitle, replyTo, Tone::Text);
    int rating = 0;
    m_context->RateSpam(layout.GetString(ndb::LayoutHtml), rating);
    if (rating == 2)
        page.AddStringRow(SpamCheckTitle, HighRiskText, Tone::Disabled);
    else if (rating == 1)
        page.AddStringRow(SpamCheckTitle, MediumRiskText, Tone::Medium);
    else
        page.AddStringRow(SpamCheckTitle, LowRiskText, Tone::Enabled);
    page.EndFieldset();

    page.BeginFieldset(DeliveryLegend);
    if (m_recipients.GetCount() > 0)
        page.AddTextRow(EmailCountTitle, QString::number(CountEmails()), Tone::Text);
    else
        page.AddStringRow(EmailCountTitle, NoneText, Tone::Disabled);
    if (!layout.Attachments().empty())
        page.AddTextRow(AttachmentCountTitle, QString::number(layout.Attachments().size()), Tone::Text);
    page.AddStringRow(SendModeTitle,
                      sender.GetInt(ndb::SenderDelivery, 0) == RelayDelivery ? RelayText : DirectText,
                      Tone::Text);
    page.AddSwitchRow(BouncesTitle, sender.GetBool(ndb::SenderBounceEnabled, false));
    page.EndFieldset();

    page.BeginFieldset(ServicesLegend);
    const bool siteStatistics = sender.GetBool(ndb::SenderSiteStatistics, false);
    page.AddSwitchRow(WebViewTitle, CRecipientMerge::PublishesWebView(sender));
    page.AddSwitchRow(TrackingTitle, CRecipientMerge::TracksLinks(sender));
    page.AddSwitchRow(DynamicListTitle, sender.GetBool(ndb::SenderDynamicList, false) && siteStatistics);
    page.EndFieldset();

    page.Add(QStringLiteral("</div>"));
    page.Add(QStringLiteral("</body>"));
    page.Add(QStringLiteral("</html>"));
    return page.Text();
}

bool CDlgSend::IsOwnAddress(const QString& address) const
{
    const QUrl url(address);
    if (url.scheme() == QLatin1String("about"))
        return url.path() == QLatin1String("blank") && !url.hasQuery();
    const QUrl store(m_context->MakeServerUrl(QStringLiteral("webstore/")));
    // The path as the server will read it: ".." segments resolved, escapes decoded.
    const QString path = url.adjusted(QUrl::NormalizePathSegments).path(QUrl::FullyDecoded);
    return url.isValid() && url.scheme() == store.scheme() && url.host() == store.host() &&
           url.port() == store.port() && url.userInfo().isEmpty() && path.startsWith(store.path()) &&
           !path.contains(QLatin1String(".."));
}

LRESULT CDlgSend::OnBeforeNavigate(WPARAM, LPARAM url)
{
    return IsOwnAddress(*reinterpret_cast<const QString*>(url)) ? 0 : 1;
}

void CDlgSend::OnOK()
{
    OnSend();
}

void CDlgSend::OnSend()
{
    const ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter)
        return;
    if (newsletter->Sender().GetInt(ndb::SenderDelivery, 0) == 0 &&
        DirectDeliveryTest::Run(newsletter->Sender(), m_recipients) != 0)
    {
        if (AfxMessageBox(LoadAppString(DirectRefusedText), MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        {
            if (CWnd* main = AfxGetMainWnd())
                main->PostMessage(WM_COMMAND, EmailSettingsDeliveryCommand, 0);
        }
        EndDialog(IDOK);
        return;
    }
    std::vector<ndb::CNdbUser*> recipients;
    for (const auto& user : m_recipients.GetUsers())
        recipients.push_back(user.get());
    CDlgSendStatus status(m_context, &recipients, m_testSend, this);
    status.DoModal();
    EndDialog(IDOK);
}

LRESULT CDlgSend::OnEmailSettings(WPARAM, LPARAM)
{
    EndDialog(EmailSettingsButton);
    return 0;
}

LRESULT CDlgSend::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(IDD);
    return 0;
}
