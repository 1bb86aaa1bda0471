#include "dialogs/DlgPalette.h"

#include "dialogs/DlgPaletteAddColor.h"
#include "dialogs/ShowHelp.h"
#include "ndb/NdbPalette.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/Palette.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PALETTE;
constexpr quint32 AddCaptionId = 11900;
constexpr quint32 NameExistsId = 11901;
constexpr quint32 EditCaptionId = 11902;
constexpr quint32 RemoveQuestionId = 11903;

enum ControlId : UINT
{
    IdList = IDC_LIST,
    IdAdd = IDC_ADD,
    IdEdit = IDC_EDIT,
    IdDelete = IDC_DELETE,
    IdMoveUp = IDC_MOVE_UP,
    IdMoveDown = IDC_MOVE_DOWN,
    IdHelp = IDC_HELP,
};
} // namespace

const MessageMap* CDlgPalette::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(LBN_SELCHANGE, IdList, &CDlgPalette::OnSelChange),
        OnControl(LBN_DBLCLK, IdList, &CDlgPalette::OnEdit),
        OnCommand(IdAdd, &CDlgPalette::OnAdd),
        OnCommand(IdEdit, &CDlgPalette::OnEdit),
        OnCommand(IdDelete, &CDlgPalette::OnDelete),
        OnCommand(IdMoveUp, &CDlgPalette::OnMoveUp),
        OnCommand(IdMoveDown, &CDlgPalette::OnMoveDown),
        OnCommand(IdHelp, &CDlgPalette::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgPalette::CDlgPalette(CNdbPalette* palette, CWnd* parent) : CDialog(TemplateId, parent), m_palette(palette)
{
}

CDlgPalette::~CDlgPalette()
{
    DestroyWindow();
}

void CDlgPalette::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
    DDX_Control(dx, IdEdit, m_editButton);
    DDX_Control(dx, IdDelete, m_deleteButton);
    DDX_Control(dx, IdMoveUp, m_moveUpButton);
    DDX_Control(dx, IdMoveDown, m_moveDownButton);
}

bool CDlgPalette::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < m_palette->GetColorCount(); ++i)
        InsertRow(i);
    UpdateButtons();
    return true;
}

void CDlgPalette::InsertRow(int index)
{
    CNdbPaletteColor* color = m_palette->GetColorAt(index);
    m_list.InsertString(index, color->GetName());
    m_list.SetItemData(index, UINT_PTR(color));
}

void CDlgPalette::UpdateButtons()
{
    const int row = m_list.GetCurSel();
    const bool selected = row >= 0;
    m_editButton.EnableWindow(selected);
    m_deleteButton.EnableWindow(selected);
    m_moveUpButton.EnableWindow(selected && row > 0);
    m_moveDownButton.EnableWindow(selected && row < m_list.GetCount() - 1);
}

LRESULT CDlgPalette::OnSelChange(WPARAM, LPARAM)
{
    UpdateButtons();
    return 0;
}

bool CDlgPalette::AskNameAndColor(const QString& caption, const QString& currentName, QString& name,
                                  CNdbRgba& rgba)
{
    for (;;)
    {
        CDlgPaletteAddColor dialog(caption, CNdbColor(rgba), this);
        dialog.m_name = name;
        if (dialog.DoModal() != IDOK)
            return false;
        name = dialog.m_name;
        rgba = dialog.m_color.GetRgba();
        // An entry may keep its own name in another case; no other entry's name is taken.
        const bool clash = m_palette->FindColorByName(name) &&
                           (currentName.isNull() || name.compare(currentName, Qt::CaseInsensitive) != 0);
        if (!clash)
            return true;
        AfxMessageBox(LoadAppString(NameExistsId), MB_OK);
    }
}

LRESULT CDlgPalette::OnAdd(WPARAM, LPARAM)
{
    QString name;
    CNdbRgba rgba(255, 255, 255, 255);
    if (!AskNameAndColor(LoadAppString(AddCaptionId), QString(), name, rgba))
        return 0;
    m_palette->AddColor(name, CNdbBase::CreateGuidString(), rgba);
    const int row = m_palette->GetColorCount() - 1;
    InsertRow(row);
    m_list.SetCurSel(row);
    UpdateButtons();
    return 0;
}

LRESULT CDlgPalette::OnEdit(WPARAM, LPARAM)
{
    const int row = m_list.GetCurSel();
    CNdbPaletteColor* entry = m_palette->GetColorAt(row);
    if (!entry)
        return 0;
    QString name = entry->GetName();
    CNdbRgba rgba = entry->GetRgba();
    if (!AskNameAndColor(LoadAppString(EditCaptionId), entry->GetName(), name, rgba))
        return 0;
    *entry = CNdbPaletteColor(name, entry->GetKey(), rgba);
    InsertRow(row);
    m_list.SetCurSel(row);
    m_list.DeleteString(row + 1);
    UpdateButtons();
    return 0;
}

LRESULT CDlgPalette::OnDelete(WPARAM, LPARAM)
{
    const int row = m_list.GetCurSel();
    const CNdbPaletteColor* entry = m_palette->GetColorAt(row);
    if (!entry)
        return 0;
    const QString question = LoadAppString(RemoveQuestionId) + entry->GetName();
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    m_palette->DeleteColorAt(row);
    m_list.DeleteString(row);
    m_list.SetCurSel(std::min(row, m_list.GetCount() - 1));
    UpdateButtons();
    return 0;
}

void CDlgPalette::MoveSelected(int step)
{
    const int row = m_list.GetCurSel();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_list.GetCount())
        return;
    m_palette->SwapColors(row, target);
    m_list.DeleteString(row);
    InsertRow(target);
    m_list.SetCurSel(target);
    UpdateButtons();
}

LRESULT CDlgPalette::OnMoveUp(WPARAM, LPARAM)
{
    MoveSelected(-1);
    return 0;
}

LRESULT CDlgPalette::OnMoveDown(WPARAM, LPARAM)
{
    MoveSelected(1);
    return 0;
}

LRESULT CDlgPalette::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
