#include "HelpTestSupport.h"
#include "ScreenPicture.h"

#include "controls/CommandIds.h"
#include "controls/ControlArtifacts.h"
#include "platform/core/AppStrings.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace
{
constexpr UINT BackButton = ID_HELP_BACK;
constexpr UINT ForwardButton = ID_HELP_FORWARD;

QWidget* ToolbarButton(CWndHelp& help, UINT id)
{
    for (const CToolbarItem& item : help.GetToolbar().GetItems())
    {
        if (item.window && item.window->GetDlgCtrlID() == id)
            return item.window->GetSafeHwnd();
    }
    return nullptr;
}

// The toolbar refreshes its buttons on the first idle pass after input.
void RefreshToolbar(CWndHelp& help)
{
    help.GetToolbar().SendMessage(UM_IDLE, 0, 0);
}

QLineEdit* SearchField(CWndHelp& help)
{
    return qobject_cast<QLineEdit*>(help.GetToolbar().GetSearchField()->GetSafeHwnd());
}
} // namespace

TEST(WndHelp, TopicsShowTheirPageAtTheirAnchor)
{
    ShownHelp shown;
    CRecordingHelp& help = shown.help;
    EXPECT_EQ(shown.startPage.fileName(), "index.htm");
    EXPECT_EQ(help.GetWindowText(), "Kelvora Help");
    EXPECT_EQ(help.GetSafeHwnd()->size(), QSize(780, 580));

    struct Case
    {
        UINT topic;
        const char* page;
        const char* anchor;
    };
    const Case cases[] = {
        {0, "index.htm", ""},
        {193, "BoxProperties.htm", "tab1"},
        {224, "Styles.htm", ""},
        {4242, "index.htm", ""},
        {280, "MailSettings.htm", "PlainText"},
        {ID_HELP_TUTORIAL, "Tutorial.htm", ""},
        {175, "3SendNewsletter.htm", ""},
    };
    for (const Case& c : cases)
    {
        const QUrl page = help.LoadAfter([&] { EXPECT_TRUE(help.ShowTopic(c.topic)); });
        EXPECT_EQ(page.fileName().toStdString(), c.page) << c.topic;
        EXPECT_EQ(page.fragment().toStdString(), c.anchor) << c.topic;
        EXPECT_EQ(page.toLocalFile(), shown.data.HelpFolder() + c.page) << c.topic;
        EXPECT_TRUE(help.IsWindowVisible());
    }

    // A topic whose page is not installed shows the missing-page page of the language.
    QFile::remove(shown.data.HelpFolder() + "Styles.htm");
    EXPECT_EQ(help.LoadAfter([&] { help.ShowTopic(224); }).fileName(), "PageNotFound.htm");
}

TEST(WndHelp, EveryTopicPageAndAnchorIsInstalled)
{
    const QString folder = QStringLiteral(KV_SOURCE_DIR "/data/help/content/en/");
    int pages = 0;
    for (UINT topic = 0; topic <= 40000; ++topic)
    {
        QString anchor;
        const QString page = CWndHelp::TopicPage(topic, &anchor);
        if (page == "index")
            continue;
        ++pages;
        QFile file(folder + page + ".htm");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
        if (!anchor.isEmpty())
        {
            EXPECT_TRUE(file.readAll().contains("id=\"" + anchor.mid(1).toUtf8() + '"'))
                << page.toStdString() << anchor.toStdString();
        }
    }
    EXPECT_GT(pages, 0);
    for (const char* name :
         {"index.htm", "PageNotFound.htm", "SearchResult.htm", "searchindex.js", "help.css"})
        EXPECT_TRUE(QFile::exists(folder + name)) << name;
}

