#include "controls/KVListRow.h"

QString CKVListRow::GetCellText(int column) const
{
    return CellText(column);
}

const QString& CKVListRow::CellText(int column) const
{
    static const QString empty;
    const auto it = m_cells.find(column);
    return it == m_cells.end() ? empty : it->second;
}

bool CKVListRow::MatchesFilter(const QString& text) const
{
    for (const auto& [column, cell] : m_cells)
    {
        if (cell.contains(text, Qt::CaseSensitive))
            return true;
    }
    return false;
}
