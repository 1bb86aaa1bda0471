// The table commands of the layout editor: rows, columns and merges from the context menu, Tab
// between cells, and Insert Table. The table is read from the page in one call, worked out on
// the grid, and its changes go back in one call as one named unit.
#include "editor/WndLayout.h"

#include "dialogs/DlgHtmlTableInsert.h"
#include "editor/ElementApply.h"
#include "editor/LayoutCommandIds.h"
#include "editor/LayoutContext.h"
#include "editor/NewTableHtml.h"
#include "editor/TableEdits.h"
#include "editor/TableStyle.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/UndoUnitScope.h"

#include <QKeyEvent>
#include <QVariant>

namespace
{
struct TableCommand
{
    UINT id;
    const char* title;
    std::optional<TableEditList> (*plan)(const CTableGrid&);
};

constexpr TableCommand TableCommands[] = {
    {ID_TABLE_INSERT_COLUMN, "Table Insert Column", &CTableEdits::InsertColumn},
    {ID_TABLE_INSERT_ROW, "Table Insert Row", &CTableEdits::InsertRow},
    {ID_TABLE_DELETE_COLUMN, "Table Delete Column", &CTableEdits::DeleteColumn},
    {ID_TABLE_DELETE_ROW, "Table Delete Row", &CTableEdits::DeleteRow},
    {ID_TABLE_MERGE_DOWN, "Table Merge Cell Down", &CTableEdits::MergeDown},
    {ID_TABLE_MERGE_RIGHT, "Table Merge Cell Right", &CTableEdits::MergeRight},
};

const char* KindName(TableEdit::Kind kind)
{
    switch (kind)
    {
    case TableEdit::Kind::SetSpans:
        return "SetSpans";
    case TableEdit::Kind::DeleteCell:
        return "DeleteCell";
    case TableEdit::Kind::RemoveRow:
        return "RemoveRow";
    case TableEdit::Kind::InsertCell:
        return "InsertCell";
    case TableEdit::Kind::MoveCell:
        return "MoveCell";
    case TableEdit::Kind::AppendContent:
        return "AppendContent";
    case TableEdit::Kind::InsertRowAfter:
        return "InsertRowAfter";
    case TableEdit::Kind::RemoveTable:
        return "RemoveTable";
    }
    return "";
}

QVariantMap ToVariant(const TableEdit& edit)
{
    QVariantList cells;
    for (const TableEdit& cell : edit.cells)
        cells.append(ToVariant(cell));
    return {{"kind", QString::fromLatin1(KindName(edit.kind))},
            {"ref", edit.ref},
            {"rowRef", edit.rowRef},
            {"beforeRef", edit.beforeRef},
            {"sourceRef", edit.sourceRef},
            {"colSpan", edit.colSpan},
            {"rowSpan", edit.rowSpan},
            {"cells", cells}};
}

} // namespace

bool CWndLayout::PreTranslateMessage(MSG* msg)
{
    // Only keys of the page: Tab in the toolbar's boxes moves on between them.
    if (IsEditing() && msg->hwnd == &m_browser && msg->message == WM_KEYDOWN && msg->event &&
        msg->event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<const QKeyEvent*>(msg->event);
        const bool noOtherKeys = (key->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
        // A step that moved the selection uses the key up; anywhere else Tab does what it does.
        if (key->key() == Qt::Key_Tab && noOtherKeys && !(key->modifiers() & Qt::ShiftModifier))
            return SelectNextTableCell();
        if ((key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Tab) && noOtherKeys)
            return SelectPreviousTableCell();
    }
    return CWnd::PreTranslateMessage(msg);
}

bool CWndLayout::BuildTableGrid(int tableRef, int cellRef, CTableGrid& grid)
{
    QVariant answer;
    if (!CIEBrowser::CallLibrary(m_browser, QStringLiteral("tableRows"), {tableRef}, answer))
        return false;
    std::vector<TableRowSpec> rows;
    for (const QVariant& rowValue : answer.toList())
    {
        const QVariantMap row = rowValue.toMap();
        TableRowSpec spec;
        spec.ref = row.value(QStringLiteral("ref")).toInt();
        spec.group = row.value(QStringLiteral("group")).toInt();
        for (const QVariant& cellValue : row.value(QStringLiteral("cells")).toList())
        {
            const QVariantList cell = cellValue.toList();
            if (cell.size() == 3)
                spec.cells.push_back({cell[0].toInt(), cell[1].toInt(), cell[2].toInt()});
        }
        rows.push_back(std::move(spec));
    }
    grid.Build(rows, cellRef);
    return true;
}

bool CWndLayout::GetTableCellBorder(int tableRef, QString& border, int& spacing)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return false;
    const std::optional<CHtmlElement> table = document->ElementOf(tableRef);
    if (!table)
        return false;
    const ElementReading reading =
        ReadElementValues(*table, {}, {QStringLiteral("cellspacing")}, {QStringLiteral("src_border")});
    // The cells are drawn anew only for a table with a border source and a spacing of its own.
    const QString spacingText = ElementValue(reading.attributes, "cellspacing");
    if (ElementValue(reading.pairs, "src_border").trimmed().split(u' ', Qt::SkipEmptyParts).size() != 3 ||
        spacingText.trimmed().isEmpty())
        return false;
    ndb::CNdbStyle record;
    int padding = 0;
    ReadTableStyle(reading.style, reading.attributes, reading.pairs, record, padding, spacing);
    const ndb::CNdbNewsletter* newsletter = CurrentNewsletter();
    border = CellBorderOf(record, newsletter ? &newsletter->Palette() : nullptr);
    return true;
}

