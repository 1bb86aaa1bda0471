#include "NewsletterSite.h"

#include "ndb/NdbColor.h"
#include "ndb/NdbFieldValue.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/ui/IEBrowser.h"
#include "x2/WebPageImport.h"

#include <QFile>

#include <functional>

#include <gtest/gtest.h>

namespace
{
// Hands the import the page's file as it lies on the server, standing in for the browser.
WebPageMarkupSource FileSource(const QString& path)
{
    return [path](const QString&, QString& markup)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        markup = QString::fromUtf8(file.readAll());
        return true;
    };
}

const ndb::CNdbStyle* StyleNamed(const WebPageImportResult& result, const QString& name)
{
    for (const auto& style : result.styles)
        if (style->GetString(ndb::StyleDisplayName) == name)
            return style.get();
    return nullptr;
}

QString ColorHex(const ndb::CNdbStyle& style, int field)
{
    ndb::CNdbFieldValue value;
    return style.GetField(field, value) && value.GetColor() ? value.GetColor()->ToHex() : QString();
}

// The page's markup comes either from its file (the conversion alone) or from the hidden
// browser (the whole import); both must give the same newsletter.
enum class MarkupFrom
{
    File,
    Browser,
};

class WebPageImport : public testing::TestWithParam<MarkupFrom>
{
protected:
    void SetUp() override
    {
        const WebPageMarkupSource load =
            GetParam() == MarkupFrom::File
                ? FileSource(m_site.Folder() + "/" + NewsletterSite::PagePath)
                : WebPageMarkupSource([](const QString& url, QString& markup)
                                      { return LoadPageMarkup(url, markup, 60000, 8 * 1024 * 1024); });
        // The browser fetches the page's sheets and images itself; what the import asks for
        // comes after.
        const WebPageMarkupSource source = [&](const QString& url, QString& markup)
        {
            const bool loaded = load(url, markup);
            m_requestsBeforeImport = int(m_site.RequestedPaths().size());
            return loaded;
        };
        ASSERT_TRUE(ImportWebPage(m_site.Url(NewsletterSite::PagePath), source, m_result));
    }

    QStringList ImportRequests() const { return m_site.RequestedPaths().mid(m_requestsBeforeImport); }

    NewsletterSite m_site;
    WebPageImportResult m_result;
    int m_requestsBeforeImport{0};
};
} // namespace

TEST_P(WebPageImport, BodyIsReducedToTheEditorsElements)
{
    const QString& body = m_result.body;
    EXPECT_TRUE(body.contains(R"(<p class="h1")")) << body.toStdString();
    EXPECT_TRUE(body.contains("<strong>our</strong>"));
    EXPECT_TRUE(body.contains("<em>spring</em>"));
    EXPECT_TRUE(body.contains("<div>Centred</div>"));
    EXPECT_TRUE(body.contains("<table>"));
    for (const char* gone : {"font text", "form text", "<input", "<script", "secret", "tracking comment",
                             "onclick", "onmouseover", "onload", "<h1", "<b>", "<i>", "<center", "<body"})
        EXPECT_FALSE(body.contains(gone)) << gone;
}

