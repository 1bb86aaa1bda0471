// The element properties of the layout editor: links, bookmarks, lists and horizontal rules,
// each read from the live document into its dialog and written back as one named undo unit.
#include "editor/WndLayout.h"

#include "dialogs/DlgHtmlActionProperties.h"
#include "dialogs/DlgHtmlBookmarkInsert.h"
#include "dialogs/DlgHtmlHRProperties.h"
#include "dialogs/DlgHtmlListProperties.h"
#include "editor/ElementLinks.h"
#include "editor/ElementMetadata.h"
#include "editor/ElementReaders.h"
#include "editor/LayoutCommandIds.h"
#include "editor/LayoutContext.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/UndoUnitScope.h"
#include "platform/ui/WinApp.h"

using namespace ndb;

namespace
{
constexpr quint32 SelectContentToLinkText = 15024;
constexpr DWORD SupportedAndEnabled = OLECMDF_SUPPORTED | OLECMDF_ENABLED;

const char* const Wrappings[] = {"", "inside", "outside"};
const char* const Bullets[] = {"", "circle", "disc", "square"};
const char* const Numberings[] = {"", "decimal", "lower-alpha", "upper-alpha", "lower-roman", "upper-roman"};

// The position of the keyword in the list; 0 (the default entry) for any other text.
template <std::size_t N> int IndexOf(const char* const (&keywords)[N], const QString& text)
{
    for (std::size_t i = 1; i < N; ++i)
    {
        if (text == QLatin1String(keywords[i]))
            return int(i);
    }
    return 0;
}

std::optional<CHtmlElement> EnclosingList(const CHtmlElement& element)
{
    for (std::optional<CHtmlElement> node = element; node; node = node->GetParentElement())
    {
        const QString tag = node->GetTagName();
        if (tag == QLatin1String("ul") || tag == QLatin1String("ol"))
            return node;
        if (tag.isEmpty())
            break;
    }
    return std::nullopt;
}
} // namespace

bool CWndLayout::RunElementCommand(UINT command, const CHtmlElement& source)
{
    auto enclosing = [&source](const char* tag)
    { return CIEBrowser::FindAncestorByTag(source, QLatin1String(tag)); };
    switch (command)
    {
    case ID_LINK_PROPERTIES:
        if (std::optional<CHtmlElement> anchor = enclosing("a"))
            EditLinkProperties(anchor);
        return true;
    case ID_BOOKMARK_PROPERTIES:
        if (std::optional<CHtmlElement> code = enclosing("code"))
            EditBookmarkProperties(code);
        return true;
    case ID_LIST_PROPERTIES:
        if (std::optional<CHtmlElement> list = EnclosingList(source))
            EditListProperties(list, list->GetTagName() == QLatin1String("ol"));
        return true;
    case ID_RULE_PROPERTIES:
        EditHorizontalRuleProperties(enclosing("hr"));
        return true;
    case ID_IMAGE_PROPERTIES:
        EditImageProperties(enclosing("img"));
        return true;
    case ID_IMAGE_CHANGE:
        ChangeImage(enclosing("img"));
        return true;
    case ID_IMAGE_CHANGE_EFFECT:
        ChangeImageEffect(enclosing("img"));
        return true;
    case ID_IMAGE_CHANGE_TEXT:
        ChangeImageText(enclosing("img"));
        return true;
    case ID_IMAGE_RESET_EFFECT:
        ResetImageEffect(enclosing("img"));
        return true;
    case ID_IMAGE_EFFECT_PROPERTIES:
        EditImageEffect(enclosing("img"));
        return true;
    default:
        return false;
    }
}

// ---- Insert commands ----

LRESULT CWndLayout::OnInsertLink(WPARAM, LPARAM)
{
    if (!IsEditing())
        return 0;
    // Asked, not tried: a trial link on an empty selection would leave its address as text.
    if ((m_browser.QueryStatus(IDM_HYPERLINK) & SupportedAndEnabled) != SupportedAndEnabled)
    {
        AfxMessageBox(LoadAppString(SelectContentToLinkText), MB_ICONEXCLAMATION);
        return 0;
    }
    EditLinkProperties(std::nullopt);
    return 0;
}

