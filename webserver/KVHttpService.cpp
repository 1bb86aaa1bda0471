#include "webserver/KVHttpService.h"

#include "base/HtmlEntities.h"
#include "charts/ChartQuery.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "webserver/NewsletterPage.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/PageServiceContext.h"

#include <QUrl>

namespace
{
const QString HtmlContentType = QStringLiteral("text/html; charset=utf-8");

// An address inside a local page: percent-encoded so that the server decodes it back to the
// resource path, then escaped for the attribute. A path that itself begins with "/" gets that
// "/" encoded: "//host/x" would lead the browser off this server.
QString LocalHref(const QString& path)
{
    QByteArray encoded = QUrl::toPercentEncoding(path, "/");
    if (encoded.startsWith('/'))
        encoded.replace(0, 1, "%2F");
    return EncodeHtmlEntities(u'/' + QString::fromLatin1(encoded));
}

QString IndexPageHead()
{
    return QStringLiteral(
        "<html>\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
        "<style type=\"text/css\">\r\n"
        "h1 { margin:0; font-weight:bold; padding:0; font-size:18px; line-height:1.2em; }\r\n"
        "h2 { margin:0; font-weight:bold; padding:10px 0 10px 0; font-size:14px; line-height:1.2em; "
        "border-top:1px solid red; border-bottom:1px solid red; }\r\n"
        "h3 { margin:0; font-weight:bold; padding:10px 0 10px 0; font-size:12px; line-height:1.2em; }\r\n"
        "p { margin:0; padding:2px; font-size:10pt; }\r\n"
        ".file { padding-left:30px; }\r\n"
        "</style>\r\n</head>\r\n"
        "<body style=\"font-family: verdana, sans-serif\">");
}
} // namespace

QString GenerateLocalNewsletterPage(const IPageServiceContext& context, const ndb::CNdbNewsletter& newsletter,
                                    int kind)
{
    // The page is requested for the open newsletter, so it is also the context's current one.
    const CNewsletterPageSource source(newsletter);
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    pageContext.SetServerPort(context.GetServerPort());
    pageContext.SetUnsubscribeText(context.GetUnsubscribeText());
    QString page;
    GenerateNewsletterPage(ServerBanner, page, NewsletterPageKind(kind), pageContext, source, nullptr,
                           nullptr);
    return page;
}

CKVHttpService::CKVHttpService(IPageServiceContext* context) : m_context(context) {}

CKVHttpService::~CKVHttpService() = default;

bool CKVHttpService::Handle()
{
    QString host;
    QString path;
    if (!m_context || !GetRequestPath(host, path))
        return false;
    if (path.startsWith(u'/'))
        path.remove(0, 1);
    SetResponseHeader(HttpHeader::CacheControl, QStringLiteral("no-cache"));

    if (ServeWebStore(path) || ServeChart(path) || ServeNewsletterPage(path) || ServeResource(path))
        return true;
    ServeIndexPage(path);
    return true;
}

bool CKVHttpService::WriteBody()
{
    if (m_body.isEmpty())
        return true;
    WriteBytes(m_body, WriteBodySeconds);
    return true;
}

bool CKVHttpService::ServeWebStore(const QString& path)
{
    static const QString marker = QStringLiteral("webstore/");
    const qsizetype at = path.indexOf(marker);
    if (at < 0)
        return false;
    const auto entry = m_context->FindInWebStore(path.mid(at + marker.size()));
    if (!entry)
        return false;
    SetBody(entry->bytes, entry->contentType);
    return true;
}

bool CKVHttpService::ServeChart(const QString& path)
{
    if (!CChartQuery::IsChartPath(path))
        return false;
    const ChartParameterLookup lookup = [this](const QString& name, QString& value)
    { return GetQueryParameter(name, value) || GetFormParameter(name, value); };
    CChartQuery query;
    QByteArray png;
    switch (query.Answer(lookup, png))
    {
    case CChartQuery::Chart:
        SetBody(png, QStringLiteral("image/png"));
        SetResponseHeader(HttpHeader::AcceptRanges, QStringLiteral("bytes"));
        return true;
    case CChartQuery::Refused:
        // An address no report page writes: say why instead of drawing a huge picture.
        SetStatusCode(400);
        SetBody(
            (IndexPageHead() +
             QStringLiteral("<h1 style=\"font-size:16pt;color:red;font-weight:bold;\">Chart not drawn</h1>"
                            "<p style=\"font-size:14pt;\">%1</p></body></html>")
                 .arg(EncodeHtmlEntities(query.GetError())))
                .toUtf8(),
            HtmlContentType);
        return true;
    case CChartQuery::NotAChart:
        break;
    }
    return false;
}

