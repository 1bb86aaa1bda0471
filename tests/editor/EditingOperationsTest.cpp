#include "BrowserHost.h"

namespace
{
// Loads the body into an editable page of the local server.
class Editing : public testing::Test
{
protected:
    bool Edit(const QString& body)
    {
        return host.EditPage(
            pages.Put("edit.htm", QStringLiteral("<html><head></head><body>%1</body></html>").arg(body)));
    }
    CHtmlElement Element(const QString& id) { return *host.Document()->GetElementById(id); }
    QStringList UndoTitles() { return host.Document()->GetUndoTitles(); }
    QStringList RedoTitles() { return host.Document()->GetRedoTitles(); }
    bool Undo() { return host.browser.ExecCommand(IDM_UNDO, 2) == S_OK; }
    bool Redo() { return host.browser.ExecCommand(IDM_REDO, 2) == S_OK; }

    LocalPages pages;
    CBrowserHost host;
};
} // namespace

TEST_F(Editing, EachOperationIsOneNamedStepUndoneAndRedoneInTurn)
{
    ASSERT_TRUE(Edit("<p id='a'>alpha beta</p><p id='b'>gamma</p>"));
    const QString start = host.Body();
    EXPECT_EQ(host.browser.QueryStatus(IDM_UNDO), OLECMDF_SUPPORTED) << "nothing to undo";

    // An outer unit holds an inner one: one step under the outer title.
    host.SelectText("beta", "beta");
    {
        CUndoUnitScope scope(*host.Document(), "Edit Paste");
        ASSERT_TRUE(scope.IsBegun());
        EXPECT_TRUE(CIEBrowser::InsertHtml(host.browser, "<b>BETA</b>"));
        EXPECT_TRUE(Element("b").SetAttribute("class", "h2"));
    }
    const QString pasted = host.Body();
    host.SelectText("gamma", "gamma");
    ASSERT_TRUE(CIEBrowser::SetFontSize(host.browser, 14, "pt"));
    const QString sized = host.Body();
    host.SelectText("alpha", "alpha");
    ASSERT_EQ(host.browser.ExecCommand(IDM_BOLD, 0), S_OK);
    EXPECT_EQ(host.browser.QueryStatus(IDM_BOLD), OLECMDF_SUPPORTED | OLECMDF_ENABLED | OLECMDF_LATCHED);
    const QString bold = host.Body();
    EXPECT_EQ(UndoTitles(), (QStringList{"Bold", "Font Size", "Edit Paste"}));
    EXPECT_EQ(host.browser.QueryStatus(IDM_UNDO), OLECMDF_SUPPORTED | OLECMDF_ENABLED);

    const QString states[] = {sized, pasted, start};
    for (const QString& state : states)
    {
        ASSERT_TRUE(Undo());
        EXPECT_EQ(host.Body(), state);
    }
    EXPECT_FALSE(Undo()) << "nothing left";
    EXPECT_EQ(RedoTitles(), (QStringList{"Edit Paste", "Font Size", "Bold"}));
    for (const QString& state : {pasted, sized, bold})
    {
        ASSERT_TRUE(Redo());
        EXPECT_EQ(host.Body(), state);
    }
    EXPECT_TRUE(RedoTitles().isEmpty());
}

TEST_F(Editing, TypingAndTheKeysForUndoAndRedoUseTheSameList)
{
    ASSERT_TRUE(Edit("<p id='a'>one</p>"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    QWidget* page = host.PageWidget();
    page->setFocus();
    host.SelectText("one", "one");
    host.Run("document.getSelection().collapseToEnd()");
    QTest::keyClicks(page, " two");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Body().contains("one two"); }, 10000));
    host.SelectText("two", "two");
    ASSERT_EQ(host.browser.ExecCommand(IDM_ITALIC, 0), S_OK);
    EXPECT_EQ(UndoTitles(), (QStringList{"Italic", "Typing"}));

    QTest::keyClick(page, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.Body().contains("<i>"); }, 10000));
    QTest::keyClick(page, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Body() == "<p id=\"a\">one</p>"; }, 10000))
        << host.Body().toStdString();
    QTest::keyClick(page, Qt::Key_Y, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Body() == "<p id=\"a\">one two</p>"; }, 10000))
        << host.Body().toStdString();
    EXPECT_EQ(RedoTitles(), QStringList{"Italic"});
}

