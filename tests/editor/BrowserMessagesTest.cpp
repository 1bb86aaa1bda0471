#include "BrowserHost.h"
#include "PageClicks.h"

#include "platform/core/Shell.h"

#include <QApplication>
#include <QMenu>

namespace
{
const QString LinkPage = QStringLiteral(
    "<html><body style='margin:0'><p id='text' style='font-size:30px;margin:0'>Plain words here</p>"
    "<p><a id='inside' href='b.htm'>to B</a></p>"
    "<p><a id='blank' target='_blank' href='%1' style='font-size:30px'>new window</a></p></body></html>");

// Replaces the desktop opener while it lives and records what it was given.
class DesktopRecorder
{
public:
    QStringList opened;
    DesktopRecorder()
    {
        SetShellOpenHandler(
            [this](const QString& address)
            {
                opened.append(address);
                return true;
            });
    }
    ~DesktopRecorder() { SetShellOpenHandler({}); }
};

// Two clicks close enough in time for the engine to count them as one double click; the test
// library's own clicks are spaced apart on purpose.
QPoint CenterOf(CBrowserHost& host, const QString& id)
{
    const QVariantList box =
        host.Run(QStringLiteral(
                     "(function () { const r = document.getElementById('%1').getBoundingClientRect(); "
                     "return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)]; })()")
                     .arg(id))
            .toList();
    return box.size() == 2 ? QPoint(box[0].toInt(), box[1].toInt()) : QPoint();
}
} // namespace

TEST(BrowserMessages, OnlyAReplyOfOneCancelsATopLevelNavigationAndFramesAreNotReported)
{
    LocalPages pages;
    const QString a = pages.Put("a.htm", "<html><body><p>Page A</p></body></html>");
    const QString b = pages.Put("b.htm", "<html><body><p>Page B</p></body></html>");
    const QString framed =
        pages.Put("framed.htm", "<html><body><p>Framed</p><iframe src='b.htm'></iframe></body></html>");
    CBrowserHost host;
    host.replies[UM_BROWSER_BEFORE_NAVIGATE] = [&](const CBrowserHost::Message& m) {
        return m.text == b ? LRESULT(1) : m.text == framed ? LRESULT(2) : LRESULT(0);
    };

    ASSERT_TRUE(host.NavigateAndWait(a));
    EXPECT_EQ(host.Texts(UM_BROWSER_NAVIGATE_COMPLETE), QStringList{a});

    // A reply of 1 keeps page A.
    ASSERT_TRUE(host.browser.Navigate(b));
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_BEFORE_NAVIGATE, 2));
    // Page B loaded in a second browser meanwhile: had the first gone on, it would have too.
    CBrowserHost witness;
    ASSERT_TRUE(witness.NavigateAndWait(b));
    EXPECT_FALSE(host.Texts(UM_BROWSER_DOCUMENT_COMPLETE).contains(b));
    EXPECT_TRUE(host.Body().contains("Page A"));

    // A reply of 2 lets the page load; its frame loads page B unreported.
    host.messages.clear();
    ASSERT_TRUE(host.NavigateAndWait(framed));
    // Once the frame has loaded page B, its messages would have come.
    const QString frameLoaded =
        QStringLiteral("(function () { const d = document.querySelector('iframe').contentDocument;"
                       " return !!d && d.readyState === 'complete' &&"
                       " d.body.innerText.includes('Page B'); })()");
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Run(frameLoaded).toBool(); }, 10000));
    EXPECT_EQ(host.Texts(UM_BROWSER_BEFORE_NAVIGATE), QStringList{framed});
    EXPECT_EQ(host.Texts(UM_BROWSER_NAVIGATE_COMPLETE), QStringList{framed});
    EXPECT_EQ(host.Texts(UM_BROWSER_DOCUMENT_COMPLETE), QStringList{framed});
    for (const auto& message : host.messages)
        EXPECT_EQ(message.id, CBrowserHost::BrowserId);
}

TEST(BrowserMessages, NavigatingLeavesEditMode)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(pages.Put("a.htm", "<html><body><p>A</p></body></html>")));
    EXPECT_EQ(host.browser.QueryStatus(IDM_BOLD) & OLECMDF_ENABLED, 0u) << "nothing selected yet";
    EXPECT_TRUE(host.browser.Navigate("not a url") == false);
    EXPECT_FALSE(host.browser.GetEditFlag()) << "left before the navigation, also when it fails";
}

