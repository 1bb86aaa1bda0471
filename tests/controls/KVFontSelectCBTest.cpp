#include "controls/KVFontSelectCB.h"
#include "ControlTestSupport.h"
#include "ImageInk.h"
#include "controls/InstalledFonts.h"
#include "editor/LayoutCommandIds.h"
#include "platform/ui/SystemParameters.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <gtest/gtest.h>

namespace
{
constexpr UINT BoxId = ID_LAYOUT_FONT_FAMILY;
constexpr DWORD BoxStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE |
                           CBS_SORT | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT;

// A context on an image, to see what DrawItem draws.
class CTestImageDC : public CDC
{
public:
    explicit CTestImageDC(QImage* image) { Begin(image, image->size(), QFont()); }
};

class FontPicker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateShown(400, 300));
        box.m_fieldHeight = 15;
        ASSERT_TRUE(box.Create(QString(), QString(), BoxStyle, CRect(10, 10, 170, 1010), &parent, BoxId));
        ASSERT_TRUE(box.FillFonts());
    }
    QComboBox* Combo() { return qobject_cast<QComboBox*>(box.GetSafeHwnd()); }

    QImage DrawEntry(int item, UINT state)
    {
        QImage image(300, 22, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            CTestImageDC dc(&image);
            DRAWITEMSTRUCT draw;
            draw.itemID = item;
            draw.itemState = state;
            draw.pDC = &dc;
            draw.rcItem = CRect(0, 0, 300, 22);
            draw.itemData = item >= 0 ? box.GetItemData(item) : 0;
            box.DrawItem(&draw);
        }
        return image;
    }

    CCommandRecorder parent;
    CKVFontSelectCB box;
};
} // namespace

TEST_F(FontPicker, ListsEveryInstalledFamilyInOrderWithItsOwnSampleFont)
{
    std::vector<FontFamilyEntry> families;
    ASSERT_TRUE(GetInstalledFontFamilies(families));
    ASSERT_EQ(box.GetCount(), int(families.size()));
    int widest = 0;
    for (int i = 0; i < box.GetCount(); ++i)
    {
        SCOPED_TRACE(i);
        if (i > 0)
        {
            EXPECT_LE(QString::compare(box.GetLBText(i - 1), box.GetLBText(i), Qt::CaseInsensitive), 0);
        }
        const auto* font = reinterpret_cast<const CFont*>(box.GetItemData(i));
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->ToQFont().pixelSize(), 16);
        LOGFONT description;
        ASSERT_TRUE(font->GetLogFont(&description));
        EXPECT_EQ(description.lfFaceName, box.GetLBText(i));
        widest = std::max(widest, QFontMetrics(font->ToQFont()).horizontalAdvance(box.GetLBText(i)));
    }
    EXPECT_EQ(box.GetDroppedWidth(), GetSystemMetrics(SM_CXVSCROLL) + widest + 10);
    EXPECT_EQ(box.GetCurSel(), -1) << "nothing is chosen yet";
}

TEST_F(FontPicker, SelectionFieldAndEntriesHaveTheirHeights)
{
    MEASUREITEMSTRUCT field;
    field.itemID = -1;
    box.MeasureItem(&field);
    EXPECT_EQ(field.itemHeight, 15u);
    EXPECT_EQ(field.itemWidth, 300u);
    MEASUREITEMSTRUCT entry;
    entry.itemID = 0;
    box.MeasureItem(&entry);
    EXPECT_EQ(entry.itemHeight, 22u);
    CRect rect;
    box.GetClientRect(&rect);
    EXPECT_EQ(rect.Height(), 15 + 6) << "the box is as high as its field, not as its list";
}

TEST_F(FontPicker, ChoosingAFamilyWithTheMouseSelectsItAndNotifiesTheParent)
{
    const int wanted = box.FindString(-1, QStringLiteral("Liberation Serif"));
    ASSERT_NE(wanted, CB_ERR);
    QTest::mouseClick(box.GetSafeHwnd(), Qt::LeftButton, {}, QPoint(20, 8));
    QAbstractItemView* view = Combo()->view();
    QTRY_VERIFY_WITH_TIMEOUT(view->isVisible(), 5000);
    const QModelIndex index = view->model()->index(wanted, 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY_WITH_TIMEOUT(!view->isVisible(), 5000);
    EXPECT_EQ(box.GetCurSel(), wanted);
    EXPECT_EQ(box.GetLBText(box.GetCurSel()), QStringLiteral("Liberation Serif"));
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].first, MAKEWPARAM(BoxId, CBN_SELCHANGE));
    EXPECT_EQ(parent.commands[0].second, LPARAM(&box));
    EXPECT_FALSE(InkBounds(Grab(box), Grab(box).pixel(0, 0)).isEmpty());
}

TEST_F(FontPicker, OpenListDrawsNamesInTheirFontClosedBoxInTheSystemFont)
{
    const int item = box.FindString(-1, QStringLiteral("DejaVu Serif"));
    ASSERT_NE(item, CB_ERR);
    const QImage listed = DrawEntry(item, 0);
    const QImage selected = DrawEntry(item, ODS_SELECTED);
    const QImage closed = DrawEntry(item, ODS_COMBOBOXEDIT | ODS_SELECTED);
    EXPECT_EQ(listed.pixel(0, 0), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(selected.pixel(0, 0), qRgb(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(closed.pixel(0, 0), qRgb(0xFF, 0xFF, 0xFF)) << "the field is white whatever the selection";

    const QRect sample = InkBounds(listed, listed.pixel(0, 0));
    const QRect system = InkBounds(closed, closed.pixel(0, 0));
    ASSERT_FALSE(sample.isEmpty());
    ASSERT_FALSE(system.isEmpty());
    EXPECT_EQ(sample.left(),
              5 + QFontMetrics(reinterpret_cast<const CFont*>(box.GetItemData(item))->ToQFont())
                      .leftBearing(QLatin1Char('D')))
        << "five pixels in";
    EXPECT_GT(sample.width(), system.width()) << "the 16-pixel sample is larger than the system font";
    CKVSystemFont font(0, 0);
    EXPECT_NEAR(system.width(), font.GetTextExtent(QStringLiteral("DejaVu Serif")).cx, 3);

    const QImage none = DrawEntry(-1, ODS_COMBOBOXEDIT);
    EXPECT_TRUE(InkBounds(none, none.pixel(0, 0)).isEmpty()) << "no selection draws no text";
}
