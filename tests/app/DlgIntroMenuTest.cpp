#include "CreateDialogSupport.h"

#include "app/DlgIntroMenu.h"
#include "controls/CommandIds.h"
#include "controls/KVImageButton.h"
#include "ndb/NdbFolder.h"
#include "ndb/NdbShortcutLink.h"
#include "platform/ui/Notify.h"
#include "platform/ui/WndClass.h"

#include <QToolTip>

using namespace ShellTest;

namespace
{
// A window that opens the menu and keeps the commands that reach it.
class CommandRecorder : public CWnd
{
public:
    std::vector<UINT> commands;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CKVImageButton* Button(CDlgIntroMenu& menu, UINT id)
{
    return dynamic_cast<CKVImageButton*>(menu.GetDlgItem(int(id)));
}

void Click(CDlgIntroMenu& menu, UINT id)
{
    CKVImageButton* button = Button(menu, id);
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(5, 5));
}

QString ToolTipOf(CDlgIntroMenu& menu, UINT id)
{
    TOOLTIPTEXTW request;
    request.hdr = {&menu, UINT_PTR(menu.GetDlgItem(int(id))), TTN_NEEDTEXTW};
    request.uFlags = TTF_IDISHWND;
    menu.SendMessage(WM_NOTIFY, 0, LPARAM(&request));
    return QString::fromUtf16(request.szText);
}

class DlgIntroMenuTest : public ShellProgram
{
protected:
    void SetUp() override
    {
        ShellProgram::SetUp();
        m_window.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 700),
                          nullptr, 0);
    }
    void TearDown() override
    {
        m_window.DestroyWindow();
        ShellProgram::TearDown();
    }

    // The recent list: a newsletter, a folder, a mailing list, a link without a type, two more
    // newsletters (the last beyond the five shown).
    void FillRecent()
    {
        ndb::CNdbFolder& recent = m_context.GetShortcuts().Recent();
        recent.AddItem(
            std::make_unique<ndb::CNdbShortcutLink>("Spring News", Document("Spring News.kvnl"), 1));
        recent.AddItem(std::make_unique<ndb::CNdbFolder>());
        recent.AddItem(std::make_unique<ndb::CNdbShortcutLink>("Club Members", Document("Members.kvmg"), 7));
        recent.AddItem(std::make_unique<ndb::CNdbShortcutLink>("Untyped", Document("x.kvnl"), 0));
        recent.AddItem(std::make_unique<ndb::CNdbShortcutLink>(
            QString::fromUtf8(
                "Café Autumn Letter with a name far longer than any tooltip shows in one go, cut"),
            Document("Autumn.kvnl"), 1));
        recent.AddItem(std::make_unique<ndb::CNdbShortcutLink>("Sixth", Document("Sixth.kvnl"), 1));
    }

    // Runs the menu, the steps acting inside its loop; a menu left open fails the test.
    INT_PTR RunMenu(std::function<void(CDlgIntroMenu&)> steps)
    {
        const ModalWatchdog watchdog(20000);
        const auto driver = WhenModal<CDlgIntroMenu>(std::move(steps));
        CDlgIntroMenu menu(&m_context, &m_window);
        return menu.DoModal();
    }

    CKVContext m_context;
    CommandRecorder m_window;
};
} // namespace

