#include "PageScript.h"
#include "app/ShellTestSupport.h"
#include "editor/WndLayout.h"
#include "platform/ui/IdleLoop.h"
#include "platform/ui/NestedWait.h"
#include "support/PageMouse.h"
#include "support/WindowManager.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryFile>

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
        const QVariantList end =
            RunInPage(layout.GetBrowser(),
                      "(function () { const r = document.querySelector('p').getBoundingClientRect();"
                      " return [Math.round(r.left + 2), Math.round(r.top + r.height / 2)]; })()")
                .toList();
        EXPECT_TRUE(PageMouse::Click(View(layout), QPoint(end.value(0).toInt(), end.value(1).toInt())));
        QTest::keyClick(PageMouse::InputWidget(View(layout)), Qt::Key_End);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Undo(layout).isEmpty() && !Body(layout).isEmpty(); }, 10000));
        return layout;
    }

    static QWebEngineView* View(CWndLayout& layout)
    {
        return qobject_cast<QWebEngineView*>(layout.GetBrowser().GetSafeHwnd());
    }

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

// 5,000 characters typed on the X display's keyboard with no pause between keys, while the
// program runs its idle passes and toolbar updates between them: the program lives, every
// character is in the page in order, the typing is on the Undo list and one Undo takes typing
// away. The idle pass never starts inside another.
// Held back: after some thousands of keys the page stops answering, its renderer idle; run it on
// an X display with --gtest_also_run_disabled_tests.
TEST_F(FastInput, DISABLED_FiveThousandKeysWithoutPauseAllReachThePage)
{
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        GTEST_SKIP() << "types on the keyboard of an X display with a window manager";
    WindowManager manager;
    ASSERT_TRUE(manager.Start());
    CWndLayout& layout = EditLetter();
    const QString before = Body(layout);
    QString typed;
    for (int i = 0; typed.size() < 5000; ++i)
        typed += QStringLiteral("word%1 ").arg(i % 10);
    typed.truncate(5000);
    QTemporaryFile text;
    ASSERT_TRUE(text.open());
    text.write(typed.toUtf8());
    text.flush();

    const auto windows = WindowManager::WindowsOf(QCoreApplication::applicationPid());
    const auto main = std::find_if(windows.begin(), windows.end(),
                                   [&](const WindowManager::Window& window)
                                   { return window.title == m_window->GetSafeHwnd()->windowTitle(); });
    ASSERT_NE(main, windows.end());
    ASSERT_TRUE(WindowManager::Activate(main->id));
    CIdleLoop::ResetDeepestNesting();
    CNestedWait::ResetDeepestNesting();
    QProcess keyboard;
    keyboard.start(QStringLiteral("xdotool"),
                   {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("0"),
                    QStringLiteral("--file"), text.fileName()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return keyboard.state() == QProcess::NotRunning; }, 300000));
    const QString last = typed.right(40).trimmed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Body(layout).contains(last); }, 60000))
        << Body(layout).toStdString();
    const QString shown = RunInPage(layout.GetBrowser(), "document.body.textContent").toString();
    EXPECT_TRUE(shown.contains(typed.trimmed())) << "every key, in order";
    EXPECT_LE(CIdleLoop::DeepestNesting(), 1);
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
    EXPECT_LE(CIdleLoop::DeepestNesting(), 1);

    PressKey(*m_window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Body(layout) == before; }, 30000));
}
