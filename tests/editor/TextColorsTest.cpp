#include "BrowserHost.h"

#include "editor/TextColors.h"
#include "ndb/NdbColor.h"

namespace
{
// Around every case: text elsewhere that is coloured already, also with the marker colour, and
// must come out as it went in.
const QString Elsewhere =
    QStringLiteral("<p><font color=\"#EF01EF\">marker</font> "
                   "<font class=\"text_k9\" color=\"\" name=\"color:P{k9};\">old</font> "
                   "<font style=\"background-color: #EF01FE\">fill</font></p>");

struct ColorCase
{
    const char* name;
    QString fixture; // the paragraph whose text "XX" is selected
    bool fill;
    ndb::CNdbColor color;
    QString expected;
};
} // namespace

TEST(TextColors, OnlyTheSelectedTextIsRecolouredInTheGeneratorsForm)
{
    const ndb::CNdbColor red(0xFF, 0x00, 0x00);
    const ndb::CNdbColor palette(QStringLiteral("k1"));
    const ColorCase cases[] = {
        {"fixed text colour on plain text", "<p>aa XX bb</p>", false, red,
         "<p>aa <font color=\"#FF0000\" name=\"color:F{#FF0000FF};\">XX</font> bb</p>"},
        {"palette text colour keeps the other classes after its own",
         "<p><font class=\"keep text_k2 also\">XX</font></p>", false, palette,
         "<p><font class=\"text_k1 keep also\" color=\"\" name=\"color:P{k1};\">XX</font></p>"},
        {"fixed text colour drops the palette class",
         "<p><font class=\"text_k2 keep\" name=\"color:P{k2};\">XX</font></p>", false, red,
         "<p><font class=\"keep\" name=\"color:F{#FF0000FF};\" color=\"#FF0000\">XX</font></p>"},
        {"palette fill removes only the background colour",
         "<p><font style=\"font-size: 10pt; background-color: red;\">XX</font></p>", true, palette,
         "<p><font style=\"font-size: 10pt;\" name=\"background-color:P{k1};\" "
         "class=\"bg_k1\">XX</font></p>"},
        {"fixed fill keeps an earlier palette fill class", "<p><font class=\"bg_k2\">XX</font></p>", true,
         red,
         "<p><font class=\"bg_k2\" name=\"background-color:F{#FF0000FF};\" "
         "style=\"background-color: rgb(255, 0, 0);\">XX</font></p>"},
    };
    LocalPages pages;
    for (const ColorCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CBrowserHost host;
        ASSERT_TRUE(host.EditPage(
            pages.Put("colors.htm", "<html><body>" + c.fixture + Elsewhere + "</body></html>")));
        host.SelectText("XX", "XX");
        ASSERT_TRUE(c.fill ? ApplyFillColor(host.browser, c.color) : ApplyTextColor(host.browser, c.color));
        EXPECT_EQ(host.Body().toStdString(), (c.expected + Elsewhere).toStdString());
        EXPECT_EQ(host.Document()->GetUndoTitles(),
                  QStringList{c.fill ? "Text Background Color" : "Text Color"});
        ASSERT_EQ(host.browser.ExecCommand(IDM_UNDO, 2), S_OK);
        EXPECT_EQ(host.Body(), c.fixture + Elsewhere) << "one undo step";
    }
}

TEST(TextColors, NothingHappensWithoutSelectedTextOrOutOfEditMode)
{
    LocalPages pages;
    CBrowserHost host;
    const QString page = "<p>aa bb</p>" + Elsewhere;
    ASSERT_TRUE(host.EditPage(pages.Put("colors.htm", "<html><body>" + page + "</body></html>")));
    host.SelectText("aa", "aa");
    host.Run("document.getSelection().collapseToEnd()");
    EXPECT_FALSE(ApplyTextColor(host.browser, ndb::CNdbColor(1, 2, 3)));
    host.SelectText("aa", "aa");
    host.browser.SetEditMode(false);
    EXPECT_FALSE(ApplyFillColor(host.browser, ndb::CNdbColor(1, 2, 3)));
    EXPECT_EQ(host.Body(), page);
}
