#include "recipients/DlgUserImportMapField.h"

#include "dialogs/ShowHelp.h"
#include "recipients/DlgUserImportMap.h"
#include "recipients/RecipientFields.h"
#include "recipients/UserImportProfile.h"
#include "res/dialogs/UserImportMapField.h"

namespace
{
constexpr UINT TemplateId = IDD_USER_IMPORT_MAP_FIELD;
constexpr int IdFieldName = IDC_FIELD_NAME;
constexpr int IdColumns = IDC_USER_IMPORT_MAP_FIELD_COLUMNS;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgUserImportMapField::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgUserImportMapField::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgUserImportMapField::CDlgUserImportMapField(int code, CUserImportProfile& profile, const TextRows& rows,
                                               CWnd* parent)
    : CDialog(TemplateId, parent), m_code(code), m_profile(profile), m_rows(rows)
{
    GetRecipientFieldName(code, m_fieldName);
}

CDlgUserImportMapField::~CDlgUserImportMapField()
{
    DestroyWindow();
}

void CDlgUserImportMapField::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdColumns, m_columns);
    DDX_Text(dx, IdFieldName, m_fieldName);
}

bool CDlgUserImportMapField::OnInitDialog()
{
    CDialog::OnInitDialog();
    const QStringList sample = m_rows.isEmpty() ? QStringList() : m_rows.front();
    for (int column = 0; column < sample.size(); ++column)
        m_columns.AddString(FormatSourceColumn(column, sample[column]));
    const int mapped = m_profile.FindColumn(m_code);
    if (mapped >= 0 && mapped < sample.size())
        m_columns.SetCurSel(mapped);
    return true;
}

void CDlgUserImportMapField::OnOK()
{
    const int selected = m_columns.GetCurSel();
    if (selected >= 0)
        m_profile.SetColumn(m_code, selected);
    CDialog::OnOK();
}

LRESULT CDlgUserImportMapField::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
