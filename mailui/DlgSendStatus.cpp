#include "mailui/DlgSendStatus.h"

#include "base/FileHelpers.h"
#include "base/INetFile.h"
#include "base/TextHelpers.h"
#include "mail/MailDomains.h"
#include "mail/MailError.h"
#include "mail/MailerText.h"
#include "mailui/SendContext.h"
#include "ndb/NdbBase.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbSendJournal.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/SystemParameters.h"
#include "platform/ui/WinApp.h"
#include "services/FileSync.h"
#include "services/QorxInstaller.h"
#include "webserver/MailBody.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/PageSources.h"
#include "x2/X2Element.h"
#include "x2/X2TextHelpers.h"
#include "x2/X2Validator.h"

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QPainter>

namespace
{
enum StringIds
{
    FinishedText = 12100,
    CloseText = 12101,
    PausedText = 12102,
    AbortedText = 12103,
    NoRecipientsText = 12104,
    UploadFailedText = 12105,
    SendFailedText = 12106,
    StatusText = 12107,
    ProcessedLabel = 12108,
    SentLabel = 12109,
    FailedLabel = 12110,
    UploadingText = 12111,
    DeferredLabel = 12112,
    StoppingText = 12113,
    LoginRefusedText = 12114,
    UploadStepText = 12115,
    TrackerStep = 12116,
    PageStep = 12117,
    NameStep = 12118,
    FtpStep = 12119,
    RenderedImageStep = 12120,
    ImageNotFetchedText = 12130,
    ForeignJournalText = 40101,
};

enum SenderFields
{
    FtpServer = 420,
    FtpUser = 421,
    FtpPassword = 422,
    FtpRoot = 423,
    FtpPort = 424,
    UnsubscribeAddress = 820,
};

const QString ChannelGroupId = QStringLiteral("{59D59837-C877-4968-A6AB-83ADB4D5A1E5}");
const QString ChannelGroupName = QStringLiteral("Kelvora");
constexpr int AbortButtonId = IDCANCEL;
// The engine posts twice per recipient; the panel reads its progress at most ten times a
// second, which a person cannot tell from every post and which keeps a large fast job from
// spending the UI thread on counting and painting.
constexpr UINT_PTR ProgressTimerId = 1;
constexpr UINT ProgressIntervalMs = 100;

struct FtpSettings
{
    QString server;
    int port{21};
    QString user;
    QString password;
};

// The web-view directory below the FTP root; creates the subfolder's levels on the way.
QString MakeWebViewDirectory(const ndb::CNdbSender& sender, const FtpSettings& ftp)
{
    QString directory = sender.GetString(FtpRoot);
    const QString subfolder = sender.GetString(ndb::SenderWebViewFolder).trimmed();
    if (subfolder.isEmpty())
        return directory;
    if (!directory.isEmpty() && !directory.endsWith(u'/'))
        directory += u'/';
    directory += subfolder.startsWith(u'/') ? subfolder.mid(1) : subfolder;
    if (directory.endsWith(u'/'))
        directory.chop(1);
    const qsizetype slash = directory.lastIndexOf(u'/');
    if (slash > 0)
        CFileSync::CreateRemoteDirectory(ftp.server, ftp.port, ftp.user, ftp.password, directory.left(slash));
    CFileSync::CreateRemoteDirectory(ftp.server, ftp.port, ftp.user, ftp.password, directory);
    return directory;
}

void ReplaceRenderedImages(QString& page, const CDlgSendStatus::RenderedImageMap& images)
{
    for (const auto& [reference, fileName] : images)
        page.replace(reference, QStringLiteral("img/") + fileName);
}

// The one match of a quoted value: the last "img/" after which a name, ".", an extension,
// "?pid=" and a pipeline id follow, the name reaching to the last possible "." and the extension
// to the last "?pid=".
bool MatchRenderedImage(const QString& value, QString& name, QString& extension, QString& pipeline)
{
    static const QString Pid = QStringLiteral("?pid=");
    const qsizetype pid = value.lastIndexOf(Pid);
    if (pid < 0 || pid + Pid.size() >= value.size())
        return false;
    const qsizetype dot = pid >= 2 ? value.lastIndexOf(u'.', pid - 2) : -1;
    if (dot < 0)
        return false;
    // The name needs at least one character between "img/" and the dot.
    const qsizetype img = dot >= 5 ? value.lastIndexOf(QLatin1String("img/"), dot - 5) : -1;
    if (img < 0)
        return false;
    name = value.mid(img + 4, dot - img - 4);
    extension = value.mid(dot + 1, pid - dot - 1);
    pipeline = value.mid(pid + Pid.size());
    return true;
}
} // namespace

