#pragma once

#include <shared_mutex>

namespace ndb
{
class CNdbBase;
class CNdbNewsletter;
} // namespace ndb

// The open document as the local server's connection threads read it. The UI thread changes it
// under the write side of the document's lock; a reader holds ReadDocument() for as long as it
// uses what it found.
class ISharedDocument
{
public:
    virtual ~ISharedDocument() = default;

    virtual std::shared_lock<std::shared_mutex> ReadDocument() const = 0;
    // Null when nothing is open.
    virtual ndb::CNdbBase* GetCurrentDocument() const = 0;
    // Null when the open document is not a newsletter.
    virtual ndb::CNdbNewsletter* GetCurrentNewsletter() const = 0;
};
