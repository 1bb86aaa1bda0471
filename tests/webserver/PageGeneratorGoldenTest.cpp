#include "webserver/NewsletterPage.h"

#include "webserver/PageGeneratorFixture.h"
#include "webserver/PageGeneratorTestSupport.h"

namespace
{
class PageGeneratorGolden : public ::testing::TestWithParam<std::pair<NewsletterPageKind, const char*>>
{
};

TEST_P(PageGeneratorGolden, PageMatchesGoldenFile)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    CPageContext context;
    context.SetServerPort(fixture::Port);
    context.SetCurrentNewsletter(&newsletter);
    const NewsletterPageKind kind = GetParam().first;
    const bool personal = kind != Preview && kind != Edit;
    MergeFieldSet used;
    const LinkTrackerMap trackers = fixture::FixtureTrackers();
    QString page;
    ASSERT_TRUE(GenerateNewsletterPage(QStringLiteral("Kelvora (www.kelvora.example)"), page, kind, context,
                                       newsletter, personal ? &used : nullptr,
                                       personal ? &trackers : nullptr));
    ExpectMatchesGolden(page, QString::fromLatin1(GetParam().second));
    if (personal)
    {
        EXPECT_EQ(used, (MergeFieldSet{{110, true}, {120, true}}));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, PageGeneratorGolden,
                         ::testing::Values(std::pair{Preview, "golden-preview.html"},
                                           std::pair{Edit, "golden-edit.html"},
                                           std::pair{WebView, "golden-webview.php"},
                                           std::pair{MailEmbedded, "golden-mail-embedded.html"},
                                           std::pair{MailLinked, "golden-mail-linked.html"}));
} // namespace