TEST_F(Editing, FontSizeChangesOnlyTheSelectedTextAsOneStep)
{
    ASSERT_TRUE(Edit("<p>aa <font style=\"font-size: 10pt\">bb cc dd</font> ee</p>"
                     "<p><font size=\"3\">ff</font></p>"));
    const QString before = host.Body();
    host.SelectText("cc", "cc");
    ASSERT_TRUE(CIEBrowser::SetFontSize(host.browser, 14, "pt"));
    EXPECT_EQ(host.Body(),
              "<p>aa <font style=\"font-size: 10pt\">bb </font><font style=\"font-size: 14pt;\">cc</font>"
              "<font style=\"font-size: 10pt\"> dd</font> ee</p><p><font size=\"3\">ff</font></p>");
    EXPECT_EQ(CIEBrowser::GetSelectionFontSize(host.browser), 14);
    EXPECT_EQ(UndoTitles(), QStringList{"Font Size"});

    // The default size takes the size from the selection only, splitting what carries one.
    host.SelectText("bb", "bb");
    ASSERT_TRUE(CIEBrowser::SetDefaultFontSize(host.browser));
    EXPECT_EQ(CIEBrowser::GetSelectionFontSize(host.browser), 0);
    EXPECT_TRUE(host.Body().startsWith("<p>aa bb<font style=\"font-size: 10pt\"> </font>"))
        << host.Body().toStdString();
    ASSERT_TRUE(Undo());
    ASSERT_TRUE(Undo());
    EXPECT_EQ(host.Body(), before);
}

TEST_F(Editing, DefaultSizeKeepsTheColourOfACutFont)
{
    ASSERT_TRUE(Edit("<p><font color=\"#ff0000\" size=\"5\">one two three</font></p>"));
    host.SelectText("two", "two");
    ASSERT_TRUE(CIEBrowser::SetDefaultFontSize(host.browser));
    EXPECT_EQ(host.Body(),
              "<p><font color=\"#ff0000\" size=\"5\">one </font><font color=\"#ff0000\">two</font>"
              "<font color=\"#ff0000\" size=\"5\"> three</font></p>");
}

TEST_F(Editing, InsertHtmlReplacesASelectedObject)
{
    ASSERT_TRUE(Edit("<p>x</p><table id='t'><tbody><tr><td>cell</td></tr></tbody></table><p>y</p>"));
    ASSERT_TRUE(host.Document()->SelectObject(Element("t")));
    EXPECT_EQ(host.Document()->GetSelectionType(), "control");
    EXPECT_FALSE(CIEBrowser::SetSelection(host.browser, Element("t"), true)) << "an object is selected";
    ASSERT_TRUE(CIEBrowser::InsertHtml(host.browser, "<p>new<script>document.title='ran'</script></p>"));
    EXPECT_EQ(host.Body(), "<p>x</p><p>new</p><p>y</p>");
    EXPECT_EQ(UndoTitles(), QStringList{"Insert Html"});
    ASSERT_TRUE(Undo());
    EXPECT_TRUE(host.Body().contains("<td>cell</td>"));
}

