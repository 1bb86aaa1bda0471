#include "mailui/PageSenderAttachments.h"

#include "base/AppSettings.h"
#include "dialogs/ShowHelp.h"
#include "mailui/AttachmentFiles.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 172;
constexpr int IdList = 1117;
constexpr UINT IdAdd = 1641;
constexpr UINT IdDelete = 1261;
constexpr UINT IdMoveUp = 1644;
constexpr UINT IdMoveDown = 1647;
constexpr UINT IdUpdate = 1649;

constexpr quint32 FileNameText = 13200;
constexpr quint32 FileSizeText = 13201;
constexpr quint32 SizeFormat = 9403;
constexpr quint32 AddFailedText = 13103;
constexpr quint32 DeleteQuestion = 13104;
constexpr int SizeColumnWidth = 120;

const QString FolderSetting = QStringLiteral("SavePath_Attachments");
} // namespace

const MessageMap* CPageSenderAttachments::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdAdd, &CPageSenderAttachments::OnAdd),
        OnCommand(IdDelete, &CPageSenderAttachments::OnDelete),
        OnCommand(IdMoveUp, &CPageSenderAttachments::OnMoveUp),
        OnCommand(IdMoveDown, &CPageSenderAttachments::OnMoveDown),
        OnCommand(IdUpdate, &CPageSenderAttachments::OnUpdate),
        OnNotify(LVN_ITEMCHANGED, &CPageSenderAttachments::OnItemChanged),
        OnNotify(PSN_HELP, &CPageSenderAttachments::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageSenderAttachments::CPageSenderAttachments() : CPropertyPage(TemplateId) {}

QString CPageSenderAttachments::SizeText(int bytes)
{
    const int kilobytes = bytes > 0 ? bytes / 1024 + 1 : 0;
    return LoadAppString(SizeFormat).replace(QStringLiteral("%d"), QString::number(kilobytes));
}

void CPageSenderAttachments::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdList, m_list);
}

bool CPageSenderAttachments::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, LoadAppString(FileNameText), LVCFMT_LEFT, client.Width() - SizeColumnWidth);
    m_list.InsertColumn(1, LoadAppString(FileSizeText), LVCFMT_LEFT, SizeColumnWidth);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    for (const auto& record : m_attachments)
        InsertRow(m_list.GetItemCount(), record.get(), false);
    UpdateButtons();
    return true;
}

void CPageSenderAttachments::InsertRow(int position, CNdbResource* record, bool select)
{
    const int row = m_list.InsertItem(position, record->GetString(ResourceFileName));
    m_list.SetItemText(row, 1, SizeText(record->GetInt(ResourceSize, 0)));
    m_list.SetItemData(row, UINT_PTR(record));
    if (!select)
        return;
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetSelectionMark(row);
}

void CPageSenderAttachments::UpdateButtons()
{
    const int mark = m_list.GetSelectionMark();
    const int count = m_list.GetItemCount();
    DlgItem(IdDelete).EnableWindow(mark >= 0);
    DlgItem(IdMoveUp).EnableWindow(mark > 0);
    DlgItem(IdMoveDown).EnableWindow(mark >= 0 && mark < count - 1);
}

LRESULT CPageSenderAttachments::OnAdd(WPARAM, LPARAM)
{
    AttachmentList added;
    switch (ChooseAttachmentFiles(this, GetSettingFolder(FolderSetting), added))
    {
    case AttachmentChoice::Cancelled:
        return 0;
    case AttachmentChoice::Failed:
        AfxMessageBox(LoadAppString(AddFailedText), MB_OK | MB_ICONERROR);
        return 0;
    case AttachmentChoice::Added:
        break;
    }
    for (size_t i = 0; i < added.size(); ++i)
    {
        InsertRow(m_list.GetItemCount(), added[i].get(), i == 0);
        m_attachments.push_back(std::move(added[i]));
    }
    if (!m_attachments.empty() && !added.empty())
    {
        const QString source = m_attachments[m_attachments.size() - added.size()]->GetString(ResourceSource);
        const qsizetype slash = source.lastIndexOf(u'/');
        WriteAppSettingString(HKEY_CURRENT_USER, FolderSetting, slash < 0 ? source : source.left(slash + 1));
    }
    UpdateButtons();
    return 0;
}

LRESULT CPageSenderAttachments::OnDelete(WPARAM, LPARAM)
{
    const int mark = m_list.GetSelectionMark();
    if (mark < 0)
        return 0;
    const QString question = LoadAppString(DeleteQuestion) + u' ' +
                             m_attachments[size_t(mark)]->GetString(ResourceFileName) + u'?';
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    m_list.DeleteItem(mark);
    m_attachments.erase(m_attachments.begin() + mark);
    m_list.SetSelectionMark(-1);
    UpdateButtons();
    return 0;
}

void CPageSenderAttachments::Move(int from, int to)
{
    CNdbResource* record = m_attachments[size_t(from)].get();
    m_list.DeleteItem(from);
    InsertRow(to, record, true);
    UpdateButtons();
    auto moved = std::move(m_attachments[size_t(from)]);
    m_attachments.erase(m_attachments.begin() + from);
    m_attachments.insert(m_attachments.begin() + to, std::move(moved));
}

LRESULT CPageSenderAttachments::OnMoveUp(WPARAM, LPARAM)
{
    const int mark = m_list.GetSelectionMark();
    if (mark > 0)
        Move(mark, mark - 1);
    return 0;
}

LRESULT CPageSenderAttachments::OnMoveDown(WPARAM, LPARAM)
{
    const int mark = m_list.GetSelectionMark();
    if (mark >= 0 && mark <= m_list.GetItemCount() - 2)
        Move(mark, mark + 1);
    return 0;
}

LRESULT CPageSenderAttachments::OnUpdate(WPARAM, LPARAM)
{
    UpdateButtons();
    return 0;
}

LRESULT CPageSenderAttachments::OnItemChanged(WPARAM, LPARAM)
{
    PostMessage(WM_COMMAND, IdUpdate);
    return 0;
}

LRESULT CPageSenderAttachments::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
