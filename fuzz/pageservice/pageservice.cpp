// Sends the input as the bytes of one connection to the program's page service, which answers
// from a fixed document: a newsletter with pages, resources and an effect, and a web store.
// No index-page link may lead off this server.

#include "fuzz/GuiFuzzerInitialize.h"
#include "gre/GreLayerImage.h"
#include "gre/GrePipeline.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "webserver/HttpExchange.h"
#include "webserver/KVHttpService.h"
#include "webserver/MemoryChannel.h"
#include "webserver/PageServiceContext.h"
#include "webserver/RenderedImageCache.h"

#include <QBuffer>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <shared_mutex>

namespace
{
// The port the seed requests name in their Host header.
constexpr int ServerPort = 8080;

QByteArray PngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(0xFF3366CC);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::unique_ptr<ndb::CNdbResource> MakeResource(const QString& path, const QString& mimeType,
                                                const QByteArray& bytes)
{
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(path));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(mimeType));
    resource->SetPayload(bytes);
    return resource;
}

std::unique_ptr<ndb::CNdbNewsletter> MakeNewsletter()
{
    auto newsletter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Spring <News> & more"));
    newsletter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(QStringLiteral("spring.kvnl")));
    newsletter->Layout().SetField(
        ndb::LayoutHtml,
        ndb::CNdbFieldValue(QStringLiteral("<html><head><title>Spring</title></head><body><h1>Spring</h1>"
                                           "<p>Fresh \u20AC offers</p><img src=\"img/logo.png\" />"
                                           "<a href=\"files/readme.txt\">read</a></body></html>")));
    newsletter->Layout().AddResource(
        MakeResource(QStringLiteral("img/logo.png"), QStringLiteral("image/png"), PngBytes(20, 15)));
    newsletter->Layout().AddResource(
        MakeResource(QStringLiteral("files/readme.txt"), QStringLiteral("text/plain"), "Read me first.\n"));
    newsletter->Layout().AddResource(
        MakeResource(QStringLiteral("/host/x.png"), QStringLiteral("image/png"), PngBytes(4, 3)));
    // The effect draws the requested image into a small frame.
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->SetSize(QSize(24, 18));
    auto layer = std::make_unique<gre::CGreLayerImage>();
    layer->SetUseSource(true);
    pipeline->GetRootGroup().AddLayer(std::move(layer));
    newsletter->Project().SetPipeline(QStringLiteral("0123456789abcdef0123456789abcdef"),
                                      std::move(pipeline));
    return newsletter;
}

class CFixtureContext : public IPageServiceContext
{
public:
    CFixtureContext() : m_newsletter(MakeNewsletter())
    {
        m_webStore.Store(QStringLiteral("report.htm"), "<p>Report</p>",
                         QStringLiteral("text/html; charset=utf-8"));
        m_webStore.Store(QStringLiteral("data/chart.xml"), "<chart/>", QStringLiteral("text/xml"));
    }

    std::shared_lock<std::shared_mutex> ReadDocument() const override { return std::shared_lock(m_mutex); }
    ndb::CNdbBase* GetCurrentDocument() const override { return m_newsletter.get(); }
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return m_newsletter.get(); }
    std::shared_ptr<const WebStoreEntry> FindInWebStore(const QString& name) const override
    {
        return m_webStore.Find(name);
    }
    std::shared_ptr<const ndb::CNdbResource> GetRenderedImage(const QString& resourcePath,
                                                              const QString& pipelineId) override
    {
        return m_images.GetRenderedImage(*this, resourcePath, pipelineId);
    }
    int GetServerPort() const override { return ServerPort; }
    const QString& GetUnsubscribeText() const override { return m_unsubscribeText; }
    // The fixed document never changes.
    quint64 GetDocumentRevision() const override { return 0; }
    CNewsletterPageCache& GetNewsletterPageCache() override { return m_pages; }

    // Every input starts from the same state.
    void ForgetRenderedImages() { m_images.Clear(); }

private:
    mutable std::shared_mutex m_mutex;
    std::unique_ptr<ndb::CNdbNewsletter> m_newsletter;
    CWebStore m_webStore;
    CNewsletterPageCache m_pages;
    CRenderedImageCache m_images;
    QString m_unsubscribeText = QStringLiteral("You have now been removed from this Mailing List.");
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CFixtureContext context;
    context.ForgetRenderedImages();
    QByteArray output;
    CKVHttpService service(&context);
    service.AttachConnection(
        std::make_unique<CMemoryChannel>(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), &output),
        sockaddr_in{}, ServerPort);
    RunHttpExchange(service);
    if (output.contains("href=\"//"))
        __builtin_trap();
    return 0;
}
