#include "mailui/PageSenderGeneral.h"

#include "dialogs/ShowHelp.h"
#include "mailui/SenderSettingsImport.h"
#include "ndb/NdbSender.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/DataExchange.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 170;
constexpr int IdSubject = 1157;
constexpr int IdImportance = 1101;
constexpr int IdFromAddress = 1153;
constexpr int IdFromName = 1152;
constexpr int IdOrganization = 1154;
constexpr int IdReplyTo = 1155;
constexpr UINT IdCopySettings = 1578;

constexpr quint32 ImportanceTexts[] = {13300, 13301, 13302};
constexpr SenderImportTexts ImportTexts{13303, 13304, 13305, 13306};
constexpr int AddressFields[] = {SenderFromAddress, SenderFromName, SenderOrganization, SenderReplyTo};
} // namespace

const MessageMap* CPageSenderGeneral::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdCopySettings, &CPageSenderGeneral::OnCopySettings),
        OnNotify(PSN_HELP, &CPageSenderGeneral::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSenderGeneral::CPageSenderGeneral(CNdbSender* sender) : CPropertyPage(TemplateId), m_sender(sender) {}

bool CPageSenderGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    LoadControls();
    return true;
}

void CPageSenderGeneral::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdImportance, m_importanceCombo);
    DDX_Text(dx, IdSubject, m_subject);
    DDX_Text(dx, IdFromAddress, m_fromAddress);
    DDX_Text(dx, IdFromName, m_fromName);
    DDX_Text(dx, IdOrganization, m_organization);
    DDX_Text(dx, IdReplyTo, m_replyTo);
}

void CPageSenderGeneral::LoadControls()
{
    m_fromAddress = m_sender->GetString(SenderFromAddress);
    m_fromName = m_sender->GetString(SenderFromName);
    m_organization = m_sender->GetString(SenderOrganization);
    m_replyTo = m_sender->GetString(SenderReplyTo);
    UpdateData(false);
    m_importanceCombo.ResetContent();
    int selected = -1;
    for (int importance = 0; importance < 3; ++importance)
    {
        const int item = m_importanceCombo.AddString(LoadAppString(ImportanceTexts[importance]));
        m_importanceCombo.SetItemData(item, importance);
        if (importance == m_importance)
            selected = item;
    }
    m_importanceCombo.SetCurSel(selected);
}

void CPageSenderGeneral::OnOK()
{
    UpdateData(true);
    const QString* values[] = {&m_fromAddress, &m_fromName, &m_organization, &m_replyTo};
    for (int i = 0; i < 4; ++i)
        m_sender->SetField(AddressFields[i], CNdbFieldValue(*values[i]));
    TakeImportance();
}

void CPageSenderGeneral::TakeImportance()
{
    const int selected = m_importanceCombo.GetCurSel();
    m_importance = selected < 0 ? 0 : int(m_importanceCombo.GetItemData(selected));
}

LRESULT CPageSenderGeneral::OnCopySettings(WPARAM, LPARAM)
{
    ImportSenderSettings(this, ImportTexts,
                         [this](const CNdbSender& source)
                         {
                             // What the user typed for the subject and importance stays.
                             UpdateData(true);
                             TakeImportance();
                             for (const int id : AddressFields)
                                 m_sender->SetField(id, CNdbFieldValue(source.GetString(id)));
                             LoadControls();
                         });
    return 0;
}

LRESULT CPageSenderGeneral::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
