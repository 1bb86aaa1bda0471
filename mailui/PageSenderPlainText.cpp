#include "mailui/PageSenderPlainText.h"

#include "dialogs/ShowHelp.h"
#include "platform/ui/DataExchange.h"

namespace
{
constexpr UINT TemplateId = 280;
constexpr int IdText = 1160;
} // namespace

const MessageMap* CPageSenderPlainText::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnNotify(PSN_HELP, &CPageSenderPlainText::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSenderPlainText::CPageSenderPlainText() : CPropertyPage(TemplateId) {}

void CPageSenderPlainText::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IdText, m_text);
}

void CPageSenderPlainText::OnOK()
{
    UpdateData(true);
}

LRESULT CPageSenderPlainText::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