TEST_P(WebPageImport, ImagesBecomeResourcesDownloadedOnceEach)
{
    const QStringList requested = ImportRequests();
    EXPECT_EQ(requested.count("/news/img/logo.png"), 1);
    EXPECT_EQ(requested.count("/news/img/pattern.gif"), 1);
    EXPECT_EQ(requested.count("/news/img/missing.png"), 1);

    std::map<QByteArray, const ndb::CNdbResource*> byName;
    for (const auto& resource : m_result.resources)
        byName[resource->GetPayload()] = resource.get();
    ASSERT_EQ(m_result.resources.size(), 3u); // logo, photo, pattern; the missing image is skipped
    const ndb::CNdbResource* logo = byName.at(QByteArray(NewsletterSite::Logo));
    EXPECT_EQ(logo->GetString(ndb::ResourcePath), "img/logo.png");
    EXPECT_EQ(logo->GetString(ndb::ResourceFileName), "logo.png");
    EXPECT_EQ(logo->GetString(ndb::ResourceMimeType), "image/png");
    EXPECT_EQ(logo->GetInt(ndb::ResourceSize), int(qstrlen(NewsletterSite::Logo)));
    EXPECT_EQ(byName.at(QByteArray(NewsletterSite::Pattern))->GetString(ndb::ResourceFileName),
              "pattern.gif");

    // Both logo images, and the patterned box, are tied to their resource; nothing of the
    // import's own bookkeeping reaches the page.
    const QString logoName = "name=\"src_ResID:" + logo->GetString(ndb::ResourceId) + ";\"";
    EXPECT_EQ(m_result.body.count(logoName), 2) << m_result.body.toStdString();
    EXPECT_TRUE(m_result.body.contains(
        "name=\"src_ResID:" + byName.at(QByteArray(NewsletterSite::Pattern))->GetString(ndb::ResourceId) +
        ";\""));
    EXPECT_FALSE(m_result.body.contains("__src"));
}

TEST_P(WebPageImport, SheetsAreReadOnlyFromTypedLinksAndOneImport)
{
    const QStringList requested = ImportRequests();
    EXPECT_EQ(requested.count("/news/css/site.css"), 1);
    EXPECT_EQ(requested.count("/news/css/reset.css"), 1) << "an import resolves against the page's folder";
    EXPECT_EQ(requested.count("/news/untyped.css"), 0);
}

TEST_P(WebPageImport, SimpleRulesBecomeNamedStyles)
{
    const ndb::CNdbStyle* p = StyleNamed(m_result, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->IsElementStyle());
    EXPECT_EQ(ColorHex(*p, ndb::StyleColor), "#336699");
    EXPECT_EQ(p->GetString(ndb::StyleFontFamily), "Georgia");
    ndb::CNdbFieldValue size;
    ASSERT_TRUE(p->GetField(ndb::StyleFontSize, size));
    EXPECT_EQ(size.FormatLength(), "14pt");

    const ndb::CNdbStyle* h1 = StyleNamed(m_result, "h1");
    ASSERT_NE(h1, nullptr);
    EXPECT_EQ(ColorHex(*h1, ndb::StyleColor), "#808080") << "a colour name becomes mid grey";
    EXPECT_EQ(ColorHex(*h1, ndb::StyleBackgroundColor), "#FFEECC");

    const ndb::CNdbStyle* note = StyleNamed(m_result, "note");
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->IsElementStyle());
    const ndb::CNdbStyle* lead = StyleNamed(m_result, "lead");
    ASSERT_NE(lead, nullptr) << "the embedded sheet's rules count too";
    EXPECT_EQ(ColorHex(*lead, ndb::StyleColor), "#00FF00");
    EXPECT_EQ(StyleNamed(m_result, "cell"), nullptr) << "an element with a class names no style";
    const ndb::CNdbStyle* h2 = StyleNamed(m_result, "h2");
    ASSERT_NE(h2, nullptr) << "the imported sheet's rules count";
    ndb::CNdbFieldValue h2Size;
    ASSERT_TRUE(h2->GetField(ndb::StyleFontSize, h2Size));
    EXPECT_EQ(h2Size.FormatLength(), "18pt");
}

TEST_P(WebPageImport, RulesAreInlinedWithoutOverridingTheElementsOwnStyle)
{
    const QString& body = m_result.body;
    EXPECT_TRUE(body.contains("color:#123456")) << body.toStdString();
    // The class rule is more specific than the element rule.
    const qsizetype note = body.indexOf("Class wins");
    ASSERT_GT(note, 0);
    const QString noteTag = body.left(note).mid(body.left(note).lastIndexOf("<p"));
    EXPECT_TRUE(noteTag.contains("color:#aa0000")) << noteTag.toStdString();
    EXPECT_TRUE(body.contains("color:#010203")) << "an element.class rule reaches its element";
}

