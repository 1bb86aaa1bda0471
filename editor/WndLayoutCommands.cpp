// The editing commands of the layout editor: formatting through the browser's commands, text
// styles, the toolbar's boxes, merge fields and insertions, and the edit-mode context menu.
#include "editor/WndLayout.h"

#include "dialogs/DlgFastColorPicker.h"
#include "editor/ClipboardPaste.h"
#include "editor/LayoutCommandIds.h"
#include "editor/LayoutContext.h"
#include "editor/MergeFields.h"
#include "editor/TextColors.h"
#include "ndb/NdbColor.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/HtmlDocument.h"
#include "platform/ui/Menu.h"
#include "platform/ui/UndoUnitScope.h"
#include "x2/PasteCleanup.h"

#include <QVariant>

#include <algorithm>

namespace
{
enum class RunWhen
{
    SupportedAndEnabled,
    Always,
};

struct SimpleCommand
{
    UINT command;
    bool editModeOnly;
    UINT browserCommand;
    RunWhen when;
    DWORD option;
};

constexpr SimpleCommand SimpleCommands[] = {
    {32786, true, IDM_BOLD, RunWhen::SupportedAndEnabled, 0},
    {32787, true, IDM_ITALIC, RunWhen::SupportedAndEnabled, 0},
    {32801, true, IDM_OUTDENT, RunWhen::SupportedAndEnabled, 0},
    {32802, true, IDM_INDENT, RunWhen::SupportedAndEnabled, 0},
    {32803, true, IDM_ORDERLIST, RunWhen::SupportedAndEnabled, 0},
    {32804, true, IDM_UNORDERLIST, RunWhen::SupportedAndEnabled, 0},
    {32800, true, IDM_HORIZONTALLINE, RunWhen::SupportedAndEnabled, 0},
    {32890, true, IDM_SELECTALL, RunWhen::SupportedAndEnabled, 0},
    {33003, true, IDM_SELECTALL, RunWhen::SupportedAndEnabled, 0},
    {32813, true, IDM_SUBSCRIPT, RunWhen::Always, 1},
    {32814, true, IDM_SUPERSCRIPT, RunWhen::Always, 1},
    {57643, true, IDM_UNDO, RunWhen::Always, 2},
    {57644, true, IDM_REDO, RunWhen::Always, 2},
    {57635, false, IDM_CUT, RunWhen::SupportedAndEnabled, 0},
    {57634, false, IDM_COPY, RunWhen::SupportedAndEnabled, 0},
    {32873, false, IDM_REMOVEFORMAT, RunWhen::SupportedAndEnabled, 0},
    {57607, false, IDM_PRINT, RunWhen::SupportedAndEnabled, 0},
    {32964, false, IDM_PRINTPREVIEW, RunWhen::SupportedAndEnabled, 0},
};

struct Alignment
{
    UINT command;
    UINT browserCommand;
};

constexpr Alignment Alignments[] = {
    {ID_ALIGN_LEFT, IDM_JUSTIFYLEFT},
    {ID_ALIGN_CENTER, IDM_JUSTIFYCENTER},
    {ID_ALIGN_RIGHT, IDM_JUSTIFYRIGHT},
    {ID_ALIGN_FULL, IDM_JUSTIFYFULL},
};

// The commands whose check mark shows the browser's latched state of a command.
constexpr Alignment CheckedCommands[] = {
    {32786, IDM_BOLD},
    {32787, IDM_ITALIC},
    {32801, IDM_OUTDENT},
    {32802, IDM_INDENT},
    {32803, IDM_ORDERLIST},
    {32804, IDM_UNORDERLIST},
    {ID_ALIGN_LEFT, IDM_JUSTIFYLEFT},
    {ID_ALIGN_CENTER, IDM_JUSTIFYCENTER},
    {ID_ALIGN_RIGHT, IDM_JUSTIFYRIGHT},
    {ID_ALIGN_FULL, IDM_JUSTIFYFULL},
};

constexpr UINT FirstTextStyleCommand = 33020;
const char* const TextStyleTags[] = {"h1", "h2", "h3", "h4", "h5", "h6", "normal"};

constexpr DWORD SupportedAndEnabled = OLECMDF_SUPPORTED | OLECMDF_ENABLED;

// The browser's name of its first heading format, learnt the first time a text style is applied.
QString& HeadingFormatName()
{
    static QString name;
    return name;
}

bool IsInsideComponentBox(const CHtmlElement& element)
{
    for (std::optional<CHtmlElement> node = element; node; node = node->GetParentElement())
    {
        const QString tag = node->GetTagName();
        if (tag.isEmpty())
            return false;
        if (tag == QLatin1String("div") && node->GetId().toLower().startsWith(QLatin1String("comp")))
            return true;
    }
    return false;
}
} // namespace

