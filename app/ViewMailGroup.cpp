#include "app/ViewMailGroup.h"

#include "app/KVContext.h"
#include "app/PanelPainting.h"
#include "controls/DlgProgress.h"
#include "ndb/NdbMailGroup.h"
#include "platform/core/AppStrings.h"
#include "platform/gui/WaitCursor.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WndClass.h"
#include "recipients/DlgMailGroupSettings.h"
#include "recipients/DynamicListReply.h"
#include "services/QorxInstaller.h"
#include "x2/X2Validator.h"

namespace
{
constexpr UINT ID_CURBASE_CHANGED = 32889;
constexpr UINT IdUpdateDynamicList = 32990;
constexpr UINT IdRefresh = 33040;
constexpr UINT IdSettings = 32987;
constexpr quint32 TypeChangeQuestion = 14602;
constexpr quint32 ConnectingText = 14600;
constexpr quint32 RetrievingText = 14601;
constexpr quint32 UpdateFailedText = 14603;

bool IsDynamic(const ndb::CNdbMailGroup& list)
{
    return list.GetInt(ndb::MailGroupKind, ndb::NdbMailGroupNormal) == ndb::NdbMailGroupDynamic;
}
} // namespace

const MessageMap* CViewMailGroup::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CViewMailGroup::OnPaint),
        OnMessage(WM_SIZE, &CViewMailGroup::OnSize),
        OnCommand(IdUpdateDynamicList, &CViewMailGroup::OnUpdateDynamicList),
        OnCommand(IdRefresh, &CViewMailGroup::OnUpdateDynamicList),
        OnCommand(IdSettings, &CViewMailGroup::OnSettings),
    };
    static const MessageMap map{CViewBase::GetMessageMap(), entries};
    return &map;
}

CViewMailGroup::CViewMailGroup(CKVContext* context) : m_context(context), m_users(context, 1) {}

CViewMailGroup::~CViewMailGroup()
{
    DestroyWindow();
}

bool CViewMailGroup::Create(CWnd* parent, const CRect& rect)
{
    if (!CWnd::Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                      parent, ViewId))
        return false;
    m_users.Create(this);
    m_corner.LoadFromResource(CornerImage);
    return true;
}

void CViewMailGroup::OnDocumentChanged()
{
    const ndb::CNdbMailGroup* list = m_context->GetOpenMailingList();
    m_users.ShowWindow(list ? SW_SHOW : SW_HIDE);
    if (list && list->GetBool(ndb::MailGroupAutoUpdate, false))
        SendMessage(WM_COMMAND, IdUpdateDynamicList, 0);
    m_users.ReloadRows();
    Invalidate();
}

bool CViewMailGroup::OnCmdMsg(UINT id, UINT code)
{
    if (m_users.IsWindow() && m_users.IsWindowVisible() && m_users.OnCmdMsg(id, code))
        return true;
    return CViewBase::OnCmdMsg(id, code);
}

LRESULT CViewMailGroup::OnSettings(WPARAM, LPARAM)
{
    ndb::CNdbMailGroup* list = m_context->GetOpenMailingList();
    if (!list)
        return 0;
    CDlgMailGroupSettings dialog(this);
    dialog.m_connected = list->GetBool(ndb::MailGroupDynamicOn, false);
    dialog.m_user = list->GetString(ndb::MailGroupSite200);
    dialog.m_password = list->GetString(ndb::MailGroupSite210);
    dialog.m_siteId = list->GetString(ndb::MailGroupSite10);
    dialog.m_siteName = list->GetString(ndb::MailGroupSite230);
    dialog.m_siteAddress = list->GetString(ndb::MailGroupSite250);
    dialog.m_serviceAddress = list->GetString(ndb::MailGroupSite251);
    dialog.m_listId = list->GetString(ndb::MailGroupServerList270);
    dialog.m_listName = list->GetString(ndb::MailGroupServerList271);
    dialog.m_updateOnOpen = list->GetBool(ndb::MailGroupAutoUpdate, false) ? 1 : 0;
    dialog.m_listType = IsDynamic(*list) ? 1 : 0;
    const bool hadRecipients = !IsDynamic(*list) && list->Users().GetCount() > 0;
    if (dialog.DoModal() != IDOK)
        return 0;
    const bool dynamic = dialog.m_listType == 1;
    if (hadRecipients && dynamic && AfxMessageBox(LoadAppString(TypeChangeQuestion), MB_YESNO) != IDYES)
        return 0;
    {
        const auto lock = m_context->WriteDocument();
        list->SetField(ndb::MailGroupKind, ndb::CNdbFieldValue(ndb::NdbValueMailGroupKind, dynamic ? 1 : 0));
        list->SetField(ndb::MailGroupDynamicOn, ndb::CNdbFieldValue(ndb::NdbValueBool, dialog.m_connected));
        if (dialog.m_connected)
        {
            const std::pair<int, QString> texts[] = {
                {ndb::MailGroupSite10, dialog.m_siteId},
                {ndb::MailGroupSite230, dialog.m_siteName},
                {ndb::MailGroupSite250, dialog.m_siteAddress},
                {ndb::MailGroupSite200, dialog.m_user},
                {ndb::MailGroupSite210, dialog.m_password},
                {ndb::MailGroupSite251, dialog.m_serviceAddress},
                {ndb::MailGroupServerList270, dialog.m_listId},
                {ndb::MailGroupServerList271, dialog.m_listName},
            };
            for (const auto& [field, text] : texts)
                list->SetField(field, ndb::CNdbFieldValue(text));
            list->SetField(ndb::MailGroupAutoUpdate,
                           ndb::CNdbFieldValue(ndb::NdbValueBool, dialog.m_updateOnOpen != 0));
        }
        else
        {
            for (int field :
                 {ndb::MailGroupSite10, ndb::MailGroupSite230, ndb::MailGroupSite250, ndb::MailGroupSite251})
                list->RemoveField(field);
        }
    }
    if (!dynamic)
        m_users.ReloadRows();
    else if (!UpdateDynamicList())
        AfxMessageBox(LoadAppString(UpdateFailedText), MB_ICONEXCLAMATION);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_COMMAND, ID_CURBASE_CHANGED, 0);
    return 0;
}

