#include "BrowserHost.h"

#include "editor/ClipboardPaste.h"
#include "x2/PasteCleanup.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace
{
void PutOnClipboard(const QString& html, const QString& text, const QByteArray& header = {})
{
    auto* data = new QMimeData;
    if (!html.isNull())
        data->setHtml(html);
    if (!text.isNull())
        data->setText(text);
    if (!header.isNull())
        data->setData("HTML Format", header + html.toUtf8());
    QApplication::clipboard()->setMimeData(data);
}

const QString WordHtml = QStringLiteral(
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"><head><meta charset=\"utf-8\">"
    "<style>p.MsoNormal { margin: 0cm; font-family: Calibri }</style></head><body lang=\"DE\">"
    "<!--StartFragment--><p class=\"MsoNormal\" style=\"mso-margin-top-alt:auto\">Hello <b>bold</b> "
    "<span style=\"mso-bidi-font-family:Arial\">world</span><o:p></o:p></p>"
    "<script>alert(1)</script><!--EndFragment--></body></html>");
} // namespace

TEST(ClipboardPaste, PlainTextBecomesEscapedParagraphs)
{
    const std::pair<QString, QString> cases[] = {
        {"a<b\r\nc", "<p>a&lt;b</p>\r\n<p>c</p>\r\n"},
        {"x\n\ny", "<p>x</p><p>&nbsp;</p><p>y</p>\r\n"},
        {"\r\nx", "<p></p>\r\n<p>x</p>\r\n"},
        {"AT&T &lt; >", "<p>AT&amp;T &amp;lt; &gt;</p>\r\n"},
    };
    for (const auto& [text, html] : cases)
        EXPECT_EQ(PlainTextToParagraphs(text), html) << text.toStdString();
}

TEST(ClipboardPaste, TheSourceBaseIsTheFolderOfTheCopiedPage)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"Version:0.9\r\nStartHTML:0000000105\r\nSourceURL:http://example.org/dir/page.htm\r\n",
         "http://example.org/dir/"},
        {"Version:0.9\r\nSourceURL: C:\\docs\\page.htm \r\n", "C:\\docs\\"},
        {"Version:0.9\r\nSOURCEURL:page\r\n", "page"},
        {"Version:0.9\r\nStartHTML:0000000105\r\n", ""},
    };
    for (const auto& [header, base] : cases)
    {
        PutOnClipboard("<p>x</p>", QString(), header);
        EXPECT_EQ(GetClipboardSourceBase(), base) << header.toStdString();
    }
    PutOnClipboard(QString(), "only text");
    EXPECT_EQ(GetClipboardSourceBase(), "");
    EXPECT_EQ(FindHeaderValue("a:1\nKey: value \r\nb:2", "key:"), "value");
    EXPECT_EQ(FindHeaderValue("Key:\r\n", "Key:"), "");
}

TEST(ClipboardPaste, WordHtmlIsCleanedAndInsertedAsOneStep)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(pages.Put("edit.htm", "<html><body><p id='a'>one two</p></body></html>")));
    PutOnClipboard(WordHtml, "Hello bold world");
    PasteContext context;

    host.browser.SetEditFlag(false);
    EXPECT_FALSE(PasteClipboard(host.browser, context)) << "only in edit mode";
    EXPECT_FALSE(PasteClipboardAsText(host.browser));
    host.browser.SetEditFlag(true);

    const QString before = host.Body();
    host.SelectText("two", "two");
    ASSERT_TRUE(PasteClipboard(host.browser, context));
    const QString body = host.Body();
    EXPECT_TRUE(body.contains("Hello <b>bold</b>")) << body.toStdString();
    EXPECT_TRUE(body.contains("world")) << body.toStdString();
    // What the clean-up removes: the document around the fragment, scripts, foreign elements.
    for (const char* foreign : {"o:p", "script", "alert", "StartFragment", "Calibri", "lang="})
        EXPECT_FALSE(body.contains(foreign)) << foreign << " in " << body.toStdString();
    EXPECT_TRUE(body.startsWith("<p id=\"a\">one ")) << body.toStdString();
    EXPECT_EQ(host.Document()->GetUndoTitles(), QStringList{"Edit Paste"});
    ASSERT_EQ(host.browser.ExecCommand(IDM_UNDO, 2), S_OK);
    EXPECT_EQ(host.Body(), before);
}

TEST(ClipboardPaste, PasteAsTextEscapesEveryMarkupCharacter)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(pages.Put("edit.htm", "<html><body><p id='a'>x</p></body></html>")));
    PutOnClipboard("<p><b>ignored markup</b></p>", "AT&T &lt;b&gt;\r\nsecond <i>");
    host.SelectText("x", "x");
    ASSERT_TRUE(PasteClipboardAsText(host.browser));
    // The paragraphs go between the two halves of the one they were pasted into.
    EXPECT_EQ(host.Body(),
              "<p id=\"a\"></p><p>AT&amp;T &amp;lt;b&amp;gt;</p>\n<p>second &lt;i&gt;</p>\n<p></p>");
    EXPECT_EQ(host.Document()->GetUndoTitles(), QStringList{"Edit Paste as text"});
}

TEST(ClipboardPaste, TheEnginesOwnPasteIsHandedToTheParent)
{
    LocalPages pages;
    CBrowserHost host;
    // The parent pastes the clipboard itself, as the editor does; here the second time only.
    host.replies[UM_BROWSER_PASTE] = [&](const CBrowserHost::Message& message)
    {
        if (message.number == 1)
            PasteClipboardAsText(host.browser);
        return LRESULT(0);
    };
    ASSERT_TRUE(host.EditPage(pages.Put("edit.htm", "<html><body><p id='a'>x</p></body></html>")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    PutOnClipboard("<p>foreign <script>alert(1)</script></p>", "foreign");
    QWidget* page = host.PageWidget();
    page->setFocus();
    host.SelectText("x", "x");
    QTest::keyClick(page, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_PASTE, 1, 10000));
    // Whether the engine inserted anything of this cancelled paste shows in the page once the
    // program's own paste below has gone in.
    QTest::keyClick(page, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_PASTE, 2, 10000));
    const auto pastes = host.Sent(UM_BROWSER_PASTE);
    EXPECT_EQ(pastes[0].number, 0);
    EXPECT_EQ(pastes[1].number, 1) << "as plain text";
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Body().contains("foreign"); }, 10000));
    EXPECT_EQ(host.Body(), "<p id=\"a\"></p><p>foreign</p>\n<p></p>") << "only the program's paste went in";
    EXPECT_EQ(host.Document()->GetUndoTitles(), QStringList{"Edit Paste as text"});
}