TEST_F(DlgIntroMenuTest, ButtonsEndWithTheirCommandsAndTheOthersActForTheOwner)
{
    FillRecent();
    const std::pair<UINT, INT_PTR> cases[] = {
        {ID_FILE_CREATE_NEWSLETTER, ID_FILE_CREATE_NEWSLETTER},
        {ID_FILE_OPEN, ID_FILE_OPEN},
        {IDCANCEL, IDCANCEL},
        {ID_FILE_MRU_FIRST, ID_FILE_MRU_FIRST},
        {ID_FILE_MRU_FIRST + 2, ID_FILE_MRU_FIRST + 2},
        {ID_FILE_MRU_LAST, ID_FILE_MRU_LAST},
    };
    for (const auto& [button, result] : cases)
        EXPECT_EQ(RunMenu([id = button](CDlgIntroMenu& menu) { Click(menu, id); }), result) << button;

    // The tutorial goes to the window that opened the menu, which stays open.
    bool stillOpen = false;
    EXPECT_EQ(RunMenu(
                  [&](CDlgIntroMenu& menu)
                  {
                      Click(menu, ID_HELP_TUTORIAL);
                      stillOpen = menu.GetSafeHwnd()->isVisible();
                      Click(menu, IDCANCEL);
                  }),
              IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(m_window.commands, std::vector<UINT>{ID_HELP_TUTORIAL});
}

TEST_F(DlgIntroMenuTest, RecentButtonsKeepTheirPositionsAndStackWithoutGaps)
{
    RunMenu(
        [](CDlgIntroMenu& menu)
        {
            EXPECT_EQ(menu.GetButtons().size(), 6u) << "an empty recent list: only the fixed buttons";
            menu.EndDialog(IDCANCEL);
        });

    FillRecent();
    RunMenu(
        [](CDlgIntroMenu& menu)
        {
            EXPECT_EQ(menu.GetButtons().size(), 9u);
            const struct
            {
                UINT id;
                QString text;
                int top;
            } rows[] = {{ID_FILE_MRU_FIRST, "Spring News", 309},
                        {ID_FILE_MRU_FIRST + 2, "Club Members", 336},
                        {ID_FILE_MRU_LAST, "", 363}};
            for (const auto& row : rows)
            {
                CKVImageButton* button = Button(menu, row.id);
                ASSERT_NE(button, nullptr) << row.id;
                const QRect geometry = button->GetSafeHwnd()->geometry();
                EXPECT_EQ(geometry.topLeft(), QPoint(49, row.top)) << row.id;
                EXPECT_EQ(geometry.size(), QSize(360, 26));
                if (!row.text.isEmpty())
                {
                    EXPECT_EQ(button->GetText(), row.text);
                }
            }
            for (const UINT skipped : {32931u, 32933u})
                EXPECT_EQ(Button(menu, skipped), nullptr) << skipped;
            EXPECT_EQ(Button(menu, ID_FILE_CREATE_NEWSLETTER)->GetSafeHwnd()->geometry().topLeft(),
                      QPoint(48, 156));
            EXPECT_EQ(menu.GetSafeHwnd()->size(), QSize(674, 582));
            EXPECT_TRUE(menu.GetSafeHwnd()->testAttribute(Qt::WA_TranslucentBackground));
            EXPECT_TRUE(menu.GetSafeHwnd()->windowFlags() & Qt::FramelessWindowHint);
            SavePicture(menu, "DlgIntroMenu-recent.png");
            menu.EndDialog(IDCANCEL);
        });
}

TEST_F(DlgIntroMenuTest, DraggingMovesTheMenuAndALostCaptureTakesItBack)
{
    RunMenu(
        [](CDlgIntroMenu& menu)
        {
            QWidget* widget = menu.GetSafeHwnd();
            const QPoint start = widget->pos();
            QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(300, 40));
            EXPECT_TRUE(menu.IsDragging());
            QTest::mouseMove(widget, QPoint(350, 90));
            EXPECT_EQ(widget->pos(), start + QPoint(50, 50));
            QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(300, 40)); // the menu moved along
            EXPECT_FALSE(menu.IsDragging());
            EXPECT_EQ(widget->pos(), start + QPoint(50, 50)) << "dropped where it was dragged to";

            const QPoint dropped = widget->pos();
            QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(300, 40));
            QTest::mouseMove(widget, QPoint(200, 20));
            EXPECT_EQ(widget->pos(), dropped + QPoint(-100, -20));
            CWnd::ReleaseCapture();
            EXPECT_FALSE(menu.IsDragging());
            EXPECT_EQ(widget->pos(), dropped) << "back where the drag began";
            menu.EndDialog(IDCANCEL);
        });
}

TEST_F(DlgIntroMenuTest, TooltipsNameTheButtonOrTheRecentDocument)
{
    FillRecent();
    RunMenu(
        [](CDlgIntroMenu& menu)
        {
            EXPECT_EQ(ToolTipOf(menu, ID_FILE_CREATE_NEWSLETTER), "Create Newsletter");
            EXPECT_EQ(ToolTipOf(menu, ID_FILE_MRU_FIRST + 2), "Club Members");
            const QString longName = Button(menu, ID_FILE_MRU_LAST)->GetText();
            EXPECT_EQ(ToolTipOf(menu, ID_FILE_MRU_LAST), longName.left(79)) << "cut to the request's buffer";

            TOOLTIPTEXTA ansi;
            ansi.hdr = {&menu, UINT_PTR(menu.GetDlgItem(ID_FILE_MRU_LAST)), TTN_NEEDTEXTA};
            ansi.uFlags = TTF_IDISHWND;
            menu.SendMessage(WM_NOTIFY, 0, LPARAM(&ansi));
            EXPECT_EQ(QByteArray(ansi.szText).left(5), QByteArray("Caf\xe9 ")) << "in the ANSI code page";

            // As a user sees it: the pointer rests on the Create button.
            QWidget* widget = menu.GetSafeHwnd();
            const QPoint over(60, 170);
            QHelpEvent rest(QEvent::ToolTip, over, widget->mapToGlobal(over));
            QApplication::sendEvent(widget, &rest);
            EXPECT_EQ(QToolTip::text(), "Create Newsletter");
            menu.EndDialog(IDCANCEL);
        });
}

TEST_F(DlgIntroMenuTest, MainWindowShowsTheMenuAfterTheSplashAndRunsTheChosenRecentDocument)
{
    const QString path = Document("Spring News.kvnl");
    ASSERT_TRUE(WriteNewsletter(path, "Spring News"));
    ShellHooks::Get().runIntroMenu = [path](CKVContext* context, CWnd* parent)
    {
        context->GetShortcuts().Recent().AddItem(
            std::make_unique<ndb::CNdbShortcutLink>("Spring News", path, 1));
        return CDlgIntroMenu::Run(context, parent);
    };
    const ModalWatchdog watchdog(30000);
    bool shown = false;
    const auto driver = WhenModal<CDlgIntroMenu>(
        [&](CDlgIntroMenu& menu)
        {
            shown = true;
            Click(menu, ID_FILE_MRU_FIRST);
        });
    MakeProgram();
    StartProgram();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return m_app->GetContext()->GetCurrentNewsletter() != nullptr; }, 10000));
    EXPECT_TRUE(shown);
    ASSERT_NE(m_app->GetContext()->GetCurrentNewsletter(), nullptr);
    EXPECT_EQ(m_app->GetContext()->GetCurrentNewsletter()->GetPath(), path);
}
