#include "ColorTestSupport.h"
#include "DialogLayoutCheck.h"
#include "StyleTestSupport.h"
#include "dialogs/DlgHtmlTableCellProperties.h"
#include "dialogs/DlgHtmlTableProperties.h"
#include "ndb/NdbResource.h"
#include "res/dialogs/HtmlTableCellProperties.h"
#include "res/dialogs/HtmlTableProperties.h"

using namespace StyleTest;
using namespace ndb;

namespace
{
const QString ImageKey = QStringLiteral("{7A0B1E52-0000-4000-8000-0000000000E1}");

QString Field(const CNdbStyle& record, int id)
{
    CNdbFieldValue value;
    if (!record.GetField(id, value))
        return QStringLiteral("absent");
    if (value.GetType() == NdbValueLength)
        return value.FormatLength();
    if (value.GetType() == NdbValueColor)
        return value.GetColor() ? value.GetColor()->ToText() : QString();
    return QString::number(value.GetInt());
}

bool Enabled(QWidget* window, int id)
{
    return Control(window, id)->IsWindowEnabled();
}

bool Checked(QWidget* window, int id)
{
    return qobject_cast<QAbstractButton*>(Widget(Control(window, id)))->isChecked();
}

class TableDialogs : public StyledNewsletter
{
protected:
    void SetUp() override
    {
        StyledNewsletter::SetUp();
        auto image = std::make_unique<CNdbResource>();
        image->SetField(ResourceId, CNdbFieldValue(ImageKey));
        image->SetField(ResourceFileName, CNdbFieldValue(QStringLiteral("paper.png")));
        image->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/paper.png")));
        newsletter->Layout().AddResource(std::move(image));
    }

    template <class Dialog>
    bool Run(Dialog& dialog, const QString& title, std::function<void(QWidget*)> steps)
    {
        ModalScript script;
        script.ThenTitled(title,
                          [steps = std::move(steps)](QWidget* window)
                          {
                              EXPECT_EQ(LayoutFaults(window), QStringList());
                              steps(window);
                              ClickButton(window, QStringLiteral("OK"));
                          });
        script.Start();
        const bool ok = dialog.DoModal() == IDOK;
        EXPECT_TRUE(script.Finished());
        return ok;
    }
};
} // namespace

// A table without a width opens in the default mode with pixels; a width typed in percent is
// written with its unit, the border always as solid in the swatch's colour, black when none was.
TEST_F(TableDialogs, TablePropertiesWriteSizeAndBorder)
{
    CNdbStyle record;
    CDlgHtmlTableProperties dialog(&context, &record);
    dialog.m_cellSpacing = 2;
    ASSERT_TRUE(Run(dialog, QStringLiteral("Table Properties"),
                    [](QWidget* window)
                    {
                        EXPECT_TRUE(Checked(window, IDC_WIDTH_DEFAULT));
                        EXPECT_FALSE(Enabled(window, IDC_WIDTH));
                        EXPECT_EQ(Combo(window, IDC_WIDTH_FIXED_UNIT)->currentText(), "pixels");
                        Click(window, IDC_WIDTH_FIXED);
                        EXPECT_TRUE(Enabled(window, IDC_WIDTH));
                        EXPECT_FALSE(Enabled(window, IDC_HEIGHT)) << "the height keeps its own mode";
                        TypeInto(window, IDC_WIDTH, QStringLiteral("50"));
                        Choose(window, IDC_WIDTH_FIXED_UNIT, QStringLiteral("%"));
                        TypeInto(window, IDC_TABLE_BORDER, QStringLiteral("2"));
                        TypeInto(window, IDC_CELL_PADDING, QStringLiteral("5"));
                        SaveArtifact(*CWnd::FromHandle(window),
                                     QStringLiteral("dialog-188-table-properties.png"));
                    }));
    EXPECT_EQ(Field(record, StyleWidth), "50%");
    EXPECT_EQ(Field(record, StyleHeight), "absent");
    EXPECT_EQ(Field(record, StyleBorderTopWidth), "2px");
    EXPECT_EQ(Field(record, StyleBorderTopStyle), "4");
    EXPECT_EQ(Field(record, StyleBorderTopColor), CNdbColor(0, 0, 0).ToText());
    EXPECT_EQ(dialog.m_cellPadding, 5);
    EXPECT_EQ(dialog.m_cellSpacing, 2);
}

// The specify mode with a width of 0 removes the width; positions of this dialog start at 0.
TEST_F(TableDialogs, TableWidthOfZeroAndPositionsFromZero)
{
    CNdbStyle record;
    record.SetField(StyleWidth, CNdbFieldValue(300.0f, NdbUnitPx));
    record.SetField(StyleBackgroundImage, CNdbFieldValue(ImageKey));
    CDlgHtmlTableProperties dialog(&context, &record);
    ASSERT_TRUE(Run(dialog, QStringLiteral("Table Properties"),
                    [](QWidget* window)
                    {
                        EXPECT_TRUE(Checked(window, IDC_WIDTH_FIXED));
                        TypeInto(window, IDC_WIDTH, QStringLiteral("0"));
                        Choose(window, IDC_BACKGROUND_POS_X, QStringLiteral("Custom"));
                        TypeInto(window, IDC_BACKGROUND_POS_X_VALUE, QStringLiteral("-20"));
                    }));
    EXPECT_EQ(Field(record, StyleWidth), "absent");
    EXPECT_NE(Field(record, StyleBackgroundPositionXLength).left(1), "-");
}