const MessageMap* CDlgSendStatus::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_SENDPROGRESS, &CDlgSendStatus::OnSendProgress),
        OnMessage(WM_SENDPAUSE, &CDlgSendStatus::OnSendPause),
        OnCommand(ID_SENDNOW, &CDlgSendStatus::OnSendNow),
        OnMessage(WM_PAINT, &CDlgSendStatus::OnPaint),
        OnMessage(WM_TIMER, &CDlgSendStatus::OnTimer),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgSendStatus::CDlgSendStatus(ISendContext* context, const std::vector<ndb::CNdbUser*>* list, bool testSend,
                               CWnd* parent)
    : CDialog(IDD, parent), m_context(context), m_testSend(testSend)
{
    if (ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter())
    {
        std::vector<ndb::CNdbUser*> own;
        if (!list)
            for (const auto& user : newsletter->Users().GetUsers())
                own.push_back(user.get());
        SelectRecipients(list ? *list : own);
        if (!m_testSend)
            m_engine->SetJournal(std::make_shared<ndb::CNdbSendJournal>(newsletter->GetPath()));
    }
    m_background.LoadFromResource(BackgroundImageId);
    m_bar.LoadFromResource(BarImageId);
}

CDlgSendStatus::~CDlgSendStatus()
{
    // No wait here: the workers keep the engine alive and end on their own.
    m_engine->DetachObserver();
    m_engine->Stop(0);
}

ndb::CNdbNewsletter* CDlgSendStatus::GetCurrentNewsletter() const
{
    return m_context ? m_context->GetCurrentNewsletter() : nullptr;
}

void CDlgSendStatus::SelectRecipients(const std::vector<ndb::CNdbUser*>& list)
{
    const ndb::CNdbLog& log = GetCurrentNewsletter()->Log();
    for (ndb::CNdbUser* user : list)
    {
        // A test send reaches its recipient whatever the log says; nobody blocked is mailed.
        if (!user || user->IsBlocked())
            continue;
        const ndb::CNdbLogEntry* entry = log.FindEntry(user->GetString(ndb::UserEmail));
        const int status = entry ? entry->GetInt(ndb::LogEntryStatus) : 0;
        if (m_testSend || status == 0 || status == ndb::NdbSendPending)
            m_recipients.push_back(user);
    }
}

bool CDlgSendStatus::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    MoveWindow(window.left, window.top, m_background.GetWidth() + window.Width() - client.Width(),
               m_background.GetHeight() + window.Height() - client.Height());
    CenterWindow();
    if (CWnd* abort = GetDlgItem(AbortButtonId))
    {
        CRect button;
        abort->GetWindowRect(&button);
        abort->MoveWindow(m_background.GetWidth() - 12 - button.Width(),
                          m_background.GetHeight() - 13 - button.Height(), button.Width(), button.Height());
        abort->ShowWindow(SW_HIDE);
    }
    PostMessage(WM_COMMAND, ID_SENDNOW, 0);
    return true;
}