LRESULT CWndLayout::OnInsertBookmark(WPARAM, LPARAM)
{
    if (IsEditing())
        EditBookmarkProperties(std::nullopt);
    return 0;
}

// ---- Bookmarks ----

bool CWndLayout::GetBookmarkNames(QStringList& names)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return false;
    for (const CHtmlElement& code : document->GetElementsByTagName(QStringLiteral("code")))
    {
        if (QString name; code.GetAttribute(QStringLiteral("name"), name) && !name.isEmpty())
            names.append(name);
    }
    return true;
}

void CWndLayout::EditBookmarkProperties(std::optional<CHtmlElement> code)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Bookmark Properties"));
    CDlgHtmlBookmarkInsert dialog(this);
    if (code)
        dialog.m_name = Attribute(*code, QStringLiteral("name"));
    // A name left as it was leaves the bookmark as it was.
    if (dialog.DoModal() != IDOK || dialog.m_name.isEmpty() ||
        (code && dialog.m_name == Attribute(*code, QStringLiteral("name"))))
        return;
    if (!code)
    {
        CIEBrowser::InsertHtml(m_browser, BookmarkHtml(dialog.m_name));
        return;
    }
    code->SetAttribute(QStringLiteral("name"), dialog.m_name);
    code->SetAttribute(QStringLiteral("style"), QLatin1String(BookmarkStyle));
    code->SetInnerHtml(BookmarkContentHtml(dialog.m_name));
}

// ---- Links ----

void CWndLayout::EditLinkProperties(std::optional<CHtmlElement> anchor)
{
    const CNdbNewsletter* newsletter = CurrentNewsletter();
    CDlgHtmlActionProperties dialog(this);
    dialog.m_webViewAvailable = newsletter && newsletter->Sender().GetBool(SenderWebView, false);
    GetBookmarkNames(dialog.m_bookmarkNames);
    if (anchor)
    {
        if (anchor->GetTagName().isEmpty())
            return;
        ReadLinkIntoDialog(GetNameMetadata(*anchor, QLatin1String(LinkTypeKey)),
                           Attribute(*anchor, QStringLiteral("href")), dialog);
    }
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Action Properties"));
    std::vector<CHtmlElement> anchors;
    if (anchor)
    {
        anchors.push_back(*anchor);
    }
    else
    {
        // The new link carries a unique address until it is found again; a selection over
        // several blocks gets one anchor in each.
        const QString id = CNdbBase::CreateGuidString();
        const QVariant address(id);
        m_browser.ExecCommand(IDM_HYPERLINK, 0, &address);
        for (CHtmlElement& link : document->GetElementsByTagName(QStringLiteral("a")))
        {
            if (Attribute(link, QStringLiteral("href")) == id)
                anchors.push_back(link);
        }
    }
    LinkTarget target;
    const bool linked =
        LinkTargetOf(dialog, newsletter ? newsletter->Sender().GetString(SenderFromAddress) : QString(),
                     QLatin1String(PlaceholderLinkAddress), target);
    for (CHtmlElement& link : anchors)
    {
        if (!linked)
        {
            link.RemoveKeepingContent();
            continue;
        }
        // Through the element's own attributes: no address can break out into the markup.
        SetNameMetadata(link, QLatin1String(LinkTypeKey), target.type);
        link.SetAttribute(QStringLiteral("href"), target.href);
    }
}

// ---- Lists ----

