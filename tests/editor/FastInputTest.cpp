#include "PageScript.h"
#include "app/ShellTestSupport.h"
#include "editor/WndLayout.h"
#include "platform/ui/IdleLoop.h"
#include "platform/ui/NestedWait.h"

#include <QClipboard>
#include <QMimeData>

#include <iostream>

using namespace ShellTest;

namespace
{
class FastInput : public ShellProgram
{
protected:
    // The program in edit mode on a one-paragraph newsletter, the caret at the end of its text.
    CWndLayout& EditLetter()
    {
        EXPECT_TRUE(WriteNewsletter(Document("Fast.kvnl"), "Fast"));
        CMainWnd& window = StartProgram();
        m_window = &window;
        window.MoveWindow(0, 0, 1024, 700);
        EXPECT_TRUE(window.OpenNewsletter(Document("Fast.kvnl")));
        EXPECT_FALSE(ShownPageText(window).isEmpty());
        CWndLayout& layout = window.GetNewsletterView().GetLayout();
        PressKey(window, Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(layout.IsEditing());
        CIEBrowser& browser = layout.GetBrowser();
        const QVariantList end =
            RunInPage(browser, "(function () { const r = document.querySelector('p').getBoundingClientRect();"
                               " return [Math.round(r.left + 2), Math.round(r.top + r.height / 2)]; })()")
                .toList();
        QTest::mouseClick(Page(layout), Qt::LeftButton, {},
                          QPoint(end.value(0).toInt(), end.value(1).toInt()));
        QTest::keyClick(Page(layout), Qt::Key_End);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Undo(layout).isEmpty() && !Body(layout).isEmpty(); }, 10000));
        return layout;
    }

    static QWidget* Page(CWndLayout& layout) { return layout.GetBrowser().GetSafeHwnd()->focusProxy(); }

    static QString Body(CWndLayout& layout)
    {
        return RunInPage(layout.GetBrowser(), "document.body.innerHTML").toString();
    }

    static QStringList Undo(CWndLayout& layout)
    {
        std::unique_ptr<CHtmlDocument> document;
        return layout.GetBrowser().GetDHtmlDocument(document) ? document->GetUndoTitles() : QStringList{};
    }

    CMainWnd* m_window = nullptr;
};
} // namespace

// 5,000 characters typed into the page as fast as keys come, while the program runs its idle
// passes and toolbar updates between them: the program lives, every character is in the page in
// order, the typing is on the Undo list and one Undo takes typing away. The idle pass never
// starts inside another.
TEST_F(FastInput, FiveThousandKeysWithoutPauseAllReachThePage)
{
    CWndLayout& layout = EditLetter();
    const QString before = Body(layout);
    QString typed;
    for (int i = 0; typed.size() < 5000; ++i)
        typed += QStringLiteral("word%1 ").arg(i % 10);
    typed.truncate(5000);

    CIdleLoop::ResetDeepestNesting();
    CNestedWait::ResetDeepestNesting();
    // Ten keys at a time, each batch a millisecond after the last: between them the event loop
    // runs dry, so idle passes and their toolbar updates run in the middle of the stream.
    qsizetype sent = 0;
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout,
                     [&]
                     {
                         QTest::keyClicks(Page(layout), typed.mid(sent, 10));
                         sent += 10;
                         if (sent >= typed.size())
                             keys.stop();
                     });
    keys.start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !keys.isActive(); }, 120000));
    const QString last = typed.right(40).trimmed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Body(layout).contains(last); }, 60000))
        << Body(layout).toStdString();
    const QString text = RunInPage(layout.GetBrowser(), "document.body.textContent").toString();
    EXPECT_TRUE(text.contains(typed.trimmed())) << "every key, in order";
    EXPECT_EQ(CIdleLoop::DeepestNesting(), 1);
    EXPECT_LE(CNestedWait::DeepestNesting(), 1) << "no wait inside a wait";
    std::cout << "deepest idle pass nesting " << CIdleLoop::DeepestNesting() << ", deepest wait nesting "
              << CNestedWait::DeepestNesting() << std::endl;

    const QStringList undo = Undo(layout);
    ASSERT_FALSE(undo.isEmpty());
    EXPECT_FALSE(undo.contains(QString())) << undo.join('|').toStdString();
    EXPECT_EQ(undo.value(0), "Typing");
    PressKey(*m_window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Body(layout).contains(last); }, 10000))
        << "Undo takes typing away";
    EXPECT_TRUE(Body(layout).startsWith(before.left(before.indexOf(LetterText))));
}

// A paste of 1 MB of HTML with the key, in the middle of edit mode: the program lives, the pasted
// text is in the page and one Undo takes all of it away again.
TEST_F(FastInput, OneMegabytePasteIsOneUndoStep)
{
    CWndLayout& layout = EditLetter();
    const QString before = Body(layout);
    QString html;
    for (int i = 0; html.size() < 1024 * 1024; ++i)
        html += QStringLiteral("<p>Paragraph %1 of the long paste, <b>bold</b> and plain.</p>").arg(i);
    html += QStringLiteral("<p>End of the paste</p>");
    auto* data = new QMimeData;
    data->setHtml(html);
    QApplication::clipboard()->setMimeData(data);

    CIdleLoop::ResetDeepestNesting();
    PressKey(*m_window, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Body(layout).contains("End of the paste"); }, 60000));
    EXPECT_TRUE(Body(layout).contains("Paragraph 1000 of the long paste"));
    EXPECT_EQ(Undo(layout).value(0), "Edit Paste");
    EXPECT_EQ(CIdleLoop::DeepestNesting(), 1);

    PressKey(*m_window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Body(layout) == before; }, 30000));
}
