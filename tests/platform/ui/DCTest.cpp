#include "platform/ui/DC.h"
#include "platform/ui/Font.h"
#include "platform/ui/SystemParameters.h"

#include <gtest/gtest.h>

namespace
{
class ImageDC : public CDC
{
public:
    explicit ImageDC(QImage* image) { Begin(image, image->size(), QFont()); }
};

int MeasureWidth(CDC& dc, const QString& text, UINT format)
{
    CRect rect(0, 0, 1000, 100);
    dc.DrawText(text, &rect, format | DT_CALCRECT | DT_SINGLELINE);
    return rect.Width();
}
} // namespace

TEST(DC, AmpersandIsAPrefixUnlessNoPrefixIsGiven)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    ImageDC dc(&image);
    CFont font;
    LOGFONT description;
    description.lfFaceName = QStringLiteral("Arial");
    description.lfHeight = -13;
    font.CreateFontIndirect(&description);
    dc.SelectObject(&font);
    // Measured widths may round up by a pixel over the summed advances.
    EXPECT_NEAR(MeasureWidth(dc, QStringLiteral("&Abort"), DT_NOPREFIX), dc.GetTextExtent("&Abort").cx, 1);
    EXPECT_NEAR(MeasureWidth(dc, QStringLiteral("&Abort"), 0), dc.GetTextExtent("Abort").cx, 1);
}

TEST(DC, WordBreakMeasuresMoreLinesInANarrowerRectangle)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    ImageDC dc(&image);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    const QString text = QStringLiteral("one two three four five six seven eight nine ten");
    CRect wide(0, 0, 2000, 1000);
    CRect narrow(0, 0, 80, 1000);
    const int oneLine = dc.DrawText(text, &wide, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int lines = dc.DrawText(text, &narrow, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(oneLine, wide.Height());
    EXPECT_LT(oneLine, 2 * tm.tmHeight);
    EXPECT_GE(lines, 4 * tm.tmHeight);
    EXPECT_EQ(narrow.bottom, lines);
    CRect breaks(0, 0, 2000, 1000);
    EXPECT_GE(dc.DrawText(QStringLiteral("a\r\nb\rc\nd"), &breaks, DT_CALCRECT | DT_WORDBREAK),
              4 * tm.tmHeight)
        << "CR LF, CR and LF each break a line";
}

TEST(DC, RestoreBringsBackTextStateAndFont)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    ImageDC dc(&image);
    CFont bold;
    LOGFONT description;
    description.lfWeight = 700;
    bold.CreateFontIndirect(&description);
    const int saved = dc.SaveDC();
    dc.SelectObject(&bold);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.SetTextColor(0), RGB(0, 0, 0));
    EXPECT_EQ(dc.SetBkMode(OPAQUE), OPAQUE);
    EXPECT_EQ(dc.SelectObject(nullptr), nullptr);
    EXPECT_FALSE(dc.RestoreDC(-1)) << "nothing left to restore";
}

TEST(SystemParameters, KeyboardSettingsStayOnTheirScales)
{
    int delay = -1;
    int speed = -1;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay, 0));
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed, 0));
    EXPECT_GE(delay, 0);
    EXPECT_LE(delay, 3);
    EXPECT_GE(speed, 0);
    EXPECT_LE(speed, 31);
    EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &speed, 0));
}

TEST(DC, TextInARectangleAsWideAsItsExtentGetsNoEllipsis)
{
    CFont font;
    LOGFONT description;
    description.lfFaceName = QStringLiteral("DejaVu Sans");
    description.lfHeight = -12;
    font.CreateFontIndirect(&description);
    for (const QString& text :
         {QStringLiteral(" Filter:"), QStringLiteral(" Search:"), QStringLiteral("Tiny caption")})
    {
        SCOPED_TRACE(text.toStdString());
        auto draw = [&](int width)
        {
            QImage image(200, 20, QImage::Format_ARGB32);
            image.fill(Qt::white);
            {
                ImageDC dc(&image);
                dc.SelectObject(&font);
                dc.SetBkMode(TRANSPARENT);
                CRect rect(0, 0, width, 20);
                dc.DrawText(text, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            }
            return image;
        };
        QImage probe(1, 1, QImage::Format_ARGB32);
        ImageDC measure(&probe);
        measure.SelectObject(&font);
        const int width = measure.GetTextExtent(text).cx;
        ASSERT_LT(width, 190);
        const QImage fitted = draw(width).copy(0, 0, width - 1, 20);
        EXPECT_EQ(fitted, draw(190).copy(0, 0, width - 1, 20));
        // One pixel less is too narrow: the text ends in an ellipsis.
        EXPECT_NE(draw(width - 1).copy(0, 0, width - 1, 20), draw(190).copy(0, 0, width - 1, 20));
    }
}
