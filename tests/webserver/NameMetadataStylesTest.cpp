#include "webserver/NewsletterPage.h"

#include "x2/X2Validator.h"

#include <gtest/gtest.h>

// The generator reads the editor's pairs with the editor's own reader: escaped values come back
// decoded once, and a key is only taken at a pair start.
TEST(NameMetadataStyles, DecodesTheEditorsEscapedValues)
{
    const struct
    {
        const char* name;
        const char* style;
    } cases[] = {
        {"src_border_top:solid 1%2E5px F{#FF0000FF};", "border-top:solid 1.5px #FF0000;"},
        {"x; background-color:F{#00FF00FF};", "background-color:#00FF00;"},
        {"src_color:F{#0000FFFF};", ""},
    };
    for (const auto& c : cases)
    {
        CX2Validator document;
        ASSERT_TRUE(
            document.ParseHtml(QStringLiteral("<div name=\"%1\">x</div>").arg(QLatin1String(c.name))));
        QList<CX2Element*> divs;
        document.FindElementsByName(divs, QStringLiteral("div"));
        ASSERT_EQ(divs.size(), 1);
        ApplyNameMetadataStyles(divs.front(), nullptr);
        EXPECT_EQ(divs.front()->GetAttributeValue(QStringLiteral("style")), QString::fromLatin1(c.style))
            << c.name;
    }
}