// A cell without a style opens on the defaults with the padding disabled; its own padding in em,
// the middle alignment and a negative position are written as chosen.
TEST_F(TableDialogs, CellPropertiesDefaultsAndPadding)
{
    CNdbStyle record;
    record.SetField(StyleBackgroundImage, CNdbFieldValue(ImageKey));
    CDlgHtmlTableCellProperties dialog(&context, &record);
    ASSERT_TRUE(Run(
        dialog, QStringLiteral("Table Cell Properties"),
        [](QWidget* window)
        {
            EXPECT_TRUE(Checked(window, IDC_WIDTH_DEFAULT));
            EXPECT_TRUE(Checked(window, IDC_HEIGHT_DEFAULT));
            for (int unit : {IDC_WIDTH_FIXED_UNIT, IDC_HEIGHT_UNIT, IDC_PADDING_UNIT})
                EXPECT_EQ(Combo(window, unit)->currentText(), "pixels") << unit;
            EXPECT_EQ(Combo(window, IDC_ALIGN)->currentText(), "Default");
            EXPECT_EQ(Combo(window, IDC_VERTICAL_ALIGN)->currentText(), "Default");
            EXPECT_FALSE(Checked(window, IDC_NO_WRAP));
            EXPECT_TRUE(Checked(window, IDC_DEFAULT_PADDING));
            for (int id : {IDC_TOP_PADDING, IDC_BOTTOM_PADDING, IDC_LEFT_PADDING, IDC_RIGHT_PADDING,
                           IDC_PADDING_UNIT, IDC_TOP_PADDING_LABEL, IDC_BOTTOM_PADDING_LABEL,
                           IDC_LEFT_PADDING_LABEL, IDC_RIGHT_PADDING_LABEL, IDC_PADDING_UNIT_LABEL})
                EXPECT_FALSE(Enabled(window, id)) << id;
            Click(window, IDC_DEFAULT_PADDING);
            EXPECT_TRUE(Enabled(window, IDC_TOP_PADDING));
            for (int id : {IDC_TOP_PADDING, IDC_BOTTOM_PADDING, IDC_LEFT_PADDING, IDC_RIGHT_PADDING})
                TypeInto(window, id, QStringLiteral("4"));
            Choose(window, IDC_PADDING_UNIT, QStringLiteral("em"));
            Choose(window, IDC_VERTICAL_ALIGN, QStringLiteral("Middle"));
            Choose(window, IDC_BACKGROUND_POS_X, QStringLiteral("Custom"));
            TypeInto(window, IDC_BACKGROUND_POS_X_VALUE, QStringLiteral("-20"));
            SaveArtifact(*CWnd::FromHandle(window), QStringLiteral("dialog-187-table-cell-properties.png"));
        }));
    EXPECT_EQ(dialog.m_useDefaultPadding, 0);
    for (int side : {StylePaddingTop, StylePaddingBottom, StylePaddingLeft, StylePaddingRight})
        EXPECT_EQ(Field(record, side), "4em") << side;
    EXPECT_EQ(Field(record, StyleVerticalAlign), "4");
    EXPECT_EQ(Field(record, StyleTextAlign), "absent");
    EXPECT_EQ(Field(record, StyleBackgroundPositionXLength), "-20px");
}

// A width in percent comes back unchanged; switching "No text wrap" off removes the wrapping.
TEST_F(TableDialogs, CellKeepsItsPercentWidthAndDropsNoWrap)
{
    CNdbStyle record;
    record.SetField(StyleWidth, CNdbFieldValue(30.0f, NdbUnitPercent));
    record.SetField(StyleWhiteSpace, CNdbFieldValue(NdbValueWhiteSpace, 1));
    CDlgHtmlTableCellProperties dialog(&context, &record);
    ASSERT_TRUE(Run(dialog, QStringLiteral("Table Cell Properties"),
                    [](QWidget* window)
                    {
                        EXPECT_TRUE(Checked(window, IDC_WIDTH_FIXED));
                        EXPECT_EQ(Combo(window, IDC_WIDTH_FIXED_UNIT)->currentText(), "%");
                        EXPECT_TRUE(Checked(window, IDC_NO_WRAP));
                        Click(window, IDC_NO_WRAP);
                    }));
    EXPECT_EQ(Field(record, StyleWidth), "30%");
    EXPECT_EQ(Field(record, StyleWhiteSpace), "absent");
}
