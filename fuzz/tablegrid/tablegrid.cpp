// Lays out tables of random rows and spans and runs every table command on one of their cells.
// Input: a byte picks the reference cell; then per cell three bytes: what follows it (same row,
// new row, new row group), its column span and its row span, both of which may be huge or 0.
#include "editor/TableEdits.h"
#include "editor/TableGrid.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
int Span(std::uint8_t byte)
{
    // Mostly small spans, now and then one far past the table.
    return byte >= 250 ? (byte - 249) * 400000 : byte % 6;
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 3000)
        return 0;
    std::vector<TableRowSpec> rows(1);
    int group = 0;
    int ref = 1;
    for (size_t i = 1; i + 2 < size; i += 3)
    {
        rows.back().cells.push_back({ref++, Span(data[i + 1]), Span(data[i + 2])});
        if (data[i] % 4 == 1 || data[i] % 4 == 2)
        {
            group += data[i] % 4 == 2 ? 1 : 0;
            rows.push_back({int(rows.size()) + 100000, group, {}});
        }
        else if (data[i] % 16 == 3)
        {
            rows.push_back({int(rows.size()) + 100000, group, {}}); // a row without cells
        }
    }
    CTableGrid grid;
    grid.Build(rows, ref > 1 ? 1 + data[0] % (ref - 1) : 0);

    const std::vector<CTableGrid::Cell>& cells = grid.GetCells();
    Check(grid.GetRows() == int(rows.size()));
    for (std::size_t i = 0; i < cells.size(); ++i)
    {
        const CTableGrid::Cell& cell = cells[i];
        Check(cell.colSpan >= 1 && cell.colSpan <= CTableGrid::MaxColSpan && cell.rowSpan >= 1);
        Check(cell.column >= 0 && cell.column + cell.colSpan <= grid.GetColumns());
        Check(cell.row + cell.rowSpan - 1 <= grid.GroupEnd(cell.row));
        // No cell begins where an earlier one lies.
        for (std::size_t j = 0; j < i; ++j)
            Check(!cells[j].Covers(cell.column, cell.row));
    }
    if (grid.GetCurrent())
        Check(grid.IsCurrentLast() == (grid.NextCell() == nullptr));
    for (auto plan : {&CTableEdits::InsertColumn, &CTableEdits::DeleteColumn, &CTableEdits::InsertRow,
                      &CTableEdits::DeleteRow, &CTableEdits::MergeDown, &CTableEdits::MergeRight})
        plan(grid);
    return 0;
}
