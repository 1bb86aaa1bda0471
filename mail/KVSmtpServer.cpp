#include "mail/KVSmtpServer.h"

#include "base/BlockingSocketException.h"
#include "mail/MailDomains.h"
#include "mail/MailError.h"
#include "mail/MailerText.h"
#include "ndb/NdbLogEntry.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbSendJournal.h"
#include "platform/net/DnsQuery.h"

#include <QSet>

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

namespace
{
std::atomic<int> s_directDeliveryPort{25};
std::atomic<int> s_takePauseMs{500};
constexpr int MaxWorkers = 100;

void SleepMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int LogStatusOf(int status)
{
    switch (status)
    {
    case SendQueueEntry::Sent:
        return ndb::NdbSendSent;
    case SendQueueEntry::Failed:
        return ndb::NdbSendFailedPermanently;
    default:
        return ndb::NdbSendPending;
    }
}

// A refusal that may not hold tomorrow defers the recipient: a 4xx reply, and any failure to
// reach the server or to hear its answer (refused connection, name server down, silence, a
// connection cut in the middle); only what the server refused for good fails.
int OutcomeOf(const CMailError& error)
{
    if ((error.GetReply() >= 400 && error.GetReply() <= 499) || error.GetCode() == CMailError::SocketFailure)
        return SendQueueEntry::Deferred;
    return SendQueueEntry::Failed;
}

// The relay's refusal of the login, not a temporary one: it would refuse every recipient alike.
bool IsLoginRefusal(const CMailError& error)
{
    return error.GetCode() == CMailError::AuthenticationFailed && OutcomeOf(error) == SendQueueEntry::Failed;
}
} // namespace

CKVSmtpServer::CKVSmtpServer() = default;

CKVSmtpServer::~CKVSmtpServer()
{
    Stop(30);
    DeleteQueue();
}

bool CKVSmtpServer::Start(const CVexaMail& message, const ndb::CNdbNewsletter* newsletter,
                          const QString& unsubscribeAddress, ISendObserver* observer,
                          std::vector<ndb::CNdbUser*> recipients, const std::map<int, bool>& fieldCodes)
{
    if (GetRunningWorkers() > 0 || !newsletter)
        return false;
    m_template = message;
    m_source.newsletterId = newsletter->GetString(ndb::NewsletterId);
    m_source.newsletterFileName = newsletter->GetString(ndb::NewsletterFileName);
    m_source.subject = newsletter->GetString(ndb::NewsletterName);
    const int importance = newsletter->GetInt(ndb::NewsletterImportance);
    m_source.importance = importance == 1 || importance == 2 ? importance : 0;
    m_source.plainTextBody = newsletter->Layout().GetString(ndb::LayoutPlainText);
    m_source.sender = newsletter->Sender();
    m_source.htmlTemplate = message.GetHtmlBody();
    m_source.fieldCodes = fieldCodes;
    m_source.unsubscribeAddress = unsubscribeAddress;
    {
        const std::lock_guard lock(m_observerMutex);
        m_observer = observer;
    }
    BuildQueue(recipients);

    const ndb::CNdbSender& sender = m_source.sender;
    m_template.m_ehloDomain = SenderDomain(sender);
    m_template.m_port = 25;
    m_template.m_server.clear();
    m_template.m_userName.clear();
    m_template.m_password.clear();
    if (IsRelay())
    {
        m_template.m_server = sender.GetString(ndb::SenderRelayServer);
        m_template.m_port = sender.GetInt(ndb::SenderRelayPort, 25);
        if (sender.GetBool(ndb::SenderRelayAuth, false))
        {
            m_template.m_userName = sender.GetString(ndb::SenderRelayUser);
            m_template.m_password = sender.GetString(ndb::SenderRelayPassword);
        }
    }
    m_template.m_mailerText = MailerText;
    m_template.m_organization = sender.GetString(ndb::SenderOrganization);
    m_template.m_replyTo = sender.GetString(ndb::SenderReplyTo);
    // Written here once, the plain-text part is shared by every worker's copy of the message.
    m_template.SetPlainTextBody(m_source.plainTextBody);
    m_stop = false;
    m_loginRefusal.reset();

    const int workers = CountWorkers();
    for (int i = 0; i < workers; ++i)
    {
        // Counted before it exists, so Stop and the observer never see a started job without workers.
        EnterWorker();
        try
        {
            std::thread(SendWorker, shared_from_this()).detach();
        }
        catch (const std::system_error&)
        {
            LeaveWorker();
        }
    }
    return true;
}