void CDlgSendStatus::ComposeUnsubscribeAddress()
{
    const ndb::CNdbSender& sender = GetCurrentNewsletter()->Sender();
    QString site = sender.GetString(ndb::SenderSiteAddress).replace(u'\\', u'/');
    if (!site.endsWith(u'/'))
        site += u'/';
    m_unsubscribeAddress = sender.GetString(UnsubscribeAddress);
    if (m_unsubscribeAddress.isEmpty())
        m_unsubscribeAddress = site + (sender.GetString(ndb::SenderSiteType) == QLatin1String("asp")
                                           ? QStringLiteral("admin/u.asp")
                                           : QStringLiteral("admin/u.php"));
}

LRESULT CDlgSendStatus::OnSendNow(WPARAM, LPARAM)
{
    ShowWindow(SW_SHOW);
    RepaintPanel();
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter || m_recipients.empty())
    {
        AfxMessageBox(LoadAppString(NoRecipientsText), MB_ICONINFORMATION);
        EndDialog(IDCANCEL);
        return 0;
    }
    // Statuses are journalled as they happen; a journal that cannot be ours stops the send first.
    if (const QString journal = ndb::CNdbSendJournal::PathFor(newsletter->GetPath());
        !m_testSend && IsForeignFile(journal))
    {
        AfxMessageBox(FormatResourceText(LoadAppString(ForeignJournalText), {journal}), MB_ICONERROR);
        EndDialog(IDCANCEL);
        return 0;
    }
    ComposeUnsubscribeAddress();
    const ndb::CNdbSender& sender = newsletter->Sender();
    const bool track = CRecipientMerge::TracksLinks(sender);
    const bool webView = CRecipientMerge::PublishesWebView(sender);
    const bool linkImages = webView && !sender.GetBool(ndb::SenderOption830, false);
    if (webView && !UploadWebView(track))
    {
        AfxMessageBox(m_uploadFailure, MB_ICONERROR);
        EndDialog(IDCANCEL);
        return 0;
    }
    if (!PrepareMessageAndStart(linkImages, track))
    {
        QString text = LoadAppString(SendFailedText);
        if (!m_unfetchedImage.isEmpty())
            text += QStringLiteral("\n\n") + LoadAppString(ImageNotFetchedText).arg(m_unfetchedImage);
        AfxMessageBox(text, MB_ICONERROR);
        EndDialog(IDCANCEL);
    }
    return 0;
}

LRESULT CDlgSendStatus::OnSendProgress(WPARAM, LPARAM)
{
    if (m_finished || m_progressScheduled)
        return 0;
    m_progressScheduled = SetTimer(ProgressTimerId, ProgressIntervalMs) != 0;
    if (!m_progressScheduled)
        ShowProgress();
    return 0;
}

LRESULT CDlgSendStatus::OnTimer(WPARAM id, LPARAM)
{
    if (id != ProgressTimerId)
        return 0;
    KillTimer(ProgressTimerId);
    m_progressScheduled = false;
    ShowProgress();
    return 0;
}

void CDlgSendStatus::ShowProgress()
{
    if (m_finished)
        return;
    int total = 0, inProgress = 0;
    QString address;
    m_engine->GetProgress(total, inProgress, m_sent, m_failed, m_deferred, address);
    m_currentLine = address;
    m_processed = m_barDone = m_sent + m_failed + m_deferred;
    m_barTotal = total;
    const bool workersEnded = m_engine->GetRunningWorkers() == 0;
    if (m_stopping)
        m_currentLine = StoppingLine();
    RepaintPanel();
    if (m_processed >= total)
        ShowFinished();
    else if (workersEnded && m_engine->GetLoginRefusal())
        EndAfterLoginRefusal();
    else if (workersEnded && m_stopping)
        EndStopped();
}

QString CDlgSendStatus::StoppingLine()
{
    const std::vector<QString> running = m_engine->GetAddressesInProgress();
    return running.empty() ? QString() : LoadAppString(StoppingText).arg(running.front()).arg(running.size());
}

void CDlgSendStatus::ShowFinished()
{
    // Every recipient has its final status, so nothing can arrive after the log is written.
    m_finished = true;
    m_currentLine = LoadAppString(FinishedText);
    if (CWnd* abort = GetDlgItem(AbortButtonId))
    {
        abort->SetWindowText(LoadAppString(CloseText));
        abort->EnableWindow(true);
    }
    RepaintPanel();
    QApplication::beep();
}

