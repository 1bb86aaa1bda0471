#include "controls/KVPropertySheet.h"
#include "ControlTestSupport.h"

#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{
constexpr UINT GeneralPageId = 9101;
constexpr UINT AdvancedPageId = 9102;
constexpr UINT NameEditId = 1001;

const char* const GeneralPage = R"({"caption": "General", "size": [200, 90], "style": ["child"],
  "font": ["MS Shell Dlg", 8], "controls": [
  {"id": 1000, "class": "static", "text": "Name of the newsletter:", "rect": [7, 9, 120, 10]},
  {"id": 1001, "class": "edit", "text": "", "rect": [7, 22, 186, 14], "style": ["tabstop"]}]})";
const char* const AdvancedPage = R"({"caption": "Advanced settings", "size": [180, 70], "style": ["child"],
  "font": ["MS Shell Dlg", 8], "controls": [
  {"id": 1002, "class": "static", "text": "Throttling between messages", "rect": [7, 9, 160, 10]}]})";

class CTestPage : public CPropertyPage
{
public:
    using CPropertyPage::CPropertyPage;
    int setActive = 0;
    int killActive = 0;
    int ok = 0;
    int cancel = 0;
    bool mayLeave = true;

    bool OnSetActive() override
    {
        ++setActive;
        return true;
    }
    bool OnKillActive() override
    {
        ++killActive;
        return mayLeave;
    }
    void OnOK() override { ++ok; }
    void OnCancel() override { ++cancel; }
};

class PropertySheet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resources.AddFile(QStringLiteral("dialogs/9101.json"), GeneralPage);
        resources.AddFile(QStringLiteral("dialogs/9102.json"), AdvancedPage);
        ASSERT_TRUE(resources.Load());
        sheet.AddPage(&general);
        sheet.AddPage(&advanced);
    }
    void Show()
    {
        ASSERT_TRUE(sheet.Create(0, nullptr));
        sheet.ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.GetSafeHwnd()));
    }
    QTabBar* Tabs() { return sheet.GetSafeHwnd()->findChild<QTabBar*>(); }
    void ClickTab(int index)
    {
        QTest::mouseClick(Tabs(), Qt::LeftButton, {}, Tabs()->tabRect(index).center());
    }
    QString ButtonText(int id)
    {
        CWnd* button = sheet.GetDlgItem(id);
        return button ? button->GetWindowText() : QString();
    }

    ScopedResourceModule resources;
    CTestPage general{GeneralPageId};
    CTestPage advanced{AdvancedPageId};
    CKVPropertySheet sheet{QStringLiteral("Email Settings")};
};
} // namespace

TEST_F(PropertySheet, TabClickShowsThatPageAfterTheShownOneLetGo)
{
    Show();
    ASSERT_EQ(Tabs()->count(), 2);
    EXPECT_EQ(Tabs()->tabText(1), QStringLiteral("Advanced settings"));
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_TRUE(general.IsWindowVisible());
    EXPECT_FALSE(advanced.IsWindowVisible());

    ClickTab(1);
    EXPECT_EQ(sheet.GetActivePage(), &advanced);
    EXPECT_FALSE(general.IsWindowVisible());
    EXPECT_TRUE(advanced.IsWindowVisible());
    EXPECT_EQ(general.killActive, 1);
    EXPECT_EQ(advanced.setActive, 1);

    advanced.mayLeave = false;
    ClickTab(0);
    EXPECT_EQ(sheet.GetActiveIndex(), 1) << "a page that refuses to be left stays";
    EXPECT_EQ(Tabs()->currentIndex(), 1);
    EXPECT_TRUE(advanced.IsWindowVisible());

    advanced.mayLeave = true;
    EXPECT_TRUE(sheet.SetActivePage(0));
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_TRUE(general.IsWindowVisible());
    EXPECT_FALSE(sheet.SetActivePage(2));
}

TEST_F(PropertySheet, OwnCaptionsReplaceTheStandardOnesAndThereIsNoApply)
{
    sheet.m_okCaption = QStringLiteral("Save");
    sheet.m_finishCaption = QStringLiteral("Done");
    Show();
    EXPECT_EQ(ButtonText(IDOK), QStringLiteral("Save"));
    EXPECT_EQ(ButtonText(IDCANCEL), QStringLiteral("Cancel")) << "an empty caption keeps the standard one";
    EXPECT_EQ(sheet.GetDlgItem(ID_APPLY_NOW), nullptr);
    EXPECT_EQ(sheet.GetDlgItem(ID_WIZFINISH), nullptr) << "a caption for a missing button changes nothing";
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    Grab(sheet).save(QStringLiteral(KV_ARTIFACT_DIR "/propertysheet.png"));

    CPropertySheet plain(QStringLiteral("Plain"));
    CTestPage page{GeneralPageId};
    plain.AddPage(&page);
    ASSERT_TRUE(plain.Create(0, nullptr));
    ASSERT_NE(plain.GetDlgItem(ID_APPLY_NOW), nullptr) << "the standard sheet has Apply, disabled";
    EXPECT_FALSE(plain.GetDlgItem(ID_APPLY_NOW)->IsWindowEnabled());
    EXPECT_EQ(plain.GetDlgItem(IDCANCEL)->GetWindowText(), QStringLiteral("Cancel"));
}

