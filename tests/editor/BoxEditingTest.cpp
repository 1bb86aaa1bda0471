#include "../dialogs/DialogTestSupport.h"
#include "PageClicks.h"
#include "PageScript.h"
#include "QueuedEvents.h"
#include "app/ShellTestSupport.h"
#include "editor/WndLayout.h"
#include "res/dialogs/HtmlLayoutProperties.h"
#include "res/dialogs/PageHtmlBox1.h"
#include "res/dialogs/PageHtmlBox2.h"
#include "res/dialogs/PageHtmlBox3.h"
#include "x2/NameMetadata.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QTabBar>

using namespace ShellTest;
using DialogTest::ModalScript;

namespace
{
// The id of a control on the shown page of a sheet or in a dialog.
QWidget* ControlOf(QWidget* window, int id)
{
    for (QWidget* child : window->findChildren<QWidget*>())
    {
        CWnd* wnd = CWnd::FromHandle(child);
        if (wnd && wnd->GetDlgCtrlID() == UINT(id) && child->isVisibleTo(window))
            return child;
    }
    return nullptr;
}

void ClickControl(QWidget* window, int id)
{
    QWidget* widget = ControlOf(window, id);
    const bool checkable =
        qobject_cast<QAbstractButton*>(widget) && qobject_cast<QAbstractButton*>(widget)->isCheckable();
    QTest::mouseClick(widget, Qt::LeftButton, {},
                      checkable ? QPoint(6, widget->height() / 2) : widget->rect().center());
}

void TypeIntoControl(QWidget* window, int id, const QString& keys)
{
    DialogTest::TypeOver(ControlOf(window, id), keys);
}

void ChooseEntry(QWidget* window, int id, const QString& text)
{
    auto* combo = qobject_cast<QComboBox*>(ControlOf(window, id));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < combo->findText(text); ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

void ShowTab(QWidget* sheet, int index)
{
    QTabBar* tabs = sheet->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

// Picks the grid cell of (0, 204, 0) in the popup of the swatch over the placeholder.
void PickGreen(QWidget* window, int placeholderId)
{
    QWidget* swatch = nullptr;
    for (QWidget* child : window->findChildren<QWidget*>())
    {
        CWnd* wnd = CWnd::FromHandle(child);
        if (wnd && wnd->GetDlgCtrlID() == UINT(placeholderId) && child->isVisibleTo(window) &&
            !child->inherits("QLabel"))
            swatch = child;
    }
    ASSERT_NE(swatch, nullptr);
    DialogTest::WhenModalAfter(QApplication::activeModalWidget(),
                               []
                               {
                                   // Cell 24 of the web colours: 52 + 6 * 11 + 4, 27 + 1 * 11 + 4.
                                   DialogTest::SendMouse(QApplication::activeModalWidget(),
                                                         QEvent::MouseButtonPress, QPoint(122, 42));
                               });
    DialogTest::SendMouse(swatch, QEvent::MouseButtonPress, QPoint(5, 5));
    AwaitQueuedEvents();
}

QString Evaluate(CIEBrowser& browser, const QString& script)
{
    return RunInPage(browser, script).toString();
}

QString BoxMarkup(CIEBrowser& browser)
{
    return Evaluate(browser, QStringLiteral("(function () { const d = document.querySelector('div.sys_div');"
                                            " return d ? d.outerHTML : ''; })()"));
}

QString BodyStyle(CIEBrowser& browser)
{
    return Evaluate(browser, QStringLiteral("document.body.getAttribute('style') || ''"));
}

QPoint CentreOf(CIEBrowser& browser, const QString& selector)
{
    const QStringList point =
        Evaluate(browser, QStringLiteral(
                              "(function () { const r = document.querySelector('%1').getBoundingClientRect();"
                              " return Math.round(r.left + r.width / 2) + ',' + Math.round(r.top + 8); })()")
                              .arg(selector))
            .split(u',');
    return point.size() == 2 ? QPoint(point[0].toInt(), point[1].toInt()) : QPoint();
}

// A right click at the point and a click on the item of the menu that comes up.
void ChooseFromContextMenu(CIEBrowser& browser, const QPoint& point, const QString& item)
{
    ClickAndAwaitReports(browser, point);
    EXPECT_TRUE(ChooseContextItem(browser, point, item)) << "no item " << item.toStdString();
}

QStringList UndoTitles(CIEBrowser& browser)
{
    std::unique_ptr<CHtmlDocument> document;
    return browser.GetDHtmlDocument(document) ? document->GetUndoTitles() : QStringList();
}

const QString Layout =
    QStringLiteral("<p>Intro text</p><div class=\"sys_div\" style=\"width: 50%; height: 50%; "
                   "margin-top: 1.5em;\" name=\"%1\">Boxed text here</div><p>Closing words</p>");
} // namespace

// A user edits a box and the page from the edit-mode context menu, with the mouse and keys: the
// live page, one Undo, the saved file and the generated page show the changes; an untouched OK
// changes nothing.
TEST_F(ShellProgram, BoxAndPagePropertiesFromTheContextMenu)
{
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    letter.Layout().SetField(
        ndb::LayoutHtml, ndb::CNdbFieldValue(Layout.arg(SetNameMetadataText(
                             QString(), QStringLiteral("src_overflow_expanded"), QStringLiteral("true")))));
    ASSERT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
    CMainWnd& window = StartProgram();
    window.MoveWindow(0, 0, 1000, 700);
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    CWndLayout& layout = window.GetNewsletterView().GetLayout();
    CIEBrowser& browser = layout.GetBrowser();
    const auto bodyHas = [&](const char* text)
    { return Evaluate(browser, QStringLiteral("document.body.outerHTML")).contains(QLatin1String(text)); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return bodyHas("Boxed text"); }, 30000));
    PressKey(window, Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(layout.IsEditing());
    // The page shown in edit mode keeps the editor's classes and pairs.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !BoxMarkup(browser).isEmpty(); }, 30000));
    const QString original = BoxMarkup(browser);

    ModalScript script;
    script.ThenTitled(QStringLiteral("Box Properties"),
                      [](QWidget* sheet)
                      {
                          ClickControl(sheet, IDC_WIDTH_FIXED);
                          TypeIntoControl(sheet, IDC_WIDTH, QStringLiteral("300"));
                          ChooseEntry(sheet, IDC_WIDTH_FIXED_UNIT, QStringLiteral("pixels"));
                          ChooseEntry(sheet, IDC_OVERFLOW, QStringLiteral("Clip excess content"));
                          ShowTab(sheet, 1);
                          ClickControl(sheet, IDC_DEFAULT_PADDING);
                          TypeIntoControl(sheet, IDC_TOP_PADDING, QStringLiteral("8"));
                          ShowTab(sheet, 2);
                          PickGreen(sheet, IDC_BACKGROUND_COLOR);
                          ClickControl(sheet, IDC_DEFAULT_BORDER);
                          TypeIntoControl(sheet, IDC_TOP_BORDER_WIDTH, QStringLiteral("2"));
                          ChooseEntry(sheet, IDC_TOP_BORDER_STYLE, QStringLiteral("Dashed"));
                          DialogTest::ClickButton(sheet, QStringLiteral("OK"));
                      });
    script.Start();
    ChooseFromContextMenu(browser, CentreOf(browser, QStringLiteral("div.sys_div")),
                          QStringLiteral("Box Properties..."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return script.Finished() && BoxMarkup(browser) != original; }, 20000));
    const QString edited = BoxMarkup(browser);
    for (const char* expected : {"width: 300px", "height: 50%", "margin-top: 1.5em", "overflow: hidden",
                                 "background-color: rgb(0, 204, 0)", "src_overflow_expanded:false",
                                 "background-color:F{#00CC00FF}", "src_border_top:dashed 2px none"})
        EXPECT_TRUE(edited.contains(QLatin1String(expected))) << expected << "\n" << edited.toStdString();
    EXPECT_EQ(
        Evaluate(browser,
                 QStringLiteral("(function () { const s = getComputedStyle(document.querySelector("
                                "'div.sys_div')); return [s.paddingTop, s.paddingLeft, "
                                "s.borderTopStyle, s.borderTopWidth, s.borderLeftStyle].join(' '); })()")),
        "8px 0px dashed 2px solid");
    EXPECT_EQ(UndoTitles(browser).value(0), QStringLiteral("Box Properties"));

