#include "dialogs/DlgHtmlBookmarkInsert.h"

#include "dialogs/ShowHelp.h"
#include "res/dialogs/HtmlBookmarkInsert.h"

namespace
{
constexpr UINT TemplateId = IDD_HTML_BOOKMARK_INSERT;
constexpr int IdName = IDC_BOOKMARK_INSERT_NAME;
constexpr UINT IdHelp = IDC_HELP;
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
