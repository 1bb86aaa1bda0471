#include "editor/TableGrid.h"

#include <algorithm>

namespace
{
// A cell of an earlier row that still holds columns of the rows below it.
struct Reaching
{
    int column;
    int colSpan;
    int endRow; // the first row it no longer holds
};

bool ByPlace(const CTableGrid::Cell* a, const CTableGrid::Cell* b)
{
    return a->row != b->row ? a->row < b->row : a->column < b->column;
}
} // namespace

void CTableGrid::Build(const std::vector<TableRowSpec>& rows, int referenceRef)
{
    m_rows = rows;
    m_cells.clear();
    m_columns = 0;
    m_current = -1;
    const int rowCount = int(m_rows.size());
    m_groupEnd.assign(rowCount, 0);
    for (int row = rowCount - 1; row >= 0; --row)
    {
        const bool sameGroupBelow = row + 1 < rowCount && m_rows[row + 1].group == m_rows[row].group;
        m_groupEnd[row] = sameGroupBelow ? m_groupEnd[row + 1] : row;
    }

    // Sorted by column; a cell that ended is dropped when a row with cells of its own comes.
    std::vector<Reaching> reaching;
    std::vector<Reaching> started;
    for (int row = 0; row < rowCount; ++row)
    {
        const TableRowSpec& spec = m_rows[row];
        if (spec.cells.empty())
            continue;
        std::erase_if(reaching, [row](const Reaching& r) { return r.endRow <= row; });
        started.clear();
        std::size_t next = 0;
        int column = 0;
        for (const TableCellSpec& cellSpec : spec.cells)
        {
            // The first column at or after the last cell's end that no earlier row holds.
            for (; next < reaching.size() && reaching[next].column <= column; ++next)
                column = std::max(column, reaching[next].column + reaching[next].colSpan);
            Cell cell;
            cell.ref = cellSpec.ref;
            cell.rowRef = spec.ref;
            cell.row = row;
            cell.column = column;
            cell.colSpan = std::clamp(cellSpec.colSpan, 1, MaxColSpan);
            cell.rowSpanAttribute = std::max(cellSpec.rowSpan, 0);
            const int groupRows = m_groupEnd[row] - row + 1;
            cell.rowSpan =
                cell.rowSpanAttribute == 0 ? groupRows : std::min(cell.rowSpanAttribute, groupRows);
            if (cell.ref == referenceRef && m_current < 0)
                m_current = int(m_cells.size());
            if (cell.rowSpan > 1)
                started.push_back({cell.column, cell.colSpan, row + cell.rowSpan});
            m_columns = std::max(m_columns, cell.column + cell.colSpan);
            column += cell.colSpan;
            m_cells.push_back(cell);
        }
        if (!started.empty())
        {
            std::vector<Reaching> merged;
            merged.reserve(reaching.size() + started.size());
            std::merge(reaching.begin(), reaching.end(), started.begin(), started.end(),
                       std::back_inserter(merged),
                       [](const Reaching& a, const Reaching& b) { return a.column < b.column; });
            reaching.swap(merged);
        }
    }
}

const CTableGrid::Cell* CTableGrid::GetCell(int column, int row) const
{
    for (const Cell& cell : m_cells)
    {
        if (cell.Covers(column, row))
            return &cell;
    }
    return nullptr;
}

std::vector<const CTableGrid::Cell*> CTableGrid::CellsInColumn(int column) const
{
    std::vector<const Cell*> found;
    for (const Cell& cell : m_cells)
    {
        if (column >= cell.column && column < cell.column + cell.colSpan)
            found.push_back(&cell);
    }
    std::sort(found.begin(), found.end(), ByPlace);
    return found;
}

std::vector<const CTableGrid::Cell*> CTableGrid::CellsInRow(int row) const
{
    std::vector<const Cell*> found;
    for (const Cell& cell : m_cells)
    {
        if (row >= cell.row && row < cell.row + cell.rowSpan)
            found.push_back(&cell);
    }
    std::sort(found.begin(), found.end(),
              [](const Cell* a, const Cell* b)
              { return a->column != b->column ? a->column < b->column : a->row < b->row; });
    return found;
}

std::vector<const CTableGrid::Cell*> CTableGrid::ReadingOrder() const
{
    std::vector<const Cell*> order;
    order.reserve(m_cells.size());
    for (const Cell& cell : m_cells)
        order.push_back(&cell);
    std::stable_sort(order.begin(), order.end(), ByPlace);
    return order;
}

const CTableGrid::Cell* CTableGrid::NextCell() const
{
    if (m_current < 0)
        return nullptr;
    const std::vector<const Cell*> order = ReadingOrder();
    const auto at = std::find(order.begin(), order.end(), &m_cells[m_current]);
    return at + 1 < order.end() ? *(at + 1) : nullptr;
}

const CTableGrid::Cell* CTableGrid::PreviousCell() const
{
    if (m_current < 0)
        return nullptr;
    const std::vector<const Cell*> order = ReadingOrder();
    const auto at = std::find(order.begin(), order.end(), &m_cells[m_current]);
    return at > order.begin() ? *(at - 1) : nullptr;
}

bool CTableGrid::IsCurrentLast() const
{
    return m_current >= 0 && !NextCell();
}