void CDlgSendStatus::EndStopped()
{
    m_finished = true;
    AfxMessageBox(LoadAppString(AbortedText), MB_ICONINFORMATION);
    CloseWithLog();
}

void CDlgSendStatus::EndAfterLoginRefusal()
{
    m_finished = true;
    AfxMessageBox(LoadAppString(LoginRefusedText).arg(*m_engine->GetLoginRefusal()), MB_ICONERROR);
    CloseWithLog();
}

void CDlgSendStatus::CloseWithLog()
{
    m_engine->DetachObserver();
    KillTimer(ProgressTimerId);
    m_progressScheduled = false;
    WriteSendLog();
    EndDialog(IDCANCEL);
}

LRESULT CDlgSendStatus::OnSendPause(WPARAM wParam, LPARAM lParam)
{
    if (wParam != 1)
    {
        ShowProgress();
        return 0;
    }
    m_currentLine = LoadAppString(PausedText) + QString(int(lParam % 20), u'.');
    RepaintPanel();
    return 0;
}

void CDlgSendStatus::OnCancel()
{
    if (m_finished || m_engine->GetRunningWorkers() == 0)
    {
        CloseWithLog();
        return;
    }
    if (m_stopping)
        return;
    // The window waits for the deliveries under way without blocking: it closes, and writes the
    // log, once the last worker has ended, so no result arrives after the log was written.
    m_stopping = true;
    m_engine->Stop(0);
    if (CWnd* abort = GetDlgItem(AbortButtonId))
        abort->EnableWindow(false);
    ShowProgress();
}

void CDlgSendStatus::WriteSendLog()
{
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (m_testSend || m_logWritten || !newsletter)
        return;
    m_logWritten = true;
    ndb::CNdbLog& log = newsletter->Log();
    // Read under the queue's lock: after a stop that timed out, workers may still finish entries.
    for (const auto& [address, status] : m_engine->GetStatuses())
    {
        log.CountAttempt(address);
        if (status == SendQueueEntry::Sent)
            log.SetStatus(ndb::NdbSendSent, address);
        else if (status == SendQueueEntry::Failed)
            log.SetStatus(ndb::NdbSendFailedPermanently, address);
        else if (status == SendQueueEntry::Deferred)
            log.SetStatus(ndb::NdbSendPending, address);
    }
    newsletter->SetModified(true);
}

void CDlgSendStatus::ShowSendingLayout()
{
    m_panelTitle = LoadAppString(StatusText);
    m_sendingLayout = true;
    if (CWnd* abort = GetDlgItem(AbortButtonId))
        abort->ShowWindow(SW_SHOW);
    RepaintPanel();
}

bool CDlgSendStatus::GeneratePage(NewsletterPageKind kind, QString& page, MergeFieldSet* fields,
                                  const LinkTrackerMap& trackers)
{
    const ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter)
        return false;
    const CNewsletterPageSource source(*newsletter);
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    pageContext.SetServerPort(m_context->GetServerPort());
    pageContext.SetUnsubscribeText(m_context->GetUnsubscribeText());
    return GenerateNewsletterPage(MailerText, page, kind, pageContext, *newsletter, fields, &trackers);
}

bool CDlgSendStatus::PrepareMessageAndStart(bool linkImagesToSite, bool trackLinks)
{
    CVexaMail message(QString(), QString(), 25, QString(), QString());
    ShowSendingLayout();
    LinkTrackerMap trackers;
    if (trackLinks && !RegisterLinkTrackers(trackers))
        return false;
    QString page;
    MergeFieldSet fields;
    if (!GeneratePage(linkImagesToSite ? MailLinked : MailEmbedded, page, &fields, trackers))
        return false;
    if (linkImagesToSite)
    {
        RenderedImageMap images;
        if (CollectRenderedImages(page, images))
            ReplaceRenderedImages(page, images);
    }
    else if (!AddInlineParts(message, page))
        return false;
    for (const auto& attachment : GetCurrentNewsletter()->Layout().Attachments())
        message.AddAttachment(attachment->GetString(ndb::ResourceFileName), attachment->GetPayload(),
                              attachment->GetString(ndb::ResourceMimeType), QString());
    message.SetHtmlBody(page);
    m_engine->Start(message, GetCurrentNewsletter(), m_unsubscribeAddress, this, m_recipients, fields);
    return true;
}

