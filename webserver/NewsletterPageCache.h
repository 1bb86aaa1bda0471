#pragma once

#include <QByteArray>

#include <functional>
#include <map>
#include <mutex>

// The open newsletter's generated pages, one per kind, kept for one revision of the document.
// A browser asks for the same page again and again (reloads, several views, keep-alive clients),
// and generating it walks the whole layout, so it is generated once per change. Connection
// threads ask at the same time; QByteArray copies share their bytes.
class CNewsletterPageCache
{
public:
    using Generator = std::function<QByteArray()>;

    // The page of the kind for the revision: the kept one, or generated now when the kept one
    // belongs to another revision. The caller holds the document's read lock, so the revision
    // and the document stay as they are while it generates.
    QByteArray Get(int kind, quint64 revision, const Generator& generate);

private:
    struct Entry
    {
        quint64 revision = 0;
        QByteArray page;
    };

    std::mutex m_mutex;
    std::map<int, Entry> m_pages;
};
