#pragma once

#include <QString>

#include <mutex>

namespace ndb
{
class CNdbLog;

// The final statuses of a running send, written beside the newsletter file as they happen, so a
// crash between a delivery and the next save of the document loses nothing: opening the
// newsletter takes the journal into its send log, and a save makes the journal redundant.
// One line per status: the status number, a tab, the address percent-encoded, a tab and the
// time of the attempt in milliseconds since the epoch.
class CNdbSendJournal
{
public:
    // The journal of the newsletter file at that path; an empty path journals nothing.
    explicit CNdbSendJournal(const QString& newsletterPath);
    CNdbSendJournal(const CNdbSendJournal&) = delete;
    CNdbSendJournal& operator=(const CNdbSendJournal&) = delete;

    // Appends one line and hands it to the system before returning. Safe from any thread.
    bool Append(int status, const QString& address);

    static QString PathFor(const QString& newsletterPath);
    // Sets the statuses of the journal beside the newsletter file into the log, in the order they
    // were written, each counted as an attempt at its time; lines that cannot be read are
    // skipped. The number of statuses set.
    static int ApplyTo(CNdbLog& log, const QString& newsletterPath);
    static void Remove(const QString& newsletterPath);

private:
    QString m_path;
    std::mutex m_mutex;
};
} // namespace ndb
