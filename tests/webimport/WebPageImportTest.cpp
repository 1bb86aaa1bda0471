#include "support/NewsletterSite.h"

#include "ndb/NdbColor.h"
#include "ndb/NdbFieldValue.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/WinConstants.h"
#include "webimport/WebPageImport.h"

#include <QFile>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace
{
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

QString PageFile(const NewsletterSite& site)
{
    QFile file(site.Folder() + "/" + NewsletterSite::PagePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The tag that opens the element holding the text.
QString TagBefore(const QString& body, const QString& text)
{
    const QString before = body.left(body.indexOf(text));
    return before.mid(before.lastIndexOf(u'<'));
}

// The conversion alone works on the page's file as it lies on the server; the whole import
// loads the page in the hidden browser first. Both must give the same newsletter.
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
        const QString url = m_site.Url(NewsletterSite::PagePath);
        if (GetParam() == MarkupFrom::File)
        {
            ASSERT_TRUE(ConvertWebPage(PageFile(m_site), GetUrlBase(url), m_result));
            return;
        }
        // The browser fetches the page's sheets and images itself: what a plain load asks for
        // is taken off what the import asked for.
        QString markup;
        ASSERT_TRUE(LoadPageMarkup(url, markup, 60000, 8 * 1024 * 1024));
        m_browserRequests = m_site.RequestedPaths();
        ASSERT_TRUE(m_owner.Create(QString(), QString(), WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        bool ownerEnabledWhileLoading = true;
        QTimer::singleShot(0, [&] { ownerEnabledWhileLoading = m_owner.IsWindowEnabled(); });
        WebPageImportLimits limits;
        limits.loadMilliseconds = 60000; // a slow machine starting the engine
        ASSERT_TRUE(ImportWebPage(&m_owner, url, m_result, limits));
        EXPECT_FALSE(ownerEnabledWhileLoading);
        EXPECT_TRUE(m_owner.IsWindowEnabled());
    }

    QStringList ImportRequests() const
    {
        QStringList requests = m_site.RequestedPaths().mid(m_browserRequests.size());
        for (const QString& path : m_browserRequests)
            requests.removeOne(path);
        return requests;
    }

    NewsletterSite m_site;
    WebPageImportResult m_result;
    CWnd m_owner;
    QStringList m_browserRequests;
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
    // The element's own style stays whole, its quoted font name included.
    EXPECT_TRUE(
        TagBefore(body, "Own colour.")
            .contains("font-family:&quot;Nunito Sans&quot;, sans-serif;color:#123456;font-size:14px;"))
        << body.toStdString();
    // The class rule is more specific than the element rule.
    EXPECT_TRUE(TagBefore(body, "Class wins").contains("color:#aa0000"));
    EXPECT_TRUE(TagBefore(body, "Cell").contains("color:#010203"))
        << "an element.class rule reaches its element";
    EXPECT_TRUE(TagBefore(body, "Small print").contains("color:#0000aa")) << "class names of any letter case";
}

TEST_P(WebPageImport, RulesOfMediaBlocksAreNeitherInlinedNorStyles)
{
    EXPECT_FALSE(m_result.body.contains("#ffffff")) << m_result.body.toStdString();
    EXPECT_FALSE(m_result.body.contains("#fefefe"));
    EXPECT_FALSE(TagBefore(m_result.body, "12.00").contains("color"));
    EXPECT_EQ(StyleNamed(m_result, "amount"), nullptr);
    const ndb::CNdbStyle* p = StyleNamed(m_result, "p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(ColorHex(*p, ndb::StyleColor), "#336699");
}

INSTANTIATE_TEST_SUITE_P(Markup, WebPageImport, testing::Values(MarkupFrom::File, MarkupFrom::Browser),
                         [](const testing::TestParamInfo<MarkupFrom>& info)
                         { return info.param == MarkupFrom::File ? "FromFile" : "FromBrowser"; });

TEST(WebPageImportFailure, NoPageFailsWithNothingProduced)
{
    NewsletterSite site;
    const QString urls[] = {site.Url("news/absent.html"), site.Url("news/img/logo.png"), "not a url"};
    for (const QString& url : urls)
    {
        WebPageImportResult result;
        EXPECT_FALSE(ImportWebPage(nullptr, url, result)) << url.toStdString();
        EXPECT_TRUE(result.body.isEmpty());
        EXPECT_TRUE(result.resources.empty());
        EXPECT_TRUE(result.styles.empty());
    }
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
    const QString page = PageFile(site);
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
