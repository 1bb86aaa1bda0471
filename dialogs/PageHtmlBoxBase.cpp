#include "dialogs/PageHtmlBoxBase.h"

#include "dialogs/ShowHelp.h"

const MessageMap* CPageHtmlBoxBase::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnNotify(PSN_HELP, &CPageHtmlBoxBase::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageHtmlBoxBase::CPageHtmlBoxBase(UINT templateId, ndb::CNdbStyle* record)
    : CPropertyPage(templateId), m_record(record)
{
}

CPageHtmlBoxBase::~CPageHtmlBoxBase()
{
    DestroyWindow();
}

void CPageHtmlBoxBase::OnOK()
{
    UpdateData(true);
    m_groups.Store();
}

LRESULT CPageHtmlBoxBase::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(GetTemplateId());
    return 0;
}