int CKVSmtpServer::CountWorkers() const
{
    if (IsRelay())
        return 1;
    return std::clamp(int(m_source.sender.GetInt(ndb::SenderThreads)), 1, MaxWorkers);
}

bool CKVSmtpServer::IsRelay() const
{
    return m_source.sender.GetInt(ndb::SenderDelivery) != 0;
}

CKVSmtpServer::Throttle CKVSmtpServer::GetThrottle() const
{
    const ndb::CNdbSender& sender = m_source.sender;
    if (!IsRelay() || !sender.GetBool(ndb::SenderPauseEnabled, false))
        return {};
    return {sender.GetInt(ndb::SenderPauseAfter), sender.GetInt(ndb::SenderPauseSeconds)};
}

bool CKVSmtpServer::Stop(int seconds)
{
    if (GetRunningWorkers() <= 0)
        return true;
    m_stop = true;
    for (int i = 0; i < seconds * 10 && GetRunningWorkers() > 0; ++i)
        SleepMs(100);
    return GetRunningWorkers() <= 0;
}

void CKVSmtpServer::GetProgress(int& total, int& inProgress, int& sent, int& failed, int& deferred,
                                QString& address)
{
    const std::lock_guard lock(m_queueMutex);
    total = int(m_queue.size());
    inProgress = m_statusCounts[SendQueueEntry::InProgress];
    sent = m_statusCounts[SendQueueEntry::Sent];
    failed = m_statusCounts[SendQueueEntry::Failed];
    deferred = m_statusCounts[SendQueueEntry::Deferred];
    address = m_currentAddress;
}

std::optional<int> CKVSmtpServer::GetLoginRefusal()
{
    const std::lock_guard lock(m_queueMutex);
    return m_loginRefusal;
}

void CKVSmtpServer::RefuseLogin(int reply)
{
    {
        const std::lock_guard lock(m_queueMutex);
        m_loginRefusal = reply;
    }
    m_stop = true;
}

std::vector<QString> CKVSmtpServer::GetAddressesInProgress()
{
    const std::lock_guard lock(m_queueMutex);
    std::vector<QString> addresses;
    for (const auto& entry : m_queue)
        if (entry->status == SendQueueEntry::InProgress)
            addresses.push_back(entry->recipient.GetString(ndb::UserEmail));
    return addresses;
}

int CKVSmtpServer::GetRunningWorkers()
{
    const std::lock_guard lock(m_workerMutex);
    return m_runningWorkers;
}

std::vector<std::pair<QString, int>> CKVSmtpServer::GetStatuses()
{
    const std::lock_guard lock(m_queueMutex);
    std::vector<std::pair<QString, int>> statuses;
    statuses.reserve(m_queue.size());
    for (const auto& entry : m_queue)
        statuses.emplace_back(entry->recipient.GetString(ndb::UserEmail), entry->status);
    return statuses;
}

void CKVSmtpServer::DetachObserver()
{
    const std::lock_guard lock(m_observerMutex);
    m_observer = nullptr;
}

void CKVSmtpServer::ReportProgress()
{
    const std::lock_guard lock(m_observerMutex);
    if (m_observer)
        m_observer->SendProgressed();
}

void CKVSmtpServer::ReportPause(bool paused, int step)
{
    const std::lock_guard lock(m_observerMutex);
    if (m_observer)
        m_observer->SendPaused(paused, step);
}

