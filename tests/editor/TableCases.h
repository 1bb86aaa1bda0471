#pragma once

#include "editor/TableGrid.h"

#include <cctype>
#include <string>
#include <vector>

// Case tables for the grid and table command tests.
namespace TableCases
{
// A table written row by row: each cell a letter (its number is the letter's place in the
// alphabet), optionally followed by "c<n>" and "r<n>" for its spans; rows apart by "/", row
// groups by "|". "Ac2 B / C D E" is a first row of A over two columns and B.
inline std::vector<TableRowSpec> Table(const std::string& text)
{
    std::vector<TableRowSpec> rows(1);
    int group = 0;
    int nextRow = 1000;
    rows.back().ref = nextRow++;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (c == '/' || c == '|')
        {
            group += c == '|' ? 1 : 0;
            rows.push_back({nextRow++, group, {}});
        }
        else if (c >= 'A' && c <= 'Z')
        {
            rows.back().cells.push_back({c - 'A' + 1, 1, 1});
        }
        else if (c == 'c' || c == 'r')
        {
            std::size_t end = i + 1;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
                ++end;
            const int span = std::stoi(text.substr(i + 1, end - i - 1));
            (c == 'c' ? rows.back().cells.back().colSpan : rows.back().cells.back().rowSpan) = span;
            i = end - 1;
        }
    }
    return rows;
}

// The grid as text: each position the letter of the cell that covers it, "." for none.
inline std::string Picture(const CTableGrid& grid)
{
    std::string picture;
    for (int row = 0; row < grid.GetRows(); ++row)
    {
        if (row > 0)
            picture += '/';
        for (int column = 0; column < grid.GetColumns(); ++column)
        {
            const CTableGrid::Cell* cell = grid.GetCell(column, row);
            picture += cell ? char('A' + cell->ref - 1) : '.';
        }
    }
    return picture;
}

// The written table as markup, one body per row group; cells hold their letter.
inline std::string TableHtml(const std::vector<TableRowSpec>& rows, const std::string& attributes = {})
{
    std::string html = "<table" + attributes + "><tbody>";
    for (std::size_t r = 0; r < rows.size(); ++r)
    {
        if (r > 0 && rows[r].group != rows[r - 1].group)
            html += "</tbody><tbody>";
        html += "<tr>";
        for (const TableCellSpec& cell : rows[r].cells)
        {
            html += "<td";
            if (cell.colSpan != 1)
                html += " colspan=\"" + std::to_string(cell.colSpan) + "\"";
            if (cell.rowSpan != 1)
                html += " rowspan=\"" + std::to_string(cell.rowSpan) + "\"";
            html += '>';
            html += cell.ref <= 26 ? std::string(1, char('A' + cell.ref - 1)) : std::to_string(cell.ref);
            html += "</td>";
        }
        html += "</tr>";
    }
    return html + "</tbody></table>";
}
} // namespace TableCases