TEST(BrowserMessages, ContextMenuReplyDecidesAndTheEventNamesTheElement)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.NavigateAndWait(pages.Put("menu.htm", LinkPage.arg("http://example.org/"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    const QPoint word = CenterOf(host, "text");

    // The parent reads the page while it decides, as the editor does.
    QString tagInHandler;
    host.replies[UM_BROWSER_CONTEXT_MENU] = [&](const CBrowserHost::Message&)
    {
        tagInHandler = host.lastEvent && host.lastEvent->GetSrcElement()
                           ? host.lastEvent->GetSrcElement()->GetTagName()
                           : QString();
        return LRESULT(0);
    };
    QTest::mouseClick(host.PageWidget(), Qt::RightButton, Qt::NoModifier, word);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_CONTEXT_MENU));
    EXPECT_EQ(tagInHandler, "p");
    ASSERT_NE(host.lastEvent, nullptr);
    EXPECT_EQ(QPoint(host.lastEvent->GetClientX(), host.lastEvent->GetClientY()), word);
    ASSERT_TRUE(host.lastEvent->GetSrcElement().has_value());
    EXPECT_EQ(host.lastEvent->GetSrcElement()->GetId(), "text");
    // The menu would come up in the same step as the question, right after the reply.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a reply of 0 suppresses the menu";

    host.replies[UM_BROWSER_CONTEXT_MENU] = [](const CBrowserHost::Message&) { return LRESULT(1); };
    QTest::mouseClick(host.PageWidget(), Qt::RightButton, Qt::NoModifier, word);
    ASSERT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 10000));
    QApplication::activePopupWidget()->close();
    EXPECT_FALSE(host.lastEvent->GetCtrlKey() || host.lastEvent->GetShiftKey());

    // The keys as the page saw them at the click, though none is held when it is reported.
    const size_t before = host.Sent(UM_BROWSER_CONTEXT_MENU).size();
    QTest::mouseClick(host.PageWidget(), Qt::RightButton, Qt::ControlModifier | Qt::ShiftModifier, word);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_CONTEXT_MENU, before + 1));
    EXPECT_TRUE(host.lastEvent->GetCtrlKey() && host.lastEvent->GetShiftKey());
    ASSERT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 10000));
    QApplication::activePopupWidget()->close();
}

TEST(BrowserMessages, NewWindowsAreAskedForAndOnlyDesktopAddressesLeave)
{
    struct Case
    {
        QString address;
        LRESULT reply;
        bool leaves;
    };
    const Case cases[] = {
        {"http://example.org/page", 0, true}, {"http://example.org/page", 1, false},
        {"mailto:news@example.org", 0, true}, {"ftp://example.org/file", 0, false},
        {"file:///etc/passwd", 0, false},
    };
    LocalPages pages;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.address.toStdString());
        DesktopRecorder desktop;
        CBrowserHost host;
        host.replies[UM_BROWSER_NEW_WINDOW] = [&](const CBrowserHost::Message&) { return c.reply; };
        ASSERT_TRUE(host.NavigateAndWait(pages.Put("links.htm", LinkPage.arg(c.address))));
        ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
        QTest::mouseClick(host.PageWidget(), Qt::LeftButton, Qt::NoModifier, CenterOf(host, "blank"));
        if (c.address.startsWith("file:"))
        {
            // The engine itself never lets a web page open a file. The same link, pointed at a web
            // page and clicked again, is asked for after anything the first click would have asked.
            const QString later = QStringLiteral("http://example.org/later");
            host.Run(QStringLiteral("document.getElementById('blank').href = '%1'").arg(later));
            QTest::mouseClick(host.PageWidget(), Qt::LeftButton, Qt::NoModifier, CenterOf(host, "blank"));
            ASSERT_TRUE(QTest::qWaitFor([&] { return desktop.opened.contains(later); }, 10000));
            EXPECT_EQ(desktop.opened, QStringList{later});
            continue;
        }
        ASSERT_TRUE(host.WaitFor(UM_BROWSER_NEW_WINDOW, 1, 10000));
        EXPECT_EQ(QUrl(host.Texts(UM_BROWSER_NEW_WINDOW).value(0)), QUrl(c.address));
        // The desktop is given the address in the same step as the question is asked.
        EXPECT_EQ(desktop.opened.size(), c.leaves ? 1 : 0);
        EXPECT_TRUE(host.Body().contains("Plain words")) << "the page stays";
    }
}

