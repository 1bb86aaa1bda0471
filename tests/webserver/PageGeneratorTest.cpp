#include "webserver/NewsletterPage.h"

#include "webserver/PageGeneratorFixture.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
struct PageGenerator : ::testing::Test
{
    PageGenerator()
    {
        fixture::FillFixtureNewsletter(newsletter);
        context.SetServerPort(fixture::Port);
        context.SetCurrentNewsletter(&newsletter);
        context.SetUnsubscribeText(QStringLiteral("Default text"));
    }

    QString Page(NewsletterPageKind kind, const LinkTrackerMap* trackers = nullptr,
                 MergeFieldSet* used = nullptr)
    {
        QString page;
        EXPECT_TRUE(
            GenerateNewsletterPage(QStringLiteral("gen"), page, kind, context, newsletter, used, trackers));
        return page;
    }
    // The written body content alone, between the body start tag line and "</body>".
    QString Body(NewsletterPageKind kind, const QString& html, const LinkTrackerMap* trackers = nullptr,
                 MergeFieldSet* used = nullptr)
    {
        newsletter.body = html;
        const QString page = Page(kind, trackers, used);
        const qsizetype start =
            page.indexOf(QLatin1String(">\r\n"), page.indexOf(QLatin1String("<body"))) + 3;
        QString body = page.mid(start, page.lastIndexOf(QLatin1String("</body>")) - start);
        if (kind == WebView && body.startsWith(QLatin1String("<?php if(")))
            body.remove(0, body.indexOf(QLatin1String("} ?>")) + 4);
        return body;
    }

    CFixtureNewsletter newsletter;
    CPageContext context;
};

