#include "editor/NewTableHtml.h"

#include <algorithm>

namespace
{
// The border declarations of the cell at the row and column.
QString CellBorder(const QString& line, int border, int cellSpacing, int row, int column)
{
    if (border <= 0)
        return {};
    if (cellSpacing > 0 || (row == 0 && column == 0))
        return QStringLiteral("border:%1;").arg(line);
    if (row == 0)
        return QStringLiteral("border-bottom:%1;border-right:%1;border-top:%1;border-left:none;").arg(line);
    if (column == 0)
        return QStringLiteral("border-bottom:%1;border-right:%1;border-left:%1;border-top:none;").arg(line);
    return QStringLiteral("border-bottom:%1;border-right:%1;border-left:none;border-top:none;").arg(line);
}

// The width declarations of the first row's cells.
QStringList ColumnWidths(const ndb::CNdbFieldValue& width, int border, int columns)
{
    QStringList widths;
    if (width.GetFloat() <= 0)
    {
        for (int column = 0; column < columns; ++column)
            widths << QStringLiteral("width:100px;");
        return widths;
    }
    const int total = int(width.GetFloat());
    const int share = total / columns;
    const int rest = total % columns;
    // Pixel cells give room to the vertical borders between and around them.
    const int borderShare = width.GetUnit() == ndb::NdbUnitPercent ? 0 : border;
    for (int column = 0; column < columns; ++column)
    {
        const bool last = column == columns - 1;
        const int cell = last ? share + rest - 2 * borderShare : share - borderShare;
        widths << QStringLiteral("width:%1%2;").arg(std::max(cell, 0)).arg(width.GetUnitText());
    }
    return widths;
}
} // namespace

void BuildNewTableHtml(const QString& borderColor, int border, QString& output, int rows, int columns,
                       const ndb::CNdbFieldValue& width, const ndb::CNdbFieldValue& height, int cellPadding,
                       int cellSpacing, const QString& backgroundColor, const QString& tableId)
{
    if (rows <= 0 || columns <= 0)
        return;
    const QString line = QStringLiteral("solid %1px %2").arg(border).arg(borderColor);
    QString tableStyle;
    if (width.GetFloat() > 0)
        tableStyle += QStringLiteral("width:%1;").arg(width.FormatLength());
    if (height.GetFloat() > 0)
        tableStyle += QStringLiteral("height:%1;").arg(height.FormatLength());
    if (border > 0)
        tableStyle += QStringLiteral("border:%1;").arg(line);
    if (!backgroundColor.isEmpty())
        tableStyle += QStringLiteral("background-color:%1;").arg(backgroundColor);

    QString html =
        QStringLiteral("\r\n<table class=\"sys_table\" id=\"%1\" cellpadding=\"%2\" cellspacing=\"%3\"")
            .arg(tableId)
            .arg(cellPadding)
            .arg(cellSpacing);
    if (!tableStyle.isEmpty())
        html += QStringLiteral(" style=\"%1\"").arg(tableStyle);
    const QString stored = QStringLiteral("solid %1px F{%2ff}").arg(border).arg(borderColor);
    html += QStringLiteral(" name=\"src_border:%1;border:%1;\">\r\n").arg(stored);

    const QStringList widths = ColumnWidths(width, border, columns);
    for (int row = 0; row < rows; ++row)
    {
        html += QStringLiteral("<tr>\r\n");
        for (int column = 0; column < columns; ++column)
        {
            const QString style =
                (row == 0 ? widths[column] : QString()) + CellBorder(line, border, cellSpacing, row, column);
            html += QStringLiteral("<td valign=\"top\" style=\"%1\">&nbsp;</td>").arg(style);
        }
        html += QStringLiteral("\r\n</tr>\r\n");
    }
    output += html + QStringLiteral("</table>\r\n");
}
