#include "mail/BounceChecker.h"

#include "base/BlockingSocketException.h"
#include "mail/VexaPop3.h"
#include "ndb/NdbNewsletter.h"

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

struct CBounceChecker::State
{
    std::atomic<bool> running{false};
    std::atomic<bool> stop{false};
    QString newsletterId;
    QString server;
    QString domain;
    QString user;
    QString password;
    int port{110};
    mutable std::mutex mutex;
    SeenMap seen;
    ResultMap results;
    std::function<void()> done;
};

namespace
{
// A status code longer than this is not a number a server would send.
constexpr int MaxCodeDigits = 9;

void Examine(CBounceChecker::State& state, CVexaPop3& pop3, int number, const QString& id)
{
    QString text;
    // A message that could not be downloaded stays unseen and is tried again next time.
    if (pop3.Retrieve(number, text) != CVexaPop3::Success)
        return;
    QString key;
    int code = 0;
    CBounceChecker::ScanMessage(text, state.newsletterId, key, code);
    const std::lock_guard lock(state.mutex);
    state.seen[id] = key;
    if (!key.isEmpty())
        state.results[key] = CBounceChecker::IsTemporary(code);
}

void CheckMailbox(CBounceChecker::State& state)
{
    CVexaPop3 pop3;
    if (pop3.Login(state.server, state.domain, state.user, state.password, CVexaPop3::Automatic,
                   state.port) != CVexaPop3::Success)
        return;
    QMap<int, QString> ids;
    pop3.ListUniqueIds(ids);
    for (auto it = ids.cbegin(); it != ids.cend() && !state.stop; ++it)
    {
        bool seen = false;
        {
            const std::lock_guard lock(state.mutex);
            seen = state.seen.count(it.value()) > 0;
        }
        if (!seen)
            Examine(state, pop3, it.key(), it.value());
    }
    pop3.Close();
}

void BounceCheckWorker(std::shared_ptr<CBounceChecker::State> state)
{
    try
    {
        CheckMailbox(*state);
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
    }
    catch (...)
    {
    }
    state->running = false;
    const std::lock_guard lock(state->mutex);
    if (state->done)
        state->done();
}
} // namespace

CBounceChecker::CBounceChecker() : m_state(std::make_shared<State>()) {}

CBounceChecker::~CBounceChecker()
{
    {
        // The owner is going away: whatever the worker does from now on reports nothing.
        const std::lock_guard lock(m_state->mutex);
        m_state->done = nullptr;
    }
    Stop(300);
}

bool CBounceChecker::Stop(int tries)
{
    if (!m_state->running)
        return true;
    m_state->stop = true;
    for (int i = 0; i < tries && m_state->running; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return !m_state->running;
}

QString CBounceChecker::GetNewsletterId() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->newsletterId;
}

bool CBounceChecker::Start(ndb::CNdbNewsletter& newsletter, std::function<void()> done)
{
    const ndb::CNdbSender& sender = newsletter.Sender();
    if (!sender.GetBool(ndb::SenderBounceEnabled, false) || m_state->running)
        return false;
    State& state = *m_state;
    {
        const std::lock_guard lock(state.mutex);
        state.newsletterId = newsletter.GetString(ndb::NewsletterId);
        state.server = sender.GetString(ndb::SenderPop3Server);
        state.domain = sender.GetString(ndb::SenderPop3Setting);
        state.user = sender.GetString(ndb::SenderPop3User);
        state.password = sender.GetString(ndb::SenderPop3Password);
        state.port = sender.GetInt(ndb::SenderPop3Port, 110);
        state.done = std::move(done);
        state.seen.clear();
        for (const auto& [id, handled] : newsletter.HandledBounces())
            state.seen.emplace(id, QString());
        state.results.clear();
    }
    state.stop = false;
    // Running from here on, so a second start in the moment before the thread runs is refused.
    state.running = true;
    try
    {
        std::thread(BounceCheckWorker, m_state).detach();
    }
    catch (const std::system_error&)
    {
        state.running = false;
        return false;
    }
    return true;
}

bool CBounceChecker::IsRunning() const
{
    return m_state->running;
}

CBounceChecker::SeenMap CBounceChecker::GetSeenMessages() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->seen;
}

CBounceChecker::ResultMap CBounceChecker::GetResults() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->results;
}

void CBounceChecker::ScanMessage(const QString& text, const QString& newsletterId, QString& key, int& code)
{
    key.clear();
    code = 0;
    // An empty id would be found everywhere and name any recipient of any newsletter.
    if (newsletterId.isEmpty())
        return;
    const qsizetype at = text.indexOf(newsletterId);
    if (at < 0)
        return;
    const qsizetype underscores = text.indexOf(QLatin1String("___"), at);
    if (underscores >= 0)
    {
        const qsizetype start = underscores + 3;
        const qsizetype sign = text.indexOf(u'@', start);
        if (sign > start)
            key = text.mid(start, sign - start);
    }
    const qsizetype report = text.indexOf(QLatin1String("message/delivery-status"));
    if (report < 0)
    {
        // Without a delivery status part it is not a returned message.
        key.clear();
        return;
    }
    const qsizetype status = text.indexOf(QLatin1String("Status:"), report);
    if (status >= 0)
    {
        const qsizetype lineEnd = text.indexOf(u'\n', status);
        code = ReadStatusCode(text.mid(status + 7, lineEnd < 0 ? -1 : lineEnd - status - 7));
    }
}

int CBounceChecker::ReadStatusCode(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    const bool negative = trimmed.startsWith(u'-');
    if (negative || trimmed.startsWith(u'+'))
        i = 1;
    int value = 0;
    for (int digits = 0;
         i < trimmed.size() && trimmed[i].isDigit() && trimmed[i].unicode() < 128 && digits < MaxCodeDigits;
         ++i, ++digits)
        value = value * 10 + (trimmed[i].unicode() - '0');
    return negative ? -value : value;
}
