#include "dialogs/DlgStyleRename.h"

#include "dialogs/ShowHelp.h"

namespace
{
constexpr UINT TemplateId = 225;
constexpr int IdName = 1460;
constexpr UINT IdHelp = 1212;
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
