#include "webserver/StylePreviewPage.h"

#include "webserver/PageGeneratorFixture.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
TEST(StylePreviewPage, PageColourContrastsWithTheBox)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    CPageContext context;
    context.SetCurrentNewsletter(&newsletter);
    const struct
    {
        std::optional<CNdbColor> text, background;
        const char* page;
    } cases[] = {
        {CNdbColor(255, 255, 255), std::nullopt, "#333333"},
        {CNdbColor(0, 0, 0), std::nullopt, "#FFFFFF"},
        {CNdbColor(255, 255, 255), CNdbColor(255, 255, 0), "#333333"},
        {CNdbColor(255, 255, 255), CNdbColor(CNdbRgba(0, 0, 0, 0)), "#333333"},
        {std::nullopt, CNdbColor(fixture::KeyBlue), "#FFFFFF"},
        {std::nullopt, std::nullopt, "#FFFFFF"},
    };
    for (const auto& c : cases)
    {
        CNdbStyle style;
        if (c.text)
            style.SetField(StyleColor, CNdbFieldValue(*c.text));
        if (c.background)
            style.SetField(StyleBackgroundColor, CNdbFieldValue(*c.background));
        QString page;
        ASSERT_TRUE(BuildStylePreviewPage(page, &style, &context, QStringLiteral("<b>fox</b>")));
        EXPECT_TRUE(page.startsWith(
            QStringLiteral("<html><head></head><body style=\"margin:0px;background-color:%1;\">")
                .arg(QLatin1String(c.page))))
            << page.toStdString();
    }
}

TEST(StylePreviewPage, WritesTheSampleInTheStyle)
{
    CFixtureNewsletter newsletter;
    CPageContext context;
    context.SetCurrentNewsletter(&newsletter);
    CNdbStyle style;
    style.SetField(StyleFontFamily, CNdbFieldValue(QStringLiteral("\"Times\"")));
    QString page;
    ASSERT_TRUE(BuildStylePreviewPage(page, &style, &context, QStringLiteral("A <i>quick</i> fox")));
    EXPECT_EQ(page,
              QStringLiteral("<html><head></head><body style=\"margin:0px;background-color:#FFFFFF;\">\r\n"
                             "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" height=\"100%\" "
                             "width=\"100%\"><tr><td>\r\n<p style=\"font-family:'Times';\">A <i>quick</i> fox"
                             "</p></td></tr></table>\r\n</body></html>\r\n"));

    CPageContext closed;
    QString untouched = QStringLiteral("old");
    EXPECT_TRUE(BuildStylePreviewPage(untouched, &style, &closed, QStringLiteral("x")));
    EXPECT_TRUE(BuildStylePreviewPage(untouched, &style, nullptr, QStringLiteral("x")));
    EXPECT_EQ(untouched, QStringLiteral("old"));
}
} // namespace
