#include "controls/KVSystemFont.h"
#include "controls/InstalledFonts.h"
#include "platform/ui/ClientDC.h"
#include "platform/ui/SystemParameters.h"

#include <QFontInfo>
#include <gtest/gtest.h>

namespace
{
class ImageDC : public CDC
{
public:
    explicit ImageDC(QImage* image) { Begin(image, image->size(), QFont()); }
};
} // namespace

TEST(KVSystemFont, DefaultIsTheDesktopMenuFont)
{
    NONCLIENTMETRICS metrics;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    CFont menu;
    menu.CreateFontIndirect(&metrics.lfMenuFont);
    CKVSystemFont font(0, 0);
    EXPECT_EQ(font.GetFont()->ToQFont(), menu.ToQFont());
    EXPECT_GT(font.GetAscent(), 0);
    EXPECT_GT(font.GetDescent(), 0);
}

TEST(KVSystemFont, HeightAndWeightFollowTheArguments)
{
    EXPECT_EQ(CKVSystemFont(-11, 0).GetFont()->ToQFont().pixelSize(), 11);
    EXPECT_EQ(CKVSystemFont(0, 1).GetFont()->ToQFont().weight(), QFont::Bold);
    EXPECT_NE(CKVSystemFont(0, 2).GetFont()->ToQFont().weight(), QFont::Bold) << "only 1 asks for bold";
    CKVSystemFont cell(13, 0);
    EXPECT_NEAR(cell.GetAscent() + cell.GetDescent(), 13, 1) << "a positive height is the cell height";
}

TEST(KVSystemFont, DrawTextCenteredDrawsInsideTheRectangleAndEmptyTextDrawsNothing)
{
    CKVSystemFont font(-12, 0);
    QImage image(200, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const QImage blank = image;
    {
        ImageDC dc(&image);
        font.DrawTextCentered(&dc, CRect(0, 0, 200, 40), QString(), DT_SINGLELINE);
        EXPECT_EQ(dc.CurrentFont(), QFont());
    }
    EXPECT_EQ(image, blank);
    {
        ImageDC dc(&image);
        dc.SetTextColor(RGB(0, 0, 0));
        font.DrawTextCentered(&dc, CRect(0, 0, 200, 40), QStringLiteral("Hxg"), DT_SINGLELINE | DT_NOPREFIX);
        EXPECT_EQ(dc.CurrentFont(), QFont()) << "the previous font is selected back";
    }
    int top = 40;
    int bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (qRed(image.pixel(x, y)) < 128)
            {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(bottom, top);
    EXPECT_NEAR((top + bottom) / 2.0, 20.0, 4.0) << "the line sits in the middle of the rectangle";
}

TEST(InstalledFonts, OrderedByNameEachNameOnceUpperCaseFirst)
{
    const std::vector<FontFamilyEntry> read = {
        {QStringLiteral("beta"), 1, 1},
        {QStringLiteral("Alpha"), 2, 2},
        {QStringLiteral("alpha"), 3, 3},
        {QStringLiteral("Alpha"), 4, 5},
    };
    const std::vector<FontFamilyEntry> ordered = OrderFontFamilies(read);
    ASSERT_EQ(ordered.size(), 3u);
    EXPECT_EQ(ordered[0].name, QStringLiteral("Alpha"));
    EXPECT_EQ(ordered[0].cellAscent, 4) << "a repeated name keeps the metrics read last";
    EXPECT_EQ(ordered[0].cellDescent, 5);
    EXPECT_EQ(ordered[1].name, QStringLiteral("alpha"));
    EXPECT_EQ(ordered[2].name, QStringLiteral("beta"));
}

TEST(InstalledFonts, ListsTheInstalledFamiliesWithTheirCellMetrics)
{
    std::vector<FontFamilyEntry> list = {{QStringLiteral("stale"), 0, 0}};
    ASSERT_TRUE(GetInstalledFontFamilies(list));
    const auto it =
        std::find_if(list.begin(), list.end(),
                     [](const FontFamilyEntry& e) { return e.name == QStringLiteral("Liberation Sans"); });
    ASSERT_NE(it, list.end());
    EXPECT_GT(it->cellAscent, 1000) << "design units, not pixels";
    EXPECT_GT(it->cellDescent, 100);
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                               [](const FontFamilyEntry& a, const FontFamilyEntry& b)
                               { return a.name < b.name; }));
    EXPECT_EQ(
        std::count_if(list.begin(), list.end(), [](const FontFamilyEntry& e) { return e.name == "stale"; }),
        0);
}
