#include "PageScript.h"
#include "app/NewsletterCreation.h"
#include "app/ShellTestSupport.h"
#include "editor/WndLayout.h"
#include "services/ConceptTemplateFile.h"
#include "services/ConceptTemplateFolder.h"

#include <functional>

using namespace ShellTest;

namespace
{
// The messages the program shows meanwhile, each answered with its first button.
class MessageWatch
{
public:
    MessageWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this]
                         {
                             auto* box = dynamic_cast<CDlgMessageBox*>(
                                 CWnd::FromHandle(QApplication::activeModalWidget()));
                             if (!box || !box->GetSafeHwnd()->isVisible())
                                 return;
                             texts << box->m_text;
                             box->EndDialog(IDOK);
                         });
        m_timer.start(20);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

class EditLayoutStages : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        // No catalogue from the network: the shipped one.
        WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", "http://127.0.0.1:9/");
    }

    // Edit Layout as a person sends it: its key or its menu item.
    void SendEditLayout(CMainWnd& window, bool byMenu)
    {
        if (byMenu)
            ASSERT_TRUE(ChooseMenuItem(window, {"&Edit", "&Newsletter", "&Email", "&Edit"}));
        else
            PressKey(window, Qt::Key_E, Qt::ControlModifier);
    }
};

struct Stage
{
    const char* name;
    bool byMenu;
    // Brings the program to the stage; Edit Layout follows at once.
    std::function<void(CMainWnd&, const QString& document)> reach;
};
} // namespace

// Edit Layout at every stage of a page load ends in a page that takes typing with its Undo.
TEST_F(EditLayoutStages, EditLayoutAtEveryStageOfALoadGivesAnEditablePage)
{
    const auto open = [](CMainWnd& window, const QString& document)
    { ASSERT_TRUE(window.OpenNewsletter(document)); };
    const Stage stages[] = {
        {"right after open", false, open},
        {"right after open, by the menu", true, open},
        {"after Refresh", false,
         [open](CMainWnd& window, const QString& document)
         {
             open(window, document);
             ASSERT_FALSE(ShownPageText(window).isEmpty());
             window.GetNewsletterView().GetLayout().Refresh();
         }},
        {"right after Create from the gallery", false,
         [this](CMainWnd& window, const QString&)
         {
             ShellHooks::Get().chooseNewsletterStart =
                 [this](CWnd*, CConceptTemplateFolder& catalogue, bool, NewsletterStart& start)
             {
                 CConceptTemplateBase* entry = catalogue.FindById("KV_BUSINESS_HARBOUR");
                 start.selectedTemplate =
                     entry && entry->IsFile() ? static_cast<CConceptTemplateFile*>(entry) : nullptr;
                 start.projectName = "Gallery";
                 start.location = Path("documents/");
                 return start.selectedTemplate != nullptr;
             };
             ASSERT_TRUE(ChooseMenuItem(window, {"&File", "&Create Newsletter..."}));
             ASSERT_TRUE(QTest::qWaitFor([&] { return m_app->GetContext()->GetCurrentNewsletter(); }, 30000));
         }},
    };
    for (const Stage& stage : stages)
    {
        SCOPED_TRACE(stage.name);
        const QString document = Document(QStringLiteral("Stage.kvnl"));
        QFile::remove(document);
        ASSERT_TRUE(WriteNewsletter(document, "Stage"));
        CMainWnd& window = StartProgram();
        window.MoveWindow(0, 0, 1024, 700);
        CWndLayout& layout = window.GetNewsletterView().GetLayout();
        CIEBrowser& browser = layout.GetBrowser();
        MessageWatch messages;
        stage.reach(window, document);
        SendEditLayout(window, stage.byMenu);
        ASSERT_TRUE(QTest::qWaitFor([&] { return layout.IsEditing() || !messages.texts.isEmpty(); }, 60000));
        ASSERT_TRUE(layout.IsEditing()) << messages.texts.join('\n').toStdString();
        EXPECT_EQ(layout.GetToolbar().m_currentSet, 1);
        EXPECT_TRUE(RunInPage(browser, "document.body.isContentEditable").toBool());
        EXPECT_TRUE(messages.texts.isEmpty());
        QWidget* page = browser.GetSafeHwnd()->focusProxy();
        const QVariantList point =
            RunInPage(browser,
                      "(function () { const r = document.querySelector('body *').getBoundingClientRect();"
                      " return [Math.round(r.left + 2), Math.round(r.top + r.height / 2)]; })()")
                .toList();
        // Typing follows once the page has taken the click and has the focus, as a person sees the caret.
        ClickAndAwaitReports(browser, QPoint(point.value(0).toInt(), point.value(1).toInt()));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return RunInPage(browser, "document.hasFocus()").toBool(); }, 10000));
        QTest::keyClicks(page, "Qz");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return RunInPage(browser, "document.body.textContent").toString().contains("Qz"); }, 10000))
            << "the page takes typing";
        EXPECT_TRUE(QTest::qWaitFor([&] { return browser.IsCommandEnabled(IDM_UNDO); }, 10000));
        PressKey(window, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !RunInPage(browser, "document.body.textContent").toString().contains("Qz"); },
            10000))
            << "Undo takes the typing away";
        layout.CancelEdit();
        if (ndb::CNdbNewsletter* newsletter = m_app->GetContext()->GetCurrentNewsletter())
            newsletter->SetModified(false);
        StopProgram();
    }
}