bool CWndLayout::IsTableCommand(UINT id)
{
    const auto isSimple = [id](const SimpleCommand& command) { return command.command == id; };
    const auto isAlignment = [id](const Alignment& alignment) { return alignment.command == id; };
    return std::any_of(std::begin(SimpleCommands), std::end(SimpleCommands), isSimple) ||
           std::any_of(std::begin(Alignments), std::end(Alignments), isAlignment) ||
           (id >= FirstTextStyleCommand && id < FirstTextStyleCommand + std::size(TextStyleTags)) ||
           FindMergeField(id) || id == ID_LAYOUT_STYLES || id == ID_LAYOUT_FONT_FAMILY ||
           id == ID_LAYOUT_FONT_SIZE || id == ID_INSERT_TABLE || id == ID_EDIT_PASTE ||
           id == ID_PASTE_AS_TEXT || (id >= ID_TEXT_COLOR && id <= ID_FILL_COLOR) ||
           id == ID_SELECT_TEXT_COLOR || id == ID_SELECT_FILL_COLOR;
}

bool CWndLayout::RunTableCommand(UINT id)
{
    if (!IsTableCommand(id))
        return false;
    if (const MergeField* field = FindMergeField(id))
        InsertMergeField(field->fieldCode, u'{' + LoadAppString(field->labelStringId) + u'}');
    else if (id >= FirstTextStyleCommand && id < FirstTextStyleCommand + std::size(TextStyleTags))
        ApplyStyleByTag(QLatin1String(TextStyleTags[id - FirstTextStyleCommand]));
    else if (id >= ID_ALIGN_LEFT && id <= ID_ALIGN_FULL)
        AlignParagraphs(id);
    else if (id == ID_LAYOUT_STYLES)
        ApplyChosenStyle();
    else if (id == ID_LAYOUT_FONT_FAMILY)
        ApplyChosenFont();
    else if (id == ID_LAYOUT_FONT_SIZE)
        ApplyChosenFontSize();
    else if (id == ID_INSERT_TABLE)
        InsertTable();
    else if (id == ID_EDIT_PASTE)
        Paste();
    else if (id == ID_PASTE_AS_TEXT)
        PasteAsText();
    else if ((id >= ID_TEXT_COLOR && id <= ID_FILL_COLOR) || id == ID_SELECT_TEXT_COLOR ||
             id == ID_SELECT_FILL_COLOR)
        ApplyButtonColor(id);
    else
        RunSimpleCommand(id);
    return true;
}

void CWndLayout::RunSimpleCommand(UINT id)
{
    for (const SimpleCommand& command : SimpleCommands)
    {
        if (command.command != id || (command.editModeOnly && !IsEditing()))
            continue;
        if (command.when == RunWhen::Always || m_browser.IsCommandEnabled(command.browserCommand))
            m_browser.ExecCommand(command.browserCommand, command.option);
        return;
    }
}

