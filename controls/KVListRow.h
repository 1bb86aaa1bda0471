#pragma once

#include <QString>
#include <map>

// One row of the multi-column list: cell texts by column and the owner's record, which the list
// never reads or deletes.
class CKVListRow
{
public:
    // Empty when the row has no cell for the column.
    QString GetCellText(int column) const;
    const QString& CellText(int column) const;
    // Any cell holds the text, case-sensitively; a row without cells matches nothing.
    bool MatchesFilter(const QString& text) const;

    std::map<int, QString> m_cells;
    void* m_data = nullptr;
    bool m_checked = false;
    bool m_ownerFlag = false;
};