INSTANTIATE_TEST_SUITE_P(Markup, WebPageImport, testing::Values(MarkupFrom::File, MarkupFrom::Browser),
                         [](const testing::TestParamInfo<MarkupFrom>& info)
                         { return info.param == MarkupFrom::File ? "FromFile" : "FromBrowser"; });

TEST(WebPageImportFailure, NoMarkupFailsWithNothingProduced)
{
    WebPageImportResult result;
    EXPECT_FALSE(ImportWebPage(
        "http://127.0.0.1:9/", [](const QString&, QString&) { return false; }, result));
    EXPECT_TRUE(result.body.isEmpty());
    EXPECT_TRUE(result.resources.empty());
}

TEST(WebPageImportFailure, OverlongMarkupIsRefused)
{
    WebPageImportLimits limits;
    limits.maxMarkupLength = 100;
    WebPageImportResult result;
    EXPECT_FALSE(ConvertWebPage("<html><body>" + QString(200, u'x') + "</body></html>", "http://127.0.0.1:9/",
                                result, limits));
    EXPECT_TRUE(result.body.isEmpty());
}

TEST(WebPageImportFailure, DownloadsAreBounded)
{
    NewsletterSite site;
    QFile file(site.Folder() + "/" + NewsletterSite::PagePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    const QString base = GetUrlBase(site.Url(NewsletterSite::PagePath));

    const struct
    {
        const char* name;
        std::function<void(WebPageImportLimits&)> limit;
        size_t resources;
        bool sheetRead;
    } cases[] = {
        {"one image", [](WebPageImportLimits& l) { l.maxImages = 1; }, 1, true},
        {"few bytes", [](WebPageImportLimits& l) { l.maxDownloadBytes = 10; }, 0, false},
        {"no time", [](WebPageImportLimits& l) { l.maxDownloadMilliseconds = 0; }, 0, false},
    };
    for (const auto& c : cases)
    {
        WebPageImportLimits limits;
        c.limit(limits);
        WebPageImportResult result;
        EXPECT_TRUE(ConvertWebPage(page, base, result, limits)) << c.name;
        EXPECT_EQ(result.resources.size(), c.resources) << c.name;
        EXPECT_EQ(StyleNamed(result, "p") != nullptr, c.sheetRead) << c.name;
        EXPECT_FALSE(result.body.isEmpty()) << c.name;
    }
}

TEST(WebPageImportFailure, MarkupWithoutBodyFails)
{
    WebPageImportResult result;
    EXPECT_FALSE(ConvertWebPage("<p>loose</p>", "http://127.0.0.1:9/", result));
    EXPECT_TRUE(result.body.isEmpty());
}

TEST(WebPageImportUrls, BaseAndResolution)
{
    const struct
    {
        const char* url;
        const char* base;
    } bases[] = {
        {"page.html", ""},
        {"http://host/news/", "http://host/news/"},
        {"http://host", "http://host/"},
        {"http://host/news/issue.html", "http://host/news/"},
        {"http://host/news", "http://host/news/"},
    };
    for (const auto& c : bases)
        EXPECT_EQ(GetUrlBase(c.url), c.base) << c.url;

    const struct
    {
        const char* reference;
        bool resolves;
        const char* host;
        int port;
        const char* path;
    } references[] = {
        {"img/a.png", true, "host", 8080, "/news/img/a.png"},
        {"/img/a.png", true, "host", 8080, "/news/img/a.png"},
        {"", true, "host", 8080, "/news/"},
        {"http://other/x.png?s=1", true, "other", 80, "/x.png?s=1"},
        {"https://other/x.png", false, "", 0, ""},
        {"ftp://other/x.png", false, "", 0, ""},
    };
    for (const auto& c : references)
    {
        ImportRequest request;
        ASSERT_EQ(ResolveImportUrl(c.reference, "http://host:8080/news/", request), c.resolves)
            << c.reference;
        if (!c.resolves)
            continue;
        EXPECT_EQ(request.host, c.host) << c.reference;
        EXPECT_EQ(request.port, c.port) << c.reference;
        EXPECT_EQ(request.objectPath, c.path) << c.reference;
    }
}
