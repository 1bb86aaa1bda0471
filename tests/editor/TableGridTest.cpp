#include "editor/TableCases.h"
#include "editor/TableEdits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
using namespace TableCases;

// Carries the edits out on the written table, the way the page does.
std::vector<TableRowSpec> Applied(std::vector<TableRowSpec> rows, const TableEditList& edits)
{
    int nextCell = 100;
    auto findCell = [&](int ref) -> std::pair<std::vector<TableCellSpec>*, std::size_t>
    {
        for (TableRowSpec& row : rows)
            for (std::size_t i = 0; i < row.cells.size(); ++i)
                if (row.cells[i].ref == ref)
                    return {&row.cells, i};
        return {nullptr, 0};
    };
    auto rowOf = [&](int ref)
    { return std::find_if(rows.begin(), rows.end(), [ref](const TableRowSpec& r) { return r.ref == ref; }); };
    auto insertAt = [&](std::vector<TableCellSpec>& cells, int before, const TableCellSpec& cell)
    {
        const auto at = std::find_if(cells.begin(), cells.end(),
                                     [before](const TableCellSpec& c) { return c.ref == before; });
        cells.insert(before ? at : cells.end(), cell);
    };
    for (const TableEdit& edit : edits)
    {
        switch (edit.kind)
        {
        case TableEdit::Kind::SetSpans:
        {
            auto [cells, i] = findCell(edit.ref);
            if (edit.colSpan >= 0)
                (*cells)[i].colSpan = edit.colSpan;
            if (edit.rowSpan >= 0)
                (*cells)[i].rowSpan = edit.rowSpan;
            break;
        }
        case TableEdit::Kind::DeleteCell:
        case TableEdit::Kind::AppendContent:
            if (edit.kind == TableEdit::Kind::DeleteCell)
            {
                auto [cells, i] = findCell(edit.ref);
                cells->erase(cells->begin() + std::ptrdiff_t(i));
            }
            break;
        case TableEdit::Kind::RemoveRow:
            rows.erase(rowOf(edit.ref));
            break;
        case TableEdit::Kind::InsertCell:
            insertAt(rowOf(edit.rowRef)->cells, edit.beforeRef, {nextCell++, edit.colSpan, edit.rowSpan});
            break;
        case TableEdit::Kind::MoveCell:
        {
            auto [cells, i] = findCell(edit.ref);
            TableCellSpec moved = (*cells)[i];
            cells->erase(cells->begin() + std::ptrdiff_t(i));
            moved.rowSpan = edit.rowSpan;
            insertAt(rowOf(edit.rowRef)->cells, edit.beforeRef, moved);
            break;
        }
        case TableEdit::Kind::InsertRowAfter:
        {
            const auto at = rowOf(edit.ref);
            TableRowSpec added{5000 + nextCell, at->group, {}};
            for (const TableEdit& cell : edit.cells)
                added.cells.push_back({nextCell++, cell.colSpan, cell.rowSpan});
            rows.insert(at + 1, added);
            break;
        }
        case TableEdit::Kind::RemoveTable:
            return {};
        }
    }
    return rows;
}

// The grid as text with new cells shown as "+".
std::string PictureAfter(const std::vector<TableRowSpec>& rows)
{
    CTableGrid grid;
    grid.Build(rows, 0);
    std::string picture = Picture(grid);
    for (char& c : picture)
        if (c != '.' && c != '/' && (c < 'A' || c > 'Z'))
            c = '+';
    return picture;
}

struct GridCase
{
    const char* table;
    const char* picture;
};

// Spans and irregular rows laid out as the engine lays them out.
TEST(TableGrid, PlacesCellsWhereTheBrowserDoes)
{
    const GridCase cases[] = {
        {"A B C / D E F / G H I", "ABC/DEF/GHI"},
        {"Ac2 B / C D E", "AAB/CDE"},
        {"Ar2 B / C / D E", "AB/AC/DE"},
        {"A B / C D E", "AB./CDE"},
        {"A B C / D", "ABC/D.."},
        {"Ar5 B / C", "AB/AC"},
        {"Ar0 B / C / D", "AB/AC/AD"},
        {"Ar0 B / C | D E", "AB/AC/DE"},
        {"Ar2 / B C", "A../ABC"},
        {"A Br2 / Cc2", "AB/CB"},
        {"A / / B", "A/./B"},
        {"Ar3 B / / C", "AB/A./AC"},
    };
    for (const GridCase& c : cases)
    {
        CTableGrid grid;
        grid.Build(Table(c.table), 0);
        EXPECT_EQ(Picture(grid), c.picture) << c.table;
        EXPECT_EQ(grid.GetCurrent(), nullptr);
    }
}

