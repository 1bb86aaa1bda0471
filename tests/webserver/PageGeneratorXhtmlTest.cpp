#include "webserver/NewsletterPage.h"

#include "webserver/PageGeneratorFixture.h"
#include "webserver/PageGeneratorXhtmlSupport.h"

namespace
{
struct PageGeneratorXhtml : ::testing::Test
{
    PageGeneratorXhtml()
    {
        fixture::FillFixtureNewsletter(newsletter);
        context.SetServerPort(fixture::Port);
        context.SetCurrentNewsletter(&newsletter);
    }
    QString Page(NewsletterPageKind kind)
    {
        QString page;
        MergeFieldSet used;
        const LinkTrackerMap trackers = fixture::FixtureTrackers();
        EXPECT_TRUE(GenerateNewsletterPage(QStringLiteral("Kelvora (www.kelvora.example)"), page, kind,
                                           context, newsletter, &used, &trackers));
        return page;
    }
    CFixtureNewsletter newsletter;
    CPageContext context;
};

TEST_F(PageGeneratorXhtml, PreviewWebViewAndMailBodiesAreStrictXhtml)
{
    // Without open tracking: its image stands directly in the body (see below).
    newsletter.SetSenderBool(SenderDynamicServicesField, false);
    EXPECT_EQ(XhtmlValidationErrors(Page(Preview).toUtf8()), QString());
    EXPECT_EQ(XhtmlValidationErrors(Page(MailEmbedded).toUtf8()), QString());
    EXPECT_EQ(XhtmlValidationErrors(Page(MailLinked).toUtf8()), QString());
    newsletter.SetSenderText(SenderSiteTypeField, QString());
    EXPECT_EQ(XhtmlValidationErrors(Page(WebView).toUtf8()), QString());
}

TEST_F(PageGeneratorXhtml, OpenTrackingImageIsTheOnlyConstructOutsideStrict)
{
    // The tracking image is an inline element right inside body, which Strict does not allow;
    // the page is otherwise valid.
    for (NewsletterPageKind kind : {MailEmbedded, MailLinked})
    {
        const QString page = Page(kind);
        const QString errors = XhtmlValidationErrors(page.toUtf8());
        EXPECT_TRUE(errors.contains(QLatin1String("Element body content does not follow the DTD")))
            << errors.toStdString();
        EXPECT_TRUE(errors.contains(QLatin1String("got (h1 p p table table table table p p img)")));
        QString withoutImage = page;
        withoutImage.remove(
            withoutImage.indexOf(QLatin1String("<img src=\"http://www.example.com/admin/i.php")),
            withoutImage.indexOf(QLatin1String("</body>")) -
                withoutImage.indexOf(QLatin1String("<img src=\"http://www.example.com/admin/i.php")));
        EXPECT_EQ(XhtmlValidationErrors(withoutImage.toUtf8()), QString());
    }
}
} // namespace
