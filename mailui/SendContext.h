#pragma once

#include <QString>

namespace ndb
{
class CNdbNewsletter;
}

// What a send reads of the application: the open newsletter, the port of the local web server
// that renders its pages and images, and the default unsubscribe text of its pages.
class ISendContext
{
public:
    virtual ~ISendContext() = default;

    // Null when the open document is not a newsletter.
    virtual ndb::CNdbNewsletter* GetCurrentNewsletter() const = 0;
    virtual int GetServerPort() const = 0;
    virtual const QString& GetUnsubscribeText() const = 0;
};