TEST(BrowserMessages, PointerAndSelectionEventsReachTheParent)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(pages.Put("words.htm", LinkPage.arg("http://example.org/"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    const QPoint word = CenterOf(host, "text");

    QString tagInHandler;
    host.replies[UM_BROWSER_DBLCLICK] = [&](const CBrowserHost::Message&)
    {
        tagInHandler = host.lastEvent->GetSrcElement()->GetTagName();
        return LRESULT(0);
    };
    QTest::mouseClick(host.PageWidget(), Qt::LeftButton, Qt::NoModifier, word);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_MOUSE_DOWN));
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_SELECTION_CHANGE));
    ASSERT_NE(host.lastEvent, nullptr);
    EXPECT_EQ(host.lastEvent->GetSrcElement()->GetId(), "text");
    EXPECT_EQ(host.browser.QueryStatus(IDM_BOLD) & (OLECMDF_SUPPORTED | OLECMDF_ENABLED),
              OLECMDF_SUPPORTED | OLECMDF_ENABLED)
        << "the caret is in editable text";

    DoubleClick(host.PageWidget(), word);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_DBLCLICK));
    EXPECT_EQ(tagInHandler, "p") << "read while the parent handles the message";
    EXPECT_EQ(QPoint(host.lastEvent->GetClientX(), host.lastEvent->GetClientY()), word);
    EXPECT_FALSE(host.lastEvent->GetCtrlKey());

    // Ctrl as the page saw it during the double click, though no key is held when it is reported.
    const size_t before = host.Sent(UM_BROWSER_DBLCLICK).size();
    DoubleClick(host.PageWidget(), word, Qt::ControlModifier);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_DBLCLICK, before + 1));
    EXPECT_TRUE(host.lastEvent->GetCtrlKey());
}

TEST(BrowserMessages, ThePagesScriptsCannotReachTheLibraryOrSpeakForIt)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(pages.Put("probe.htm",
                                        "<html><body><p id='out'>x</p><script>"
                                        "document.getElementById('out').textContent = [typeof kvEditing, "
                                        "typeof qt, typeof QWebChannel].join();"
                                        "document.dispatchEvent(new Event('selectionchange'));"
                                        "document.dispatchEvent(new MouseEvent('dblclick', {bubbles: true}));"
                                        "</script></body></html>")));
    EXPECT_TRUE(host.Body().contains(">undefined,undefined,undefined<")) << host.Body().toStdString();
    // A real double click is reported after anything the forged one would have made.
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    QList<QPoint> reported;
    host.replies[UM_BROWSER_DBLCLICK] = [&](const CBrowserHost::Message&)
    {
        reported.append(QPoint(host.lastEvent->GetClientX(), host.lastEvent->GetClientY()));
        return LRESULT(0);
    };
    const QPoint word = CenterOf(host, "out");
    DoubleClick(host.PageWidget(), word);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reported.contains(word); }, 10000));
    EXPECT_EQ(reported, QList<QPoint>{word}) << "a forged event is not reported";
}

