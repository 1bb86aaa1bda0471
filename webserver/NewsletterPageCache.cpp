#include "webserver/NewsletterPageCache.h"

QByteArray CNewsletterPageCache::Get(int kind, quint64 revision, const Generator& generate)
{
    // Held while generating: threads that ask for the same page meanwhile wait for it instead
    // of generating it again.
    std::lock_guard lock(m_mutex);
    const auto found = m_pages.find(kind);
    if (found != m_pages.end() && found->second.revision == revision)
        return found->second.page;
    QByteArray page = generate();
    m_pages[kind] = Entry{revision, page};
    return page;
}
