#include "editor/ElementReaders.h"
#include "dialogs/DlgHtmlActionProperties.h"
#include "dialogs/LinkAddress.h"
#include "editor/ElementLinks.h"
#include "ndb/NdbStyle.h"
#include "x2/X2TestSupport.h"
#include "x2/X2Validator.h"

#include <gtest/gtest.h>

using namespace ndb;

namespace
{
// A field as text: a length in CSS, a colour in its stored form, a code as its number; "-" when
// absent.
QString FieldText(const CNdbStyle& style, int id)
{
    CNdbFieldValue value;
    if (!style.GetField(id, value))
        return QStringLiteral("-");
    if (value.GetType() == NdbValueLength)
        return value.FormatLength();
    if (value.GetColor())
        return value.GetColor()->ToText();
    return QString::number(value.GetInt());
}
} // namespace

// Only web, file-server and mail addresses, or addresses inside the newsletter, may be linked;
// schemes are found the way a browser finds them, through tabs, line breaks and leading blanks.
TEST(LinkAddress, RefusesEveryOtherScheme)
{
    const struct
    {
        const char* address;
        bool allowed;
    } cases[] = {
        {"https://example.com/a?b=c", true},
        {"HTTP://example.com", true},
        {"ftp://files.example.com/x.zip", true},
        {"mailto:editor@example.com", true},
        {"#news", true},
        {"pages/more.html", true},
        {"", true},
        {"http://kelvora.invalid/", true},
        {"JavaScript:alert(1)", false},
        {"java\tscript:alert(1)", false},
        {"java\nscript:alert(1)", false},
        {" \x01javascript:alert(1)", false},
        {"vbscript:msgbox(1)", false},
        {"data:text/html,<b>x</b>", false},
        {"file:///etc/passwd", false},
        {"C:\\secret.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAllowedLinkAddress(QString::fromLatin1(c.address)), c.allowed) << c.address;
}

// A link opens its dialog by its kind pair, made lower case, and its address; a later rule wins.
TEST(LinkReading, KindAddressAndBookmarkFromThePairAndTheHref)
{
    const struct
    {
        const char* type;
        const char* href;
        int kind;
        const char* address;
        const char* bookmark;
        int unsubscribe;
    } cases[] = {
        {"", "https://example.com/#top", 0, "https://example.com/#top", "", 0},
        {"", "#news", 1, "", "news", 0},
        {"ext", "#news", 1, "", "news", 0},
        {"SELF", "page.html#part", 1, "", "part", 0},
        {"self", "#", 1, "", "", 0},
        {"WebView", "http://kelvora.invalid/", 2, "", "", 0},
        {"unsubscribe", "x?to=mailto:me@example.com", 3, "", "", 0},
        {"unsubscribe", "http://kelvora.invalid/", 3, "", "", 1},
        {"other", "http://example.com", 0, "http://example.com", "", 0},
    };
    for (const auto& c : cases)
    {
        CDlgHtmlActionProperties dialog;
        ReadLinkIntoDialog(QString::fromLatin1(c.type), QString::fromLatin1(c.href), dialog);
        EXPECT_EQ(dialog.m_kind, c.kind) << c.type << " " << c.href;
        EXPECT_EQ(dialog.m_address, QString::fromLatin1(c.address)) << c.href;
        EXPECT_EQ(dialog.m_bookmarkName, QString::fromLatin1(c.bookmark)) << c.href;
        EXPECT_EQ(dialog.m_unsubscribeKind, c.unsubscribe) << c.href;
    }
}

// Each kind writes its pair and href; "No Link" writes nothing.
TEST(LinkReading, TargetOfEachKind)
{
    CDlgHtmlActionProperties dialog;
    dialog.m_address = QStringLiteral("https://example.com");
    dialog.m_bookmarkName = QStringLiteral("news");
    const QString placeholder = QStringLiteral("http://kelvora.invalid/");
    const struct
    {
        int kind;
        int unsubscribe;
        const char* type;
        const char* href;
    } cases[] = {
        {0, 0, "ext", "https://example.com"},
        {1, 0, "self", "#news"},
        {2, 0, "webview", "http://kelvora.invalid/"},
        {3, 0, "unsubscribe", "mailto:me@example.com"},
        {3, 1, "unsubscribe", "http://kelvora.invalid/"},
    };
    for (const auto& c : cases)
    {
        dialog.m_kind = c.kind;
        dialog.m_unsubscribeKind = c.unsubscribe;
        LinkTarget target;
        ASSERT_TRUE(LinkTargetOf(dialog, QStringLiteral("me@example.com"), placeholder, target));
        EXPECT_EQ(target.type, QString::fromLatin1(c.type));
        EXPECT_EQ(target.href, QString::fromLatin1(c.href));
    }
    dialog.m_kind = CDlgHtmlActionProperties::KindNoLink;
    LinkTarget none;
    EXPECT_FALSE(LinkTargetOf(dialog, QString(), placeholder, none));
}

// A bookmark's name enters the markup escaped: whatever it holds, the parsed fragment is one code
// element with the name as its attribute, an empty anchor and the label.
TEST(Bookmarks, NamesAreEscapedWhereTheyEnterTheMarkup)
{
    for (const QString& name :
         {QStringLiteral("news"), QStringLiteral("say \"hi\""), QStringLiteral("<b>bold</b>"),
          QStringLiteral("Tom & Jerry"), QStringLiteral("x' onmouseover='alert(1)")})
    {
        CX2Validator document;
        ASSERT_TRUE(document.ParseHtml(BookmarkHtml(name)));
        QString written;
        ASSERT_TRUE(document.WriteHtml(written));
        CX2Validator again;
        ASSERT_TRUE(again.ParseHtml(written));
        QString rewritten;
        ASSERT_TRUE(again.WriteHtml(rewritten));
        EXPECT_EQ(written, rewritten) << "the written form reads back the same";
        EXPECT_EQ(written.count(QLatin1String("<code")), 1) << written.toStdString();
        EXPECT_FALSE(written.contains(QLatin1String("<b>"))) << written.toStdString();
        EXPECT_TRUE(written.contains(QStringLiteral("name=\"%1\"").arg(name.toHtmlEscaped())))
            << written.toStdString();
    }
}

// A rule's width comes from its inline style, else its attribute, with fraction and unit; the
// height in pixels; the colours and the border from the pairs of its name.
TEST(ElementReaders, HorizontalRules)
{
    const struct
    {
        RuleAttributes rule;
        const char* width;
        const char* height;
        const char* background;
        const char* borderWidth;
        const char* borderColor;
    } cases[] = {
        {{}, "-", "0", "F{}", "0", "F{}"},
        {{"", "50%", "", "", ""}, "50%", "0", "F{}", "0", "F{}"},
        {{"12.5em", "50%", "3px", "7", ""}, "12.5em", "3px", "F{}", "0", "F{}"},
        {{"", "300", "", "4", ""}, "300px", "4px", "F{}", "0", "F{}"},
        {{"auto", "", "", "", ""}, "-", "0", "F{}", "0", "F{}"},
        {{"", "", "", "", "border:solid 2px F{#FF0000FF};background-color:F{#00FF00FF};"},
         "-",
         "0",
         "F{#00FF00FF}",
         "2px",
         "F{#FF0000FF}"},
        {{"", "", "", "", "border: 2px F{#FF0000FF};"}, "-", "0", "F{}", "0", "F{}"},
        {{"", "", "", "", "border:solid 2px F{#FF0000FF} x;"}, "-", "0", "F{}", "0", "F{}"},
        {{"", "", "", "", "border:solid wide P{key};"}, "-", "0", "F{}", "0", "P{key}"},
        {{"99999999999px", "", "-5px", "", ""}, "1000000px", "-5px", "F{}", "0", "F{}"},
    };
    for (const auto& c : cases)
    {
        CNdbStyle style;
        ReadRuleStyle(c.rule, style);
        const std::string label =
            (c.rule.inlineWidth + u'|' + c.rule.widthAttribute + u'|' + c.rule.name).toStdString();
        EXPECT_EQ(FieldText(style, StyleWidth), QString::fromLatin1(c.width)) << label;
        EXPECT_EQ(FieldText(style, StyleHeight), QString::fromLatin1(c.height)) << label;
        EXPECT_EQ(FieldText(style, StyleBackgroundColor), QString::fromLatin1(c.background)) << label;
        EXPECT_EQ(FieldText(style, StyleBorderTopWidth), QString::fromLatin1(c.borderWidth)) << label;
        EXPECT_EQ(FieldText(style, StyleBorderTopColor), QString::fromLatin1(c.borderColor)) << label;
    }
}

// An image's keywords, border pair (style word included) and margins.
TEST(ElementReaders, Images)
{
    ImageAttributes image;
    image.name = QStringLiteral("src_ResID:{1};src_border:dotted 3px F{#0000FFFF};");
    image.inlineFloat = QStringLiteral("right");
    image.inlineVerticalAlign = QStringLiteral("middle");
    image.inlineDisplay = QStringLiteral("block");
    image.margins[0] = QStringLiteral("4px");
    image.margins[3] = QStringLiteral("1.5em");
    CNdbStyle style;
    ReadImageStyle(image, style);
    EXPECT_EQ(style.GetFloatText(), "right");
    EXPECT_EQ(style.GetVerticalAlignText(), "middle");
    EXPECT_EQ(style.GetDisplayText(), "block");
    EXPECT_EQ(style.GetBorderTopStyleText(), "dotted");
    EXPECT_EQ(FieldText(style, StyleBorderTopWidth), "3px");
    EXPECT_EQ(FieldText(style, StyleBorderTopColor), "F{#0000FFFF}");
    EXPECT_EQ(FieldText(style, StyleMarginTop), "4px");
    EXPECT_EQ(FieldText(style, StyleMarginRight), "1.5em");
    EXPECT_EQ(FieldText(style, StyleMarginBottom), "-");

    // Two words after trimming: no border at all.
    CNdbStyle twoWords;
    image = {};
    image.name = QStringLiteral("src_border: 3px F{#0000FFFF} ;");
    ReadImageStyle(image, twoWords);
    EXPECT_EQ(FieldText(twoWords, StyleBorderTopWidth), "0");
    EXPECT_EQ(FieldText(twoWords, StyleBorderTopColor), "-") << "the dialog's black then";
    EXPECT_EQ(FieldText(twoWords, StyleBorderTopStyle), "-");
}

TEST(ElementReaders, ImageSourcesAndToolTips)
{
    EXPECT_EQ(PipelineIdOf("img/a.png?pid={P}"), "{P}");
    EXPECT_EQ(PipelineIdOf("img/a.png?x=1?pid=a?pid=b"), "a?pid=b");
    EXPECT_EQ(PipelineIdOf("img/a.png"), "");
    EXPECT_EQ(ImageSourceText("img/a.png", "{P}"), "img/a.png?pid={P}");
    EXPECT_EQ(ImageSourceText("img/a.png", ""), "img/a.png");
    EXPECT_EQ(UnescapeToolTip("Tom &amp; &quot;Jerry&quot; &lt;3&gt; &amp;lt;"), "Tom & \"Jerry\" <3> &lt;");
}