bool CDlgSendStatus::AddInlineParts(CVexaMail& message, QString& page)
{
    const ContentIdForm form{QDateTime::currentDateTime().toString(QStringLiteral("'i_'yyyyMMdd_HHmmss'_'")),
                             CVexaMail::IdDomain(SenderDomain(GetCurrentNewsletter()->Sender()))};
    CX2Validator document;
    if (!document.ParseHtml(page))
        return false;
    QList<CX2Element*> elements;
    ConvertImageSourcesToCid(&document.GetRoot(), elements, form);
    ContentIdPartMap parts;
    CollectContentIdParts(elements, parts);
    QString written;
    if (!document.WriteHtml(written))
        return false;
    page = written;
    const CNewsletterPageSource source(*GetCurrentNewsletter());
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    pageContext.SetServerPort(m_context->GetServerPort());
    ConvertResourceUrlsToCid(pageContext, page, parts, form);
    for (const auto& [contentId, address] : parts)
    {
        if (address.isEmpty())
            continue;
        const QString absolute =
            address.contains(QLatin1String("//")) ? address : pageContext.MakeServerUrl(address);
        try
        {
            message.AddInlinePart(absolute, contentId.section(u'@', 0, 0), contentId, QString(), QString());
        }
        catch (const CMailError&)
        {
            // A message whose pictures point at missing parts is not sent at all.
            m_unfetchedImage = address;
            return false;
        }
    }
    return true;
}

bool CDlgSendStatus::RegisterLinkTrackers(LinkTrackerMap& trackers)
{
    const ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    if (!newsletter)
        return false;
    const ndb::CNdbSender& sender = newsletter->Sender();
    const QString address = sender.GetString(ndb::SenderSiteAccess650);
    const QString user = sender.GetString(ndb::SenderSiteAccess630);
    const QString password = sender.GetString(ndb::SenderSiteAccess631);
    const QString channel = newsletter->GetString(ndb::NewsletterId);
    CQorxInstaller service;
    if (service.AddChannelGroup(address, user, password, ChannelGroupId, ChannelGroupName) != 0 ||
        service.AddChannel(address, user, password, ChannelGroupId, channel,
                           newsletter->GetString(ndb::NewsletterName)) != 0)
        return false;
    CQorxInstaller::IdNameMap existing;
    if (service.GetAllTrackers(address, user, password, channel, existing) != 0)
        return false;
    std::map<QString, QString> byLink;
    for (const auto& [id, link] : existing)
        byLink[link] = id;
    CX2Validator layout;
    if (!layout.ParseHtml(newsletter->Layout().GetString(ndb::LayoutHtml)))
        return false;
    QList<CX2Element*> anchors;
    layout.FindElementsByName(anchors, QStringLiteral("a"));
    for (const CX2Element* anchor : anchors)
    {
        const QString link = anchor->GetAttributeValue(QStringLiteral("href"));
        if (link.isEmpty() || anchor->GetChildCount() == 0 ||
            !(link.contains(QLatin1String("http://")) || link.contains(QLatin1String("https://"))))
            continue;
        QString action;
        if (FindDeclarationInText(QStringLiteral("src_action_type"),
                                  anchor->GetAttributeValue(QStringLiteral("name")), action) &&
            !action.isEmpty() && action != QLatin1String("ext"))
            continue;
        // Each new link gets one tracker, also when several anchors share it.
        QString& id = byLink[link];
        if (id.isEmpty())
        {
            id = ndb::CNdbBase::CreateGuidString();
            if (service.AddTracker(address, user, password, channel, id, link, link) != 0)
                return false;
        }
        trackers[link] = id;
    }
    return true;
}

