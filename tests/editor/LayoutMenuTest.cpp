#include "PageClicks.h"
#include "ScreenPicture.h"
#include "app/ShellTestSupport.h"
#include "editor/LayoutCommandIds.h"
#include "editor/WndLayout.h"
#include "support/PageAnswer.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace ShellTest;

namespace
{
const QString TableLayout =
    QStringLiteral("<p>Harbour news</p><table class=\"sys_table\"><tr><td>Cell one</td>"
                   "<td>Cell two</td></tr></table><p>Goodbye</p>");

QString BodyOf(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    QString body;
    if (!browser.GetDHtmlDocument(document) || !document->GetBodyInnerHtml(body, 1 << 20))
        return {};
    return body;
}

// The centre of the first element that holds the text, in the page's coordinates.
QPoint CentreOfText(CIEBrowser& browser, const QString& text)
{
    auto* view = qobject_cast<QWebEngineView*>(browser.GetSafeHwnd());
    const std::optional<QVariant> answer = PageAnswer(
        view->page(),
        QStringLiteral("(function () { for (const e of document.body.querySelectorAll('p, td')) {"
                       " if (e.textContent.indexOf('%1') >= 0) { const r = e.getBoundingClientRect();"
                       " return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)]; } }"
                       " return [0, 0]; })()")
            .arg(text),
        10000, QWebEngineScript::ApplicationWorld);
    EXPECT_TRUE(answer.has_value());
    const QVariantList point = answer.value_or(QVariant()).toList();
    return point.size() == 2 ? QPoint(point[0].toInt(), point[1].toInt()) : QPoint();
}

bool HasDoubledOrOuterSeparators(const QStringList& texts)
{
    if (texts.isEmpty())
        return false;
    if (texts.first() == "-" || texts.last() == "-")
        return true;
    for (qsizetype i = 1; i < texts.size(); ++i)
    {
        if (texts[i] == "-" && texts[i - 1] == "-")
            return true;
    }
    return false;
}

class LayoutMenus : public ShellProgram
{
protected:
    CWndLayout& OpenTableLetter()
    {
        ndb::CNdbNewsletter letter(QStringLiteral("June"));
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        letter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(TableLayout));
        EXPECT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        CMainWnd& window = StartProgram();
        m_window = &window;
        window.MoveWindow(0, 0, 1024, 700);
        EXPECT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
        CWndLayout& layout = window.GetNewsletterView().GetLayout();
        EXPECT_TRUE(QTest::qWaitFor([&] { return BodyOf(layout.GetBrowser()).contains("Goodbye"); }, 30000));
        return layout;
    }

    CMainWnd* m_window = nullptr;
};
} // namespace

