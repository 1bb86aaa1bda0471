#include "PageServerSupport.h"

#include "app/KVContext.h"
#include "gre/GreLayerBase.h"
#include "mail/SpamRating.h"
#include "x2/X2Validator.h"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <future>
#include <limits>
#include <mutex>

using namespace PageServerTest;

namespace
{
// Where a render waits until the test lets it go on, so the test sees a render in progress.
class CRenderGate
{
public:
    void Pass()
    {
        std::unique_lock lock(m_mutex);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    bool WaitUntilEntered()
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_entered; });
    }
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered{false};
    bool m_open{false};
};

// A layer whose drawing stops at the gate; its copies share the gate.
class CGatedLayer : public gre::CGreLayerBase
{
public:
    explicit CGatedLayer(std::shared_ptr<CRenderGate> gate) : m_gate(std::move(gate)) {}
    std::unique_ptr<gre::CGreLayerBase> Clone() const override
    {
        return std::make_unique<CGatedLayer>(*this);
    }
    void Composite(gre::CGreRenderContext&) const override { m_gate->Pass(); }

private:
    std::shared_ptr<CRenderGate> m_gate;
};

std::unique_ptr<ndb::CNdbNewsletter> MakeGatedNewsletter(const std::shared_ptr<CRenderGate>& gate,
                                                         QString& pipelineId)
{
    auto newsletter = MakeNewsletter();
    auto pipeline = std::make_unique<gre::CGrePipeline>();
    pipeline->GetRootGroup().AddLayer(std::make_unique<CGatedLayer>(gate));
    pipelineId = QStringLiteral("gated");
    newsletter->Project().SetPipeline(pipelineId, std::move(pipeline));
    return newsletter;
}

} // namespace

TEST(ContextServices, WebStoreKeepsOneEntryPerExactNameAndFoundEntriesOutliveIt)
{
    CKVContext context;
    context.StoreInWebStore("a.htm", "first", "text/plain");
    const std::shared_ptr<const WebStoreEntry> first = context.FindInWebStore("a.htm");
    context.StoreInWebStore("a.htm", "second", "text/html");
    context.StoreInWebStore("A.htm", "other", "text/plain");

    ASSERT_TRUE(first);
    EXPECT_EQ(first->bytes, "first");
    const auto second = context.FindInWebStore("a.htm");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->bytes, "second");
    EXPECT_EQ(second->contentType, "text/html");
    EXPECT_EQ(context.FindInWebStore("A.htm")->bytes, "other");
    EXPECT_EQ(context.FindInWebStore("a.htm ?"), nullptr);

    context.ClearWebStore();
    EXPECT_EQ(context.FindInWebStore("a.htm"), nullptr);
    EXPECT_EQ(second->bytes, "second");
}

TEST(ContextServices, PageIsStoredAsUtf8UpToItsFirstNul)
{
    CKVContext context;
    const QString text = QString("<p>Gr\u00FC\u00DFe \u20AC</p>");
    context.PutPageInWebStore("page.htm", text + QChar(0) + "left out");
    const auto entry = context.FindInWebStore("page.htm");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->bytes, text.toUtf8());
    EXPECT_EQ(entry->bytes.size(), text.size() + 4);
    EXPECT_EQ(entry->contentType, "text/html; charset=utf-8");
}

