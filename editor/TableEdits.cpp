#include "editor/TableEdits.h"

#include <algorithm>

namespace
{
using Cell = CTableGrid::Cell;

// Whether every cell spans as many columns (or rows) as the first.
bool SameSpans(const std::vector<const Cell*>& cells, int Cell::*span)
{
    return !cells.empty() &&
           std::all_of(cells.begin(), cells.end(),
                       [&](const Cell* cell) { return (*cell).*span == (*cells[0]).*span; });
}

enum class Line
{
    Column,
    Row
};

// The cells in the current cell's column or row, when they all span alike there; none else.
std::optional<std::vector<const Cell*>> AlikeCells(const CTableGrid& grid, Line line)
{
    const Cell* current = grid.GetCurrent();
    if (!current)
        return std::nullopt;
    const bool column = line == Line::Column;
    std::vector<const Cell*> cells =
        column ? grid.CellsInColumn(current->column) : grid.CellsInRow(current->row);
    if (!SameSpans(cells, column ? &Cell::colSpan : &Cell::rowSpan))
        return std::nullopt;
    return cells;
}

// The row span written after the cell gains (or loses) rows; a span to the end of the row group
// keeps reaching it.
int RowSpanChangedBy(const Cell& cell, int rows)
{
    return cell.rowSpanAttribute == 0 ? 0 : cell.rowSpan + rows;
}

TableEdit SetSpans(const Cell& cell, int colSpan, int rowSpan)
{
    TableEdit edit;
    edit.kind = TableEdit::Kind::SetSpans;
    edit.ref = cell.ref;
    edit.colSpan = colSpan;
    edit.rowSpan = rowSpan;
    return edit;
}

TableEdit OfKind(TableEdit::Kind kind, int ref)
{
    TableEdit edit;
    edit.kind = kind;
    edit.ref = ref;
    return edit;
}

TableEdit CopyOf(const Cell& cell, int rowRef, int beforeRef, int colSpan, int rowSpan)
{
    TableEdit edit;
    edit.kind = TableEdit::Kind::InsertCell;
    edit.rowRef = rowRef;
    edit.beforeRef = beforeRef;
    edit.sourceRef = cell.ref;
    edit.colSpan = colSpan;
    edit.rowSpan = rowSpan;
    return edit;
}

TableEditList Merge(const Cell& cell, const Cell& neighbour, int colSpan, int rowSpan)
{
    TableEdit append = OfKind(TableEdit::Kind::AppendContent, cell.ref);
    append.sourceRef = neighbour.ref;
    return {append, SetSpans(cell, colSpan, rowSpan), OfKind(TableEdit::Kind::DeleteCell, neighbour.ref)};
}
} // namespace

std::optional<TableEditList> CTableEdits::InsertColumn(const CTableGrid& grid)
{
    const auto alike = AlikeCells(grid, Line::Column);
    if (!alike)
        return std::nullopt;
    const std::vector<const Cell*>& cells = *alike;
    TableEditList edits;
    for (const Cell* cell : cells)
    {
        if (cell->colSpan > 1)
            edits.push_back(SetSpans(*cell, std::min(cell->colSpan + 1, CTableGrid::MaxColSpan), -1));
        else
            edits.push_back(CopyOf(*cell, cell->rowRef, cell->ref, 1, RowSpanChangedBy(*cell, 0)));
    }
    return edits;
}

std::optional<TableEditList> CTableEdits::DeleteColumn(const CTableGrid& grid)
{
    const auto alike = AlikeCells(grid, Line::Column);
    if (!alike)
        return std::nullopt;
    const std::vector<const Cell*>& cells = *alike;
    TableEditList edits;
    if (cells[0]->colSpan > 1)
    {
        for (const Cell* cell : cells)
            edits.push_back(SetSpans(*cell, cell->colSpan - 1, -1));
        return edits;
    }
    const std::vector<Cell>& all = grid.GetCells();
    std::vector<int> ownCells(grid.GetRows(), 0);
    for (const Cell& cell : all)
        ++ownCells[cell.row];
    std::vector<bool> deleted(all.size(), false);
    for (const Cell* cell : cells)
    {
        edits.push_back(OfKind(TableEdit::Kind::DeleteCell, cell->ref));
        --ownCells[cell->row];
        deleted[std::size_t(cell - all.data())] = true;
    }
    // removedBefore[r]: how many of the rows above r lose their last cell.
    std::vector<int> removedBefore(grid.GetRows() + 1, 0);
    bool cellLeft = false;
    for (int row = 0; row < grid.GetRows(); ++row)
    {
        const bool emptied = ownCells[row] == 0 && !grid.GetRow(row).cells.empty();
        removedBefore[row + 1] = removedBefore[row] + (emptied ? 1 : 0);
        cellLeft = cellLeft || ownCells[row] > 0;
    }
    if (!cellLeft)
        return TableEditList{OfKind(TableEdit::Kind::RemoveTable, 0)};
    for (std::size_t i = 0; i < all.size(); ++i)
    {
        const Cell& cell = all[i];
        const int crossed = removedBefore[cell.row + cell.rowSpan] - removedBefore[cell.row];
        if (crossed > 0 && !deleted[i])
            edits.push_back(SetSpans(cell, -1, RowSpanChangedBy(cell, -crossed)));
    }
    for (int row = 0; row < grid.GetRows(); ++row)
    {
        if (removedBefore[row + 1] > removedBefore[row])
            edits.push_back(OfKind(TableEdit::Kind::RemoveRow, grid.GetRow(row).ref));
    }
    return edits;
}

