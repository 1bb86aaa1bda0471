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