TEST(WndHelp, CommandLinksRunTheirActionAndNeverLoad)
{
    ShownHelp shown;
    CRecordingHelp& help = shown.help;
    shown.data.WritePage("Links.htm", "<html><body style='margin:0'>"
                                      "<a href='index.htm?CMD=SUPPORT' style='display:block;width:300px;"
                                      "height:60px'>Online support</a></body></html>");
    const QUrl links = help.LoadAfter(
        [&] {
            help.GetBrowser().Navigate(QUrl::fromLocalFile(shown.data.HelpFolder() + "Links.htm").toString());
        });
    ASSERT_EQ(links.fileName(), "Links.htm");

    // A click on a link written in capitals opens the support page and stays on the page.
    const qsizetype loads = help.completed.size();
    QTest::mouseClick(help.PageWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.data.opened.isEmpty(); }, HelpLoadTimeoutMs));
    EXPECT_TRUE(shown.data.opened.first().endsWith("&cmd=support"))
        << shown.data.opened.first().toStdString();
    EXPECT_TRUE(help.BodyText().contains("Online support"));
    help.ExpectOnlyLoadSince(loads, links);

    struct Case
    {
        const char* url;
        LRESULT reply;
        const char* opened; // the command of the page opened online, empty for none
    };
    const Case cases[] = {
        {"file:///data/help/index.htm?cmd=visit", 1, "visit"},
        {"file:///data/help/index.htm?cmd=supportx", 1, "support"},
        {"file:///data/help/index.htm?Cmd=SmtpServerList", 1, "smtpserverlist"},
        {"file:///data/help/index.htm?cmd=nothing", 1, ""},
        {"file:///data/help/index.htm?other=1&cmd=visit", 0, ""},
        {"file:///data/help/Styles.htm#add", 0, ""},
    };
    for (const Case& c : cases)
    {
        shown.data.opened.clear();
        const QString url = QString::fromLatin1(c.url);
        EXPECT_EQ(help.SendMessage(UM_BROWSER_BEFORE_NAVIGATE, CWndHelp::BrowserId, LPARAM(&url)), c.reply)
            << c.url;
        const QStringList expected = *c.opened ? QStringList{QString::fromLatin1(c.opened)} : QStringList{};
        QStringList commands;
        for (const QString& page : shown.data.opened)
            commands.append(page.section("&cmd=", 1));
        EXPECT_EQ(commands, expected) << c.url;
    }

    const QString intro = "file:///data/help/index.htm?cmd=intromovie";
    EXPECT_EQ(help.SendMessage(UM_BROWSER_BEFORE_NAVIGATE, CWndHelp::BrowserId, LPARAM(&intro)), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(shown.data.IntroMarker()); }, 10000));
}

TEST(WndHelp, SearchTextTravelsAsUtf8Escapes)
{
    const std::pair<QString, QString> cases[] = {
        {"a b", "a%20b"},
        {QString::fromUtf8("€"), "%E2%82%AC"},
        {"#&;/?:@=+$,.-_!~*\"'()[]{}<>^", "#&;/?:@=+$,.-_!~*\"'()[]{}<>^"},
        {"50%", "50%25"},
        {QString::fromUtf8("Grüße"), "Gr%C3%BC%C3%9Fe"},
        {QString::fromUtf8("😀x"), "%F0%9F%98%80x"},
        {"tab\there", "tab%09here"},
    };
    for (const auto& [text, encoded] : cases)
        EXPECT_EQ(CWndHelp::EncodeSearchText(text), encoded) << text.toStdString();
}

TEST(WndHelp, EnterInTheSearchFieldFindsTheEuroSign)
{
    ShownHelp shown;
    CRecordingHelp& help = shown.help;
    QLineEdit* field = SearchField(help);
    ASSERT_NE(field, nullptr);
    field->setFocus();
    // The euro sign is typed as a key of its own, as a keyboard layout with it gives it.
    QTest::keyClick(field, Qt::Key_Space);
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromUtf8("€"), Qt::NoModifier);
    QTest::keyClicks(field, "  ");
    EXPECT_EQ(field->text(), QString::fromUtf8(" €  "));
    const QUrl result = help.LoadAfter([&] { QTest::keyClick(field, Qt::Key_Return); });
    EXPECT_EQ(result.fileName(), "SearchResult.htm");
    bool number = false;
    const int random = result.query().toInt(&number);
    EXPECT_TRUE(number && random >= 0 && random < 10000) << result.query().toStdString();
    EXPECT_EQ(result.fragment(QUrl::FullyEncoded), "%E2%82%AC");

    // The page decodes the text and lists the one page that holds it.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return help.BodyText().contains("class=\"result\""); }, HelpLoadTimeoutMs));
    const QString body = help.BodyText();
    EXPECT_TRUE(body.contains(QString::fromUtf8("One page holds “€”."))) << body.toStdString();
    EXPECT_TRUE(body.contains("href=\"3SendNewsletter.htm\">Send the newsletter</a>")) << body.toStdString();
    EXPECT_TRUE(AwaitPaintedPage(help.GetBrowser().GetSafeHwnd()));
    SaveControlArtifact(help, "help-window-search.png");
}