LRESULT CViewMailGroup::OnUpdateDynamicList(WPARAM, LPARAM)
{
    const ndb::CNdbMailGroup* list = m_context->GetOpenMailingList();
    if (!list || !IsDynamic(*list))
        return 0;
    if (UpdateDynamicList())
    {
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_COMMAND, ID_CURBASE_CHANGED, 0);
    }
    else
    {
        AfxMessageBox(LoadAppString(UpdateFailedText), MB_ICONEXCLAMATION);
    }
    return 0;
}

bool CViewMailGroup::UpdateDynamicList()
{
    ndb::CNdbMailGroup* list = m_context->GetOpenMailingList();
    if (!list)
        return false;
    const WaitCursor wait;
    CDlgProgress progress(this, this);
    progress.m_caption = LoadAppString(ConnectingText);
    progress.m_status = LoadAppString(RetrievingText);
    progress.Create(CDlgProgress::IDD, this);
    progress.SetProgressRange(1);
    progress.SetProgressPos(0);
    progress.ShowWindow(SW_SHOW);
    progress.UpdateWindow();
    const QString service = list->GetString(ndb::MailGroupSite251);
    if (service.isEmpty())
        return false;
    const QString query = BuildDynamicListQuery(service, list->GetString(ndb::MailGroupSite200),
                                                list->GetString(ndb::MailGroupSite210),
                                                list->GetString(ndb::MailGroupServerList270));
    CX2Validator reply;
    if (CQorxInstaller().FetchXml(reply, query) != QorxResult::Success)
        return false;
    progress.SetProgressPos(1);
    ndb::CNdbUserList subscribers;
    if (!ReadDynamicListReply(reply, subscribers))
        return false;
    {
        const auto lock = m_context->WriteDocument();
        list->Users().DeleteAll();
        for (auto& user : subscribers.DetachAll())
            list->Users().AddUser(std::move(user));
    }
    m_users.ReloadRows();
    return true;
}

LRESULT CViewMailGroup::OnSize(WPARAM, LPARAM)
{
    Default();
    if (!m_users.IsWindow())
        return 0;
    CRect client;
    GetClientRect(&client);
    const int a = m_corner.GetWidth() / 2;
    const int b = m_corner.GetHeight() / 2;
    const CRect place(client.left + m_margins.left + a, client.top + m_margins.top,
                      client.right - m_margins.right - a, client.bottom - m_margins.bottom - b);
    m_users.MoveWindow(place.left, place.top, place.Width(), place.Height());
    return 0;
}

LRESULT CViewMailGroup::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    // The layer sends no WM_ERASEBKGND: the background is filled here.
    dc.FillSolidRect(client, BackgroundColor);
    const CRect panel(client.left + m_margins.left, client.top + m_margins.top,
                      client.right - m_margins.right, client.bottom - m_margins.bottom);
    PanelPainting::DrawBorders(dc, panel, m_corner.GetWidth() / 2, m_corner.GetHeight() / 2, FrameColor);
    for (const PanelPainting::Corner corner : {PanelPainting::TopLeft, PanelPainting::BottomLeft,
                                               PanelPainting::BottomRight, PanelPainting::TopRight})
        PanelPainting::DrawCorner(dc, m_corner, panel, corner, BackgroundColor);
    return 0;
}