TEST_F(Editing, InsertTableSplitsTheParagraphAroundTheCaret)
{
    const QString table = "<table id=\"new\"><tbody><tr><td>T</td></tr></tbody></table>";
    struct Case
    {
        const char* body;
        const char* caretAfter; // the caret goes after the first occurrence of this text
        const char* expected;
    };
    const Case cases[] = {
        // In a span inside a paragraph: two paragraphs, two spans.
        {"<p class=\"x\">ab<span>cd</span>ef</p>", "c",
         "<p class=\"x\">ab<span>c</span></p><table id=\"new\"><tbody><tr><td>T</td></tr></tbody></table>"
         "<p class=\"x\"><span>d</span>ef</p>"},
        // At the end or the start of a paragraph: the empty half goes, formatting and all.
        {"<p><font size=\"4\">ab</font></p><p>c</p>", "b",
         "<p><font size=\"4\">ab</font></p><table id=\"new\"><tbody><tr><td>T</td></tr></tbody></table>"
         "<p>c</p>"},
        {"<p><b></b>ab</p>", "", "<table id=\"new\"><tbody><tr><td>T</td></tr></tbody></table><p>ab</p>"},
        // Directly in the body: no split.
        {"ab", "a", "a<table id=\"new\"><tbody><tr><td>T</td></tr></tbody></table>b"},
        // In a cell without a paragraph: the cell is not split.
        {"<table><tbody><tr><td>ab</td></tr></tbody></table>", "a",
         "<table><tbody><tr><td>a<table "
         "id=\"new\"><tbody><tr><td>T</td></tr></tbody></table>b</td></tr></tbody>"
         "</table>"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.body);
        ASSERT_TRUE(Edit(c.body));
        host.SelectText(c.caretAfter, c.caretAfter);
        host.Run("document.getSelection().collapseToEnd()");
        ASSERT_TRUE(CIEBrowser::InsertTable(host.browser, table));
        EXPECT_EQ(host.Body(), c.expected);
        EXPECT_TRUE(CIEBrowser::FindElementByName(host.browser, "new").has_value());
        EXPECT_EQ(UndoTitles(), QStringList{"Insert Table"});
    }

    // Selected text goes first.
    ASSERT_TRUE(Edit("<p>one two three</p>"));
    host.SelectText("two", "two");
    ASSERT_TRUE(CIEBrowser::InsertTable(host.browser, table));
    EXPECT_EQ(host.Body(), "<p>one </p>" + table + "<p> three</p>");
}

TEST_F(Editing, StyleNamesAndBlockContainersOfTheSelection)
{
    ASSERT_TRUE(Edit("<p id='plain'>one</p><p id='h2' class='h2'>two <b id='bold'>bold</b></p>"
                     "<table><tbody><tr><td id='cell'>cell</td></tr></tbody></table>"));
    EXPECT_EQ(CIEBrowser::GetBlockStyleName(Element("plain")), "normal");
    EXPECT_EQ(CIEBrowser::GetBlockStyleName(Element("bold")), "h2");
    EXPECT_EQ(CIEBrowser::GetBlockStyleName(Element("cell")), "");
    int depth = -1;
    const auto container = CIEBrowser::FindBlockContainer(Element("bold"), depth);
    ASSERT_TRUE(container.has_value());
    EXPECT_EQ(container->GetId(), "h2");
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(CIEBrowser::FindAncestorByTag(Element("cell"), "TABLE")->GetTagName(), "table");

    host.SelectText("two", "bold");
    EXPECT_EQ(CIEBrowser::GetSelectionStyleName(host.browser), "h2");
    host.SelectText("one", "two");
    EXPECT_EQ(CIEBrowser::GetSelectionStyleName(host.browser), "") << "two different styles";
    ASSERT_TRUE(CIEBrowser::SetSelection(host.browser, Element("cell"), false));
    EXPECT_EQ(host.Run("document.getSelection().toString()").toString(), "cell");
    EXPECT_TRUE(UndoTitles().isEmpty()) << "selecting changes nothing";
}

TEST_F(Editing, MergeFieldsAreAtomicOnlyInTheLivePage)
{
    ASSERT_TRUE(Edit("<p>Dear <span name=\"fc_130\" atomicselection=\"true\">First Name</span>,</p>"));
    EXPECT_EQ(host.Run("document.querySelector('span').getAttribute('contenteditable')").toString(), "false");
    EXPECT_EQ(host.Body(), "<p>Dear <span name=\"fc_130\" atomicselection=\"true\">First Name</span>,</p>");
    EXPECT_TRUE(UndoTitles().isEmpty()) << "the live marks are no edit";
}
