#include "dialogs/DlgPaletteAddColor.h"

#include "dialogs/DlgFastColorPicker.h"
#include "dialogs/ShowHelp.h"
#include "res/dialogs/PaletteAddColor.h"

namespace
{
constexpr UINT TemplateId = IDD_PALETTE_ADD_COLOR;
constexpr int IdName = IDC_NAME;
constexpr int IdPlaceholder = IDC_PLACEHOLDER;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgPaletteAddColor::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgPaletteAddColor::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgPaletteAddColor::CDlgPaletteAddColor(const QString& caption, const ndb::CNdbColor& color, CWnd* parent)
    : CDialog(TemplateId, parent), m_caption(caption), m_color(color)
{
}

CDlgPaletteAddColor::~CDlgPaletteAddColor()
{
    DestroyWindow();
}

void CDlgPaletteAddColor::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdPlaceholder, m_placeholder);
    DDX_Text(dx, IdName, m_name);
}

bool CDlgPaletteAddColor::OnInitDialog()
{
    CDialog::OnInitDialog();
    // A palette entry is always a plain colour: neither "No Color" nor another palette entry.
    m_colorBox.CreateFromPlaceholder(&m_placeholder, FCP_NO_NOCOLOR | FCP_NO_PALETTE);
    SetColorBoxColor(m_color, &m_colorBox);
    SetWindowText(m_caption);
    return true;
}

void CDlgPaletteAddColor::OnOK()
{
    UpdateData(true);
    m_color = m_colorBox.GetColor();
    EndDialog(IDOK);
}

LRESULT CDlgPaletteAddColor::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
