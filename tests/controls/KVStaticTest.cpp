#include "controls/KVStatic.h"
#include "ControlTestSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace
{
constexpr COLORREF TextColor = RGB(0x10, 0x20, 0x30);
constexpr COLORREF Back = RGB(0xF0, 0xE8, 0xE0);
constexpr COLORREF Border = RGB(0x80, 0x20, 0x20);

QRgb Rgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The columns and rows that hold ink other than the two background colours.
QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            if (image.pixel(x, y) != Rgb(Back))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int InkCount(const QImage& image)
{
    int count = 0;
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 1; x < image.width() - 1; ++x)
            count += image.pixel(x, y) != Rgb(Back) ? 1 : 0;
    return count;
}

class Label : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(parent.CreateShown(300, 200)); }

    QImage Draw(const QString& text, DWORD flags, int padding = 0, int width = 200, int height = 22)
    {
        CKVStatic label;
        EXPECT_TRUE(label.Create(text, &parent, UINT(-1), TextColor, Back, Border));
        label.MoveWindow(10, 10, width, height);
        label.m_flags = flags;
        label.m_padding = padding;
        return Grab(label);
    }

    CCommandRecorder parent;
};
} // namespace

TEST_F(Label, BorderUnlessAskedForTheBackgroundOnly)
{
    const QImage framed = Draw(QStringLiteral("Search:"), 0);
    EXPECT_EQ(framed.pixel(0, 0), Rgb(Border));
    EXPECT_EQ(framed.pixel(199, 21), Rgb(Border));
    EXPECT_EQ(framed.pixel(1, 1), Rgb(Back));
    const QImage plain = Draw(QStringLiteral("Search:"), CKVStatic::FlagNoBorder);
    EXPECT_EQ(plain.pixel(0, 0), Rgb(Back));
    EXPECT_EQ(plain.pixel(199, 21), Rgb(Back));
}

TEST_F(Label, TextStartsAfterThePaddingCentredByTheFont)
{
    const QImage image = Draw(QStringLiteral("Filter"), CKVStatic::FlagNoBorder, 6, 200, 40);
    const QRect ink = InkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 6);
    EXPECT_LT(ink.left(), 10);
    EXPECT_LT(std::abs((ink.top() + ink.bottom()) / 2 - 20), 5) << "vertically about the middle";
}

TEST_F(Label, BoldFlagDrawsHeavierText)
{
    const QString text = QStringLiteral("Settings");
    const int normal = InkCount(Draw(text, CKVStatic::FlagNoBorder));
    const int bold = InkCount(Draw(text, CKVStatic::FlagNoBorder | CKVStatic::FlagBold));
    EXPECT_GT(bold, normal);
}

TEST_F(Label, LongTextEndsInAnEllipsisAndLineBreaksStartNewLines)
{
    const QString text = QStringLiteral("A label text much longer than the label");
    CKVSystemFont font(0, 0);
    const QString elided = QFontMetrics(font.GetFont()->ToQFont()).elidedText(text, Qt::ElideRight, 80);
    ASSERT_TRUE(elided.endsWith(QChar(0x2026)));
    EXPECT_EQ(Draw(text, 0, 0, 80), Draw(elided, 0, 0, 80));

    const QRect one = InkBounds(Draw(QStringLiteral("First"), CKVStatic::FlagNoBorder, 0, 200, 60));
    const QRect two = InkBounds(Draw(QStringLiteral("First\nSecond"), CKVStatic::FlagNoBorder, 0, 200, 60));
    EXPECT_GT(two.height(), one.height() + 5);
}