bool CWndLayout::ApplyTableEdits(const QString& title, int tableRef, const TableEditList& edits)
{
    QVariantList list;
    for (const TableEdit& edit : edits)
        list.append(ToVariant(edit));
    QString border;
    int spacing = 0;
    // A table that does not say how its cells are bordered keeps the borders they have.
    const QVariant borders = GetTableCellBorder(tableRef, border, spacing)
                                 ? QVariant(QVariantMap{{"border", border}, {"spacing", spacing}})
                                 : QVariant();
    QVariant result;
    return CIEBrowser::CallLibrary(m_browser, QStringLiteral("tableEdit"), {title, tableRef, list, borders},
                                   result) &&
           result.toBool();
}

void CWndLayout::RunTableMenuCommand(UINT id, int tableRef, int cellRef)
{
    if (!IsEditing() || tableRef <= 0 || cellRef <= 0)
        return;
    for (const TableCommand& command : TableCommands)
    {
        if (command.id != id)
            continue;
        CTableGrid grid;
        if (!BuildTableGrid(tableRef, cellRef, grid))
            return;
        if (const std::optional<TableEditList> edits = command.plan(grid))
            ApplyTableEdits(QLatin1String(command.title), tableRef, *edits);
        return;
    }
}

void CWndLayout::RunTableMenuItem(UINT id, const CHtmlEventObj& event)
{
    const std::optional<CHtmlElement>& source = event.GetSrcElement();
    QVariant around;
    std::unique_ptr<CHtmlDocument> document;
    if (!source || !m_browser.GetDHtmlDocument(document) ||
        !CIEBrowser::CallLibrary(m_browser, QStringLiteral("tableAround"), {source->GetRef()}, around))
        return;
    const QVariant table = around.toMap().value(QStringLiteral("table"));
    const QVariant cell = around.toMap().value(QStringLiteral("cell"));
    if (id == ID_TABLE_PROPERTIES)
        EditTableProperties(document->ElementOf(table));
    else if (id == ID_TABLE_CELL_PROPERTIES)
        EditTableCellProperties(document->ElementOf(cell));
    else
        RunTableMenuCommand(id, table.toInt(), cell.toInt());
}

bool CWndLayout::SelectNextTableCell()
{
    return SelectTableCell(true);
}

bool CWndLayout::SelectPreviousTableCell()
{
    return SelectTableCell(false);
}

bool CWndLayout::SelectTableCell(bool next)
{
    if (!IsEditing())
        return false;
    QVariant around;
    if (!CIEBrowser::CallLibrary(m_browser, QStringLiteral("tableAtSelection"), {}, around))
        return false;
    const int cellRef = around.toMap().value(QStringLiteral("cell")).toInt();
    const int tableRef = around.toMap().value(QStringLiteral("table")).toInt();
    if (cellRef <= 0 || tableRef <= 0)
        return false;
    CTableGrid grid;
    if (!BuildTableGrid(tableRef, cellRef, grid) || !grid.GetCurrent())
        return false;
    if (next && grid.IsCurrentLast())
    {
        // The last cell gets a row after it to step into, when the row can be added.
        if (const std::optional<TableEditList> edits = CTableEdits::InsertRow(grid))
            ApplyTableEdits(QStringLiteral("Table Insert Row"), tableRef, *edits);
        if (!BuildTableGrid(tableRef, cellRef, grid))
            return false;
    }
    const CTableGrid::Cell* target = next ? grid.NextCell() : grid.PreviousCell();
    std::unique_ptr<CHtmlDocument> document;
    if (!target || !m_browser.GetDHtmlDocument(document))
        return false;
    const std::optional<CHtmlElement> cell = document->ElementOf(target->ref);
    if (!cell)
        return false;
    const CUndoUnitScope unit(*document, next ? QStringLiteral("Select Next Table Cell")
                                              : QStringLiteral("Select Previous Table Cell"));
    return CIEBrowser::SetSelection(m_browser, *cell, false);
}

void CWndLayout::InsertTable()
{
    if (!IsEditing())
        return;
    CDlgHtmlTableInsert dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    QString html;
    const QString id = ndb::CNdbBase::CreateGuidString();
    const ndb::CNdbFieldValue height(float(dialog.m_height), ndb::NdbUnitPx);
    BuildNewTableHtml(QStringLiteral("#000000"), dialog.m_border, html, dialog.m_rows, dialog.m_columns,
                      dialog.GetWidth(), height, dialog.m_cellPadding, dialog.m_cellSpacing, QString(), id);
    // The temporary id goes in the same step as the table.
    const CUndoUnitScope unit(*document, QStringLiteral("Insert Table"));
    if (!CIEBrowser::InsertTable(m_browser, html))
        return;
    if (std::optional<CHtmlElement> table = document->GetElementById(id);
        table && table->GetTagName() == QLatin1String("table"))
        table->RemoveAttribute(QStringLiteral("id"));
}