    // One Undo gives the box back as it was; Redo brings the edit again.
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Undo\tCtrl+Z"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return BoxMarkup(browser) == original; }, 10000))
        << BoxMarkup(browser).toStdString();
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Redo\tCtrl+Y"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return BoxMarkup(browser) == edited; }, 10000));

    // OK on an untouched sheet changes nothing, not even the undo list.
    const QStringList titles = UndoTitles(browser);
    ModalScript untouched;
    untouched.ThenTitled(QStringLiteral("Box Properties"),
                         [](QWidget* sheet) { DialogTest::ClickButton(sheet, QStringLiteral("OK")); });
    untouched.Start();
    ChooseFromContextMenu(browser, CentreOf(browser, QStringLiteral("div.sys_div")),
                          QStringLiteral("Box Properties..."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return untouched.Finished(); }, 20000));
    AwaitQueuedEvents();
    EXPECT_EQ(BoxMarkup(browser), edited);
    EXPECT_EQ(UndoTitles(browser), titles);

    // Insert Box makes a new box at the caret with the defaults, in one undo step.
    Evaluate(browser,
             QStringLiteral("(function () { const p = document.querySelector('p');"
                            " document.getSelection().collapse(p.firstChild, 5); return true; })()"));
    ModalScript insert;
    insert.ThenTitled(QStringLiteral("Box Properties"),
                      [](QWidget* sheet) { DialogTest::ClickButton(sheet, QStringLiteral("OK")); });
    insert.Start();
    ASSERT_TRUE(ChooseMenuItem(window, {"&Insert", "Box..."}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return insert.Finished(); }, 20000));
    const QString boxes = Evaluate(
        browser,
        QStringLiteral(
            "Array.from(document.querySelectorAll('div.sys_div')).map((d) => d.outerHTML).join('|')"));
    EXPECT_TRUE(
        boxes.contains(QLatin1String("<div class=\"sys_div\" style=\"width: 100%; text-align: left;\" "
                                     "name=\"src_overflow_expanded:true;\">&nbsp;</div>")))
        << boxes.toStdString();
    EXPECT_EQ(UndoTitles(browser).value(0), QStringLiteral("Box Properties"));
    ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Undo\tCtrl+Z"}));
    EXPECT_TRUE(QTest::qWaitFor(
        [&]
        {
            return BoxMarkup(browser) == edited &&
                   !Evaluate(browser, QStringLiteral("document.querySelectorAll('div.sys_div').length"))
                        .startsWith(u'2');
        },
        10000));

    // The page: a fixed background colour and margins, shown on the live page at once.
    ModalScript page;
    page.ThenTitled(
        QStringLiteral("Layout Properties"),
        [](QWidget* dialog)
        {
            PickGreen(dialog, IDC_BACKGROUND_COLOR);
            if (qobject_cast<QAbstractButton*>(ControlOf(dialog, IDC_DEFAULT_MARGINS))->isChecked())
                ClickControl(dialog, IDC_DEFAULT_MARGINS);
            TypeIntoControl(dialog, IDC_TOP_MARGIN, QStringLiteral("20"));
            ClickControl(dialog, IDC_NORMAL_CHECK);
            DialogTest::ClickButton(dialog, QStringLiteral("OK"));
        });
    page.Start();
    ChooseFromContextMenu(browser, CentreOf(browser, QStringLiteral("p")),
                          QStringLiteral("Layout &Properties..."));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page.Finished() && BodyStyle(browser).contains("20px"); }, 20000))
        << BodyStyle(browser).toStdString();
    EXPECT_TRUE(BodyStyle(browser).contains("background-color: rgb(0, 204, 0)"))
        << BodyStyle(browser).toStdString();
    EXPECT_TRUE(Evaluate(browser, QStringLiteral("document.body.getAttribute('name')"))
                    .contains("src_link_normal_textdecoration:underline"));

    EXPECT_EQ(Evaluate(browser, QStringLiteral(
                                    "Array.from(document.styleSheets).flatMap((s) => Array.from(s.cssRules))"
                                    ".filter((r) => r.selectorText === 'a')"
                                    ".map((r) => r.style.textDecoration + '/' + r.style.color).join(',')")),
              "underline/");

    // Saved, the file holds the box's markup and the page style; the generated page shows both.
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(layout.IsEditing());
    PressKey(window, Qt::Key_S, Qt::ControlModifier);
    ndb::CNdbNewsletter reloaded;
    ASSERT_TRUE(reloaded.Load(Document("June.kvnl")));
    const QString stored = reloaded.Layout().GetString(ndb::LayoutHtml);
    for (const char* expected :
         {"width: 300px", "height: 50%", "margin-top: 1.5em", "padding: 8px 0px 0px", "class=\"sys_div\"",
          "src_overflow_expanded:false", "src_border_top:dashed 2px none"})
        EXPECT_TRUE(stored.contains(QLatin1String(expected))) << expected << "\n" << stored.toStdString();
    ndb::CNdbFieldValue margin;
    ASSERT_TRUE(reloaded.Layout().PageStyle().GetField(ndb::StyleMarginTop, margin));
    EXPECT_EQ(margin.FormatLength(), QStringLiteral("20px"));
    EXPECT_EQ(reloaded.Layout().PageStyle().GetInt(ndb::StyleLinkDecoration, -1), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bodyHas("width:300px") || bodyHas("width: 300px"); }, 30000))
        << Evaluate(browser, QStringLiteral("document.body.outerHTML")).toStdString();
    EXPECT_EQ(Evaluate(browser, QStringLiteral("getComputedStyle(document.body).marginTop")), "20px");
    EXPECT_EQ(
        Evaluate(browser, QStringLiteral("getComputedStyle(document.querySelector('div')).backgroundColor")),
        "rgb(0, 204, 0)");
}