TEST(WndHelp, EnterWithAnEmptyFieldAsksForTextAndSearchesNothing)
{
    ShownHelp shown;
    CRecordingHelp& help = shown.help;
    QLineEdit* field = SearchField(help);
    field->setFocus();
    QTest::keyClicks(field, "   ");
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                         {
                             text = box->text();
                             caption = box->windowTitle();
                             icon = box->icon();
                             box->accept();
                         }
                     });
    poll.start(50);
    const qsizetype loads = help.completed.size();
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !text.isEmpty(); }, 10000));
    EXPECT_EQ(text, "Please fill out what you want to search for");
    EXPECT_EQ(caption, "Search");
    EXPECT_EQ(icon, QMessageBox::Information);
    // The field takes the focus again, as soon as its window is active.
    EXPECT_EQ(help.GetSafeHwnd()->focusWidget(), field);
    help.ExpectOnlyLoadSince(loads, QUrl(help.completed.last()));
}

TEST(WndHelp, BackAndForwardFromTheToolbarAndTheMouseButtons)
{
    ShownHelp shown;
    CRecordingHelp& help = shown.help;
    RefreshToolbar(help);
    EXPECT_FALSE(ToolbarButton(help, BackButton)->isEnabled()) << "nothing to go back to";
    help.LoadAfter([&] { help.ShowTopic(193); });
    help.LoadAfter([&] { help.ShowTopic(224); });
    RefreshToolbar(help);
    EXPECT_TRUE(ToolbarButton(help, BackButton)->isEnabled());
    EXPECT_FALSE(ToolbarButton(help, ForwardButton)->isEnabled());

    const QUrl back = help.LoadAfter(
        [&] {
            QTest::mouseClick(ToolbarButton(help, BackButton), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        });
    EXPECT_EQ(back.fileName().toStdString(), "BoxProperties.htm") << help.completed.join(" ").toStdString();
    RefreshToolbar(help);
    EXPECT_TRUE(ToolbarButton(help, ForwardButton)->isEnabled());

    // The mouse's extra buttons go forward and back while the focus is in the window.
    help.PageWidget()->setFocus();
    const QUrl forward = help.LoadAfter(
        [&] { QTest::mouseClick(help.PageWidget(), Qt::ForwardButton, Qt::NoModifier, QPoint(50, 50)); });
    EXPECT_EQ(forward.fileName(), "Styles.htm");
    const QUrl again = help.LoadAfter(
        [&] { QTest::mouseClick(help.PageWidget(), Qt::BackButton, Qt::NoModifier, QPoint(50, 50)); });
    EXPECT_EQ(again.fileName(), "BoxProperties.htm");
}

TEST(WndHelp, ClosingDestroysTheWindowAndANewOneStartsAgain)
{
    HelpDataFolder data;
    auto help = std::make_unique<CRecordingHelp>();
    CRoutingMainWnd main(help.get());
    help->LoadAfter([&] { help->CreateHelpWindow(); });
    help->GetSafeHwnd()->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !help->IsWindow(); }, 10000));

    // What the main window does on the next request.
    help = std::make_unique<CRecordingHelp>();
    CRoutingMainWnd nextMain(help.get());
    EXPECT_EQ(help->LoadAfter([&] { help->CreateHelpWindow(); }).fileName(), "index.htm");
    EXPECT_EQ(help->LoadAfter([&] { help->ShowTopic(136); }).fileName(), "CreateNewsletter.htm");
}