TEST_F(PropertySheet, ModalRunEndsWithOkAfterTheShownPageLetGo)
{
    sheet.m_okCaption = QStringLiteral("Save");
    QString typed;
    QTimer::singleShot(0,
                       [&]
                       {
                           ClickTab(1);
                           ClickTab(0);
                           CWnd* edit = general.GetDlgItem(NameEditId);
                           QTest::keyClicks(edit->GetSafeHwnd(), QStringLiteral("May issue"));
                           typed = edit->GetWindowText();
                           auto* ok = qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK)->GetSafeHwnd());
                           QTest::mouseClick(ok, Qt::LeftButton);
                       });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(typed, QStringLiteral("May issue"));
    EXPECT_EQ(general.killActive, 2) << "left for the second tab and on OK";
    EXPECT_EQ(general.ok, 1);
    EXPECT_EQ(advanced.ok, 1);
    EXPECT_EQ(general.cancel, 0);

    QTimer::singleShot(0, [&] { QTest::keyClick(sheet.GetSafeHwnd(), Qt::Key_Escape); });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL) << "a sheet runs again";
    EXPECT_EQ(general.cancel, 1);
    EXPECT_EQ(advanced.cancel, 1);
}

namespace
{
class CWizardPage : public CTestPage
{
public:
    using CTestPage::CTestPage;
    DWORD buttons = PSWIZB_NEXT;
    bool mayFinish = true;
    bool mayCancel = true;
    int finish = 0;
    int help = 0;

    bool OnSetActive() override
    {
        GetParent()->SendMessage(PSM_SETWIZBUTTONS, 0, LPARAM(buttons));
        return CTestPage::OnSetActive();
    }
    bool OnWizardFinish() override
    {
        ++finish;
        return mayFinish;
    }
    bool OnQueryCancel() override { return mayCancel; }

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {OnNotify(PSN_HELP, &CWizardPage::OnHelpNotify)};
        static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnHelpNotify(WPARAM, LPARAM)
    {
        ++help;
        return 0;
    }
};
} // namespace

TEST(PropertySheetWizard, PagesFollowOneAnotherThroughTheButtonsThePagesChoose)
{
    ScopedResourceModule resources;
    resources.AddFile(QStringLiteral("dialogs/9101.json"), GeneralPage);
    resources.AddFile(QStringLiteral("dialogs/9102.json"), AdvancedPage);
    ASSERT_TRUE(resources.Load());
    CWizardPage first{GeneralPageId};
    CWizardPage second{AdvancedPageId};
    second.buttons = PSWIZB_BACK | PSWIZB_FINISH;
    CKVPropertySheet wizard{QStringLiteral("Site Settings")};
    wizard.m_nextCaption = QStringLiteral("Next >");
    wizard.AddPage(&first);
    wizard.AddPage(&second);
    wizard.m_psh.dwFlags |= PSH_WIZARD | PSH_HASHELP;

    auto button = [&](int id) { return qobject_cast<QPushButton*>(wizard.GetDlgItem(id)->GetSafeHwnd()); };
    int result = -1;
    QTimer::singleShot(0,
                       [&]
                       {
                           EXPECT_FALSE(wizard.GetSafeHwnd()->findChild<QTabBar*>()->isVisible());
                           EXPECT_EQ(wizard.GetWindowText(), QStringLiteral("General"));
                           EXPECT_FALSE(button(ID_WIZBACK)->isEnabled());
                           EXPECT_TRUE(button(ID_WIZNEXT)->isVisible());
                           EXPECT_FALSE(button(ID_WIZFINISH)->isVisible());
                           EXPECT_EQ(button(ID_WIZNEXT)->text(), QStringLiteral("Next >"));

                           first.mayLeave = false;
                           QTest::keyClick(wizard.GetSafeHwnd(), Qt::Key_Return);
                           EXPECT_EQ(wizard.GetActiveIndex(), 0) << "the page refused to be left";
                           first.mayLeave = true;
                           QTest::mouseClick(button(ID_WIZNEXT), Qt::LeftButton);
                           EXPECT_EQ(wizard.GetActivePage(), &second);
                           EXPECT_EQ(wizard.GetWindowText(), QStringLiteral("Advanced settings"));
                           EXPECT_TRUE(button(ID_WIZBACK)->isEnabled());
                           EXPECT_FALSE(button(ID_WIZNEXT)->isVisible());
                           EXPECT_TRUE(button(ID_WIZFINISH)->isVisible());

                           QTest::mouseClick(button(IDHELP), Qt::LeftButton);
                           EXPECT_EQ(second.help, 1);
                           second.mayCancel = false;
                           QTest::keyClick(wizard.GetSafeHwnd(), Qt::Key_Escape);
                           EXPECT_TRUE(wizard.IsWindowVisible()) << "the page kept the wizard open";
                           second.mayFinish = false;
                           QTest::keyClick(wizard.GetSafeHwnd(), Qt::Key_Return);
                           EXPECT_EQ(second.finish, 1);
                           EXPECT_TRUE(wizard.IsWindowVisible()) << "the page refused Finish";
                           QTest::mouseClick(button(ID_WIZBACK), Qt::LeftButton);
                           EXPECT_EQ(wizard.GetActivePage(), &first);
                           QTest::mouseClick(button(ID_WIZNEXT), Qt::LeftButton);
                           second.mayFinish = true;
                           QTest::mouseClick(button(ID_WIZFINISH), Qt::LeftButton);
                       });
    result = int(wizard.DoModal());
    EXPECT_EQ(result, ID_WIZFINISH);
    EXPECT_EQ(first.killActive, 3);
    EXPECT_EQ(first.ok, 1);
    EXPECT_EQ(second.ok, 1);
    EXPECT_EQ(second.cancel, 0);
}