bool CDlgSendStatus::CollectRenderedImages(QString page, RenderedImageMap& images)
{
    // Each reference lies inside one double-quoted value; where a quote starts no reference, the
    // search goes on from the next quote.
    qsizetype open = page.indexOf(u'"');
    while (open >= 0)
    {
        const qsizetype close = page.indexOf(u'"', open + 1);
        if (close < 0)
            break;
        QString name, extension, pipeline;
        if (!MatchRenderedImage(page.mid(open + 1, close - open - 1), name, extension, pipeline))
        {
            open = close;
            continue;
        }
        images[QStringLiteral("img/%1.%2?pid=%3").arg(name, extension, pipeline)] =
            QStringLiteral("%1_%2.%3").arg(name, pipeline, extension);
        open = page.indexOf(u'"', close + 1);
    }
    return true;
}

bool CDlgSendStatus::IsSafeRemoteName(const QString& name)
{
    if (name.contains(QLatin1String("..")) || name.startsWith(u'/') || name.contains(u'\\'))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

bool CDlgSendStatus::UploadWebView(bool trackLinks)
{
    ndb::CNdbNewsletter* newsletter = GetCurrentNewsletter();
    LinkTrackerMap trackers;
    m_uploadFailure = LoadAppString(UploadFailedText);
    if (!newsletter)
        return false;
    if (trackLinks && !RegisterLinkTrackers(trackers))
        return FailUpload(TrackerStep, QString());
    QString page;
    RenderedImageMap images;
    const QString documentName = newsletter->GetString(ndb::NewsletterFileName);
    if (!GeneratePage(WebView, page, nullptr, trackers) || !CollectRenderedImages(page, images))
        return FailUpload(PageStep, documentName);
    for (const auto& [reference, fileName] : images)
        if (!IsSafeRemoteName(fileName))
            return FailUpload(NameStep, fileName);
    const ndb::CNdbSender& sender = newsletter->Sender();
    const FtpSettings ftp{sender.GetString(FtpServer), sender.GetInt(FtpPort, 21), sender.GetString(FtpUser),
                          sender.GetString(FtpPassword)};
    const QString directory = MakeWebViewDirectory(sender, ftp);
    const QString pageName = CRecipientMerge::WebViewFileName(newsletter->GetString(ndb::NewsletterFileName),
                                                              sender.GetString(ndb::SenderSiteType));
    if (MakeIdentifier(documentName, QStringLiteral(".")).isEmpty())
        return FailUpload(NameStep, documentName);
    ReplaceRenderedImages(page, images);
    if (!CFileSync::UploadText(ftp.server, ftp.port, ftp.user, ftp.password, directory, pageName, page,
                               65001))
        return FailUpload(FtpStep, directory + u'/' + pageName);

    const auto& resources = newsletter->Layout().Resources();
    m_panelTitle = LoadAppString(UploadingText);
    m_currentLine.clear();
    m_barDone = 0;
    m_barTotal = int(resources.size() + images.size());
    m_sendingLayout = false;
    if (CWnd* abort = GetDlgItem(AbortButtonId))
        abort->ShowWindow(SW_HIDE);
    RepaintPanel();

    const QString lowerPage = page.toLower();
    for (const auto& resource : resources)
    {
        ++m_barDone;
        RepaintPanel();
        const QString name = resource->GetString(ndb::ResourceFileName);
        const QString lowerName = name.toLower();
        if (!lowerPage.contains(lowerName) &&
            !lowerPage.contains(QString(lowerName).replace(u' ', QLatin1String("%20"))))
            continue;
        const QString path = resource->GetString(ndb::ResourcePath);
        // Nothing may land outside the web-view folder, whatever the document says.
        if (!IsSafeRemoteName(path) || !IsSafeRemoteName(name) || name.contains(u'/'))
            return FailUpload(NameStep, path);
        QString folder = directory + u'/' + path;
        folder.truncate(folder.lastIndexOf(u'/'));
        CFileSync::CreateRemoteDirectory(ftp.server, ftp.port, ftp.user, ftp.password, folder);
        if (!CFileSync::UploadBuffer(ftp.server, ftp.port, ftp.user, ftp.password, folder, name,
                                     resource->GetPayload()))
            return FailUpload(FtpStep, folder + u'/' + name);
    }
    if (images.empty())
        return true;
    const QString imageFolder = directory + QStringLiteral("/img");
    CFileSync::CreateRemoteDirectory(ftp.server, ftp.port, ftp.user, ftp.password, imageFolder);
    for (const auto& [reference, fileName] : images)
    {
        ++m_barDone;
        RepaintPanel();
        CINetFile request;
        if (!request.SendRequest(QStringLiteral("localhost"), u'/' + reference, QString(),
                                 m_context->GetServerPort()) ||
            request.ReadResponse() < 0 || request.GetStatusCode() != 200)
            return FailUpload(RenderedImageStep, reference);
        if (!CFileSync::UploadBuffer(ftp.server, ftp.port, ftp.user, ftp.password, imageFolder, fileName,
                                     request.GetBody()))
            return FailUpload(FtpStep, imageFolder + u'/' + fileName);
    }
    return true;
}

bool CDlgSendStatus::FailUpload(int step, const QString& file)
{
    m_uploadFailure =
        LoadAppString(UploadStepText).arg(LoadAppString(UploadFailedText), LoadAppString(UINT(step)), file);
    return false;
}

void CDlgSendStatus::RepaintPanel()
{
    if (!IsWindow())
        return;
    Invalidate(false);
    UpdateWindow();
}

LRESULT CDlgSendStatus::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    DrawStatusPanel(*dc.Painter());
    return 0;
}