void CWndLayout::AlignParagraphs(UINT id)
{
    if (!IsEditing())
        return;
    UINT browserCommand = 0;
    for (const Alignment& alignment : Alignments)
    {
        if (alignment.command == id)
            browserCommand = alignment.browserCommand;
    }
    const DWORD status = m_browser.QueryStatus(browserCommand);
    if (status & OLECMDF_LATCHED)
    {
        // The alignment is there already: the command takes it away.
        m_browser.ExecCommand(IDM_JUSTIFYNONE, 2);
        RemoveAlignAttributes();
    }
    else if (id == ID_ALIGN_FULL)
    {
        m_browser.ExecCommand(IDM_JUSTIFYFULL, 1);
    }
    else if ((status & SupportedAndEnabled) == SupportedAndEnabled)
    {
        m_browser.ExecCommand(browserCommand, 0);
    }
}

void CWndLayout::RemoveAlignAttributes()
{
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return;
    for (const char* tag : {"div", "table", "td"})
    {
        for (CHtmlElement& element : document->GetElementsByTagName(QLatin1String(tag)))
            element.RemoveAttribute(QStringLiteral("align"));
    }
}

// ---- Text styles ----

void CWndLayout::ApplyStyleByTag(const QString& tag)
{
    const ndb::CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!IsEditing() || !newsletter)
        return;
    const ndb::CNdbStyle* style = newsletter->FindStyleByTag(tag);
    if (!style)
        return;
    ApplyTextStyle(style->GetString(ndb::StyleRuleName));
    m_browser.SetFocus();
}

void CWndLayout::ApplyChosenStyle()
{
    if (!IsEditing())
        return;
    const ndb::CNdbStyle* style = m_toolbar.GetSelectedStyle();
    if (style && !style->GetString(ndb::StyleRuleName).isEmpty())
        ApplyTextStyle(style->GetString(ndb::StyleRuleName));
}

bool CWndLayout::ApplyTextStyle(const QString& className)
{
    QString& heading = HeadingFormatName();
    if (heading.isEmpty())
    {
        QVariant formats;
        m_browser.ExecCommand(IDM_GETBLOCKFMTS, 0, nullptr, &formats);
        for (const QString& name : formats.toStringList())
        {
            if (name.compare(QLatin1String("Heading 1"), Qt::CaseInsensitive) == 0)
            {
                heading = name;
                break;
            }
        }
        if (heading.isEmpty())
            return ApplyTextStyleToParagraphs(className);
    }
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return false;
    const CUndoUnitScope unit(*document, QStringLiteral("Text Style"));
    m_browser.ExecCommandWithValue(SupportedAndEnabled, &heading, IDM_BLOCKFMT, 0);
    // Every heading of the first level becomes a paragraph of the class, also one that came in
    // from elsewhere.
    std::vector<CHtmlElement> headings = document->GetElementsByTagName(QStringLiteral("h1"));
    for (auto it = headings.rbegin(); it != headings.rend(); ++it)
    {
        QString inner;
        if (!it->GetInnerHtml(inner))
            continue;
        const QString paragraph =
            QStringLiteral("<p class=\"%1\">%2</p>").arg(className.toHtmlEscaped(), inner);
        if (it->InsertAdjacentHtml(QStringLiteral("beforebegin"), paragraph))
            it->Remove();
    }
    return true;
}

bool CWndLayout::ApplyTextStyleToParagraphs(const QString& className)
{
    std::unique_ptr<CHtmlDocument> document;
    if (!m_browser.GetDHtmlDocument(document))
        return false;
    std::vector<CHtmlElement> paragraphs = document->GetSelectedElements(QStringLiteral("p"));
    std::erase_if(paragraphs, IsInsideComponentBox);
    for (CHtmlElement& paragraph : paragraphs)
    {
        paragraph.SetClassName(className);
        if (CIEBrowser::SetSelection(m_browser, paragraph, false) &&
            m_browser.IsCommandEnabled(IDM_REMOVEFORMAT))
            m_browser.ExecCommand(IDM_REMOVEFORMAT, 0);
    }
    return true;
}

// ---- Toolbar boxes ----

void CWndLayout::ApplyChosenFont()
{
    if (!IsEditing())
        return;
    const QString font = m_toolbar.GetSelectedFont();
    m_browser.ExecCommandWithValue(SupportedAndEnabled, &font, IDM_FONTNAME, 0);
}