bool CKVHttpService::ServeNewsletterPage(const QString& path)
{
    const QString name = path.left(path.indexOf(u'?'));
    const auto documentLock = m_context->ReadDocument();
    const ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter || name != newsletter->GetString(ndb::NewsletterFileName))
        return false;
    const int kind = path.contains(QLatin1String("kvlettermode=edit")) ? 1 : 0;
    const QByteArray page = m_context->GetNewsletterPageCache().Get(
        kind, m_context->GetDocumentRevision(),
        [&] { return GenerateLocalNewsletterPage(*m_context, *newsletter, kind).toUtf8(); });
    SetBody(page, HtmlContentType);
    return true;
}

bool CKVHttpService::ServeResource(const QString& path)
{
    static const QString marker = QStringLiteral("?pid=");
    QString resourcePath = path;
    QString pipelineId;
    const qsizetype at = path.indexOf(marker);
    if (at >= 0)
    {
        pipelineId = path.mid(at + marker.size()).toLower();
        resourcePath = path.left(at);
    }
    if (!pipelineId.isEmpty())
    {
        if (const auto rendered = m_context->GetRenderedImage(resourcePath, pipelineId))
        {
            SetBody(rendered->GetPayload(), rendered->GetString(ndb::ResourceMimeType));
            SetResponseHeader(HttpHeader::AcceptRanges, QStringLiteral("bytes"));
            return true;
        }
    }
    const auto documentLock = m_context->ReadDocument();
    const ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return false;
    const ndb::CNdbResource* resource = newsletter->Layout().FindResourceByPath(resourcePath);
    if (!resource)
        return false;
    SetBody(resource->GetPayload(), resource->GetString(ndb::ResourceMimeType));
    SetResponseHeader(HttpHeader::AcceptRanges, QStringLiteral("bytes"));
    return true;
}

void CKVHttpService::ServeIndexPage(const QString& path)
{
    // The requested path comes from whoever sent the request: it is shown escaped.
    QString page =
        IndexPageHead() +
        QStringLiteral("<h1 style=\"font-size:16pt;color:red;font-weight:bold;\">Object Not Found!</h1>"
                       "<p style=\"font-size:14pt;\">") +
        EncodeHtmlEntities(path) + QStringLiteral("</p><p>&nbsp;</p>");
    {
        const auto documentLock = m_context->ReadDocument();
        if (!m_context->GetCurrentDocument())
        {
            page += QStringLiteral("<h2 style=\"color:red;\">No file loaded</h2>");
        }
        else if (const ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter())
        {
            page += QStringLiteral("<h2>%1</h2>\r\n")
                        .arg(EncodeHtmlEntities(newsletter->GetString(ndb::NewsletterName)));
            const auto& pipelines = newsletter->Project().GetPipelines();
            for (const auto& resource : newsletter->Layout().Resources())
            {
                const QString resourcePath = resource->GetString(ndb::ResourcePath);
                const QString shown = EncodeHtmlEntities(resourcePath);
                page +=
                    QStringLiteral("<p><a href=\"%1\">%2</a></p>\r\n").arg(LocalHref(resourcePath), shown);
                for (const auto& [id, pipeline] : pipelines)
                {
                    const QString pid = EncodeHtmlEntities(id);
                    page += QStringLiteral(
                                "<p style=\"margin-left:10px;\"><a href=\"%1?pid=%2\">%3?pid=%2</a></p>\r\n")
                                .arg(LocalHref(resourcePath), pid, shown);
                }
            }
        }
    }
    page += QStringLiteral("</body></html>");
    SetStatusCode(404);
    SetBody(page.toUtf8(), HtmlContentType);
}

void CKVHttpService::SetBody(const QByteArray& body, const QString& contentType)
{
    m_body = body;
    SetResponseHeader(HttpHeader::ContentType, contentType);
    SetContentLength(m_body.size());
}
