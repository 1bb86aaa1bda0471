// The box and page commands of the layout editor: Box Properties, Insert Box and Layout
// Properties.

#include "controls/KVPropertySheet.h"
#include "dialogs/DlgHtmlLayoutProperties.h"
#include "dialogs/PageHtmlBox1.h"
#include "dialogs/PageHtmlBox2.h"
#include "dialogs/PageHtmlBox3.h"
#include "editor/BoxStyle.h"
#include "editor/ElementApply.h"
#include "editor/ElementMetadata.h"
#include "editor/LayoutContext.h"
#include "editor/WndLayout.h"
#include "ndb/NdbBase.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/UndoUnitScope.h"

using namespace ndb;

namespace
{
constexpr quint32 BoxSheetCaption = 3003;
const QString BoxClass = QStringLiteral("sys_div");

// The link states: their colour and decoration fields, selectors and metadata pairs.
struct LinkState
{
    int colorField;
    QString (CNdbStyle::*decoration)() const;
    const char* selector;
    const char* colorPair;
    const char* decorationPair;
};

const LinkState LinkStates[] = {
    {StyleLinkColor, &CNdbStyle::GetLinkDecorationText, "a", "src_link_normal_color",
     "src_link_normal_textdecoration"},
    {StyleVisitedLinkColor, &CNdbStyle::GetVisitedLinkDecorationText, "a:visited", "src_link_visited_color",
     "src_link_visited_textdecoration"},
    {StyleHoverLinkColor, &CNdbStyle::GetHoverLinkDecorationText, "a:hover", "src_link_hover_color",
     "src_link_hover_textdecoration"},
};

// Every field of a record as text: equal texts, equal records.
QString FieldsText(const CNdbStyle& record)
{
    QString text;
    for (const auto& [id, value] : record.GetFields())
    {
        text += QStringLiteral("%1:%2:").arg(id).arg(value.GetType());
        if (value.GetType() == NdbValueLength)
            text += QStringLiteral("%1/%2").arg(double(value.GetFloat())).arg(value.GetUnit());
        else if (value.GetType() == NdbValueColor)
            text += value.GetColor() ? value.GetColor()->ToText() : QString();
        else if (value.GetType() == NdbValueText)
            text += value.GetString();
        else
            text += QString::number(value.GetInt());
        text += QLatin1Char(';');
    }
    return text;
}

void ReadBox(const CHtmlElement& box, CNdbStyle& record)
{
    const ElementReading reading = ReadElementValues(box, BoxStyleNames(), {}, BoxPairNames());
    ReadBoxStyle(reading.style, reading.pairs, record);
}

bool RunBoxSheet(ILayoutContext* context, CNdbStyle& record)
{
    CKVPropertySheet sheet(LoadAppString(BoxSheetCaption));
    sheet.UseProgramButtonCaptions();
    CPageHtmlBox1 typeAndSize(&record);
    CPageHtmlBox2 layout(&record);
    CPageHtmlBox3 background(context, &record);
    sheet.AddPage(&typeAndSize);
    sheet.AddPage(&layout);
    sheet.AddPage(&background);
    return sheet.DoModal() == IDOK;
}
} // namespace

LRESULT CWndLayout::OnInsertBox(WPARAM, LPARAM)
{
    if (IsEditing())
        EditBoxProperties(std::nullopt);
    return 0;
}

void CWndLayout::EditBoxProperties(const std::optional<CHtmlElement>& box)
{
    CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!IsEditing() || !newsletter || (box && box->GetTagName() != QLatin1String("div")))
        return;
    CNdbStyle record;
    if (box)
        ReadBox(*box, record);
    else
        SetNewBoxDefaults(record);
    const QString before = FieldsText(record);
    // A box left as it was keeps its markup as it is: no step on the undo list either.
    if (!RunBoxSheet(m_context, record) || (box && FieldsText(record) == before))
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Box Properties"));
    std::optional<CHtmlElement> element = box;
    if (!element)
    {
        const QString id = CNdbBase::CreateGuidString();
        if (!CIEBrowser::InsertHtml(m_browser, QStringLiteral("<div id=\"%1\">&nbsp;</div>").arg(id)))
            return;
        element = document->GetElementById(id);
        if (!element || element->GetTagName() != QLatin1String("div"))
            return;
        element->RemoveAttribute(QStringLiteral("id"));
    }
    element->SetClassName(BoxClass);
    ApplyElementChanges(*element, BoxStyleChanges(record, &newsletter->Palette(), &newsletter->Layout()));
}

void CWndLayout::EditLayoutProperties()
{
    CNdbNewsletter* newsletter = CurrentNewsletter();
    std::unique_ptr<CHtmlDocument> document;
    if (!newsletter || !m_browser.GetDHtmlDocument(document))
        return;
    std::optional<CHtmlElement> body = document->GetBody();
    if (!body)
        return;
    CNdbStyle record(newsletter->Layout().PageStyle());
    CDlgHtmlLayoutProperties dialog(m_context, &record);
    if (dialog.DoModal() != IDOK || FieldsText(record) == FieldsText(newsletter->Layout().PageStyle()))
        return;
    {
        const auto lock = m_context->WriteDocument();
        newsletter->Layout().PageStyle() = record;
    }
    newsletter->SetModified(true);
    const CNdbPalette& palette = newsletter->Palette();
    ElementChanges changes = PageStyleChanges(record, &palette, &newsletter->Layout());
    QVariantList rules;
    for (const LinkState& state : LinkStates)
    {
        CNdbFieldValue value;
        const CNdbColor* color = record.GetField(state.colorField, value) ? value.GetColor() : nullptr;
        const bool hasColor = color && color->GetKind() != NdbColorNone;
        const QString decoration = (record.*state.decoration)();
        changes.push_back(
            {ElementChange::Pair, QLatin1String(state.colorPair), hasColor ? color->ToText() : QString()});
        changes.push_back({ElementChange::Pair, QLatin1String(state.decorationPair), decoration});
        rules << QLatin1String(state.selector)
              << (hasColor ? palette.ResolveColor(*color).ToHex() : QString()) << decoration;
    }
    ApplyElementChanges(*body, changes);
    QVariant result;
    document->Call(QStringLiteral("setLinkRules"), {QVariant(rules)}, result);
}