void CWndLayout::ApplyChosenFontSize()
{
    if (IsEditing())
        CIEBrowser::SetFontSize(m_browser, m_toolbar.GetSelectedFontSize(), QStringLiteral("pt"));
}

// ---- Insertions ----

void CWndLayout::InsertMergeField(int fieldCode, const QString& label)
{
    CIEBrowser::InsertHtml(m_browser, MergeFieldSpan(fieldCode, label));
}

// ---- Paste and colours ----

void CWndLayout::Paste()
{
    PasteContext context;
    context.newsletter = CurrentNewsletter();
    context.lockDocument = [this] { return m_context->WriteDocument(); };
    PasteClipboard(m_browser, context);
}

void CWndLayout::PasteAsText()
{
    PasteClipboardAsText(m_browser);
}

LRESULT CWndLayout::OnBrowserPaste(WPARAM id, LPARAM plainText)
{
    if (id != BrowserId)
        return 0;
    if (plainText)
        PasteAsText();
    else
        Paste();
    return 0;
}

ndb::CNdbColor CWndLayout::GetButtonColor(const CKVImageButton& button)
{
    if (!button.GetAltText().isEmpty())
        return ndb::CNdbColor(button.GetAltText());
    const COLORREF color = button.m_swatchColor;
    return ndb::CNdbColor(quint8(color & 0xFF), quint8((color >> 8) & 0xFF), quint8((color >> 16) & 0xFF));
}

void CWndLayout::PickButtonColor(CKVImageButton* button)
{
    ndb::CNdbNewsletter* newsletter = CurrentNewsletter();
    if (!button || !newsletter)
        return;
    CRect rect;
    button->GetWindowRect(&rect);
    CDlgFastColorPicker picker(this);
    if (picker.PopupAt(1, &newsletter->Palette(), CPoint(rect.left, rect.bottom), GetButtonColor(*button),
                       &rect) != 1)
        return;
    const ndb::CNdbColor& chosen = picker.GetColor();
    if (chosen.GetKind() == ndb::NdbColorPalette)
    {
        button->m_altText = chosen.GetKey();
        button->m_swatchColor = newsletter->Palette().ResolveColor(chosen).ToColorRef();
    }
    else
    {
        button->m_altText.clear();
        button->m_swatchColor = chosen.ToColorRef();
    }
    button->Invalidate();
}

void CWndLayout::ApplyButtonColor(UINT id)
{
    if (!IsEditing())
        return;
    const bool text = id == ID_TEXT_COLOR || id == ID_SELECT_TEXT_COLOR;
    CKVImageButton* button = text ? m_toolbar.GetTextColorButton() : m_toolbar.GetFillColorButton();
    if (!button)
        return;
    // Also a popup closed without a choice applies the button's colour.
    if (id == ID_SELECT_TEXT_COLOR || id == ID_SELECT_FILL_COLOR)
        PickButtonColor(button);
    if (text)
        ApplyTextColor(m_browser, GetButtonColor(*button));
    else
        ApplyFillColor(m_browser, GetButtonColor(*button));
}

// ---- Check marks and boxes ----

void CWndLayout::OnUpdateEditCommand(CCmdUI* cmdUI)
{
    if (!IsEditing())
        return;
    for (const Alignment& checked : CheckedCommands)
    {
        if (checked.command == cmdUI->m_nID)
        {
            cmdUI->SetCheck((m_browser.QueryStatus(checked.browserCommand) & OLECMDF_LATCHED) ? 1 : 0);
            return;
        }
    }
    // The boxes follow the caret; a menu item of the same id has nothing to show.
    if (!cmdUI->m_pOther || cmdUI->m_pOther->GetParent() != &m_toolbar)
        return;
    // The page's own report: an update that waited on the page would run inside its own wait.
    const CIEBrowser::SelectionText& text = m_browser.GetReportedSelectionText();
    switch (cmdUI->m_nID)
    {
    case ID_LAYOUT_STYLES:
        m_toolbar.ShowStyleOf(text.styleName);
        break;
    case ID_LAYOUT_FONT_FAMILY:
        m_toolbar.ShowFontName(text.fontName);
        break;
    case ID_LAYOUT_FONT_SIZE:
        m_toolbar.ShowFontSize(text.fontSize);
        break;
    default:
        break;
    }
}

