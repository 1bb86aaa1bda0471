#include "dialogs/DlgStyleRename.h"

#include "dialogs/ShowHelp.h"
#include "res/dialogs/StyleRename.h"

namespace
{
constexpr UINT TemplateId = IDD_STYLE_RENAME;
constexpr int IdName = IDC_STYLE_RENAME_NAME;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgStyleRename::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgStyleRename::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgStyleRename::CDlgStyleRename(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgStyleRename::~CDlgStyleRename()
{
    DestroyWindow();
}

void CDlgStyleRename::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdName, m_name);
}

LRESULT CDlgStyleRename::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
