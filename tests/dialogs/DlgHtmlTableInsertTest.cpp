#include "dialogs/DlgHtmlTableInsert.h"
#include "DialogTestSupport.h"
#include "res/dialogs/HtmlTableInsert.h"

#include <QComboBox>

using namespace DialogTest;

namespace
{
constexpr int IdColumns = IDC_COLUMNS;
constexpr int IdRows = IDC_ROWS;
constexpr int IdSpecifyWidth = IDC_SPECIFY_WIDTH;
constexpr int IdDefaultWidth = IDC_DEFAULT_WIDTH;
constexpr int IdWidth = IDC_WIDTH;
constexpr int IdWidthUnit = IDC_WIDTH_UNIT;
constexpr int IdSpecifyHeight = IDC_SPECIFY_HEIGHT;
constexpr int IdHeight = IDC_HEIGHT;
constexpr int IdBorder = IDC_BORDER;

class TableInsert : public ::testing::Test
{
protected:
    QWidget* Item(int id) { return Widget(dialog.GetDlgItem(id)); }
    void Click(int id) { QTest::mouseClick(Item(id), Qt::LeftButton); }
    INT_PTR Run(std::function<void()> steps)
    {
        WhenModal(
            [this, steps = std::move(steps)]
            {
                steps();
                ClickButton(dialog.GetSafeHwnd(), QStringLiteral("OK"));
            });
        return dialog.DoModal();
    }

    CDlgHtmlTableInsert dialog;
};
} // namespace

TEST_F(TableInsert, ConfirmedAtOnceGivesOneEmptyCell)
{
    ASSERT_EQ(Run([] {}), IDOK);
    EXPECT_EQ(dialog.m_columns, 1);
    EXPECT_EQ(dialog.m_rows, 1);
    EXPECT_EQ(dialog.m_border, 0);
    EXPECT_EQ(dialog.m_cellPadding, 0);
    EXPECT_EQ(dialog.m_cellSpacing, 0);
    EXPECT_EQ(dialog.GetWidth().GetFloat(), 0.0f);
    EXPECT_EQ(dialog.GetWidth().GetUnit(), ndb::NdbUnitPx);
    EXPECT_EQ(dialog.m_height, 0);
}

// The size edits follow their mode; a width in percent comes back with its unit, and numbers
// typed beyond the ranges are taken at the range's end.
TEST_F(TableInsert, SizeFollowsItsModeAndRangesHold)
{
    ASSERT_EQ(Run(
                  [this]
                  {
                      EXPECT_FALSE(Item(IdWidth)->isEnabled());
                      EXPECT_FALSE(Item(IdWidthUnit)->isEnabled());
                      EXPECT_FALSE(Item(IdHeight)->isEnabled());
                      Click(IdSpecifyWidth);
                      EXPECT_TRUE(Item(IdWidth)->isEnabled());
                      EXPECT_TRUE(Item(IdWidthUnit)->isEnabled());
                      EXPECT_FALSE(Item(IdHeight)->isEnabled());
                      TypeOver(Item(IdWidth), QStringLiteral("50"));
                      auto* unit = qobject_cast<QComboBox*>(Item(IdWidthUnit));
                      ASSERT_EQ(unit->currentText(), "pixels");
                      unit->setFocus();
                      QTest::keyClick(unit, Qt::Key_Down);
                      EXPECT_EQ(unit->currentText(), "%");
                      Click(IdSpecifyHeight);
                      TypeOver(Item(IdHeight), QStringLiteral("40"));
                      TypeOver(Item(IdColumns), QStringLiteral("999"));
                      TypeOver(Item(IdRows), QStringLiteral("3"));
                      TypeOver(Item(IdBorder), QStringLiteral("2"));
                      SaveArtifact(dialog, QStringLiteral("dialog-186-insert-table.png"));
                  }),
              IDOK);
    EXPECT_EQ(dialog.m_widthMode, 1);
    EXPECT_EQ(dialog.m_width, 50);
    EXPECT_EQ(dialog.GetWidth().GetFloat(), 50.0f);
    EXPECT_EQ(dialog.GetWidth().GetUnit(), ndb::NdbUnitPercent);
    EXPECT_EQ(dialog.m_height, 40);
    EXPECT_EQ(dialog.m_columns, 128);
    EXPECT_EQ(dialog.m_rows, 3);
    EXPECT_EQ(dialog.m_border, 2);
}

TEST_F(TableInsert, DefaultWidthAfterTypingGivesNone)
{
    ASSERT_EQ(Run(
                  [this]
                  {
                      Click(IdSpecifyWidth);
                      TypeOver(Item(IdWidth), QStringLiteral("300"));
                      Click(IdDefaultWidth);
                      EXPECT_FALSE(Item(IdWidth)->isEnabled());
                  }),
              IDOK);
    EXPECT_EQ(dialog.GetWidth().GetFloat(), 0.0f);
}
