#include "recipients/DlgUserImportCsvDelimiter.h"

#include "dialogs/ShowHelp.h"
#include "platform/ui/Edit.h"
#include "res/dialogs/UserImportCsvDelimiter.h"

namespace
{
constexpr UINT TemplateId = IDD_USER_IMPORT_CSV_DELIMITER;
constexpr int IdFirstChoice = IDC_FIRST_CHOICE;
constexpr int IdOther = IDC_OTHER2;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgUserImportCsvDelimiter::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(EN_UPDATE, IdOther, &CDlgUserImportCsvDelimiter::OnOtherUpdate),
        OnCommand(IdHelp, &CDlgUserImportCsvDelimiter::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgUserImportCsvDelimiter::CDlgUserImportCsvDelimiter(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgUserImportCsvDelimiter::~CDlgUserImportCsvDelimiter()
{
    DestroyWindow();
}

bool CDlgUserImportCsvDelimiter::GetDelimiter(QChar& delimiter) const
{
    switch (m_choice)
    {
    case ChoiceTab:
        delimiter = u'\t';
        return true;
    case ChoiceSemicolon:
        delimiter = u';';
        return true;
    case ChoiceComma:
        delimiter = u',';
        return true;
    case ChoiceSpace:
        delimiter = u' ';
        return true;
    default:
        if (m_other.isEmpty())
            return false;
        delimiter = m_other.front();
        return true;
    }
}

bool CDlgUserImportCsvDelimiter::Ask(CWnd* parent, QChar& delimiter)
{
    CDlgUserImportCsvDelimiter dialog(parent);
    return dialog.DoModal() == IDOK && dialog.GetDelimiter(delimiter);
}

void CDlgUserImportCsvDelimiter::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, IdFirstChoice, m_choice);
    DDX_Text(dx, IdOther, m_other);
}

// Typing always replaces the delimiter by the newest character.
LRESULT CDlgUserImportCsvDelimiter::OnOtherUpdate(WPARAM, LPARAM)
{
    auto* edit = static_cast<CEdit*>(GetDlgItem(IdOther));
    const QString text = edit->GetWindowText();
    if (text.size() > 1)
        edit->SetWindowText(text.right(1));
    edit->SetSel(0, 1);
    return 0;
}

LRESULT CDlgUserImportCsvDelimiter::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
