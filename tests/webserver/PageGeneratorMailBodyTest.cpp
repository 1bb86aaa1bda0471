#include "webserver/MailBody.h"
#include "webserver/NewsletterPage.h"

#include "webserver/PageGeneratorFixture.h"
#include "x2/X2Validator.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
QString Rewrite(const QString& html, const std::function<void(CX2Element*)>& pass)
{
    CX2Validator document;
    EXPECT_TRUE(document.ParseHtml(html));
    pass(&document.GetRoot());
    QString written;
    document.WriteHtml(written);
    return written;
}

TEST(PageGeneratorMailBody, BoxesBecomeTablesWithSpacers)
{
    const struct
    {
        const char* html;
        const char* written;
    } cases[] = {
        {"<div style=\"margin:10px 5px;color:red\">x</div>",
         "<table cellpadding=\"0\" cellspacing=\"0\"><tr><td "
         "style=\"line-height:1px;font-size:1px;height:10px;\">&nbsp;</td></tr></table>"
         "<table style=\"margin:0 5px 0 5px;\" cellpadding=\"0\" cellspacing=\"0\"><tr><td "
         "style=\"color:red;\">x</td>"
         "</tr></table><table cellpadding=\"0\" cellspacing=\"0\"><tr><td "
         "style=\"line-height:1px;font-size:1px;height:10px;\">&nbsp;</td></tr></table>"},
        {"<div style=\"margin:0\">x</div>",
         "<table style=\"margin:0 0 0 0;\" cellpadding=\"0\" cellspacing=\"0\"><tr><td>x</td></tr></table>"},
        {"<div style=\"margin-top:-5px;border:1px solid\">x</div>",
         "<table cellpadding=\"0\" cellspacing=\"0\"><tr><td "
         "style=\"line-height:1px;font-size:1px;height:-5px;\">&nbsp;</td></tr></table>"
         "<table style=\"margin-top:-5px;border:1px solid;\" cellpadding=\"0\" "
         "cellspacing=\"0\"><tr><td>x</td></tr>"
         "</table>"},
        {"<div id=\"a\" class=\"b\" style=\"padding:1px\"><div>in</div></div>",
         "<table cellpadding=\"0\" cellspacing=\"0\"><tr><td style=\"padding:1px;\" class=\"b\" id=\"a\">"
         "<table cellpadding=\"0\" cellspacing=\"0\"><tr><td>in</td></tr></table></td></tr></table>"},
        {"<div style=\"margin:1px 2px 3px 4px 5px\">x</div>",
         "<table style=\"margin:1px 2px 3px 4px 5px;\" cellpadding=\"0\" "
         "cellspacing=\"0\"><tr><td>x</td></tr></table>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rewrite(QString::fromLatin1(c.html), ConvertBoxesToTables).toStdString(), c.written)
            << c.html;
}

TEST(PageGeneratorMailBody, ImageSizesBecomeAttributes)
{
    EXPECT_EQ(
        Rewrite(QStringLiteral("<img style=\"width:120px;height:auto\" /><img style=\"height:7.5px\" />"),
                SetImageSizeAttributes),
        QStringLiteral("<img style=\"width:120px;height:auto\" width=\"120\" />"
                       "<img style=\"height:7.5px\" height=\"7\" />"));
}

TEST(PageGeneratorMailBody, LinkedMailPointsRelativeAddressesAtTheSite)
{
    const QString base = QStringLiteral("http://s.example/news");
    auto pass = [&base](CX2Element* root) { MakeAddressesAbsolute(root, base); };
    EXPECT_EQ(Rewrite(QStringLiteral("<img src=\"/img/a.png\" /><img src=\"img/b.png\" />"
                                     "<img src=\"http://o.example/c.png\" /><img src=\"\" />"),
                      pass),
              QStringLiteral("<img src=\"http://s.example/news/img/a.png\" />"
                             "<img src=\"http://s.example/news/img/b.png\" />"
                             "<img src=\"http://o.example/c.png\" /><img src=\"\" />"));
    EXPECT_EQ(Rewrite(QStringLiteral("<td style=\"background:url(/img/a.png)\">x</td>"
                                     "<div style=\"background-image:url(https://o.example/b.png)\">y</div>"
                                     "<p style=\"background:url(img/c.png)\">z</p>"),
                      pass),
              QStringLiteral("<td style=\"background:url(http://s.example/news/img/a.png)\">x</td>"
                             "<div style=\"background-image:url(https://o.example/b.png)\">y</div>"
                             "<p style=\"background:url(img/c.png)\">z</p>"));
}

TEST(PageGeneratorMailBody, ParagraphStylesAreInlined)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    newsletter.pageStyle.reset();
    CPageContext context;
    context.SetCurrentNewsletter(&newsletter);
    auto pass = [&](CX2Element* root) { InlineMailStyles(root, context, newsletter); };
    EXPECT_EQ(Rewrite(QStringLiteral("<p style=\"color:red;\">a</p><p class=\"nothing\">b</p>"
                                     "<p class=\"c1\">c</p><img style=\"BORDER-LEFT:1px\" />"),
                      pass),
              QStringLiteral(
                  "<p style=\"margin:4px;font:10pt/normal 'Trebuchet MS', sans-serif;color:#D01010;"
                  "color:red;\">a</p><p class=\"nothing\">b</p>"
                  "<p style=\"background-image:url(img/bg.png);border:1px solid #808080;padding:2px;\">c</p>"
                  "<img style=\"BORDER-LEFT:1px\" />")
                  .replace(QLatin1String("url(img/"), QLatin1String("url(http://localhost:0/img/")));
}

TEST(PageGeneratorMailBody, ContentIdsForImagesAndBackgrounds)
{
    CX2Validator document;
    ASSERT_TRUE(document.ParseHtml(QStringLiteral(
        "<img src=\"img/a.png\" /><td style=\"background:url(img/b.png?pid=p) "
        "no-repeat;x:url(img/b.png?pid=p)\">"
        "<img src=\"img/c.png\" style=\"background-image:url(img/d.png)\" /></td>"
        "<p style=\"background:url()\">e</p><img src=\"http://s.example/admin/i.php?c=1\" />")));
    QList<CX2Element*> elements;
    ConvertImageSourcesToCid(&document.GetRoot(), elements,
                             {QStringLiteral("X"), QStringLiteral("news.test")});
    ASSERT_EQ(elements.size(), 4);
    ContentIdPartMap parts;
    CollectContentIdParts(elements, parts);
    QString written;
    document.WriteHtml(written);
    EXPECT_EQ(written, QStringLiteral(
                           "<img src=\"cid:X001@news.test\" /><td style=\"background:url(cid:X002@news.test) "
                           "no-repeat;x:url(cid:X002@news.test)\"><img src=\"cid:X003@news.test\" "
                           "style=\"background-image:url(cid:X004@news.test)\" /></td>"
                           "<p style=\"background:url()\">e</p>"
                           "<img src=\"http://s.example/admin/i.php?c=1\" />"));
    // The image with a background keeps its own picture under its own content id.
    EXPECT_EQ(parts, (ContentIdPartMap{{QStringLiteral("X001@news.test"), QStringLiteral("img/a.png")},
                                       {QStringLiteral("X002@news.test"), QStringLiteral("img/b.png?pid=p")},
                                       {QStringLiteral("X003@news.test"), QStringLiteral("img/c.png")},
                                       {QStringLiteral("X004@news.test"), QStringLiteral("img/d.png")}}));
}

TEST(PageGeneratorMailBody, StyleBackgroundsInThePageTextBecomeContentIds)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    newsletter.styles[QStringLiteral("{S-3}")]->SetField(StyleBackgroundPipeline,
                                                         CNdbFieldValue(QStringLiteral("P")));
    newsletter.styles[QStringLiteral("{S-2}")]->SetField(StyleBackgroundImage,
                                                         CNdbFieldValue(QStringLiteral("{X}")));
    CPageContext context;
    context.SetServerPort(81);
    context.SetCurrentNewsletter(&newsletter);
    QString page = QStringLiteral("a url(http://localhost:81/img/bg.png?pid=P) b");
    ContentIdPartMap parts;
    ConvertResourceUrlsToCid(context, page, parts, {QStringLiteral("T"), QStringLiteral("news.test")});
    EXPECT_EQ(page, QStringLiteral("a url(cid:T001@news.test) b"));
    EXPECT_EQ(parts,
              (ContentIdPartMap{{QStringLiteral("T001@news.test"), QStringLiteral("img/bg.png?pid=P")}}));
}