void CKVSmtpServer::BuildQueue(const std::vector<ndb::CNdbUser*>& recipients)
{
    const std::lock_guard lock(m_queueMutex);
    // One message per mailbox and job, whatever the list repeats.
    QSet<QString> addresses;
    for (const auto& entry : m_queue)
        addresses.insert(entry->recipient.GetString(ndb::UserEmail).toLower());
    for (const ndb::CNdbUser* recipient : recipients)
    {
        if (!recipient)
            continue;
        const QString address = recipient->GetString(ndb::UserEmail).toLower();
        if (addresses.contains(address))
            continue;
        addresses.insert(address);
        m_queue.push_back(
            std::make_unique<SendQueueEntry>(SendQueueEntry{SendQueueEntry::Waiting, *recipient}));
        ++m_statusCounts[SendQueueEntry::Waiting];
    }
}

SendQueueEntry* CKVSmtpServer::TakeNextRecipient()
{
    SendQueueEntry* taken = nullptr;
    {
        const std::lock_guard lock(m_queueMutex);
        if (m_nextWaiting < m_queue.size())
        {
            taken = m_queue[m_nextWaiting++].get();
            SetStatus(*taken, SendQueueEntry::InProgress);
            m_currentAddress = taken->recipient.GetString(ndb::UserEmail);
        }
    }
    ReportProgress();
    SleepMs(s_takePauseMs);
    return taken;
}

void CKVSmtpServer::SetRecipientResult(SendQueueEntry* entry, int status)
{
    QString address;
    {
        const std::lock_guard lock(m_queueMutex);
        SetStatus(*entry, status);
        address = entry->recipient.GetString(ndb::UserEmail);
    }
    if (m_journal)
        m_journal->Append(LogStatusOf(status), address);
    ReportProgress();
}

void CKVSmtpServer::SetStatus(SendQueueEntry& entry, int status)
{
    --m_statusCounts[size_t(entry.status)];
    ++m_statusCounts[size_t(status)];
    entry.status = status;
}

void CKVSmtpServer::EnterWorker()
{
    const std::lock_guard lock(m_workerMutex);
    ++m_runningWorkers;
}

void CKVSmtpServer::LeaveWorker()
{
    const std::lock_guard lock(m_workerMutex);
    --m_runningWorkers;
}

void CKVSmtpServer::DeleteQueue()
{
    const std::lock_guard lock(m_queueMutex);
    m_queue.clear();
    m_nextWaiting = 0;
    m_statusCounts = {};
}

bool CKVSmtpServer::LookUpMailExchanger(const QString& domain, QString& host, bool* unanswered)
{
    if (unanswered)
        *unanswered = false;
    host = FindCachedMailExchanger(domain);
    if (!host.isEmpty())
        return true;
    std::vector<DnsQuery::MxRecord> records;
    const DnsQuery::Status status = DnsQuery::QueryMx(domain, records);
    std::map<int, QString> byPreference;
    for (const DnsQuery::MxRecord& record : records)
        byPreference[record.preference] = record.exchange;
    QString exchanger;
    if (status == DnsQuery::Status::Ok && !byPreference.empty())
        exchanger = byPreference.begin()->second;
    else if (status == DnsQuery::Status::NoRecords)
        exchanger = domain; // a domain without MX records receives its mail at its own address
    if (exchanger.isEmpty())
    {
        if (unanswered)
            *unanswered = status == DnsQuery::Status::Failure;
        return false;
    }
    QString address;
    const DnsQuery::Status addressStatus = DnsQuery::QueryIPv4Address(exchanger, address);
    if (addressStatus != DnsQuery::Status::Ok)
    {
        if (unanswered)
            *unanswered = addressStatus == DnsQuery::Status::Failure;
        return false;
    }
    host = address;
    StoreMailExchanger(domain, host);
    return true;
}

