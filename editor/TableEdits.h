#pragma once

#include "editor/TableGrid.h"

#include <optional>
#include <vector>

// One change of a live table's elements, named by their numbers in the page.
struct TableEdit
{
    enum class Kind
    {
        SetSpans,       // ref: the cell; a span of -1 stays as it is
        DeleteCell,     // ref: the cell
        RemoveRow,      // ref: the row
        InsertCell,     // a new cell in rowRef before beforeRef (0: at the end), with sourceRef's attributes
        MoveCell,       // ref: the cell, into rowRef before beforeRef, with the row span
        AppendContent,  // ref: the cell that gets sourceRef's content
        InsertRowAfter, // ref: the row; cells: the new row's cells as InsertCell edits
        RemoveTable,
    };

    Kind kind = Kind::SetSpans;
    int ref = 0;
    int rowRef = 0;
    int beforeRef = 0;
    int sourceRef = 0;
    int colSpan = -1;
    int rowSpan = -1;
    std::vector<TableEdit> cells;
};

using TableEditList = std::vector<TableEdit>;

// The changes of the table commands, worked out on the grid of the table with the selected cell
// as its reference cell. No value means the command refuses the table as it is.
//
// A column or row is handled only when every cell that covers it spans the same number of
// columns, or rows. New cells copy their neighbour's attributes (not its id) and hold a blank;
// the table stays rectangular wherever it was.
class CTableEdits
{
public:
    // A column before the selected cell's column: the cells that begin there get a copy before
    // them; cells of several columns that cover it are widened instead.
    static std::optional<TableEditList> InsertColumn(const CTableGrid& grid);
    // Only the column's cells go (cells of several columns lose one); a row left without cells goes
    // with the spans that cross it shrunk, and the table goes when no row keeps a cell.
    static std::optional<TableEditList> DeleteColumn(const CTableGrid& grid);
    // A row after the selected cell's row: cells that reach on below it grow by one row, the others
    // get a copy of one row in the new row.
    static std::optional<TableEditList> InsertRow(const CTableGrid& grid);
    // The table stays whole: spans that cross the row shrink by one and a cell of the row that
    // reaches down moves into the next row. The only row takes the table with it.
    static std::optional<TableEditList> DeleteRow(const CTableGrid& grid);
    // The grid neighbour below: it begins in the selected cell's column, spans as many columns and
    // belongs to the same row group.
    static std::optional<TableEditList> MergeDown(const CTableGrid& grid);
    // The grid neighbour on the right: it begins in the selected cell's row and spans as many rows.
    static std::optional<TableEditList> MergeRight(const CTableGrid& grid);
};
