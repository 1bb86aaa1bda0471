#pragma once

#include <mutex>
#include <shared_mutex>

namespace ndb
{
class CNdbBase;
class CNdbNewsletter;
} // namespace ndb

// What the recipient list reads of the application: the open document, and the document's lock,
// which it holds for writing while it changes the recipients (the local server's threads read
// the document).
class IUsersContext
{
public:
    virtual ~IUsersContext() = default;

    // A newsletter, a mailing list or null.
    virtual ndb::CNdbBase* GetCurrentDocument() const = 0;
    // Null when the open document is not a newsletter.
    virtual ndb::CNdbNewsletter* GetCurrentNewsletter() const = 0;
    virtual std::unique_lock<std::shared_mutex> WriteDocument() = 0;
};