void CWndLayout::EditListProperties(std::optional<CHtmlElement> list, bool ordered)
{
    if (!list || list->GetTagName().isEmpty())
        return;
    CDlgHtmlListProperties dialog(this);
    dialog.m_ordered = ordered ? 1 : 0;
    dialog.m_wrapping =
        IndexOf(Wrappings, list->GetStyleProperty(QStringLiteral("list-style-position")).toLower());
    const QString type = list->GetStyleProperty(QStringLiteral("list-style-type")).toLower();
    dialog.m_bullet = IndexOf(Bullets, type);
    dialog.m_numbering = IndexOf(Numberings, type);
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("List Properties"));
    const bool nowOrdered = dialog.m_ordered == 1;
    SetStyleIfChanged(*list, QStringLiteral("list-style-position"),
                      QLatin1String(Wrappings[std::clamp(dialog.m_wrapping, 0, 2)]));
    SetStyleIfChanged(*list, QStringLiteral("list-style-type"),
                      nowOrdered ? QLatin1String(Numberings[std::clamp(dialog.m_numbering, 0, 5)])
                                 : QLatin1String(Bullets[std::clamp(dialog.m_bullet, 0, 3)]));
    QVariant renamed;
    document->Call(QStringLiteral("renameList"), {list->GetRef(), nowOrdered}, renamed);
}

// ---- Horizontal rules ----

void CWndLayout::EditHorizontalRuleProperties(std::optional<CHtmlElement> rule)
{
    if (!rule || rule->GetTagName().isEmpty())
        return;
    CNdbNewsletter* newsletter = CurrentNewsletter();
    CNdbStyle style;
    RuleAttributes read;
    read.inlineWidth = rule->GetStyleProperty(QStringLiteral("width"));
    read.widthAttribute = Attribute(*rule, QStringLiteral("width"));
    read.inlineHeight = rule->GetStyleProperty(QStringLiteral("height"));
    read.sizeAttribute = Attribute(*rule, QStringLiteral("size"));
    read.name = Attribute(*rule, QStringLiteral("name"));
    ReadRuleStyle(read, style);
    CDlgHtmlHRProperties dialog(newsletter, &style, this);
    if (dialog.DoModal() != IDOK)
        return;
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    const CUndoUnitScope unit(*document, QStringLiteral("Horizontal Rule Properties"));
    for (const char* attribute : {"width", "size", "noshade"})
        rule->RemoveAttribute(QLatin1String(attribute));
    CNdbFieldValue value;
    SetStyleIfChanged(*rule, QStringLiteral("width"),
                      style.GetField(StyleWidth, value) ? value.FormatLength() : QString());
    SetStyleIfChanged(*rule, QStringLiteral("height"),
                      style.GetField(StyleHeight, value) && value.GetFloat() > 0 ? value.FormatLength()
                                                                                 : QString());
    const auto resolved = [newsletter](const CNdbColor& color)
    { return newsletter ? newsletter->Palette().ResolveColor(color).ToHex() : color.ToHex(); };
    if (style.GetField(StyleBackgroundColor, value) && value.GetColor())
    {
        SetNameMetadata(*rule, QStringLiteral("background-color"), value.GetColor()->ToText());
        SetStyleIfChanged(*rule, QStringLiteral("background-color"), resolved(*value.GetColor()));
    }
    else
    {
        SetNameMetadata(*rule, QStringLiteral("background-color"), QString());
        SetStyleIfChanged(*rule, QStringLiteral("background-color"), QString());
    }
    if (style.GetField(StyleBorderTopColor, value) && value.GetColor())
    {
        const CNdbColor color = *value.GetColor();
        const QString width =
            style.GetField(StyleBorderTopWidth, value) ? value.FormatLength() : QStringLiteral("0px");
        SetNameMetadata(*rule, QStringLiteral("border"),
                        QStringLiteral("solid %1 %2").arg(width, color.ToText()));
        SetStyleIfChanged(*rule, QStringLiteral("border"),
                          QStringLiteral("solid %1 %2").arg(width, resolved(color)));
    }
    else
    {
        SetNameMetadata(*rule, QStringLiteral("border"), QString());
        SetStyleIfChanged(*rule, QStringLiteral("border"), QString());
    }
}
