#include "dialogs/DlgStyles.h"

#include "base/TextHelpers.h"
#include "controls/KVPropertySheet.h"
#include "dialogs/DialogContext.h"
#include "dialogs/DlgStyleAdd.h"
#include "dialogs/DlgStyleRename.h"
#include "dialogs/PageStyle1.h"
#include "dialogs/PageStyle2.h"
#include "dialogs/PageStyle3.h"
#include "dialogs/PageStyle4.h"
#include "dialogs/ShowHelp.h"
#include "dialogs/StylePreview.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/Styles.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_STYLES;
constexpr UINT PreviewId = 4711;
constexpr int SystemColumnWidth = 60;

enum ControlId : UINT
{
    IdList = IDC_STYLES_LIST,
    IdPlaceholder = IDC_STYLES_PLACEHOLDER,
    IdHelp = IDC_HELP,
    IdAdd = IDC_STYLES_ADD,
    IdRename = IDC_STYLES_RENAME,
    IdEdit = IDC_STYLES_EDIT,
    IdDelete = IDC_STYLES_DELETE,
    IdUpdate = IDC_STYLES_UPDATE,
};

enum TextId : quint32
{
    NameColumn = 3200,
    SystemColumn = 3201,
    Yes = 3202,
    No = 3203,
    SheetCaption = 3204,
    CannotRename = 3205,
    CannotDelete = 3211,
    DeleteQuestion = 3212,
    NotDeleted = 3218,
};

bool IsSystemStyle(const CNdbStyle& style)
{
    CNdbFieldValue flag;
    return style.GetField(StyleElementFlag, flag);
}

} // namespace

const MessageMap* CDlgStyles::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdAdd, &CDlgStyles::OnAdd),         OnCommand(IdRename, &CDlgStyles::OnRename),
        OnCommand(IdEdit, &CDlgStyles::OnEdit),       OnCommand(IdDelete, &CDlgStyles::OnDelete),
        OnCommand(IdUpdate, &CDlgStyles::OnUpdate),   OnNotify(NM_DBLCLK, &CDlgStyles::OnListDblClk),
        OnNotify(NM_CLICK, &CDlgStyles::OnListClick), OnNotify(LVN_KEYDOWN, &CDlgStyles::OnListKeyDown),
        OnCommand(IdHelp, &CDlgStyles::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgStyles::CDlgStyles(IDialogContext* context, CWnd* parent)
    : CDialog(TemplateId, parent), m_context(context)
{
}

CDlgStyles::~CDlgStyles()
{
    DestroyWindow();
}

void CDlgStyles::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
}

bool CDlgStyles::OnInitDialog()
{
    CDialog::OnInitDialog();
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return true;
    m_modified = false;
    if (CWnd* placeholder = GetDlgItem(IdPlaceholder))
    {
        CRect rect;
        placeholder->GetWindowRect(&rect);
        ScreenToClient(&rect);
        m_preview.Create(QString(), WS_CHILD | WS_VISIBLE, rect, this, PreviewId);
        m_preview.Navigate(QStringLiteral("about:blank"));
    }
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, LoadAppString(NameColumn), LVCFMT_LEFT, client.Width() - SystemColumnWidth);
    m_list.InsertColumn(1, LoadAppString(SystemColumn), LVCFMT_LEFT, SystemColumnWidth);
    for (const auto& [key, style] : newsletter->Styles())
    {
        if (style)
            InsertStyleItem(style.get());
    }
    if (SelectedItem() < 0 && m_list.GetItemCount() > 0)
        Select(0);
    RefreshPreview();
    return true;
}

int CDlgStyles::InsertStyleItem(CNdbStyle* style)
{
    const int item = m_list.InsertItem(m_list.GetItemCount(), style->GetString(StyleDisplayName));
    m_list.SetItemText(item, 1, LoadAppString(IsSystemStyle(*style) ? Yes : No));
    m_list.SetItemData(item, UINT_PTR(style));
    return item;
}