TEST(PageGeneratorMailBody, EmbeddedMailBodyTurnsEveryPictureIntoAPart)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    CPageContext context;
    context.SetServerPort(fixture::Port);
    context.SetCurrentNewsletter(&newsletter);
    QString page;
    MergeFieldSet used;
    const LinkTrackerMap trackers = fixture::FixtureTrackers();
    ASSERT_TRUE(GenerateNewsletterPage(QStringLiteral("g"), page, MailEmbedded, context, newsletter, &used,
                                       &trackers));
    CX2Validator document;
    ASSERT_TRUE(document.ParseHtml(page));
    QList<CX2Element*> elements;
    ConvertImageSourcesToCid(&document.GetRoot(), elements,
                             {QStringLiteral("C"), QStringLiteral("news.test")});
    ContentIdPartMap parts;
    CollectContentIdParts(elements, parts);
    QString written;
    document.WriteHtml(written);
    ConvertResourceUrlsToCid(context, written, parts, {QStringLiteral("C"), QStringLiteral("news.test")});
    EXPECT_FALSE(written.contains(QLatin1String("img/")));
    EXPECT_FALSE(written.contains(QLatin1String("localhost")));
    EXPECT_TRUE(written.contains(QLatin1String("admin/i.php")));
    for (const auto& [cid, address] : parts)
        EXPECT_TRUE(address.startsWith(QLatin1String("img/"))) << address.toStdString();
}
} // namespace