// ---- Edit-mode context menu ----

void CWndLayout::ShowEditModeMenu(CMenu& menu, const CHtmlEventObj& event)
{
    auto enclosing = [&event](const char* tag)
    {
        const std::optional<CHtmlElement>& source = event.GetSrcElement();
        return source ? CIEBrowser::FindAncestorByTag(*source, QLatin1String(tag)) : std::nullopt;
    };
    struct ItemGroup
    {
        std::vector<UINT> commands;
        bool keep;
    };
    const bool table = enclosing("table").has_value();
    const ItemGroup groups[] = {
        {{ID_LINK_PROPERTIES}, enclosing("a").has_value()},
        {{ID_BOOKMARK_PROPERTIES}, enclosing("code").has_value()},
        {{ID_IMAGE_CHANGE, ID_IMAGE_CHANGE_EFFECT, ID_IMAGE_CHANGE_TEXT, ID_IMAGE_PROPERTIES,
          ID_IMAGE_EFFECT_PROPERTIES, ID_IMAGE_RESET_EFFECT},
         enclosing("img").has_value()},
        {{ID_RULE_PROPERTIES}, enclosing("hr").has_value()},
        {{ID_LIST_PROPERTIES}, enclosing("ul").has_value() || enclosing("ol").has_value()},
        {{32859, 32860, 32861, 32862, 32863, 32864, ID_TABLE_PROPERTIES, ID_TABLE_CELL_PROPERTIES}, table},
        {{ID_BOX_PROPERTIES}, enclosing("div").has_value()},
    };
    for (const ItemGroup& group : groups)
    {
        if (group.keep)
            continue;
        for (const UINT command : group.commands)
            menu.DeleteMenu(command, MF_BYCOMMAND);
    }
    // No doubled, leading or trailing separators.
    for (int position = menu.GetMenuItemCount() - 1; position >= 1; --position)
    {
        if (menu.GetMenuItemID(position) == 0 && menu.GetMenuItemID(position - 1) == 0)
            menu.DeleteMenu(position, MF_BYPOSITION);
    }
    if (menu.GetMenuItemCount() > 0 && menu.GetMenuItemID(0) == 0)
        menu.DeleteMenu(0, MF_BYPOSITION);
    if (const int count = menu.GetMenuItemCount(); count > 0 && menu.GetMenuItemID(count - 1) == 0)
        menu.DeleteMenu(count - 1, MF_BYPOSITION);

    const UINT command = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                             event.GetScreenX(), event.GetScreenY(), this);
    if (command == 0)
        return;
    if (FindMergeField(command))
    {
        RunTableCommand(command);
        return;
    }
    if (command >= ID_TABLE_CELL_PROPERTIES && command <= ID_TABLE_MERGE_RIGHT)
        return RunTableMenuItem(command, event);
    if (command == ID_BOX_PROPERTIES)
        return EditBoxProperties(enclosing("div"));
    if (command == ID_LAYOUT_PROPERTIES)
        return EditLayoutProperties();
    if (const std::optional<CHtmlElement>& source = event.GetSrcElement();
        source && RunElementCommand(command, *source))
        return;
    // An element item whose element is gone does nothing.
    if ((command >= ID_TABLE_CELL_PROPERTIES && command <= 32866) ||
        (command >= ID_RULE_PROPERTIES && command <= ID_LIST_PROPERTIES) ||
        (command >= ID_IMAGE_CHANGE_EFFECT && command <= ID_IMAGE_CHANGE))
        return;
    if (GetMessageMap()->Find(WM_COMMAND, 0, command) || IsTableCommand(command))
        PostMessage(WM_COMMAND, command);
    else if (CWnd* main = AfxGetMainWnd())
        main->PostMessage(WM_COMMAND, command);
}