TEST(TableGrid, ClampsHugeSpansAndKeepsOneEntryPerCell)
{
    CTableGrid grid;
    grid.Build(Table("Ac1000000r1000000 B / C"), 2);
    ASSERT_EQ(grid.GetCells().size(), 3u);
    EXPECT_EQ(grid.GetColumns(), CTableGrid::MaxColSpan + 1);
    EXPECT_EQ(grid.GetCells()[0].colSpan, CTableGrid::MaxColSpan);
    EXPECT_EQ(grid.GetCells()[0].rowSpan, 2);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    EXPECT_EQ(grid.GetCurrentColumn(), CTableGrid::MaxColSpan);
    EXPECT_EQ(grid.GetCell(CTableGrid::MaxColSpan, 1)->ref, 3);

    // Five thousand cells reaching to the end of their group over five thousand rows.
    std::vector<TableRowSpec> rows(5000);
    for (int r = 0; r < 5000; ++r)
        rows[r] = {r + 1, 0, {{10000 + r, 1000, r % 2 ? 0 : 3}}};
    grid.Build(rows, 10000 + 4999);
    EXPECT_EQ(grid.GetRows(), 5000);
    EXPECT_EQ(grid.GetCells().size(), 5000u);
    EXPECT_EQ(grid.GetCurrentRow(), 4999);
    EXPECT_TRUE(grid.IsCurrentLast());
}

// Reading order steps through a cell that spans rows once, at its top-left position.
TEST(TableGrid, StepsThroughCellsInReadingOrder)
{
    const auto rows = Table("Ar2 B / C");
    const struct
    {
        int reference;
        int next;
        int previous;
    } steps[] = {{1, 2, 0}, {2, 3, 1}, {3, 0, 2}};
    for (const auto& step : steps)
    {
        CTableGrid grid;
        grid.Build(rows, step.reference);
        EXPECT_EQ(grid.NextCell() ? grid.NextCell()->ref : 0, step.next) << step.reference;
        EXPECT_EQ(grid.PreviousCell() ? grid.PreviousCell()->ref : 0, step.previous) << step.reference;
        EXPECT_EQ(grid.IsCurrentLast(), step.next == 0);
    }
    CTableGrid grid;
    grid.Build(rows, 77);
    EXPECT_FALSE(grid.IsCurrentLast());
    EXPECT_EQ(grid.NextCell(), nullptr);
}

struct EditCase
{
    const char* name;
    std::optional<TableEditList> (*plan)(const CTableGrid&);
    const char* table;
    char selected;
    const char* after; // "" for a removed table, nullptr for a refusal
};