TEST_F(PageGenerator, EmptyLayoutGivesTheSkeletonWithAnEmptyBody)
{
    newsletter.body.clear();
    newsletter.pageStyle = std::make_unique<CNdbStyle>();
    const QString page = Page(Preview);
    EXPECT_TRUE(page.startsWith(QLatin1String("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"")));
    EXPECT_TRUE(
        page.contains(QLatin1String("a { }\r\na:visited {  }\r\na:hover { }\r\nimg { border:none; }\r\n")));
    EXPECT_TRUE(page.endsWith(QLatin1String("<body class=\"normal\" style=\"\">\r\n</body>\r\n</html>\r\n")));

    newsletter.pageStyle.reset();
    EXPECT_TRUE(Page(Preview).endsWith(QLatin1String("<body class=\"normal\">\r\n</body>\r\n</html>\r\n")));
}

TEST_F(PageGenerator, MailPagesCarryNoStyleSheetButTheLinkRules)
{
    for (NewsletterPageKind kind : {MailEmbedded, MailLinked})
    {
        const QString page = Page(kind);
        EXPECT_FALSE(page.contains(QLatin1String("img { border:none; }")));
        EXPECT_FALSE(page.contains(QLatin1String(".text_")));
        EXPECT_TRUE(page.contains(QLatin1String("charset=iso-8859-1")));
    }
    EXPECT_TRUE(Page(WebView).contains(QLatin1String(".text_")));
}

TEST_F(PageGenerator, LinkColourWithAMissingPaletteKeyIsWrittenEmpty)
{
    newsletter.pageStyle->SetField(StyleLinkColor, fixture::PaletteColor(QStringLiteral("{GONE}")));
    EXPECT_TRUE(Page(Preview).contains(QLatin1String("a { color:; text-decoration:underline; }\r\n")));
}

TEST_F(PageGenerator, NameMetadataBecomesStyleDeclarations)
{
    const struct
    {
        const char* html;
        const char* written;
    } cases[] = {
        {"<p name=\"color:P{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE};\">x</p>",
         "<p style=\"color:#D01010;\">x</p>"},
        {"<p name=\"color:P{GONE};\">x</p>", "<p style=\"color:;\">x</p>"},
        {"<p name=\"other:1;\">x</p>", "<p style=\"\">x</p>"},
        {"<td name=\"src_border_left:2px dotted F{#00FF00FF};\" "
         "style=\"border-left-color:red;border-left-width:9px;padding:1px;\">x</td>",
         "<td style=\"padding:1px;border-left:2px dotted #00FF00;\">x</td>"},
        {"<td name=\"src_border_left:2px dotted;\" style=\"padding:1px;\">x</td>",
         "<td style=\"padding:1px;\">x</td>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Body(Preview, QString::fromLatin1(c.html)).toStdString(), c.written) << c.html;
}

TEST_F(PageGenerator, BookmarksAndEditorAttributes)
{
    const QString html =
        QStringLiteral("<p><code><b><a name=\"here\">x</a></b></code><code>plain</code>"
                       "<a name=\"anchor\">a</a><a href=\"#here\" name=\"src_action_type:self;\">b</a>"
                       "</p><table class=\"sys_table\"><tr><td class=\"sys_td\">c</td></tr></table>");
    EXPECT_EQ(
        Body(Preview, html),
        QStringLiteral("<p><a name=\"here\" /><code>plain</code><a name=\"anchor\" style=\"\">a</a>"
                       "<a href=\"#here\" style=\"\">b</a></p><table><tr><td class=\"sys_td\">c</td></tr>"
                       "</table>"));
    // The edit page keeps every piece of metadata for the editor.
    EXPECT_TRUE(
        Body(Edit, html).contains(QLatin1String("<code><b><a name=\"here\" style=\"\">x</a></b></code>")));
    EXPECT_TRUE(Body(Edit, html).contains(QLatin1String("class=\"sys_table\"")));
}

TEST_F(PageGenerator, OnlyTheFirstSavedEditorStyleIsDropped)
{
    EXPECT_EQ(Body(Preview, QStringLiteral("<style id=\"kv_system_style_id\">.a{}</style><p>x</p>"
                                           "<style id=\"KV_SYSTEM_STYLE_ID\">.b{}</style>")),
              QStringLiteral("<p>x</p><style id=\"KV_SYSTEM_STYLE_ID\">.b{}</style>"));
}

TEST_F(PageGenerator, PublishedPagesHaveNoLocalServerAddress)
{
    const LinkTrackerMap trackers = fixture::FixtureTrackers();
    for (NewsletterPageKind kind : {WebView, MailEmbedded, MailLinked})
    {
        MergeFieldSet used;
        const QString page = Page(kind, &trackers, &used);
        EXPECT_FALSE(page.contains(QLatin1String("localhost"))) << int(kind);
    }
    EXPECT_TRUE(Page(MailLinked)
                    .contains(QLatin1String(
                        "background-image:url(http://www.example.com/news/img/bg.png?pid={PIPE-2});")));
    EXPECT_TRUE(Page(WebView).contains(QLatin1String(".c1 {\r\nbackground-image:url(img/bg.png);")));
    EXPECT_TRUE(Page(Preview).contains(QLatin1String("url(http://localhost:8080/img/bg.png?pid={PIPE-2})")));
}

TEST_F(PageGenerator, SiteBaseAddressJoinsSiteAndFolder)
{
    const struct
    {
        const char* site;
        const char* folder;
        const char* base;
    } cases[] = {
        {"http://a.example", "", "http://a.example"},
        {"http://a.example/", " /news/ ", "http://a.example/news"},
        {"http://a.example", "news", "http://a.example/news"},
        {"", "/news/", "news"},
    };
    for (const auto& c : cases)
    {
        newsletter.SetSenderText(SenderSiteUrlField, QString::fromLatin1(c.site));
        newsletter.SetSenderText(SenderWebViewFolderField, QString::fromLatin1(c.folder));
        EXPECT_EQ(GetSiteBaseAddress(newsletter).toStdString(), c.base);
    }
}

TEST_F(PageGenerator, MergeFieldsBecomeTokensOrEscapedScriptOutput)
{
    const QString html =
        QStringLiteral("<p><span name=\"fc_110\">Name</span><span name=\"fc_x\">?</span></p>");
    MergeFieldSet used;
    newsletter.SetSenderBool(SenderTrackingField, false);
    EXPECT_EQ(
        Body(MailEmbedded, html, nullptr, &used).toStdString(),
        std::string("<p style=\"margin:4px;font:10pt/normal 'Trebuchet MS', sans-serif;color:#D01010;\">"
                    "[[[fc_110]]][[[fc_x]]]</p>"));
    EXPECT_EQ(used, (MergeFieldSet{{0, true}, {110, true}}));

    newsletter.SetSenderText(SenderSiteTypeField, QStringLiteral("ASP"));
    const QString asp = Page(WebView);
    EXPECT_TRUE(asp.startsWith(QLatin1String("<%@ language=\"javascript\" codepage=\"65001\" %>\r\n")));
    EXPECT_TRUE(asp.contains(QLatin1String("<%=Server.HTMLEncode(qv(\"fc_110\"))%>")));
    EXPECT_FALSE(asp.contains(QLatin1String("unsub")));

    newsletter.SetSenderText(SenderSiteTypeField, QStringLiteral("static"));
    EXPECT_EQ(Body(WebView, html), QStringLiteral("<p></p>"));
    EXPECT_FALSE(Page(WebView).contains(QLatin1String("<?php")));
}

TEST_F(PageGenerator, LinkActions)
{
    const LinkTrackerMap trackers = {{QStringLiteral("http://t.example/"), QStringLiteral("7")}};
    const QString tracked =
        QStringLiteral("<a href=\"http://t.example/\" name=\"src_action_type:ext;\">t</a>");
    struct Case
    {
        NewsletterPageKind kind;
        const char* siteType;
        bool tracking; // 644 and 811
        QString html;
        QString expected;
    };
    const QString phpLink =
        QStringLiteral("<a href=\"http://www.example.com/admin/v.php?u=[[[USEREMAIL]]]&amp;t=7\" "
                       "title=\"http://t.example/\">t</a>");
    const std::vector<Case> cases = {
        {MailEmbedded, "php", true, tracked, phpLink},
        {MailEmbedded, "php", false, tracked, "<a href=\"http://t.example/\">t</a>"},
        {MailLinked, "php", false, tracked, phpLink},
        {MailLinked, "asp", false, tracked,
         "<a href=\"http://www.example.com/admin/v.asp?u=[[[USEREMAIL]]]&amp;t=7\" "
         "title=\"http://t.example/\">t</a>"},
        {MailLinked, "ASP", false, tracked, ""},
        {WebView, "php", false, tracked,
         "<a href=\"http://www.example.com/admin/v.php?u=<?php print(urlencode(qv('u'))); ?>&amp;t=7\" "
         "title=\"http://t.example/\">t</a>"},
        {MailLinked, "php", false, QStringLiteral("<a href=\"http://other.example/\">o</a>"),
         "<a href=\"http://other.example/\">o</a>"},
        {MailLinked, "php", false, QStringLiteral("<a href=\"x\" name=\"src_action_type:webview;\">w</a>"),
         "<a href=\"[[[WEBVIEWURL]]]\">w</a>"},
        {WebView, "php", false, QStringLiteral("<a href=\"x\" name=\"src_action_type:webview;\">w</a>"), ""},
        {MailLinked, "php", false,
         QStringLiteral("<a href=\"x\" name=\"src_action_type:unsubscribe;\">u</a>"),
         "<a href=\"[[[UNSUBSCRIBEURL]]]\">u</a>"},
        {WebView, "php", false, QStringLiteral("<a href=\"x\" name=\"src_action_type:unsubscribe;\">u</a>"),
         "<a href=\"mailto:news@example.com\">u</a>"},
        {MailLinked, "php", false,
         QStringLiteral("<a href=\"MailTo:x@y\" name=\"src_action_type:unsubscribe;\">u</a>"),
         "<a href=\"mailto:news@example.com\">u</a>"},
    };
    newsletter.pageStyle.reset(); // no inlined link colours
    newsletter.styles.clear();
    for (const Case& c : cases)
    {
        newsletter.SetSenderText(SenderSiteTypeField, QString::fromLatin1(c.siteType));
        newsletter.SetSenderBool(SenderDynamicServicesField, c.tracking);
        newsletter.SetSenderBool(SenderTrackingField, c.tracking);
        MergeFieldSet used;
        QString body = Body(c.kind, c.html, &trackers, &used);
        body.remove(QLatin1String(" style=\"border:none;\"")).remove(QLatin1String(" style=\"\""));
        if (c.tracking && c.kind != WebView)
            body = body.left(body.indexOf(QLatin1String("<img")));
        EXPECT_EQ(body.toStdString(), c.expected.toStdString()) << c.html.toStdString() << " kind " << c.kind;
    }
}

TEST_F(PageGenerator, TrackingAddressesWithoutASiteBeginWithASlash)
{
    newsletter.SetSenderText(SenderSiteUrlField, QString());
    const LinkTrackerMap trackers = {{QStringLiteral("http://t.example/"), QStringLiteral("7")}};
    MergeFieldSet used;
    const QString page = Page(MailEmbedded, &trackers, &used);
    EXPECT_TRUE(page.contains(
        QLatin1String("<img src=\"/admin/i.php?c={NL-0001}&amp;u=[[[USEREMAIL]]]\" height=\"2\" "
                      "width=\"3\" style=\"border:none;\" alt=\"\" /></body>")));
}

TEST_F(PageGenerator, TrackingImageAddressIsEscapedForItsAttribute)
{
    newsletter.SetSenderText(SenderSiteUrlField, QStringLiteral("http://s.example/?a=1&b=\"><x>"));
    MergeFieldSet used;
    const QString page = Page(MailEmbedded, nullptr, &used);
    EXPECT_TRUE(
        page.contains(QLatin1String("<img src=\"http://s.example/?a=1&amp;b=&quot;&gt;&lt;x&gt;/admin/"
                                    "i.php?c={NL-0001}&amp;u=[[[USEREMAIL]]]\" height=\"2\"")))
        << page.toStdString();
}

TEST_F(PageGenerator, UnsubscribeBannerTextIsEscapedForPageAndScript)
{
    newsletter.SetSenderText(SenderUnsubscribeTextField,
                             QStringLiteral("<b>Bye</b> ${phpinfo()} \\ \u00e9\r\nok"));
    const QString page = Page(WebView);
    EXPECT_TRUE(page.contains(QLatin1String("class=\\\"normal\\\">&lt;b&gt;Bye&lt;/b&gt; \\${phpinfo()} \\\\ "
                                            "&#233;<br />ok</div>\\r\\n\"); } ?>")));

    newsletter.sender.erase(SenderUnsubscribeTextField);
    EXPECT_TRUE(Page(WebView).contains(QLatin1String("class=\\\"normal\\\">Default text</div>")));
    newsletter.SetSenderText(SenderUnsubscribeTextField, QString());
    EXPECT_TRUE(Page(WebView).contains(QLatin1String("class=\\\"normal\\\"></div>")));
}
} // namespace
