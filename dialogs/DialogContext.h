#pragma once

#include <mutex>
#include <shared_mutex>

namespace ndb
{
class CNdbNewsletter;
class CNdbPalette;
} // namespace ndb

// What the element and style dialogs use of the application: the open newsletter, the port of
// the local web server their previews load images from, and the document's lock, which they
// hold for writing while they change the newsletter's own records (the server's threads read
// them).
class IDialogContext
{
public:
    virtual ~IDialogContext() = default;

    // Null when the open document is not a newsletter.
    virtual ndb::CNdbNewsletter* GetCurrentNewsletter() const = 0;
    virtual int GetServerPort() const = 0;
    virtual std::unique_lock<std::shared_mutex> WriteDocument() = 0;
};

// The palette of the open newsletter, which the dialogs' colour swatches use; null without one.
ndb::CNdbPalette* CurrentPalette(IDialogContext* context);