void CDlgSendStatus::DrawStatusPanel(QPainter& painter) const
{
    if (!m_background.HasImage())
        return;
    const QImage& background = m_background.GetBitmap()->Image();
    QImage panel(background.size(), QImage::Format_ARGB32);
    {
        QPainter off(&panel);
        off.drawImage(0, 0, background);
        NONCLIENTMETRICS metrics;
        SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        QFont regular(metrics.lfMenuFont.lfFaceName);
        regular.setPixelSize(11);
        QFont bold = regular;
        bold.setBold(true);
        off.setFont(regular);
        off.setPen(Qt::white);
        off.drawText(QRect(18, 19, 430, 30), Qt::AlignLeft | Qt::AlignTop, m_panelTitle);
        off.drawText(QRect(18, 88, 430, 30), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_currentLine);
        if (m_sendingLayout)
        {
            off.setPen(Qt::black);
            const std::pair<int, int> counters[] = {{ProcessedLabel, m_processed},
                                                    {SentLabel, m_sent},
                                                    {FailedLabel, m_failed},
                                                    {DeferredLabel, m_deferred}};
            int x = 18;
            for (const auto& [label, value] : counters)
            {
                const QString text = LoadAppString(label) + u' ';
                off.setFont(regular);
                off.drawText(QPoint(x, 138 + QFontMetrics(regular).ascent()), text);
                off.setFont(bold);
                off.drawText(QPoint(x + QFontMetrics(regular).horizontalAdvance(text) + 5,
                                    138 + QFontMetrics(bold).ascent()),
                             QString::number(value));
                x += 115;
            }
        }
        if (m_barDone > 0 && m_barTotal > 0 && m_bar.HasImage())
        {
            const QImage& tile = m_bar.GetBitmap()->Image();
            const int width = std::min(BarWidth, m_barDone * BarWidth / m_barTotal);
            int x = 0;
            for (; x + tile.width() <= width; x += tile.width())
                off.drawImage(18 + x, 46, tile);
            if (x < width)
                off.drawImage(QPoint(18 + x, 46), tile, QRect(0, 0, width - x, tile.height()));
        }
    }
    painter.drawImage(0, 0, panel);
}