QString CKVSmtpServer::FindCachedMailExchanger(const QString& domain)
{
    const std::lock_guard lock(m_cacheMutex);
    const auto found = m_mailExchangers.find(domain);
    return found == m_mailExchangers.end() ? QString() : found->second;
}

void CKVSmtpServer::StoreMailExchanger(const QString& domain, const QString& host)
{
    const std::lock_guard lock(m_cacheMutex);
    m_mailExchangers[domain] = host;
}

int CKVSmtpServer::GetDirectDeliveryPort()
{
    return s_directDeliveryPort;
}

void CKVSmtpServer::SetDirectDeliveryPortForTesting(int port)
{
    s_directDeliveryPort = port;
}

void CKVSmtpServer::SetTakePauseForTesting(int milliseconds)
{
    s_takePauseMs = milliseconds;
}

void CKVSmtpServer::Deliver(CVexaMail& mail, const CRecipientMerge& merge, const ndb::CNdbUser& recipient)
{
    const QString address = recipient.GetString(ndb::UserEmail);
    if (!IsRelay())
    {
        const qsizetype at = address.indexOf(u'@');
        const QString domain = at < 0 ? QString() : address.mid(at + 1);
        QString host;
        bool unanswered = false;
        // A name server that does not answer is a network failure like a refused connection.
        if (!domain.isEmpty() && !LookUpMailExchanger(domain, host, &unanswered) && unanswered)
            throw CMailError(CMailError::SocketFailure, 0);
        if (host.isEmpty())
            throw CMailError(CMailError::RecipientRefused, 0);
        mail.m_server = host;
        mail.m_port = GetDirectDeliveryPort();
    }
    mail.MessageId = CRecipientMerge::TrackingId(m_source.newsletterId, recipient.GetString(ndb::UserId),
                                                 mail.m_ehloDomain);
    mail.SetHtmlBody(merge.Merge(recipient));
    mail.SetPlainTextBody(m_source.plainTextBody);
    const ndb::CNdbSender& sender = m_source.sender;
    mail.Send(sender.GetString(ndb::SenderFromAddress), sender.GetString(ndb::SenderFromName), address,
              m_source.subject, m_source.importance);
}

void CKVSmtpServer::PauseAfter(int taken, const Throttle& throttle)
{
    if (throttle.every <= 0 || throttle.pauseSeconds <= 0 || taken % throttle.every != 0 ||
        taken >= GetQueueSize())
        return;
    ReportPause(true, 0);
    for (int k = 0; k < throttle.pauseSeconds * 10 && !m_stop; ++k)
    {
        SleepMs(100);
        if (k % 5 == 0)
            ReportPause(true, k / 5);
    }
    ReportPause(false, 0);
}

int SendWorker(std::shared_ptr<CKVSmtpServer> engine)
{
    CVexaMail mail(engine->m_template);
    const CRecipientMerge merge(engine->m_source);
    const CKVSmtpServer::Throttle throttle = engine->GetThrottle();
    int taken = 0;
    while (!engine->m_stop)
    {
        SendQueueEntry* entry = engine->TakeNextRecipient();
        if (!entry)
            break;
        ++taken;
        int status = SendQueueEntry::Sent;
        try
        {
            engine->Deliver(mail, merge, entry->recipient);
        }
        catch (const CMailError& error)
        {
            status = OutcomeOf(error);
            if (IsLoginRefusal(error))
            {
                // Nobody was refused: the recipient waits for the next send like the rest.
                status = SendQueueEntry::Deferred;
                engine->RefuseLogin(error.GetReply());
            }
        }
        catch (CBlockingSocketException* error)
        {
            delete error;
            status = SendQueueEntry::Deferred;
        }
        catch (...)
        {
            status = SendQueueEntry::Failed;
        }
        engine->SetRecipientResult(entry, status);
        engine->PauseAfter(taken, throttle);
    }
    engine->LeaveWorker();
    // The observer learns that one more worker has ended, which a stop waits for.
    engine->ReportProgress();
    return 0;
}
