#include "controls/KVTabButtonList.h"
#include "ControlTestSupport.h"
#include "controls/CommandIds.h"

#include <gtest/gtest.h>

namespace
{
constexpr UINT TabImageId = 275;
constexpr UINT LayoutId = ID_VIEW_EMAIL;
constexpr UINT RecipientsId = ID_VIEW_SUBSCRIBERS;
constexpr UINT ReportsId = ID_VIEW_STATISTICS;
constexpr QRgb Background = qRgb(0x3E, 0x43, 0x4D);

class TabStrip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown(420, 80));
        ASSERT_TRUE(strip.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                 CRect(0, 0, 400, 28), &parent, 4711));
        ASSERT_TRUE(strip.m_tabImage.LoadFromResource(TabImageId));
        strip.m_notifyWnd = &parent;
        strip.EnableToolTips(true);
        strip.m_currentTab = strip.AddTab(QStringLiteral("Layout"), LayoutId);
        strip.AddTab(QStringLiteral("Recipients"), RecipientsId);
        strip.AddTab(QStringLiteral("Reports"), ReportsId);
    }
    void Click(int x) { QTest::mouseClick(strip.GetSafeHwnd(), Qt::LeftButton, {}, QPoint(x, 14)); }
    UINT Current() const { return strip.m_currentTab ? strip.m_currentTab->commandId : 0; }
    const CRect& Rect(int index) const { return strip.GetTab(index)->rect; }

    CCommandRecorder parent;
    CKVTabButtonList strip;
};
} // namespace

TEST_F(TabStrip, TabsAreTheirTextWidePlus40AndOverlapBy10)
{
    EXPECT_EQ(strip.GetTabHeight(), 28);
    ASSERT_EQ(strip.GetTabCount(), 3);
    CKVSystemFont font(-11, 0);
    int x = 0;
    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        const int w = font.GetTextExtent(strip.GetTab(i)->text).cx;
        EXPECT_EQ(strip.GetTab(i)->textWidth, w);
        EXPECT_EQ(Rect(i), CRect(x, 0, x + w + 40, 28));
        x += w + 30;
    }
}

TEST_F(TabStrip, ClickOnAnotherTabSendsItsCommandOnce)
{
    Click(Rect(2).left + 20);
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0], (std::pair<WPARAM, LPARAM>(ReportsId, 0)));
    EXPECT_EQ(Current(), ReportsId);

    Click(Rect(2).left + 25);
    Click(390);
    EXPECT_EQ(parent.commands.size(), 1u) << "the current tab and the empty strip send nothing";
}

TEST_F(TabStrip, ClickInAnOverlapActsOnTheTabDrawnOnTop)
{
    // Layout is current and lies above Recipients: the overlap belongs to it.
    Click(Rect(1).left + 3);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(Current(), LayoutId);

    // Between Recipients and Reports, the earlier tab lies above: one command, for Recipients.
    Click(Rect(2).left + 3);
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].first, WPARAM(RecipientsId));
    EXPECT_EQ(Current(), RecipientsId);
}

TEST_F(TabStrip, SelectTabByCommandIdKeepsTheCurrentTabForAnUnknownId)
{
    strip.SelectTab(ReportsId);
    EXPECT_EQ(Current(), ReportsId);
    strip.SelectTab(12345);
    EXPECT_EQ(Current(), ReportsId);
    EXPECT_TRUE(parent.commands.empty()) << "selecting from the program sends nothing";
}

TEST_F(TabStrip, DrawsTheCurrentTabAboveTheOthersOnTheDarkBackground)
{
    const QImage image = Grab(strip);
    EXPECT_EQ(image.pixel(395, 14), Background);
    // The current tab's face is the light frame; a tab in the back is darker.
    const QRgb current = image.pixel(Rect(0).left + 25, 20);
    const QRgb back = image.pixel(Rect(2).left + 25, 20);
    EXPECT_GT(qGray(current), qGray(back));
    // In the overlap of Layout and Recipients, the current tab's right cap is drawn.
    EXPECT_EQ(image.pixel(Rect(0).right - 12, 20), current);
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    image.save(QStringLiteral(KV_ARTIFACT_DIR "/tabstrip.png"));

    CKVTabButtonList bare;
    ASSERT_TRUE(bare.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 68), &parent, 1));
    bare.AddTab(QStringLiteral("Layout"), LayoutId);
    EXPECT_EQ(bare.GetTabHeight(), 0);
    const QImage plain = Grab(bare);
    EXPECT_EQ(plain.pixel(10, 10), Background) << "without image only the background";
    EXPECT_EQ(plain.pixel(100, 20), Background);
}

TEST_F(TabStrip, TooltipIsTheStringOfTheTabsCommand)
{
    EXPECT_EQ(ToolTipAt(strip.GetSafeHwnd(), QPoint(Rect(0).left + 20, 10)),
              QStringLiteral("Email Layout And Settings"));
}

TEST_F(TabStrip, MiddleIsRepeatedWholeAndOnlyTheRestIsSqueezed)
{
    // Every column of the image has a colour of its own.
    CKVTabButtonList plain;
    ASSERT_TRUE(plain.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 68), &parent, 1));
    ASSERT_TRUE(plain.m_tabImage.CreateBlank(57, 112));
    QImage& image = plain.m_tabImage.GetBitmap()->Image();
    auto column = [](int x) { return qRgb(x * 4, 100, 200); };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, column(x));
    CKVTabButtonList::TabRecord* tab = plain.AddTab(QString(), 1);

    tab->rect = CRect(0, 0, 4 * 19, 28);
    QImage drawn = Grab(plain);
    for (int x = 0; x < 4 * 19; ++x)
    {
        SCOPED_TRACE(x);
        const int source = x < 19 ? x : (x >= 3 * 19 ? x - 19 : 19 + (x - 19) % 19);
        ASSERT_EQ(drawn.pixel(x, 25), column(source));
    }
    EXPECT_EQ(drawn.pixel(4 * 19, 25), Background);

    tab->rect = CRect(0, 0, 4 * 19 + 4, 28);
    plain.Invalidate();
    drawn = Grab(plain);
    for (int x = 3 * 19; x < 3 * 19 + 4; ++x)
    {
        SCOPED_TRACE(x);
        const int red = qRed(drawn.pixel(x, 25));
        EXPECT_GE(red, 19 * 4 - 4);
        EXPECT_LE(red, 38 * 4);
    }
    EXPECT_EQ(drawn.pixel(3 * 19 + 4, 25), column(38)) << "the right cap follows the squeezed piece";
}
