#pragma once

#include <vector>

// One cell of a live table as the page reports it: the element's number in the page and its
// spans as the engine reads the attributes (a row span of 0 reaches the end of its row group).
struct TableCellSpec
{
    int ref = 0;
    int colSpan = 1;
    int rowSpan = 1;
};

// One row of a live table: its element's number, the row group (head, body, foot) it belongs to
// and its own cells in document order.
struct TableRowSpec
{
    int ref = 0;
    int group = 0;
    std::vector<TableCellSpec> cells;
};

// A table laid out the way the browser lays it out: one grid row per table row, as many columns
// as the widest row (cells reaching down from earlier rows included), a cell placed at the first
// column of its row that no earlier cell holds. Spans are clamped as the engine clamps them: a
// column span to 1 to 1000, a row span to the end of its row group, where a row span of 0 ends.
// The grid keeps each cell once, as a rectangle, so its size follows the number of cells and never
// the span numbers.
class CTableGrid
{
public:
    static constexpr int MaxColSpan = 1000;

    struct Cell
    {
        int ref = 0;
        int rowRef = 0;
        int row = 0;
        int column = 0;
        int rowSpan = 1; // as laid out, at least 1
        int colSpan = 1;
        int rowSpanAttribute = 1; // as the page holds it; 0 reaches the end of the row group
        bool Covers(int atColumn, int atRow) const
        {
            return atRow >= row && atRow < row + rowSpan && atColumn >= column && atColumn < column + colSpan;
        }
    };

    // Lays the rows out; the reference cell's place becomes the current position, which stays
    // -1, -1 when the table does not hold the reference cell.
    void Build(const std::vector<TableRowSpec>& rows, int referenceRef);

    int GetRows() const { return int(m_rows.size()); }
    int GetColumns() const { return m_columns; }
    int GetCurrentRow() const { return m_current < 0 ? -1 : m_cells[m_current].row; }
    int GetCurrentColumn() const { return m_current < 0 ? -1 : m_cells[m_current].column; }
    // The reference cell, or null without one.
    const Cell* GetCurrent() const { return m_current < 0 ? nullptr : &m_cells[m_current]; }
    const std::vector<Cell>& GetCells() const { return m_cells; }
    const TableRowSpec& GetRow(int row) const { return m_rows[row]; }
    // The last row of the row group of the row.
    int GroupEnd(int row) const { return m_groupEnd[row]; }

    // The cell that covers the position, or null for an empty position or one outside the grid.
    // When cells overlap, the first of them in document order.
    const Cell* GetCell(int column, int row) const;
    // The cells that cover a grid column, top to bottom, or a grid row, left to right.
    std::vector<const Cell*> CellsInColumn(int column) const;
    std::vector<const Cell*> CellsInRow(int row) const;
    // The cells in reading order: by the row and then the column at which each begins.
    std::vector<const Cell*> ReadingOrder() const;
    // The cell after or before the reference cell in reading order; null at either end or without
    // a reference cell.
    const Cell* NextCell() const;
    const Cell* PreviousCell() const;
    // Whether a reference cell is placed and no cell begins after it in reading order.
    bool IsCurrentLast() const;

private:
    std::vector<TableRowSpec> m_rows;
    std::vector<int> m_groupEnd;
    std::vector<Cell> m_cells;
    int m_columns = 0;
    int m_current = -1;
};
