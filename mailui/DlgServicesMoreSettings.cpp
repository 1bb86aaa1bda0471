#include "mailui/DlgServicesMoreSettings.h"

#include "dialogs/ShowHelp.h"
#include "ndb/NdbSender.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"
#include "services/QorxInstaller.h"
#include "servicesui/DlgCreateMailingList.h"
#include "servicesui/MailingListChoice.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 320;
constexpr int IdFolder = 1622;
constexpr int IdForceEmbedding = 1632;
constexpr UINT IdDefaultLink = 1623;
constexpr UINT IdCustomLink = 1624;
constexpr int IdAddress = 1625;
constexpr int IdMailingList = 1102;
constexpr UINT IdCreateList = 1469;
constexpr int IdMessage = 1626;
constexpr UINT IdHelp = 1212;

constexpr quint32 DefaultMessage = 13001;
constexpr quint32 AddFailed = 15500;
} // namespace

const MessageMap* CDlgServicesMoreSettings::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdDefaultLink, &CDlgServicesMoreSettings::OnUnsubscribeChoice),
        OnCommand(IdCustomLink, &CDlgServicesMoreSettings::OnUnsubscribeChoice),
        OnCommand(IdCreateList, &CDlgServicesMoreSettings::OnCreateMailingList),
        OnCommand(IdHelp, &CDlgServicesMoreSettings::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgServicesMoreSettings::CDlgServicesMoreSettings(CNdbSender* sender, CWnd* parent)
    : CDialog(TemplateId, parent), m_sender(sender)
{
}

bool CDlgServicesMoreSettings::OnInitDialog()
{
    m_folder = m_sender->GetString(SenderWebViewFolder);
    m_forceEmbedding = m_sender->GetBool(SenderOption830, false);
    m_address = m_sender->GetString(SenderWebViewUpload);
    m_unsubscribeChoice = m_address.isEmpty() ? 0 : 1;
    CNdbFieldValue message;
    m_message = m_sender->GetField(SenderUnsubscribeMessage, message) ? message.GetString()
                                                                      : LoadAppString(DefaultMessage);
    CDialog::OnInitDialog();
    EnableAddress();
    FillMailingLists();
    return true;
}

void CDlgServicesMoreSettings::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdMailingList, m_listCombo);
    DDX_Text(dx, IdFolder, m_folder);
    DDX_Check(dx, IdForceEmbedding, m_forceEmbedding);
    DDX_Radio(dx, IdDefaultLink, m_unsubscribeChoice);
    DDX_Text(dx, IdAddress, m_address);
    DDX_Text(dx, IdMessage, m_message);
}

void CDlgServicesMoreSettings::EnableAddress()
{
    DlgItem(IdAddress).EnableWindow(m_unsubscribeChoice == 1);
}

void CDlgServicesMoreSettings::FillMailingLists()
{
    const WaitCursor wait;
    UpdateData(true);
    FillMailingListChoice(m_listCombo, m_listIds, m_sender->GetString(SenderSiteAccess650),
                          m_sender->GetString(SenderSiteAccess630), m_sender->GetString(SenderSiteAccess631),
                          m_sender->GetString(SenderServerListId));
}

LRESULT CDlgServicesMoreSettings::OnUnsubscribeChoice(WPARAM, LPARAM)
{
    UpdateData(true);
    EnableAddress();
    return 0;
}

LRESULT CDlgServicesMoreSettings::OnCreateMailingList(WPARAM, LPARAM)
{
    CDlgCreateMailingList dialog;
    if (dialog.DoModal() != IDOK)
        return 0;
    const QString id = CNdbBase::CreateGuidString();
    QorxResultCode result = 0;
    {
        const WaitCursor wait;
        result = CQorxInstaller().AddMailingList(m_sender->GetString(SenderSiteAccess650),
                                                 m_sender->GetString(SenderSiteAccess630),
                                                 m_sender->GetString(SenderSiteAccess631), id, dialog.m_name);
    }
    if (result != 0)
    {
        AfxMessageBox(LoadAppString(AddFailed), MB_OK | MB_ICONERROR);
        return 0;
    }
    m_sender->SetField(SenderServerListId, CNdbFieldValue(id));
    FillMailingLists();
    return 0;
}

void CDlgServicesMoreSettings::OnOK()
{
    if (!UpdateData(true))
        return;
    m_sender->SetField(SenderWebViewFolder, CNdbFieldValue(m_folder));
    m_sender->SetField(SenderOption830, CNdbFieldValue(NdbValueBool, m_forceEmbedding != 0));
    m_sender->SetField(SenderWebViewUpload, CNdbFieldValue(m_unsubscribeChoice == 1 ? m_address : QString()));
    m_sender->SetField(SenderUnsubscribeMessage, CNdbFieldValue(m_message));
    const int selected = m_listCombo.GetCurSel();
    if (selected >= 0 && m_listCombo.GetItemData(selected) < UINT_PTR(m_listIds.size()))
        m_sender->SetField(SenderServerListId,
                           CNdbFieldValue(m_listIds[int(m_listCombo.GetItemData(selected))]));
    EndDialog(IDOK);
}

LRESULT CDlgServicesMoreSettings::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
