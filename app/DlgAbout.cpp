#include "app/DlgAbout.h"

#include "app/DlgEasterEgg.h"
#include "app/KVContext.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/PaintDC.h"
#include "x2/X2TransformXmlFennick.h"

namespace
{
constexpr UINT BannerImage = 301;
constexpr UINT HeadingString = 10100;
constexpr int ClientHeight = 560;
constexpr int BrowserMargin = 10;
constexpr int BrowserBottom = 520;
constexpr int ButtonRightMargin = 15;
constexpr int ButtonTop = 531;
constexpr auto ProgramVersion = "2007.5.1";

const char* const PageHead =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
    "<title>Kelvora</title>\r\n"
    "<style type=\"text/css\">\r\n"
    "body {border:none;margin:10;padding:0;font-family: arial,sans-serif;}\r\n"
    "h1 {margin:0px 0px 5px 0px;padding:0px 3px 7px 3px;font-size:16px;font-weight:bold;"
    "border-bottom:solid 1px #808080;}\r\n"
    "p {margin:0px;}\r\n"
    "table {border:none;width:100%;}\r\n"
    ".titleleft {margin:0px;padding:2px 0px 3px 6px;font-size:13px;font-weight:bold;}\r\n"
    ".titleright {margin:0px;padding:2px 6px 3px 0px;font-size:13px;text-align:right;}\r\n"
    ".textleft {margin:0px;padding:7px 0px 3px 6px;font-size:12px;}\r\n"
    ".textright {margin:0px;padding:7px 6px 3px 0px;font-size:12px;text-align:right;width:100px;"
    "vertical-align:top;}\r\n"
    ".active {background-color:#687a00;color:#ffffff;}\r\n"
    "</style>\r\n"
    "</head>\r\n";

std::vector<CDlgAbout::Component> ProgramComponents()
{
    return {
        {QStringLiteral("Kelvora"),
         QStringLiteral("Writes HTML e-mail newsletters and sends them to their recipients"), true},
        {QStringLiteral("Layout editor"),
         QStringLiteral(
             "Edits the newsletter page in place: text, boxes, tables, images, links and merge fields")},
        {QStringLiteral("Mail delivery"),
         QStringLiteral(
             "Sends to each recipient's mail server or through a relay server, and collects returned "
             "mail over POP3")},
        {QStringLiteral("Spam check"),
         QStringLiteral("Rates the newsletter's words with a Bayesian word database")},
        {QStringLiteral("Image effects"),
         QStringLiteral("Text, image and drop-shadow layers on newsletter images")},
        {QStringLiteral("Tracking & Reporting"),
         QStringLiteral("The send log, opens and clicks as report pages with charts")},
        {QStringLiteral("Local web server"),
         QStringLiteral("Serves the pages that the program's windows show, on 127.0.0.1 only")},
    };
}
} // namespace

const MessageMap* CDlgAbout::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CDlgAbout::OnPaint),
        OnMessage(WM_LBUTTONDOWN, &CDlgAbout::OnLButtonDown),
        OnMessage(WM_LBUTTONUP, &CDlgAbout::OnLButtonUp),
        OnMessage(UM_BROWSER_CONTEXT_MENU, &CDlgAbout::OnBrowserContextMenu),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgAbout::CDlgAbout(CKVContext* context, CWnd* parent)
    : CDialog(IDD, parent), m_components(ProgramComponents()), m_context(context)
{
}

void CDlgAbout::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_ok);
}

bool CDlgAbout::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_banner.LoadFromResource(int(BannerImage));
    const int width = m_banner.GetWidth();
    const int height = m_banner.GetHeight();
    SetWindowPos(nullptr, 0, 0, width, ClientHeight, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();

    m_browser.Create(QString(), WS_CHILD | WS_VISIBLE,
                     CRect(BrowserMargin, height, width - BrowserMargin, BrowserBottom), this, BrowserId);
    m_browser.Navigate(QStringLiteral("about:blank"));

    CRect button;
    m_ok.GetWindowRect(&button);
    m_ok.MoveWindow(width - ButtonRightMargin - button.Width(), ButtonTop, button.Width(), button.Height());

    m_context->PutPageInWebStore(QLatin1String(PageName), BuildPage(m_components));
    m_browser.Navigate(m_context->MakeServerUrl(QStringLiteral("webstore/") + QLatin1String(PageName)));
    return true;
}

QString CDlgAbout::BuildPage(const std::vector<Component>& components)
{
    const CX2TransformXmlFennick entities;
    QString page = QString::fromLatin1(PageHead);
    page += QStringLiteral("<body>\r\n<h1>") + entities.Escape(LoadAppString(HeadingString)) +
            QStringLiteral("</h1>\r\n");
    for (const Component& component : components)
    {
        page += QStringLiteral("<table cellpadding=\"0\" cellspacing=\"0\" class=\"active\">\r\n"
                               "<tr><td class=\"titleleft\">") +
                entities.Escape(component.name) + QStringLiteral("</td></tr>\r\n</table>\r\n");
        page += QStringLiteral("<p class=\"textleft\">") + entities.Escape(component.description);
        if (component.showsVersion)
            page += QStringLiteral(" (") + QLatin1String(ProgramVersion) + u')';
        page += QStringLiteral("</p>\r\n<div style=\"height:17px;line-height:1px;\"></div>\r\n");
    }
    page += QStringLiteral("</body>\r\n</html>\r\n");
    return page;
}

void CDlgAbout::RunCredits(BYTE variant)
{
    CDlgEasterEgg credits(variant, this);
    credits.DoModal();
}

LRESULT CDlgAbout::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    m_banner.Draw(*dc.Painter(), QPoint(0, 0), 255);
    return 0;
}

LRESULT CDlgAbout::OnLButtonDown(WPARAM, LPARAM point)
{
    m_press = CPoint(GET_X_LPARAM(point), GET_Y_LPARAM(point));
    Default();
    return 0;
}

LRESULT CDlgAbout::OnLButtonUp(WPARAM, LPARAM point)
{
    const CPoint release(GET_X_LPARAM(point), GET_Y_LPARAM(point));
    const int width = m_banner.GetWidth();
    const int height = m_banner.GetHeight();
    // The halves leave a gap of two pixels in the middle, where a stroke counts for neither.
    const CRect leftHalf(0, 0, width / 2 - 1, height);
    const CRect rightHalf(width - width / 2 + 1, 0, width, height);
    if (leftHalf.PtInRect(m_press) && rightHalf.PtInRect(release))
        RunCredits(0);
    if (leftHalf.PtInRect(release) && rightHalf.PtInRect(m_press))
        RunCredits(1);
    Default();
    return 0;
}

LRESULT CDlgAbout::OnBrowserContextMenu(WPARAM, LPARAM)
{
    // The page has no menu of its own; Shift and Ctrl together give the browser's.
    const std::unique_ptr<CHtmlEventObj> event = m_browser.GetEvent();
    return event && event->WantsBrowserMenu() ? 1 : 0;
}
