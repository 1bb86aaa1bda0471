#pragma once

#include "mail/RecipientMerge.h"
#include "mail/SendObserver.h"
#include "mail/SendQueueEntry.h"
#include "mail/VexaMail.h"

#include <QString>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace ndb
{
class CNdbNewsletter;
class CNdbSendJournal;
class CNdbUser;
} // namespace ndb

// The send engine: delivers one merged copy of a message to every recipient, directly to each
// recipient's mail exchanger or through a relay, from worker threads.
//
// The engine lives in shared ownership: every worker holds a reference, so a worker that
// outlasts the waits of Stop never finds its engine freed. Start therefore needs an engine made
// with std::make_shared.
class CKVSmtpServer : public std::enable_shared_from_this<CKVSmtpServer>
{
public:
    CKVSmtpServer();
    virtual ~CKVSmtpServer();

    CKVSmtpServer(const CKVSmtpServer&) = delete;
    CKVSmtpServer& operator=(const CKVSmtpServer&) = delete;

    // Copies the message, the newsletter's values and the recipients, and starts the workers:
    // one in relay mode, 1 to 100 (sender field 101) in direct mode. False while workers run.
    bool Start(const CVexaMail& message, const ndb::CNdbNewsletter* newsletter,
               const QString& unsubscribeAddress, ISendObserver* observer,
               std::vector<ndb::CNdbUser*> recipients, const std::map<int, bool>& fieldCodes);
    // Sets the stop flag and waits up to the seconds for the workers to end; true when none runs.
    bool Stop(int seconds);
    void GetProgress(int& total, int& inProgress, int& sent, int& failed, int& deferred, QString& address);
    int GetRunningWorkers();
    // The addresses whose delivery is under way.
    std::vector<QString> GetAddressesInProgress();
    // The relay's reply when it refused the login for good; the job then stops at once.
    std::optional<int> GetLoginRefusal();
    // Every entry's address and status, read under the queue's lock.
    std::vector<std::pair<QString, int>> GetStatuses();
    // Nothing is reported to the observer any more; a report under way has ended on return.
    void DetachObserver();
    // Each final status is also written to the journal as it is recorded.
    void SetJournal(std::shared_ptr<ndb::CNdbSendJournal> journal) { m_journal = std::move(journal); }

    // The address to deliver the domain's mail to: the IPv4 address of its most preferred mail
    // exchanger (of equal preferences the one listed last), looked up through the same name
    // servers as the MX records; a domain without MX records but with an address is its own
    // exchanger. False when there is neither or a query fails (unanswered then tells a name
    // server that gave no answer from a name without an exchanger); only found exchangers are
    // remembered.
    bool LookUpMailExchanger(const QString& domain, QString& host, bool* unanswered = nullptr);
    QString FindCachedMailExchanger(const QString& domain);
    void StoreMailExchanger(const QString& domain, const QString& host);

    // Direct delivery talks to port 25; only tests move it to a server of their own.
    static int GetDirectDeliveryPort();
    static void SetDirectDeliveryPortForTesting(int port);
    // Every take of a recipient pauses 500 ms, which bounds a worker to two messages a second;
    // tests of many recipients shorten it.
    static void SetTakePauseForTesting(int milliseconds);

private:
    friend int SendWorker(std::shared_ptr<CKVSmtpServer> engine);

    struct Throttle
    {
        int every{0};
        int pauseSeconds{0};
    };

    void BuildQueue(const std::vector<ndb::CNdbUser*>& recipients);
    SendQueueEntry* TakeNextRecipient();
    void SetRecipientResult(SendQueueEntry* entry, int status);
    void RefuseLogin(int reply);
    void EnterWorker();
    void LeaveWorker();
    int GetQueueSize() const { return int(m_queue.size()); }
    void DeleteQueue();
    // Moves the entry to the status and keeps the counts in step; called under the queue's lock.
    void SetStatus(SendQueueEntry& entry, int status);
    void ReportProgress();
    void ReportPause(bool paused, int step);
    bool IsRelay() const;
    Throttle GetThrottle() const;
    int CountWorkers() const;
    // Sends one recipient's copy; throws what the mail library throws.
    void Deliver(CVexaMail& mail, const CRecipientMerge& merge, const ndb::CNdbUser& recipient);
    // The pause after every "every" messages of a relay send.
    void PauseAfter(int taken, const Throttle& throttle);

    CVexaMail m_template{QString(), QString(), 25, QString(), QString()};
    MergeSource m_source;
    ISendObserver* m_observer{nullptr};
    std::atomic<bool> m_stop{false};
    std::map<QString, QString> m_mailExchangers;
    std::mutex m_cacheMutex;
    std::mutex m_workerMutex;
    std::vector<std::unique_ptr<SendQueueEntry>> m_queue;
    // Statuses only move forward, so every entry before the cursor has been taken; the counts
    // are kept per status as entries move. Both change under the queue's lock only.
    size_t m_nextWaiting{0};
    std::array<int, SendQueueEntry::StatusCount> m_statusCounts{};
    std::mutex m_queueMutex;
    int m_runningWorkers{0};
    QString m_currentAddress;
    std::optional<int> m_loginRefusal;
    std::mutex m_observerMutex;
    std::shared_ptr<ndb::CNdbSendJournal> m_journal;
};

// The body of a worker thread: takes entries until the queue is empty or the stop flag is set.
int SendWorker(std::shared_ptr<CKVSmtpServer> engine);