namespace
{
// Right-clicks the page and hands the menu that pops up to the action; false when none came.
bool WithContextMenu(CRecordingHelp& help, Qt::KeyboardModifiers modifiers,
                     const std::function<void(QMenu*)>& act)
{
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                             menu && !shown)
                         {
                             shown = true;
                             act(menu);
                         }
                     });
    poll.start(50);
    QTest::mouseClick(help.PageWidget(), Qt::RightButton, modifiers, QPoint(200, 150));
    return QTest::qWaitFor([&] { return shown; }, 10000);
}

QStringList ActionTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QString("-") : action->text());
    return texts;
}

void Choose(QMenu* menu, const QString& prefix)
{
    for (QAction* action : menu->actions())
    {
        if (!action->isSeparator() && action->text().startsWith(prefix))
        {
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
            return;
        }
    }
    menu->close();
}
} // namespace

TEST(WndHelp, ContextMenuCommandsActOnThePage)
{
    ShownHelp shown;
    CRecordingHelp& help = shown.help;
    help.LoadAfter([&] { help.ShowTopic(136); });

    // Copy from the menu copies the page's selection.
    help.PageWidget()->setFocus();
    QTest::keyClick(help.PageWidget(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return help.GetBrowser().QueryStatus(IDM_COPY) & OLECMDF_ENABLED; }, 10000));
    QApplication::clipboard()->clear();
    QStringList texts;
    ASSERT_TRUE(WithContextMenu(help, Qt::NoModifier,
                                [&](QMenu* menu)
                                {
                                    texts = ActionTexts(menu);
                                    Choose(menu, "Copy");
                                }));
    EXPECT_EQ(texts, QStringList({"Back", "Forward", "Start Page", "-", "Copy\tCtrl+C", "-",
                                  "Print...\tCtrl+P", "Print Preview..."}));
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QApplication::clipboard()->text().contains("Create a newsletter"); }, 10000));

    // Start Page goes to the contents.
    const QUrl start = help.LoadAfter(
        [&] {
            ASSERT_TRUE(
                WithContextMenu(help, Qt::NoModifier, [](QMenu* menu) { Choose(menu, "Start Page"); }));
        });
    EXPECT_EQ(start.fileName().toStdString(), "index.htm");

    // With Shift and Ctrl held the engine shows its own menu.
    ASSERT_TRUE(WithContextMenu(help, Qt::ShiftModifier | Qt::ControlModifier,
                                [&](QMenu* menu)
                                {
                                    texts = ActionTexts(menu);
                                    menu->close();
                                }));
    EXPECT_FALSE(texts.contains("Start Page")) << texts.join(", ").toStdString();
}

TEST(WndHelp, TheSearchIndexHoldsEveryPageUnderItsTitle)
{
    const QDir folder(QStringLiteral(KV_SOURCE_DIR "/data/help/content/en"));
    QFile index(folder.filePath("searchindex.js"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(index.readAll());
    const QRegularExpression entry(R"re("page": "([^"]+)",\s*"title": "([^"]*)")re");
    QStringList indexed;
    for (auto match = entry.globalMatch(script); match.hasNext();)
    {
        const QRegularExpressionMatch found = match.next();
        indexed.append(found.captured(1));
        QFile page(folder.filePath(found.captured(1)));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << found.captured(1).toStdString();
        EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains("<title>" + found.captured(2) + "</title>"))
            << found.captured(1).toStdString() << " is indexed under an old title";
    }
    QStringList pages = folder.entryList({"*.htm"}, QDir::Files, QDir::Name);
    pages.removeAll("SearchResult.htm");
    pages.removeAll("PageNotFound.htm");
    indexed.sort();
    EXPECT_EQ(indexed, pages) << "run tools/make_help_index.py after changing the pages";
}