TEST(BrowserMessages, AResizedObjectWithAnIdIsReported)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(
        pages.Put("boxes.htm",
                  "<html><body style='margin:20px'>"
                  "<table id='grid' border='1' style='width:200px;height:80px'><tr><td>cell</td></tr></table>"
                  "<p style='height:60px'>gap</p>"
                  "<table border='1' style='width:200px;height:80px'><tr><td>plain</td></tr></table>"
                  "</body></html>")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    QWidget* page = host.PageWidget();
    // The table without an id first: the report of the one with an id comes after anything its
    // resize would have reported.
    for (const int index : {1, 0})
    {
        const QVariantList corner =
            host.Run(QStringLiteral("(function () { const r = document.getElementsByTagName("
                                    "'table')[%1].getBoundingClientRect(); return [r.left, "
                                    "r.top, r.right, r.bottom]; })()")
                         .arg(index))
                .toList();
        const QPoint topLeft(corner[0].toInt(), corner[1].toInt());
        const QPoint bottomRight(corner[2].toInt(), corner[3].toInt());
        // A click on the table's frame selects it as an object.
        QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier, topLeft + QPoint(1, 1));
        const CHtmlElement table = host.Document()->GetElementsByTagName("table").at(index);
        ASSERT_TRUE(QTest::qWaitFor(
            [&]
            {
                const auto selected = host.Document()->GetSelectedObject();
                return selected && selected->IsSameElement(table);
            },
            10000));
        // Drag the bottom-right handle 30 pixels right and 20 down.
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, bottomRight);
        QTest::mouseMove(page, bottomRight + QPoint(15, 10));
        QTest::mouseMove(page, bottomRight + QPoint(30, 20));
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, bottomRight + QPoint(30, 20));
        if (index == 0)
        {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !host.snaps.empty(); }, 10000));
            EXPECT_EQ(host.snaps[0].elementId, "grid");
            EXPECT_EQ(host.snaps[0].positioning, 1);
            EXPECT_EQ(host.snaps[0].right - host.snaps[0].left, bottomRight.x() - topLeft.x() + 30);
            EXPECT_EQ(host.snaps[0].bottom - host.snaps[0].top, bottomRight.y() - topLeft.y() + 20);
            EXPECT_EQ(host.Document()->GetUndoTitles().value(0), "Resize");
        }
    }
    EXPECT_EQ(host.snaps.size(), 1u) << "a table without an id is resized unreported";
}

TEST(BrowserMessages, DeleteRemovesTheSelectedObjectOrOneCharacter)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(host.EditPage(pages.Put(
        "image.htm", "<html><body><p id='text'>before<img id='pic' src='x.png' width='60' height='40' "
                     "style='border:1px solid red'>after</p></body></html>")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    QWidget* page = host.PageWidget();
    QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier, CenterOf(host, "pic"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Document()->GetSelectionType() == "control"; }, 10000));
    QTest::keyClick(page, Qt::Key_Delete);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !host.Body().contains("pic"); }, 10000));
    EXPECT_EQ(host.Body(), "<p id=\"text\">beforeafter</p>");
    EXPECT_EQ(host.Document()->GetUndoTitles(), QStringList{"Delete"});

    // In text the engine's own Delete takes the one character after the caret.
    host.SelectText("after", "a");
    host.Run("document.getSelection().collapseToStart()");
    QTest::keyClick(page, Qt::Key_Delete);
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Body().contains("beforefter"); }, 10000))
        << host.Body().toStdString();
}

TEST(BrowserMessages, LoadHtmlReplacesTheContentAtOnceWithoutRunningItsScripts)
{
    LocalPages pages;
    CBrowserHost host;
    EXPECT_FALSE(host.browser.LoadHtml("<p>x</p>")) << "no document yet";
    ASSERT_TRUE(host.NavigateAndWait("about:blank"));
    ASSERT_TRUE(host.browser.LoadHtml(QStringLiteral(
        "<html><head></head><body contenteditable=\"true\"><p>Gr\u00FC\u00DFe \u20AC \U0001F600</p>"
        "<script>document.body.textContent = 'ran';</script></body></html>")));
    EXPECT_TRUE(host.Body().startsWith(QStringLiteral("<p>Gr\u00FC\u00DFe \u20AC \U0001F600</p>")))
        << host.Body().toStdString();
}

TEST(BrowserMessages, ABoxIsSelectedAsAnObjectOnlyOnItsFrame)
{
    LocalPages pages;
    CBrowserHost host;
    ASSERT_TRUE(
        host.EditPage(pages.Put("box.htm", "<html><body style='margin:10px'><div id='box' class='sys_div' "
                                           "style='padding:20px;border:2px dashed gray;width:300px'>"
                                           "<p id='inner' style='margin:0;font-size:30px'>text</p></div>"
                                           "</body></html>")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.PageWidget() != nullptr; }, 10000));
    QWidget* page = host.PageWidget();
    const QPoint text = CenterOf(host, "inner");
    QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier, text);
    ASSERT_TRUE(host.WaitFor(UM_BROWSER_SELECTION_CHANGE));
    EXPECT_EQ(host.Document()->GetSelectionType(), "text") << "a click on its text places the caret";

    QTest::mouseClick(page, Qt::LeftButton, Qt::NoModifier, QPoint(text.x(), 10 + 8));
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.Document()->GetSelectionType() == "control"; }, 10000));
    EXPECT_EQ(host.Document()->GetSelectedObject()->GetId(), "box");
}
