#include "dialogs/DlgFontSelect.h"

#include "controls/InstalledFonts.h"
#include "dialogs/FontFamilyList.h"
#include "dialogs/ShowHelp.h"
#include "platform/core/AppStrings.h"
#include "res/dialogs/FontSelect.h"

namespace
{
constexpr UINT TemplateId = IDD_FONT_SELECT;
constexpr quint32 NoneTextId = 3300;

enum ControlId : UINT
{
    IdAvailable = IDC_AVAILABLE,
    IdSelected = IDC_SELECTED,
    IdCustomName = IDC_CUSTOM_NAME,
    IdGeneric = IDC_GENERIC,
    IdAddAvailable = IDC_ADD_AVAILABLE,
    IdAddCustom = IDC_ADD_CUSTOM,
    IdUp = IDC_UP,
    IdDown = IDC_DOWN,
    IdDelete = IDC_DELETE,
    IdHelp = IDC_HELP,
};
} // namespace

const MessageMap* CDlgFontSelect::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdAddAvailable, &CDlgFontSelect::OnAddAvailable),
        OnControl(LBN_DBLCLK, IdAvailable, &CDlgFontSelect::OnAddAvailable),
        OnCommand(IdAddCustom, &CDlgFontSelect::OnAddCustom),
        OnCommand(IdUp, &CDlgFontSelect::OnUp),
        OnCommand(IdDown, &CDlgFontSelect::OnDown),
        OnCommand(IdDelete, &CDlgFontSelect::OnDelete),
        OnCommand(IdHelp, &CDlgFontSelect::OnHelp),
        OnControl(CBN_EDITCHANGE, IdGeneric, &CDlgFontSelect::OnGenericTyped),
        OnControl(CBN_SELCHANGE, IdGeneric, &CDlgFontSelect::OnGenericChosen),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgFontSelect::CDlgFontSelect(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgFontSelect::~CDlgFontSelect()
{
    DestroyWindow();
}

void CDlgFontSelect::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdAvailable, m_availableFonts);
    DDX_Control(dx, IdSelected, m_selectedFonts);
    DDX_Control(dx, IdCustomName, m_customName);
    DDX_Control(dx, IdGeneric, m_genericFamily);
}

bool CDlgFontSelect::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::vector<FontFamilyEntry> installed;
    GetInstalledFontFamilies(installed);
    for (const FontFamilyEntry& family : installed)
        m_availableFonts.AddString(family.name);
    m_availableFonts.SetCurSel(0);

    const FontFamilyList list = ParseFontFamilyList(m_fontList);
    for (const QString& name : list.names)
        m_selectedFonts.AddString(name);
    m_selectedFonts.SetCurSel(0);

    for (int code : {1, 2, 3, 4, 5, 0})
    {
        const int entry =
            m_genericFamily.AddString(code ? GenericFontFamilyName(code) : LoadAppString(NoneTextId));
        m_genericFamily.SetItemData(entry, UINT_PTR(code));
        if (code == list.genericCode)
            m_genericFamily.SetCurSel(entry);
    }
    return true;
}

LRESULT CDlgFontSelect::OnAddAvailable(WPARAM, LPARAM)
{
    const int row = m_availableFonts.GetCurSel();
    if (row >= 0)
        m_selectedFonts.AddString(m_availableFonts.GetText(row).trimmed());
    return 0;
}

LRESULT CDlgFontSelect::OnAddCustom(WPARAM, LPARAM)
{
    const QString name = m_customName.GetWindowText().trimmed();
    if (!name.isEmpty())
        m_selectedFonts.AddString(name);
    return 0;
}

void CDlgFontSelect::MoveSelected(int step)
{
    const int row = m_selectedFonts.GetCurSel();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_selectedFonts.GetCount())
        return;
    const QString text = m_selectedFonts.GetText(row);
    m_selectedFonts.DeleteString(row);
    m_selectedFonts.InsertString(target, text);
    m_selectedFonts.SetCurSel(target);
}

LRESULT CDlgFontSelect::OnUp(WPARAM, LPARAM)
{
    MoveSelected(-1);
    return 0;
}

LRESULT CDlgFontSelect::OnDown(WPARAM, LPARAM)
{
    MoveSelected(1);
    return 0;
}

LRESULT CDlgFontSelect::OnDelete(WPARAM, LPARAM)
{
    const int row = m_selectedFonts.GetCurSel();
    if (row < 0)
        return 0;
    m_selectedFonts.DeleteString(row);
    m_selectedFonts.SetCurSel(std::max(row - 1, 0));
    return 0;
}

void CDlgFontSelect::OnOK()
{
    QStringList rows;
    for (int i = 0; i < m_selectedFonts.GetCount(); ++i)
        rows << m_selectedFonts.GetText(i);
    const int entry = m_genericTyped ? -1 : m_genericFamily.GetCurSel();
    m_fontList = WriteFontFamilyList(rows, entry >= 0 ? int(m_genericFamily.GetItemData(entry)) : 0);
    EndDialog(IDOK);
}

LRESULT CDlgFontSelect::OnGenericTyped(WPARAM, LPARAM)
{
    m_genericTyped = true;
    return 0;
}

LRESULT CDlgFontSelect::OnGenericChosen(WPARAM, LPARAM)
{
    m_genericTyped = false;
    return 0;
}

LRESULT CDlgFontSelect::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
