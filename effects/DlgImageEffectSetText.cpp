#include "effects/DlgImageEffectSetText.h"
#include "res/dialogs/ImageEffectSetText.h"

namespace
{
constexpr UINT TemplateId = IDD_IMAGE_EFFECT_SET_TEXT;
constexpr int IdFirstEdit = IDC_FIRST_EDIT;
constexpr int IdFirstLabel = IDC_FIRST_LABEL;
constexpr int IdNote = IDC_NOTE;
} // namespace

CDlgImageEffectSetText::CDlgImageEffectSetText(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgImageEffectSetText::~CDlgImageEffectSetText()
{
    DestroyWindow();
}

void CDlgImageEffectSetText::DoDataExchange(CDataExchange* dx)
{
    for (int row = 0; row < RowCount; ++row)
        DDX_Text(dx, IdFirstEdit + row, m_texts[row]);
}

bool CDlgImageEffectSetText::OnInitDialog()
{
    for (int row = 0; row < RowCount; ++row)
    {
        DlgItem(IdFirstLabel + row).EnableWindow(m_count > row);
        DlgItem(IdFirstEdit + row).EnableWindow(m_count > row);
    }
    DlgItem(IdNote).ShowWindow(m_count > RowCount ? SW_SHOW : SW_HIDE);
    return CDialog::OnInitDialog();
}
