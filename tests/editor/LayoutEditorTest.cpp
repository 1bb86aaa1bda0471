#include "app/ShellTestSupport.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"
#include "platform/core/Shell.h"

using namespace ShellTest;

namespace
{
// The fixture newsletter: an image and a text that names the running server's address.
QString FixtureLayout(int port)
{
    return QStringLiteral("<p>Harbour news <img src=\"img/boat.png\" alt=\"Boat\" /></p>"
                          "<p>Mirror: http://127.0.0.1:%1/ and http://localhost:1/</p>")
        .arg(port);
}

QString BodyOf(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    QString body;
    if (!browser.GetDHtmlDocument(document) || !document->GetBodyInnerHtml(body, 1 << 20))
        return {};
    return body;
}

class LayoutEditor : public ShellProgram
{
protected:
    // The program with the fixture newsletter open and its page shown.
    CWndLayout& OpenFixture()
    {
        EXPECT_TRUE(WriteNewsletter(Document("June.kvnl"), "June"));
        CMainWnd& window = StartProgram();
        m_window = &window;
        window.MoveWindow(0, 0, 1000, 700);
        EXPECT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
        CKVContext& context = *m_app->GetContext();
        {
            const auto lock = context.WriteDocument();
            context.GetCurrentNewsletter()->Layout().SetField(
                ndb::LayoutHtml, ndb::CNdbFieldValue(FixtureLayout(context.GetServerPort())));
        }
        CWndLayout& layout = window.GetNewsletterView().GetLayout();
        layout.Refresh();
        EXPECT_TRUE(QTest::qWaitFor([&] { return BodyOf(layout.GetBrowser()).contains("Mirror"); }, 30000));
        return layout;
    }
    QString StoredLayout() const
    {
        return m_app->GetContext()->GetCurrentNewsletter()->Layout().GetString(ndb::LayoutHtml);
    }

    CMainWnd* m_window = nullptr;
};
} // namespace

// The window answers the browser by the navigation filter and hands outside addresses to the
// desktop; the filter's own cases are in NavigationFilterTest.
TEST_F(LayoutEditor, NavigationRepliesAndOpensOutsideAddressesOnTheDesktop)
{
    CWndLayout& layout = OpenFixture();
    const int port = m_app->GetContext()->GetServerPort();
    QStringList opened;
    SetShellOpenHandler(
        [&](const QString& url)
        {
            opened << url;
            return true;
        });
    const struct
    {
        QString address;
        LRESULT reply;
        bool toDesktop;
    } cases[] = {
        {QStringLiteral("http://127.0.0.1:%1/img/boat.png").arg(port), 0, false},
        {QStringLiteral("https://example.com/a?b=about:blank"), 1, true},
        {QStringLiteral("mailto:ann@example.org"), 1, true},
        {QString::fromLatin1(CWndLayout::PlaceholderLinkAddress) + QStringLiteral("webview"), 1, false},
        {QStringLiteral("file:///etc/passwd"), 1, false},
    };
    for (const auto& c : cases)
    {
        opened.clear();
        const LRESULT reply =
            layout.SendMessage(UM_BROWSER_BEFORE_NAVIGATE, CWndLayout::BrowserId, LPARAM(&c.address));
        EXPECT_EQ(reply, c.reply) << c.address.toStdString();
        EXPECT_EQ(opened, c.toDesktop ? QStringList{c.address} : QStringList()) << c.address.toStdString();
    }
    SetShellOpenHandler({});
}

