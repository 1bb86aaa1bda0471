#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <mutex>
#include <utility>

// One generated document that the local server hands out under "webstore/" + its name.
struct WebStoreEntry
{
    QByteArray bytes;
    QString contentType;
};

// The in-memory set of named documents: written on the UI thread, read by the server's
// connection threads. An entry never changes once stored; storing under a name replaces the
// entry, and a reader keeps the one it found for as long as it holds it.
class CWebStore
{
public:
    // Names are compared exactly, letter case included.
    void Store(const QString& name, const QByteArray& bytes, const QString& contentType);
    std::shared_ptr<const WebStoreEntry> Find(const QString& name) const;
    void Clear();
    int Count() const;

private:
    mutable std::mutex m_mutex;
    std::map<QString, std::shared_ptr<const WebStoreEntry>> m_entries;
};
