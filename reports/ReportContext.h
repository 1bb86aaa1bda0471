#pragma once

#include <QString>

namespace ndb
{
class CNdbNewsletter;
}

// What the report window needs of the application: the open newsletter and the local web
// server that shows the report page.
class IReportContext
{
public:
    virtual ~IReportContext() = default;

    // Null when the open document is no newsletter.
    virtual ndb::CNdbNewsletter* GetCurrentNewsletter() const = 0;
    virtual void PutPageInWebStore(const QString& name, const QString& page) = 0;
    virtual QString MakeServerUrl(const QString& path) const = 0;
};