std::optional<TableEditList> CTableEdits::InsertRow(const CTableGrid& grid)
{
    const auto alike = AlikeCells(grid, Line::Row);
    if (!alike)
        return std::nullopt;
    const std::vector<const Cell*>& cells = *alike;
    const int row = grid.GetCurrent()->row;
    TableEdit newRow = OfKind(TableEdit::Kind::InsertRowAfter, grid.GetRow(row).ref);
    TableEditList edits;
    for (const Cell* cell : cells)
    {
        if (cell->row + cell->rowSpan > row + 1)
            edits.push_back(SetSpans(*cell, -1, RowSpanChangedBy(*cell, 1)));
        else
            newRow.cells.push_back(CopyOf(*cell, 0, 0, cell->colSpan, 1));
    }
    edits.push_back(newRow);
    return edits;
}

std::optional<TableEditList> CTableEdits::DeleteRow(const CTableGrid& grid)
{
    const auto alike = AlikeCells(grid, Line::Row);
    if (!alike)
        return std::nullopt;
    const std::vector<const Cell*>& cells = *alike;
    const int row = grid.GetCurrent()->row;
    if (grid.GetRows() == 1)
        return TableEditList{OfKind(TableEdit::Kind::RemoveTable, 0)};
    // The next row's own cells, left to right: a cell moving down goes before the first of them
    // that begins to its right.
    std::vector<const Cell*> below;
    for (const Cell& cell : grid.GetCells())
    {
        if (cell.row == row + 1)
            below.push_back(&cell);
    }
    TableEditList edits;
    for (const Cell* cell : cells)
    {
        if (cell->row < row)
        {
            edits.push_back(SetSpans(*cell, -1, RowSpanChangedBy(*cell, -1)));
        }
        else if (cell->rowSpan > 1)
        {
            const auto next =
                std::find_if(below.begin(), below.end(),
                             [cell](const Cell* other) { return other->column > cell->column; });
            TableEdit move = OfKind(TableEdit::Kind::MoveCell, cell->ref);
            move.rowRef = grid.GetRow(row + 1).ref;
            move.beforeRef = next == below.end() ? 0 : (*next)->ref;
            move.rowSpan = RowSpanChangedBy(*cell, -1);
            edits.push_back(move);
        }
    }
    edits.push_back(OfKind(TableEdit::Kind::RemoveRow, grid.GetRow(row).ref));
    return edits;
}

std::optional<TableEditList> CTableEdits::MergeDown(const CTableGrid& grid)
{
    const Cell* current = grid.GetCurrent();
    if (!current)
        return std::nullopt;
    const int belowRow = current->row + current->rowSpan;
    if (belowRow >= grid.GetRows() || grid.GroupEnd(belowRow) != grid.GroupEnd(current->row))
        return std::nullopt;
    const Cell* below = grid.GetCell(current->column, belowRow);
    if (!below || below->row != belowRow || below->column != current->column ||
        below->colSpan != current->colSpan)
        return std::nullopt;
    const int rowSpan = below->rowSpanAttribute == 0 ? 0 : current->rowSpan + below->rowSpan;
    return Merge(*current, *below, -1, rowSpan);
}

std::optional<TableEditList> CTableEdits::MergeRight(const CTableGrid& grid)
{
    const Cell* current = grid.GetCurrent();
    if (!current)
        return std::nullopt;
    const Cell* right = grid.GetCell(current->column + current->colSpan, current->row);
    if (!right || right->row != current->row || right->rowSpan != current->rowSpan ||
        current->colSpan + right->colSpan > CTableGrid::MaxColSpan)
        return std::nullopt;
    return Merge(*current, *right, current->colSpan + right->colSpan, -1);
}