int CDlgStyles::SelectedItem() const
{
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

CNdbStyle* CDlgStyles::SelectedStyle() const
{
    const int item = SelectedItem();
    return item < 0 ? nullptr : reinterpret_cast<CNdbStyle*>(m_list.GetItemData(item));
}

void CDlgStyles::Select(int item)
{
    m_list.SetSelectionMark(item);
    m_list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CDlgStyles::RefreshPreview()
{
    if (const CNdbStyle* style = SelectedStyle())
        ShowStylePreview(m_preview, *style, m_context);
}

int CDlgStyles::LastClassNumber(const CNdbNewsletter& newsletter)
{
    const int counter = newsletter.GetInt(NewsletterLastClassStyle, 0);
    if (counter != 0)
        return counter;
    int last = 0;
    for (const auto& [key, style] : newsletter.Styles())
    {
        const QString name = style ? style->GetString(StyleRuleName) : QString();
        if (style && !style->IsElementStyle() && name.size() >= 2 && name.startsWith(QLatin1Char('c')))
            last = std::max(last, ParseIntText(name.mid(1)));
    }
    return last;
}

LRESULT CDlgStyles::OnAdd(WPARAM, LPARAM)
{
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    if (!newsletter)
        return 0;
    CDlgStyleAdd dialog(newsletter, SelectedStyle(), this);
    if (dialog.DoModal() != IDOK)
        return 0;
    if (dialog.m_mode == CDlgStyleAdd::Clone && !dialog.m_baseStyle)
        return 0;
    auto style = std::make_unique<CNdbStyle>();
    if (dialog.m_mode == CDlgStyleAdd::Clone)
        *style = *dialog.m_baseStyle;
    style->SetField(StyleDisplayName, CNdbFieldValue(dialog.m_name));
    // Every added style is a class style, a clone of a system style included.
    style->RemoveField(StyleElementFlag);
    CNdbStyle* added = style.get();
    {
        const auto lock = m_context->WriteDocument();
        const int number = LastClassNumber(*newsletter) + 1;
        style->SetField(StyleRuleName, CNdbFieldValue(QStringLiteral("c%1").arg(number)));
        newsletter->SetField(NewsletterLastClassStyle, CNdbFieldValue(NdbValueInt, number));
        newsletter->SetStyle(QString(), std::move(style));
    }
    m_modified = true;
    Select(InsertStyleItem(added));
    RefreshPreview();
    return 0;
}

LRESULT CDlgStyles::OnRename(WPARAM, LPARAM)
{
    const int item = SelectedItem();
    CNdbStyle* style = SelectedStyle();
    if (!style)
        return 0;
    if (IsSystemStyle(*style))
    {
        AfxMessageBox(LoadAppString(CannotRename), MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CDlgStyleRename dialog(this);
    dialog.m_name = style->GetString(StyleDisplayName);
    if (dialog.DoModal() != IDOK)
        return 0;
    {
        const auto lock = m_context->WriteDocument();
        style->SetField(StyleDisplayName, CNdbFieldValue(dialog.m_name));
    }
    m_list.SetItemText(item, 0, dialog.m_name);
    m_modified = true;
    return 0;
}

LRESULT CDlgStyles::OnEdit(WPARAM, LPARAM)
{
    CNdbStyle* style = SelectedStyle();
    if (!style)
        return 0;
    if (EditStyle(style))
        m_modified = true;
    RefreshPreview();
    return 0;
}

bool CDlgStyles::EditStyle(CNdbStyle* style)
{
    CNdbStyle working;
    working = *style;
    CKVPropertySheet sheet(LoadAppString(SheetCaption) + style->GetString(StyleDisplayName));
    sheet.m_psh.dwFlags |= PSH_HASHELP;
    sheet.UseProgramButtonCaptions();
    CPageStyle1 font(m_context, &working);
    CPageStyle2 layout(m_context, &working);
    CPageStyle3 background(m_context, &working);
    CPageStyle4 misc(m_context, &working);
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&font, &layout, &background, &misc})
        sheet.AddPage(page);
    if (sheet.DoModal() != IDOK)
        return false;
    const auto lock = m_context->WriteDocument();
    *style = working;
    return true;
}

LRESULT CDlgStyles::OnDelete(WPARAM, LPARAM)
{
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    CNdbStyle* style = SelectedStyle();
    if (!style || !newsletter)
        return 0;
    if (IsSystemStyle(*style))
    {
        AfxMessageBox(LoadAppString(CannotDelete), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    const QString question =
        FormatResourceText(LoadAppString(DeleteQuestion), {style->GetString(StyleDisplayName)});
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    const int item = m_list.GetSelectionMark();
    if (item < 0)
        return 0;
    bool removed = false;
    {
        const auto lock = m_context->WriteDocument();
        removed = newsletter->RemoveStyle(style);
    }
    if (!removed)
    {
        AfxMessageBox(LoadAppString(NotDeleted), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    m_list.DeleteItem(item);
    Select(std::max(item - 1, 0));
    m_modified = true;
    RefreshPreview();
    return 0;
}

LRESULT CDlgStyles::OnUpdate(WPARAM, LPARAM)
{
    RefreshPreview();
    return 0;
}

LRESULT CDlgStyles::OnListDblClk(WPARAM, LPARAM)
{
    return OnEdit(0, 0);
}

LRESULT CDlgStyles::OnListClick(WPARAM, LPARAM)
{
    RefreshPreview();
    return 0;
}

LRESULT CDlgStyles::OnListKeyDown(WPARAM, LPARAM)
{
    // The key moves the selection after this notification; the preview follows it then.
    PostMessage(WM_COMMAND, IdUpdate, 0);
    return 0;
}

LRESULT CDlgStyles::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
