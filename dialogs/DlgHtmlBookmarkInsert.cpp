#include "dialogs/DlgHtmlBookmarkInsert.h"

#include "dialogs/ShowHelp.h"

namespace
{
constexpr UINT TemplateId = 215;
constexpr int IdName = 1438;
constexpr UINT IdHelp = 1212;
} // namespace

const MessageMap* CDlgHtmlBookmarkInsert::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgHtmlBookmarkInsert::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlBookmarkInsert::CDlgHtmlBookmarkInsert(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgHtmlBookmarkInsert::~CDlgHtmlBookmarkInsert()
{
    DestroyWindow();
}

void CDlgHtmlBookmarkInsert::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdName, m_name);
}

LRESULT CDlgHtmlBookmarkInsert::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