// Each command on case tables, carried out on the written table and laid out again.
TEST(TableEdits, KeepTablesRectangular)
{
    const EditCase cases[] = {
        {"insert column first", &CTableEdits::InsertColumn, "A B / C D", 'A', "+AB/+CD"},
        {"insert column wide", &CTableEdits::InsertColumn, "Ac2 B / Cc2 D", 'A', "AAAB/CCCD"},
        {"insert column under a tall cell", &CTableEdits::InsertColumn, "A Br2 C / D E", 'B', "A+BC/D+BE"},
        {"insert column mixed spans", &CTableEdits::InsertColumn, "Ac2 B / C D E", 'C', nullptr},
        {"delete middle column", &CTableEdits::DeleteColumn, "A B C / D E F / G H I", 'E', "AC/DF/GI"},
        {"delete column of a tall cell", &CTableEdits::DeleteColumn, "Ar2 B / C / D E", 'A', "B/C/E"},
        {"delete column empties a row", &CTableEdits::DeleteColumn, "A B / C / D E", 'A', "B/E"},
        {"delete column keeps spans whole", &CTableEdits::DeleteColumn, "A Br3 / C / D", 'A', "B"},
        {"delete last column", &CTableEdits::DeleteColumn, "A / B", 'A', ""},
        {"delete column of wide cells", &CTableEdits::DeleteColumn, "Ac2 B / Cc2 D", 'A', "AB/CD"},
        {"delete the only row", &CTableEdits::DeleteRow, "A B", 'B', ""},
        {"delete row crossed by a span", &CTableEdits::DeleteRow, "Ar2 B / C / D E", 'C', nullptr},
        {"delete row of tall cells", &CTableEdits::DeleteRow, "Ar2 Br2 / / C D", 'A', "AB/CD"},
        {"delete middle of tall cells", &CTableEdits::DeleteRow, "Ar3 Br3 / / / C D", 'B', "AB/AB/CD"},
        {"delete row beside a tall cell", &CTableEdits::DeleteRow, "A Br2 C / D E", 'A', nullptr},
        {"insert row last", &CTableEdits::InsertRow, "A B / C D", 'D', "AB/CD/++"},
        {"insert row in tall cells", &CTableEdits::InsertRow, "Ar2 Br2 / / C D", 'A', "AB/AB/AB/CD"},
        {"insert row beside a tall cell", &CTableEdits::InsertRow, "Ar2 B / C", 'C', nullptr},
        {"merge down", &CTableEdits::MergeDown, "A B / C D", 'A', "AB/AD"},
        {"merge down last row", &CTableEdits::MergeDown, "A B / C D", 'C', nullptr},
        {"merge down different widths", &CTableEdits::MergeDown, "A B C / Dc2 E", 'A', nullptr},
        {"merge down third column", &CTableEdits::MergeDown, "A B C / D E F", 'C', "ABC/DEC"},
        {"merge down neighbour by grid", &CTableEdits::MergeDown, "Ar2 B C / D E / F G H", 'C',
         "ABC/ADC/FGH"},
        {"merge down across groups", &CTableEdits::MergeDown, "A B | C D", 'A', nullptr},
        {"merge right", &CTableEdits::MergeRight, "A B C", 'A', "AAC"},
        {"merge right at the end", &CTableEdits::MergeRight, "A B C", 'C', nullptr},
        {"merge right taller neighbour", &CTableEdits::MergeRight, "A Br2 / C", 'A', nullptr},
        {"merge right past a tall cell", &CTableEdits::MergeRight, "Ar2 B C / D E", 'D', "ABC/ADD"},
    };
    for (const EditCase& c : cases)
    {
        const std::vector<TableRowSpec> rows = Table(c.table);
        CTableGrid grid;
        grid.Build(rows, c.selected - 'A' + 1);
        ASSERT_NE(grid.GetCurrent(), nullptr) << c.name;
        const std::optional<TableEditList> edits = c.plan(grid);
        if (!c.after)
        {
            EXPECT_FALSE(edits.has_value()) << c.name;
            continue;
        }
        ASSERT_TRUE(edits.has_value()) << c.name;
        EXPECT_EQ(PictureAfter(Applied(rows, *edits)), c.after) << c.name;
    }
}

// New cells copy their neighbour's attributes and hold a blank; a copy never takes the spans of
// rows it does not reach.
TEST(TableEdits, NewCellsCopyTheirNeighbour)
{
    CTableGrid grid;
    grid.Build(Table("A B / C D"), 4);
    const TableEditList row = *CTableEdits::InsertRow(grid);
    ASSERT_EQ(row.size(), 1u);
    ASSERT_EQ(row[0].kind, TableEdit::Kind::InsertRowAfter);
    EXPECT_EQ(row[0].ref, grid.GetRow(1).ref);
    ASSERT_EQ(row[0].cells.size(), 2u);
    EXPECT_EQ(row[0].cells[0].sourceRef, 3);
    EXPECT_EQ(row[0].cells[1].sourceRef, 4);

    grid.Build(Table("Ar0 B / C"), 2);
    const TableEditList column = *CTableEdits::InsertColumn(grid);
    ASSERT_EQ(column.size(), 2u);
    EXPECT_EQ(column[0].sourceRef, 2);
    EXPECT_EQ(column[0].beforeRef, 2);
    EXPECT_EQ(column[1].sourceRef, 3);
}
} // namespace