// Ctrl+E edits the page and marks the document, the toolbar shows its edit rows; Save Layout
// stores the body with relative addresses and returns to the view page; File > Save writes it.
TEST_F(LayoutEditor, EditAndSaveLayoutStoresTheBodyWithoutTheServersAddress)
{
    CWndLayout& layout = OpenFixture();
    CMainWnd& window = *m_window;
    const int viewHeight = layout.GetToolbar().CalcHeight();
    PressKey(window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(layout.IsEditing());
    EXPECT_EQ(layout.GetToolbar().m_currentSet, 1);
    EXPECT_GT(layout.GetToolbar().CalcHeight(), viewHeight) << "the edit set has a second row";
    EXPECT_TRUE(window.GetWindowText().startsWith("June.kvnl*"));
    EXPECT_TRUE(FindMenuItem(window, "&Edit", "&Undo\tCtrl+Z").enabled);

    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Newsletter", "&Email", "&Save"}));
    EXPECT_FALSE(layout.IsEditing());
    EXPECT_EQ(layout.GetToolbar().m_currentSet, 0);
    EXPECT_EQ(StoredLayout().toStdString(), "<p>Harbour news <img src=\"img/boat.png\" alt=\"Boat\" /></p>"
                                            "<p>Mirror:  and http://localhost:1/</p>");

    // A second round stores the same text: nothing of the edit page piles up.
    const QString first = StoredLayout();
    window.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    window.SendMessage(WM_COMMAND, ID_LAYOUT_SAVE);
    EXPECT_EQ(StoredLayout(), first);

    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.GetWindowText(), "June.kvnl - " + LoadAppString(12900));
    ndb::CNdbNewsletter reloaded;
    ASSERT_TRUE(reloaded.Load(Document("June.kvnl")));
    EXPECT_EQ(reloaded.Layout().GetString(ndb::LayoutHtml), StoredLayout());
}

// Save As takes the edits into the copy: the editing ends first, keeping them.
TEST_F(LayoutEditor, SaveAsEndsTheEditingAndTheCopyHoldsTheEditedBody)
{
    CWndLayout& layout = OpenFixture();
    CMainWnd& window = *m_window;
    window.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    const QString copy = Document("June copy.kvnl");
    {
        ModalAnswers answers;
        answers.File(copy);
        answers.Box("No"); // the original keeps its file as it was
        ASSERT_TRUE(ChooseMenuItem(window, {"&File", "Save &As..."}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answers.Done(); }, 10000));
    }
    EXPECT_FALSE(layout.IsEditing());
    ndb::CNdbNewsletter saved;
    ASSERT_TRUE(saved.Load(copy));
    EXPECT_EQ(saved.Layout().GetString(ndb::LayoutHtml).toStdString(),
              "<p>Harbour news <img src=\"img/boat.png\" alt=\"Boat\" /></p><p>Mirror:  and "
              "http://localhost:1/</p>");
}

// Cancel asks first; No keeps editing, Yes drops the edits and keeps the modified mark.
TEST_F(LayoutEditor, CancelLayoutAsksAndKeepsTheModifiedMark)
{
    CWndLayout& layout = OpenFixture();
    CMainWnd& window = *m_window;
    const QString before = StoredLayout();
    window.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    {
        ModalAnswers answers;
        answers.Box("No");
        window.SendMessage(WM_COMMAND, ID_LAYOUT_CANCEL);
        EXPECT_EQ(answers.boxTexts, QStringList{"Do you want to discard changes?"});
    }
    EXPECT_TRUE(layout.IsEditing());
    {
        ModalAnswers answers;
        answers.Box("Yes");
        window.SendMessage(WM_COMMAND, ID_LAYOUT_CANCEL);
    }
    EXPECT_FALSE(layout.IsEditing());
    EXPECT_EQ(StoredLayout(), before);
    EXPECT_TRUE(m_app->GetContext()->GetCurrentNewsletter()->IsModified());
}

// Closing the newsletter while its layout is edited asks to save; Yes keeps the edits in the
// written file and the editor leaves edit mode with the document.
TEST_F(LayoutEditor, ClosingWhileEditingSavesTheEditsAndLeavesEditMode)
{
    CWndLayout& layout = OpenFixture();
    CMainWnd& window = *m_window;
    window.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    {
        ModalAnswers answers;
        answers.Box("Yes");
        EXPECT_TRUE(window.CloseDocument());
    }
    EXPECT_FALSE(layout.IsEditing());
    EXPECT_EQ(window.GetNewsletterView().GetVisiblePage(), 0);
    ndb::CNdbNewsletter reloaded;
    ASSERT_TRUE(reloaded.Load(Document("June.kvnl")));
    EXPECT_EQ(reloaded.Layout().GetString(ndb::LayoutHtml).toStdString(),
              "<p>Harbour news <img src=\"img/boat.png\" alt=\"Boat\" /></p><p>Mirror:  and "
              "http://localhost:1/</p>");
}