TEST(ContextServices, MakesLocalUrlsWithOrWithoutLeadingSlash)
{
    CKVContext context;
    context.SetServerPort(4711);
    EXPECT_EQ(context.GetServerBaseUrl(), "http://localhost:4711/");
    const struct
    {
        const char* path;
        const char* url;
    } cases[] = {
        {"", "http://localhost:4711"},
        {"/", "http://localhost:4711/"},
        {"spring.kvnl?kvlettermode=edit", "http://localhost:4711/spring.kvnl?kvlettermode=edit"},
        {"/webstore/about.htm", "http://localhost:4711/webstore/about.htm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(context.MakeServerUrl(c.path), c.url) << c.path;
}

TEST(ContextServices, RendersAnImageOnceAndOnlyForTheOpenNewsletter)
{
    CKVContext context;
    QString pipelineId;
    EXPECT_EQ(context.GetRenderedImage("img/logo.png", "abc"), nullptr);
    context.SetCurrentDocument(MakeNewsletter(&pipelineId));
    EXPECT_EQ(context.GetRenderedImage("img/missing.png", pipelineId), nullptr);
    EXPECT_EQ(context.GetRenderedImage("img/logo.png", "no-such-pipeline"), nullptr);
    EXPECT_EQ(context.GetRenderedImageCount(), 0);

    const auto rendered = context.GetRenderedImage("img/logo.png", pipelineId);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(context.GetRenderedImage("img/logo.png", pipelineId), rendered);
    EXPECT_EQ(rendered->GetString(ndb::ResourcePath), "img/logo.png");
    EXPECT_EQ(rendered->GetString(ndb::ResourceMimeType), "image/png");
    EXPECT_EQ(rendered->GetInt(ndb::ResourceWidth), 64);
    EXPECT_EQ(rendered->GetInt(ndb::ResourceHeight), 48);
    EXPECT_EQ(rendered->GetInt(ndb::ResourceSize), rendered->GetPayload().size());
    EXPECT_EQ(context.GetRenderedImageCount(), 1);

    // Another document drops the images rendered from the old one; a holder keeps its copy.
    // Image bytes that do not decode give nothing.
    auto broken = MakeNewsletter(&pipelineId);
    broken->Layout().AddResource(MakeResource("img/broken.png", "image/png", "not a picture"));
    context.SetCurrentDocument(std::move(broken));
    EXPECT_EQ(context.GetRenderedImageCount(), 0);
    EXPECT_EQ(context.GetRenderedImage("img/broken.png", pipelineId), nullptr);
    EXPECT_EQ(rendered->GetInt(ndb::ResourceWidth), 64);
}

TEST(ContextServices, RendersOutsideTheDocumentLockAndKeepsNoImageOfAReplacedDocument)
{
    CKVContext context;
    const auto gate = std::make_shared<CRenderGate>();
    QString pipelineId;
    context.SetCurrentDocument(MakeGatedNewsletter(gate, pipelineId));
    auto render =
        std::async(std::launch::async, [&] { return context.GetRenderedImage("img/logo.png", pipelineId); });
    ASSERT_TRUE(gate->WaitUntilEntered());

    // The UI thread changes the document while the render runs: it gets the write lock at once.
    auto writer = std::async(std::launch::async,
                             [&]
                             {
                                 const auto lock = context.WriteDocument();
                                 context.GetCurrentNewsletter()->Layout().DeleteAllResources();
                             });
    const bool wroteDuringRender = writer.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    EXPECT_TRUE(wroteDuringRender) << "the render holds the document's lock";
    if (wroteDuringRender)
        context.SetCurrentDocument(MakeNewsletter());
    gate->Open();
    writer.get();

    // The render worked on its own copy; the document it came from is gone, so it is not kept.
    const auto rendered = render.get();
    ASSERT_TRUE(rendered);
    EXPECT_EQ(rendered->GetInt(ndb::ResourceWidth), 160);
    EXPECT_EQ(context.GetRenderedImageCount(), 0);
}

TEST(ContextServices, CollectsTheVisibleTextOfAPage)
{
    const struct
    {
        const char* html;
        const char* text;
    } cases[] = {
        {"<p>one</p><p>two</p>", " one two"},
        {"<p><b>sp</b><span>am</span> <a href=\"x\">link</a><strong>s</strong></p>", " spam links"},
        {"<div>a<br>b</div>", " a b"},
        {"<style>p { color:red }</style><script>var x;</script><object><p>hidden</p></object>", ""},
        {"<!-- note --><p>shown</p>", " shown"},
    };
    for (const auto& c : cases)
    {
        CX2Validator document;
        document.ParseHtml(c.html);
        QString text;
        CKVContext::CollectSpamText(document.GetRoot(), text);
        EXPECT_EQ(text, c.text) << c.html;
    }
}

TEST(ContextServices, RatesByScoreAndByTheStrongestToken)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        double score;
        SpamFilter::TokenScoreMap tokens;
        int rating;
    } cases[] = {
        {0.5, {{"hello", 0.4}}, SpamRatingNone},
        {0.98, {}, SpamRatingSuspicious},
        {0.9899, {{"offer", 0.9}}, SpamRatingSuspicious},
        {0.99, {}, SpamRatingSpam},
        {0.2, {{"hello", 0.1}, {"viagra", 0.99}}, SpamRatingSpam},
        {nan, {}, SpamRatingNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpamRatingOf(c.score, c.tokens), c.rating) << c.score;
}

TEST(ContextServices, RatesAPageAgainstTheSpamDatabase)
{
    CKVContext context;
    SpamFilter::CSpamDB& database = context.GetSpamFilter().GetDatabase();
    database.SetTotals(1000, 1000);
    database.SetWordCounts("viagra", 0, 900);
    database.SetWordCounts("meeting", 400, 1);
    database.SetWordCounts("agenda", 300, 1);

    int rating = -1;
    SpamFilter::TokenScoreMap tokens;
    ASSERT_TRUE(context.RateSpamWithTokens("<p>Cheap <b>VIAGRA</b></p>", rating, tokens));
    EXPECT_EQ(rating, SpamRatingSpam);
    EXPECT_TRUE(tokens.count("viagra"));

    ASSERT_TRUE(context.RateSpam("<p>Meeting</p><p>agenda</p>", rating));
    EXPECT_EQ(rating, SpamRatingNone);

    // Words only inside style, script and object are not rated.
    tokens.clear();
    ASSERT_TRUE(context.RateSpamWithTokens("<style>viagra</style><script>viagra</script>", rating, tokens));
    EXPECT_EQ(rating, SpamRatingNone);
    EXPECT_TRUE(tokens.empty());
}
