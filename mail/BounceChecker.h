#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace ndb
{
class CNdbNewsletter;
}

// Reads the POP3 mailbox of a newsletter's sender profile on a worker thread and finds the
// returned copies of the newsletter: delivery status notifications whose text holds the
// newsletter's tracking id. Messages are never deleted on the server.
//
// The worker shares the checker's state, so a worker still inside a slow POP3 exchange after
// the destructor's wait finds that state alive; it then reports nothing.
class CBounceChecker
{
public:
    using SeenMap = std::map<QString, QString>;
    using ResultMap = std::map<QString, bool>;

    CBounceChecker();
    ~CBounceChecker();
    CBounceChecker(const CBounceChecker&) = delete;
    CBounceChecker& operator=(const CBounceChecker&) = delete;

    // Starts a check when sender field 220 is set and no check runs; true when the worker started.
    // The worker thread calls done when the check has ended, whatever its outcome.
    bool Start(ndb::CNdbNewsletter& newsletter, std::function<void()> done);
    bool IsRunning() const;
    // Asks a running check to end and waits for it in 100 ms steps, at most tries times; true
    // when no check runs any more.
    bool Stop(int tries);
    // The id of the newsletter the last check was started for.
    QString GetNewsletterId() const;
    // Unique id of every message examined -> the recipient id found in it (empty when none).
    // Read after the check is done.
    SeenMap GetSeenMessages() const;
    // Recipient id -> temporary (true) or permanent (false) failure.
    ResultMap GetResults() const;

    // What a returned message says: the recipient id of the tracking id that follows the
    // newsletter id, when the message has a delivery status part, and that part's status code.
    static void ScanMessage(const QString& text, const QString& newsletterId, QString& key, int& code);
    // The leading decimal digits (an optional sign allowed) of the trimmed text; 0 when none.
    static int ReadStatusCode(const QString& text);
    static bool IsTemporary(int code) { return code == 4 || (code >= 400 && code <= 499); }

    struct State;

private:
    std::shared_ptr<State> m_state;
};
