#include "webserver/WebStore.h"

void CWebStore::Store(const QString& name, const QByteArray& bytes, const QString& contentType)
{
    auto entry = std::make_shared<const WebStoreEntry>(WebStoreEntry{bytes, contentType});
    std::shared_ptr<const WebStoreEntry> replaced;
    std::lock_guard lock(m_mutex);
    replaced = std::exchange(m_entries[name], std::move(entry));
}

std::shared_ptr<const WebStoreEntry> CWebStore::Find(const QString& name) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_entries.find(name);
    return found == m_entries.end() ? nullptr : found->second;
}

void CWebStore::Clear()
{
    std::map<QString, std::shared_ptr<const WebStoreEntry>> entries;
    {
        std::lock_guard lock(m_mutex);
        entries.swap(m_entries);
    }
}

int CWebStore::Count() const
{
    std::lock_guard lock(m_mutex);
    return int(m_entries.size());
}