// The view-mode menu offers editing and sending; in edit mode the element items follow the
// element under the pointer, without doubled or outer separators.
TEST_F(LayoutMenus, ContextMenuOffersTheItemsOfTheElementUnderThePointer)
{
    CWndLayout& layout = OpenTableLetter();
    CIEBrowser& browser = layout.GetBrowser();
    EXPECT_EQ(ContextMenuAt(browser, CentreOfText(browser, "Harbour")),
              (QStringList{"&Edit Layout", "-", "&Mail Settings...", "&Send...", "&Test Send..."}));

    m_window->SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    const QStringList paragraph = ContextMenuAt(browser, CentreOfText(browser, "Harbour"));
    ASSERT_FALSE(paragraph.isEmpty());
    EXPECT_FALSE(paragraph.contains("Table Properties...")) << paragraph.join('|').toStdString();
    EXPECT_FALSE(paragraph.contains("Link Properties..."));
    EXPECT_TRUE(paragraph.contains("Layout &Properties..."));
    EXPECT_FALSE(HasDoubledOrOuterSeparators(paragraph)) << paragraph.join('|').toStdString();

    const QStringList cell = ContextMenuAt(browser, CentreOfText(browser, "Cell two"));
    for (const char* item :
         {"Insert Column", "Insert Row", "Delete Column", "Delete Row", "Merge with cell below",
          "Merge with cell on right", "Table Properties...", "Table Cell properties..."})
        EXPECT_TRUE(cell.contains(item)) << item;
    EXPECT_FALSE(cell.contains("Image Properties..."));
    EXPECT_FALSE(HasDoubledOrOuterSeparators(cell)) << cell.join('|').toStdString();

    // Shift+Ctrl asks for the engine's own menu instead, as the click had them.
    const QStringList engine = ContextMenuAt(browser, CentreOfText(browser, "Cell two"), {},
                                             Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(engine.isEmpty());
    EXPECT_FALSE(engine.contains("Table Properties...")) << engine.join('|').toStdString();
}

// Pictures of the layout editor as a user sees it: the view without a newsletter, the page in
// view mode, edit mode with both toolbar rows, and the context menu over a table. The engine
// paints only on an X display: the build runs these on a virtual one.
TEST_F(LayoutMenus, PicturesOfTheViewAndTheEditor)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X display";
    QDir().mkpath(KV_ARTIFACT_DIR);
    // The main window as a whole once its newsletter view shows what it must (the engine paints
    // a while after the page has loaded): dark text in the page's area, or else the empty dark
    // panel, and whatever else the case waits for.
    const auto grab = [](CMainWnd& window, const QString& name, const QWidget* page,
                         const std::function<bool(const QImage&)>& also = {})
    {
        const QRect view = AreaInWindow(page ? page : window.GetNewsletterView().GetSafeHwnd());
        QImage picture;
        const bool shown = GrabWhenShown(
            window.GetSafeHwnd(),
            [&](const QImage& grabbed)
            {
                return (page ? DarkPixels(grabbed, view) > 200 : qGray(grabbed.pixel(view.center())) < 120) &&
                       (!also || also(grabbed));
            },
            picture);
        EXPECT_TRUE(picture.save(QStringLiteral(KV_ARTIFACT_DIR "/") + name)) << name.toStdString();
        EXPECT_TRUE(shown) << name.toStdString() << " never showed what it must";
        return picture;
    };

    CMainWnd& window = StartProgram();
    window.MoveWindow(0, 0, 1024, 700);
    const auto centreOfView = [](CMainWnd& window)
    {
        QWidget* view = window.GetNewsletterView().GetSafeHwnd();
        return view->mapTo(window.GetSafeHwnd(), view->rect().center());
    };
    const QImage empty = grab(window, "layout-no-newsletter.png", nullptr);
    EXPECT_LT(qGray(empty.pixel(centreOfView(window))), 120) << "the empty dark panel";
    StopProgram();

    CWndLayout& layout = OpenTableLetter();
    CMainWnd& shown = *m_window;
    QWidget* page = layout.GetBrowser().GetSafeHwnd();
    const QImage viewMode = grab(shown, "layout-view-mode.png", page);
    const int viewToolbar = layout.GetToolbar().CalcHeight();

    shown.SendMessage(WM_COMMAND, ID_LAYOUT_EDIT);
    ASSERT_TRUE(layout.IsEditing());
    // The toolbar as the screen shows it: both rows of the edit set instead of the view's one.
    const QRect toolbar = AreaInWindow(layout.GetToolbar().GetSafeHwnd());
    grab(shown, "layout-edit-mode.png", page,
         [&](const QImage& grabbed) { return grabbed.copy(toolbar) != viewMode.copy(toolbar); });
    EXPECT_GT(layout.GetToolbar().CalcHeight(), viewToolbar) << "both rows of the edit set";

    CIEBrowser& browser = layout.GetBrowser();
    const QPoint cell = CentreOfText(browser, "Cell two");
    const QStringList texts =
        ContextMenuAt(browser, cell,
                      [&](QMenu* menu)
                      {
                          const QRect area = menu->geometry().united(
                              QRect(shown.GetSafeHwnd()->mapToGlobal(QPoint()), shown.GetSafeHwnd()->size()));
                          // The menu's item texts drawn over the window.
                          const QRect items = menu->geometry().translated(-area.topLeft());
                          QImage picture;
                          EXPECT_TRUE(QTest::qWaitFor(
                              [&]
                              {
                                  picture =
                                      QGuiApplication::primaryScreen()
                                          ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                          .toImage();
                                  return DarkPixels(picture, items) > 200;
                              },
                              30000))
                              << "the menu never showed its items";
                          picture.save(QStringLiteral(KV_ARTIFACT_DIR "/layout-context-menu.png"));
                      });
    EXPECT_TRUE(texts.contains("Table Properties..."));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(KV_ARTIFACT_DIR "/layout-context-menu.png")));
    EXPECT_GT(qGray(viewMode.pixel(centreOfView(shown))), 200) << "the white page";

    {
        ModalAnswers answers;
        answers.Box("Yes"); // the report is another page: edit mode ends first
        shown.SendMessage(WM_COMMAND, ID_LAYOUT_CANCEL);
    }
    PressKey(shown, Qt::Key_3, Qt::ControlModifier);
    ASSERT_EQ(shown.GetNewsletterView().GetVisiblePage(), 3);
    // The statistics page in place of the e-mail page.
    const QRect view = AreaInWindow(shown.GetNewsletterView().GetSafeHwnd());
    grab(shown, "view-statistics-page.png", shown.GetNewsletterView().GetSafeHwnd(),
         [&](const QImage& grabbed) { return grabbed.copy(view) != viewMode.copy(view); });
}
