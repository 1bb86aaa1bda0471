#include "recipients/DlgUserImportSelect.h"

#include "dialogs/ShowHelp.h"

namespace
{
constexpr UINT TemplateId = 271;
constexpr int IdFirstSource = 1067;
constexpr UINT IdHelp = 1212;
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
