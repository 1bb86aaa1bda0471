#pragma once

#include "webserver/HttpServiceBase.h"

#include <QByteArray>
#include <QString>

class IPageServiceContext;
namespace ndb
{
class CNdbNewsletter;
}

// The page service of the local web server: answers one request from the application context.
// In this order: "webstore/" + name gives that web-store entry; a path (before its query) with
// "kvgraph" and a complete chart query gives a PNG chart (a chart too large to draw gives an
// error page with status 400); the open newsletter's file name gives its page (the edit page
// with "kvlettermode=edit"); a resource path of the newsletter gives the resource, with
// "?pid=" + pipeline id the image with that effect applied; anything else gives the index page
// with status 404.
class CKVHttpService : public CHttpServiceBase
{
public:
    explicit CKVHttpService(IPageServiceContext* context);
    ~CKVHttpService() override;

    bool Handle() override;
    bool WriteBody() override;

    const QByteArray& Body() const { return m_body; }

    static constexpr int WriteBodySeconds = 60;

private:
    bool ServeWebStore(const QString& path);
    bool ServeChart(const QString& path);
    bool ServeNewsletterPage(const QString& path);
    bool ServeResource(const QString& path);
    void ServeIndexPage(const QString& path);
    void SetBody(const QByteArray& body, const QString& contentType);

    IPageServiceContext* m_context;
    QByteArray m_body;
};

// The newsletter's page for the local browser: kind 0 preview, 1 edit. The caller holds the
// context's document read lock.
QString GenerateLocalNewsletterPage(const IPageServiceContext& context, const ndb::CNdbNewsletter& newsletter,
                                    int kind);
