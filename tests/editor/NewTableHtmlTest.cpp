#include "editor/NewTableHtml.h"

#include <gtest/gtest.h>

namespace
{
QString Build(int border, int rows, int columns, const ndb::CNdbFieldValue& width, int spacing)
{
    QString html = QStringLiteral("kept");
    BuildNewTableHtml(QStringLiteral("#000000"), border, html, rows, columns, width,
                      ndb::CNdbFieldValue(0.0f, ndb::NdbUnitPx), 0, spacing, QString(),
                      QStringLiteral("{G}"));
    return html;
}

const ndb::CNdbFieldValue Pixels(float number)
{
    return ndb::CNdbFieldValue(number, ndb::NdbUnitPx);
}
} // namespace

TEST(NewTableHtml, TwoByTwoWithTouchingBorders)
{
    EXPECT_EQ(Build(1, 2, 2, Pixels(200), 0),
              "kept\r\n<table class=\"sys_table\" id=\"{G}\" cellpadding=\"0\" cellspacing=\"0\" "
              "style=\"width:200px;border:solid 1px #000000;\" "
              "name=\"src_border:solid 1px F{#000000ff};border:solid 1px F{#000000ff};\">\r\n"
              "<tr>\r\n"
              "<td valign=\"top\" style=\"width:99px;border:solid 1px #000000;\">&nbsp;</td>"
              "<td valign=\"top\" style=\"width:98px;border-bottom:solid 1px #000000;border-right:solid 1px "
              "#000000;border-top:solid 1px #000000;border-left:none;\">&nbsp;</td>\r\n"
              "</tr>\r\n"
              "<tr>\r\n"
              "<td valign=\"top\" style=\"border-bottom:solid 1px #000000;border-right:solid 1px #000000;"
              "border-left:solid 1px #000000;border-top:none;\">&nbsp;</td>"
              "<td valign=\"top\" style=\"border-bottom:solid 1px #000000;border-right:solid 1px #000000;"
              "border-left:none;border-top:none;\">&nbsp;</td>\r\n"
              "</tr>\r\n"
              "</table>\r\n");
}

// The first row's widths: percent without borders, pixels less the borders, 100 pixels a column
// without a width, and never below 0 for a table too narrow for its borders.
TEST(NewTableHtml, FirstRowWidths)
{
    const struct
    {
        int border;
        int columns;
        ndb::CNdbFieldValue width;
        const char* first;
        const char* last;
    } cases[] = {
        {1, 3, ndb::CNdbFieldValue(100.0f, ndb::NdbUnitPercent), "width:33%;", "width:34%;"},
        {2, 1, Pixels(300), "width:296px;", "width:296px;"},
        {0, 2, Pixels(0), "width:100px;", "width:100px;"},
        {4, 3, Pixels(10), "width:0px;", "width:0px;"},
    };
    for (const auto& c : cases)
    {
        const QString html = Build(c.border, 2, c.columns, c.width, 0);
        const QString firstRow = html.section(QStringLiteral("<tr>"), 1, 1);
        const QString secondRow = html.section(QStringLiteral("<tr>"), 2, 2);
        EXPECT_TRUE(firstRow.startsWith(QStringLiteral("\r\n<td valign=\"top\" style=\"") + c.first))
            << c.first;
        EXPECT_TRUE(firstRow.contains(QStringLiteral("style=\"") + c.last + (c.border ? "border" : "\"")))
            << c.last;
        EXPECT_FALSE(secondRow.contains(QStringLiteral("width:")));
        EXPECT_FALSE(html.contains(QStringLiteral("width:-")));
    }
}

TEST(NewTableHtml, BordersAndEmptySizes)
{
    EXPECT_EQ(Build(1, 0, 2, Pixels(0), 0), "kept");
    EXPECT_EQ(Build(1, 2, 0, Pixels(0), 0), "kept");

    const QString none = Build(0, 1, 2, Pixels(0), 0);
    EXPECT_FALSE(none.contains(QStringLiteral("px #000000"))) << none.toStdString();
    EXPECT_TRUE(none.contains(
        QStringLiteral("name=\"src_border:solid 0px F{#000000ff};border:solid 0px F{#000000ff};\"")));

    const QString apart = Build(2, 2, 2, Pixels(0), 3);
    EXPECT_EQ(apart.count(QStringLiteral("border:solid 2px #000000;")), 5) << "the table and every cell";
    EXPECT_FALSE(apart.contains(QStringLiteral("border-left")));
}
