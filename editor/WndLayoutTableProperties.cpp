// Table Properties and Table Cell Properties of the layout editor: the element's style,
// attributes and metadata read into a style record, the dialog, and the record written back as
// one named unit.
#include "dialogs/DlgHtmlTableCellProperties.h"
#include "dialogs/DlgHtmlTableProperties.h"
#include "editor/ElementApply.h"
#include "editor/ElementMetadata.h"
#include "editor/LayoutContext.h"
#include "editor/TableStyle.h"
#include "editor/WndLayout.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/UndoUnitScope.h"

using namespace ndb;

void CWndLayout::EditTableProperties(const std::optional<CHtmlElement>& table)
{
    CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!IsEditing() || !newsletter || !table || table->GetTagName() != QLatin1String("table"))
        return;
    const ElementReading reading =
        ReadElementValues(*table, TableStyleNames(), TableAttributeNames(), TablePairNames());
    CNdbStyle record;
    CDlgHtmlTableProperties dialog(m_context, &record, this);
    ReadTableStyle(reading.style, reading.attributes, reading.pairs, record, dialog.m_cellPadding,
                   dialog.m_cellSpacing);
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Table Properties"));
    QString cellBorder;
    CHtmlElement element = *table;
    ApplyElementChanges(element, TableStyleChanges(record, &newsletter->Palette(), &newsletter->Layout(),
                                                   dialog.m_cellPadding, dialog.m_cellSpacing, cellBorder));
    QVariant result;
    CIEBrowser::CallLibrary(m_browser, QStringLiteral("tableCellBorders"),
                            {element.GetRef(), cellBorder, dialog.m_cellSpacing}, result);
}

void CWndLayout::EditTableCellProperties(const std::optional<CHtmlElement>& cell)
{
    CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!IsEditing() || !newsletter || !cell)
        return;
    const ElementReading reading =
        ReadElementValues(*cell, CellStyleNames(), CellAttributeNames(), CellPairNames());
    CNdbStyle record;
    bool useDefaultPadding = true;
    ReadCellStyle(reading.style, reading.attributes, reading.pairs, record, useDefaultPadding);
    CDlgHtmlTableCellProperties dialog(m_context, &record, this);
    dialog.m_useDefaultPadding = useDefaultPadding ? 1 : 0;
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Table Cell Properties"));
    CHtmlElement element = *cell;
    ApplyElementChanges(element, CellStyleChanges(record, &newsletter->Palette(), &newsletter->Layout(),
                                                  dialog.m_useDefaultPadding != 0));
}
