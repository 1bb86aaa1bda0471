#include "effects/DlgImageEffectSetText.h"

namespace
{
constexpr UINT TemplateId = 353;
constexpr int IdFirstEdit = 1655;
constexpr int IdFirstLabel = 1661;
constexpr int IdNote = 1660;
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
