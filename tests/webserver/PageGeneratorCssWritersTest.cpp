#include "webserver/CssWriters.h"

#include "webserver/PageGeneratorFixture.h"

#include <gtest/gtest.h>

using namespace ndb;
using fixture::Color;
using fixture::Length;
using fixture::PaletteColor;

namespace
{
struct CssWriters : ::testing::Test
{
    CssWriters()
    {
        fixture::FillFixtureNewsletter(newsletter);
        context.SetServerPort(8080);
        context.SetCurrentNewsletter(&newsletter);
    }
    CFixtureNewsletter newsletter;
    CPageContext context;
};

QString BoxCss(const CNdbStyle& style, const IPageContext* context = nullptr)
{
    QString css;
    EXPECT_TRUE(WriteBoxSpacingCss(css, &style, context));
    return css;
}

TEST_F(CssWriters, BoxSpacingShorthands)
{
    struct Case
    {
        std::vector<std::pair<int, CNdbFieldValue>> fields;
        const char* css;
    };
    const std::vector<Case> cases = {
        {{{StyleFontSize, Length(12, NdbUnitPt)}}, "font:12pt;"},
        {{{StyleFontSize, Length(12, NdbUnitPt)}, {StyleLineHeight, Length(0, NdbUnitNone)}},
         "font:12pt/normal;"},
        {{{StyleFontWeight, CNdbFieldValue(NdbValueFontWeight, 1)},
          {StyleFontFamily, CNdbFieldValue(QStringLiteral("\"Arial\""))},
          {StyleLineHeight, Length(1.5f, NdbUnitEm)}},
         nullptr},
        {{{StyleMarginLeft, Length(10, NdbUnitPx)},
          {StyleMarginTop, Length(10, NdbUnitPx)},
          {StyleMarginRight, Length(10, NdbUnitPx)},
          {StyleMarginBottom, Length(10, NdbUnitPx)}},
         "margin:10px;"},
        {{{StyleMarginLeft, Length(10, NdbUnitPt)},
          {StyleMarginTop, Length(10, NdbUnitPx)},
          {StyleMarginRight, Length(10, NdbUnitPx)},
          {StyleMarginBottom, Length(10, NdbUnitPx)}},
         "margin:10px 10px 10px 10pt;"},
        {{{StyleMarginLeft, Length(1, NdbUnitPx)},
          {StyleMarginTop, Length(2, NdbUnitPx)},
          {StyleMarginRight, Length(3, NdbUnitPx)}},
         "margin-left:1px;margin-top:2px;margin-right:3px;"},
        {{{StylePaddingLeft, Length(4, NdbUnitPx)},
          {StylePaddingTop, Length(1, NdbUnitPx)},
          {StylePaddingRight, Length(2, NdbUnitPx)},
          {StylePaddingBottom, Length(3, NdbUnitPx)},
          {StyleColor, Color(1, 2, 3)}},
         "padding:1px 2px 3px 4px;color:#000000;"},
    };
    for (const Case& c : cases)
    {
        CNdbStyle style;
        for (const auto& [id, value] : c.fields)
            ASSERT_TRUE(style.SetField(id, value)) << id;
        const QString css = BoxCss(style);
        if (c.css)
            EXPECT_EQ(css.toStdString(), c.css);
        else
            EXPECT_EQ(css,
                      QStringLiteral("font:%1 'Arial';line-height:1.5em;").arg(style.GetFontWeightText()));
    }
}

TEST_F(CssWriters, EachStyleFieldWritesItsOwnProperty)
{
    const std::pair<int, const char*> fields[] = {
        {StyleFontFamily, "font-family"},
        {StyleFontSize, "font-size"},
        {StyleFontStyle, "font-style"},
        {StyleFontVariant, "font-variant"},
        {StyleFontWeight, "font-weight"},
        {StyleTextIndent, "text-indent"},
        {StyleTextAlign, "text-align"},
        {StyleLineHeight, "line-height"},
        {StyleVerticalAlign, "vertical-align"},
        {StyleWordSpacing, "word-spacing"},
        {StyleLetterSpacing, "letter-spacing"},
        {StyleTextTransform, "text-transform"},
        {StyleTextDecoration, "text-decoration"},
        {StyleColor, "color"},
        {StyleMarginLeft, "margin-left"},
        {StyleMarginTop, "margin-top"},
        {StyleMarginRight, "margin-right"},
        {StyleMarginBottom, "margin-bottom"},
        {StylePaddingLeft, "padding-left"},
        {StylePaddingTop, "padding-top"},
        {StylePaddingRight, "padding-right"},
        {StylePaddingBottom, "padding-bottom"},
        {StyleBorderLeftWidth, "border-left-width"},
        {StyleBorderLeftStyle, "border-left-style"},
        {StyleBorderLeftColor, "border-left-color"},
        {StyleBorderTopWidth, "border-top-width"},
        {StyleBorderTopStyle, "border-top-style"},
        {StyleBorderTopColor, "border-top-color"},
        {StyleBorderRightWidth, "border-right-width"},
        {StyleBorderRightStyle, "border-right-style"},
        {StyleBorderRightColor, "border-right-color"},
        {StyleBorderBottomWidth, "border-bottom-width"},
        {StyleBorderBottomStyle, "border-bottom-style"},
        {StyleBorderBottomColor, "border-bottom-color"},
        {StyleBackgroundColor, "background-color"},
        {StyleBackgroundRepeat, "background-repeat"},
        {StyleBackgroundAttachment, "background-attachment"},
        {StyleBackgroundPositionX, "background-position-x"},
        {StyleBackgroundPositionY, "background-position-y"},
        {StyleCursor, "cursor"},
        {StyleWidth, "width"},
        {StyleHeight, "height"},
        {StyleTop, "top"},
        {StyleLeft, "left"},
        {StyleBottom, "bottom"},
        {StyleRight, "right"},
        {StyleZIndex, "z-index"},
        {StyleWhiteSpace, "white-space"},
        {StyleFloat, "float"},
        {StyleClear, "clear"},
        {StyleOverflow, "overflow"},
        {StylePosition, "position"},
        {StyleDisplay, "display"},
    };
    const CNdbStyle record;
    for (const auto& [id, property] : fields)
    {
        QString css;
        EXPECT_TRUE(WriteFieldCss(CNdbFieldValue(), record, css, &context, id));
        EXPECT_TRUE(css.startsWith(QLatin1String(property) + u':') && css.endsWith(u';') &&
                    css.count(u';') == 1)
            << id << " " << css.toStdString();
    }
    for (const int id : {1, 100, 110, 915, 950, 970, 1210, 1290})
    {
        QString css;
        EXPECT_TRUE(WriteFieldCss(CNdbFieldValue(), record, css, &context, id));
        EXPECT_EQ(css, QString()) << id;
    }
}

TEST_F(CssWriters, RecordCssResolvesColoursThroughThePalette)
{
    CNdbStyle style;
    style.SetField(StyleColor, PaletteColor(fixture::KeyRed));
    style.SetField(StyleBackgroundColor, PaletteColor(QStringLiteral("{GONE}")));
    style.SetField(StyleLineHeight, Length(0, NdbUnitPx));
    style.SetField(StyleZIndex, CNdbFieldValue(NdbValueInt, -3));
    style.SetField(StyleFreeCss, CNdbFieldValue(QStringLiteral("outline:none;")));
    style.SetField(StyleDisplayName, CNdbFieldValue(QStringLiteral("Ignored")));
    QString css;
    ASSERT_TRUE(WriteRecordCss(css, &style, &context));
    EXPECT_EQ(css,
              QStringLiteral("line-height:normal;color:#D01010;background-color:;z-index:-3;outline:none;"));

    QString withoutContext;
    ASSERT_TRUE(WriteRecordCss(withoutContext, &style, nullptr));
    EXPECT_EQ(
        withoutContext,
        QStringLiteral("line-height:normal;color:#000000;background-color:#000000;z-index:-3;outline:none;"));
    EXPECT_FALSE(WriteRecordCss(css, nullptr, &context));
    EXPECT_FALSE(WriteBoxSpacingCss(css, nullptr, &context));
}

TEST_F(CssWriters, BackgroundImageIsTheLocalAddressOfTheResource)
{
    CNdbStyle style;
    style.SetField(StyleBackgroundImage, CNdbFieldValue(QStringLiteral("{RES-BG}")));
    QString css;
    WriteRecordCss(css, &style, &context);
    EXPECT_EQ(css, QStringLiteral("background-image:url(http://localhost:8080/img/bg.png);"));

    style.SetField(StyleBackgroundPipeline, CNdbFieldValue(QStringLiteral("{P}")));
    css.clear();
    WriteRecordCss(css, &style, &context);
    EXPECT_EQ(css, QStringLiteral("background-image:url(http://localhost:8080/img/bg.png?pid={P});"));

    // A deleted resource, or no context at all, writes no declaration.
    css.clear();
    WriteRecordCss(css, &style, nullptr);
    EXPECT_EQ(css, QString());
    style.SetField(StyleBackgroundImage, CNdbFieldValue(QStringLiteral("{res-bg}")));
    WriteRecordCss(css, &style, &context);
    EXPECT_EQ(css, QString());
}

TEST_F(CssWriters, NewsletterCssHasPaletteClassesAndOneRulePerStyle)
{
    newsletter.styles.clear();
    CNdbStyle& normal = newsletter.AddStyle(QStringLiteral("a"), QStringLiteral("normal"));
    normal.SetField(StyleFreeCss, CNdbFieldValue(QStringLiteral("a:1;b:2;")));
    newsletter.AddStyle(QStringLiteral("b"), QStringLiteral("Normal"));
    EXPECT_EQ(BuildNewsletterCss(&context),
              QStringLiteral(".text_11111111222233334444555555555555 { color:#1020C0; }\r\n"
                             ".bg_11111111222233334444555555555555 { background-color:#1020C0; }\r\n"
                             ".text_AAAAAAAABBBBCCCCDDDDEEEEEEEEEEEE { color:#D01010; }\r\n"
                             ".bg_AAAAAAAABBBBCCCCDDDDEEEEEEEEEEEE { background-color:#D01010; }\r\n"
                             ".normal, p {\r\na:1;\r\nb:2;\r\n}\r\n"
                             ".Normal {\r\n}\r\n"));
    CPageContext empty;
    EXPECT_EQ(BuildNewsletterCss(&empty), QString());
    EXPECT_EQ(BuildNewsletterCss(nullptr), QString());
}

TEST_F(CssWriters, NewsletterCssCannotEndItsStyleElement)
{
    newsletter.styles.clear();
    CNdbStyle& style = newsletter.AddStyle(QStringLiteral("a"), QStringLiteral("x</STYLE><b>"));
    style.SetField(StyleFreeCss, CNdbFieldValue(QStringLiteral("a:1;</style><script>alert(1)</script>")));
    const QString css = BuildNewsletterCss(&context);
    EXPECT_FALSE(css.contains(QLatin1String("</"))) << css.toStdString();
    EXPECT_TRUE(css.contains(QLatin1String(".x<\\/STYLE><b> {"))) << css.toStdString();
}

TEST_F(CssWriters, LengthsUseAPointWhateverTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German));
    CNdbStyle style;
    style.SetField(StyleFontSize, Length(10.5f, NdbUnitPt));
    QString css;
    WriteRecordCss(css, &style, &context);
    QLocale::setDefault(previous);
    EXPECT_EQ(css, QStringLiteral("font-size:10.5pt;"));
}
} // namespace
