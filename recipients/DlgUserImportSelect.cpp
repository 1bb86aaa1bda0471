#include "recipients/DlgUserImportSelect.h"

#include "dialogs/ShowHelp.h"
#include "res/dialogs/UserImportSelect.h"

namespace
{
constexpr UINT TemplateId = IDD_USER_IMPORT_SELECT;
constexpr int IdFirstSource = IDC_FIRST_SOURCE;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgUserImportSelect::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgUserImportSelect::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgUserImportSelect::CDlgUserImportSelect(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgUserImportSelect::~CDlgUserImportSelect()
{
    DestroyWindow();
}

void CDlgUserImportSelect::DoDataExchange(CDataExchange* dx)
{
    DDX_Radio(dx, IdFirstSource, m_source);
}

LRESULT CDlgUserImportSelect::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
