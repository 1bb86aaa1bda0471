#include "recipients/WndUsers.h"

#include "base/AppSettings.h"
#include "base/TextHelpers.h"
#include "dialogs/ShowHelp.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WndClass.h"
#include "recipients/DlgUserAdd.h"
#include "recipients/DlgUserImportCsvDelimiter.h"
#include "recipients/DlgUserImportFilter.h"
#include "recipients/DlgUserImportSelect.h"
#include "recipients/KVImportOutlook.h"
#include "recipients/UserClipboard.h"
#include "recipients/UserImport.h"
#include "recipients/UserMerge.h"
#include "recipients/UsersContext.h"

#include <QFile>

#include <set>

namespace
{
constexpr UINT ID_CURBASE_CHANGED = 32889;
constexpr UINT IdImport = 32902;
constexpr UINT IdAdd = 32903;
constexpr UINT IdProperties = 32905;
constexpr UINT IdDelete = 32906;
constexpr UINT IdClearStatus = 32961;
constexpr UINT TooManyCellsText = 40103;
constexpr UINT IdContextDelete = 32962;
constexpr UINT IdSelectAll = 32963;
constexpr UINT IdSelectAllEdit = 32890;
constexpr UINT IdSelectAllOther = 33003;
constexpr UINT IdUpdateDynamic = 32990;
constexpr UINT IdHelp = 32783;
constexpr UINT IdCopy = 57634;
constexpr UINT IdCut = 57635;
constexpr UINT IdPaste = 57637;
constexpr UINT HelpTopic = 32942;
constexpr UINT ContextMenuId = 272;
constexpr UINT ColorStrip = 307;
constexpr int FrameWidth = 19;

struct ColumnSpec
{
    int code;
    int width;
    quint32 title; // 0: a picture column without title
};

constexpr ColumnSpec Columns[] = {
    {600, 20, 0},      {900, 20, 0},      {800, 80, 15300},  {110, 200, 15301}, {120, 100, 15302},
    {130, 200, 15303}, {140, 200, 15304}, {150, 200, 15305}, {160, 100, 15306}, {170, 200, 15307},
    {180, 200, 15308}, {190, 200, 15309}, {200, 200, 15310}, {210, 200, 15311}, {220, 200, 15312},
    {230, 200, 15313}, {240, 200, 15314}, {250, 200, 15315}, {260, 200, 15316}, {270, 200, 15317},
    {280, 200, 15318}, {290, 200, 15319}, {300, 200, 15320}, {310, 200, 15321}, {320, 200, 15322},
    {700, 200, 15323},
};

QString Counted(int count, quint32 one, quint32 many)
{
    return FormatResourceText(LoadAppString(count == 1 ? one : many), {QString::number(count)});
}

void SendToMainWindow(UINT message, WPARAM wParam)
{
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(message, wParam, 0);
}

void ActivateMainWindow()
{
    if (CWnd* main = AfxGetMainWnd())
        main->BringWindowToTop();
}

ndb::CNdbMailGroup* AsMailingList(ndb::CNdbBase* document)
{
    return document && document->GetKind() == ndb::NdbKindMailGroup
               ? static_cast<ndb::CNdbMailGroup*>(document)
               : nullptr;
}

bool IsDynamicList(const ndb::CNdbMailGroup* list)
{
    return list && list->GetFields().find(ndb::MailGroupKind) != list->GetFields().end() &&
           list->GetInt(ndb::MailGroupKind) == ndb::NdbMailGroupDynamic;
}

bool AskYesNo(quint32 text)
{
    return AfxMessageBox(LoadAppString(text), MB_YESNO) == IDYES;
}

// Flags compare by their values, an absent one read as what its absence means (HTML mail and
// enabled true, blocked false); the label by its code; texts exactly.
bool SameValue(const ndb::CNdbUser& values, const ndb::CNdbUser& other, int id)
{
    if (id == ndb::UserHtmlMail || id == ndb::UserBlocked || id == ndb::UserEnabled)
    {
        const bool absentMeans = id != ndb::UserBlocked;
        return values.GetBool(id, absentMeans) == other.GetBool(id, absentMeans);
    }
    if (id == ndb::UserColorLabel)
        return other.GetFields().find(id) != other.GetFields().end() && values.GetInt(id) == other.GetInt(id);
    return values.GetString(id) == other.GetString(id);
}
} // namespace

const MessageMap* CWndUsers::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_LIST_ROW_DBLCLICK, &CWndUsers::OnRowDoubleClick),
        OnMessage(UM_LIST_CONTEXT_MENU, &CWndUsers::OnContextMenu),
        OnMessage(UM_LIST_SELECTION_CHANGED, &CWndUsers::OnSelectionChanged),
        OnMessage(UM_USERS_FILTER_CHANGED, &CWndUsers::OnFilterChanged),
        OnMessage(WM_PAINT, &CWndUsers::OnPaint),
        OnMessage(WM_SIZE, &CWndUsers::OnSize),
        OnCommand(IdAdd, &CWndUsers::OnAddUser),
        OnCommand(IdProperties, &CWndUsers::OnUserProperties),
        OnCommand(IdDelete, &CWndUsers::OnDeleteUsers),
        OnCommand(IdContextDelete, &CWndUsers::OnDeleteUsers),
        OnCommand(IdClearStatus, &CWndUsers::OnClearSendStatus),
        OnCommand(IdCopy, &CWndUsers::OnCopy),
        OnCommand(IdCut, &CWndUsers::OnCut),
        OnCommand(IdPaste, &CWndUsers::OnPaste),
        OnCommand(IdImport, &CWndUsers::OnImport),
        OnCommand(IdSelectAll, &CWndUsers::OnSelectAll),
        OnCommand(IdSelectAllEdit, &CWndUsers::OnSelectAll),
        OnCommand(IdSelectAllOther, &CWndUsers::OnSelectAll),
        OnCommand(IdHelp, &CWndUsers::OnHelp),
        OnUpdateCommand(IdImport, &CWndUsers::OnUpdateChanging),
        OnUpdateCommand(IdAdd, &CWndUsers::OnUpdateChanging),
        OnUpdateCommand(IdProperties, &CWndUsers::OnUpdateChanging),
        OnUpdateCommand(IdDelete, &CWndUsers::OnUpdateChanging),
        OnUpdateCommand(IdUpdateDynamic, &CWndUsers::OnUpdateDynamicUpdate),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

CWndUsers::CWndUsers(IUsersContext* context, BYTE mailingList) : m_context(context), m_toolbar(mailingList) {}

CWndUsers::~CWndUsers()
{
    m_list.DeleteAllRows();
    DestroyWindow();
}

bool CWndUsers::Create(CWnd* parent)
{
    if (!CWnd::Create(AfxRegisterWndClass(0), QString(), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                      CRect(0, 0, 1, 1), parent, 0))
        return false;
    m_toolbar.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP,
                     CRect(0, 0, 1, 1), this, ToolbarId);
    m_list.Create(CRect(0, 0, 1, 1), this);
    m_status.Create(QString(), this, StatusId, 0x000000, BackgroundColor, BackgroundColor);
    for (const ColumnSpec& spec : Columns)
    {
        m_columns.push_back({spec.code, spec.width, spec.title ? LoadAppString(spec.title) : QString()});
        if (m_columns.size() == 1)
        {
            m_list.m_iconColumn = 0;
            m_list.m_iconFrameWidth = FrameWidth;
            if (!m_list.m_iconImage.LoadFromResource(ColorStrip))
                m_list.m_iconColumn = -1;
        }
        else if (m_columns.size() == 2)
        {
            m_list.EnableCheckBoxes();
        }
    }
    AddColumnsToList();
    return true;
}

void CWndUsers::AddColumnsToList()
{
    for (const UserColumn& column : m_columns)
        m_list.AddColumn(column.title, column.width);
    m_list.UpdateScrollBars(true);
}

ndb::CNdbUserList* CWndUsers::GetUserList() const
{
    if (ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter())
        return &newsletter->Users();
    if (ndb::CNdbMailGroup* list = AsMailingList(m_context->GetCurrentDocument()))
        return &list->Users();
    return nullptr;
}

void CWndUsers::ReloadRows()
{
    m_list.DeleteAllRows();
    m_readOnly = IsDynamicList(AsMailingList(m_context->GetCurrentDocument()));
    if (const ndb::CNdbUserList* users = GetUserList())
    {
        m_list.m_rows.reserve(size_t(users->GetCount()));
        for (const auto& user : users->GetUsers())
            AddRow(user.get(), false);
    }
    ApplyFilter(true);
    m_toolbar.ClearFilter();
}

CKVListRow* CWndUsers::AddRow(ndb::CNdbUser* user, bool selected)
{
    auto* row = new CKVListRow;
    row->m_data = user;
    row->m_checked = selected;
    SetRowCells(*row);
    m_list.m_rows.push_back(row);
    return row;
}

void CWndUsers::SetRowCells(CKVListRow& row) const
{
    const QStringList cells = BuildRowCells(*static_cast<const ndb::CNdbUser*>(row.m_data));
    row.m_cells.clear();
    for (int i = 0; i < cells.size(); ++i)
    {
        if (!cells[i].isEmpty())
            row.m_cells[i] = cells[i];
    }
}

QStringList CWndUsers::BuildRowCells(const ndb::CNdbUser& user) const
{
    QStringList cells;
    for (const UserColumn& column : m_columns)
    {
        ndb::CNdbFieldValue value;
        const bool present = user.GetField(column.code, value);
        if (column.code == ndb::UserColorLabel)
            cells << (present ? QString::number(value.GetInt()) : QString());
        else if (column.code == ndb::UserEnabled)
            cells << (user.IsEnabled() ? QString() : QStringLiteral("1"));
        else if (column.code == ndb::UserBlocked)
            cells << SendStatusText(user);
        else if (!present)
            cells << QString();
        else if (value.GetType() == ndb::NdbValueBool)
            cells << LoadAppString(value.GetBool() ? 15328 : 15329);
        else
            cells << value.GetString();
    }
    return cells;
}

QString CWndUsers::SendStatusText(const ndb::CNdbUser& user) const
{
    const ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    const ndb::CNdbLogEntry* entry =
        newsletter ? newsletter->Log().FindEntry(user.GetString(ndb::UserEmail)) : nullptr;
    if (!entry)
        return {};
    switch (entry->GetInt(ndb::LogEntryStatus))
    {
    case ndb::NdbSendSent:
        return LoadAppString(15326);
    case ndb::NdbSendFailed:
    case ndb::NdbSendFailedPermanently:
        return LoadAppString(15327);
    case ndb::NdbSendPending:
        if (entry->GetAttempts() < 2)
            return LoadAppString(15345);
        return FormatResourceText(LoadAppString(15344), {QString::number(entry->GetAttempts())});
    default:
        return {};
    }
}

void CWndUsers::RefreshRows(const ndb::CNdbUserList& users)
{
    std::set<const void*> members;
    for (const auto& user : users.GetUsers())
        members.insert(user.get());
    // Rows the filter hides change too: they show again when the filter does.
    for (CKVListRow* row : m_list.m_rows)
    {
        if (members.count(row->m_data) != 0)
            SetRowCells(*row);
    }
}

void CWndUsers::ApplyFilter(bool reset)
{
    m_list.SetFilter(reset ? QString() : m_list.GetFilterText());
    if (reset)
        m_list.SortByColumn(0, true);
    else
        m_list.SortByColumn(m_list.GetSortColumn(), m_list.IsSortAscending());
    m_list.UpdateScrollBars(false);
    // Every change of the rows ends here, so the list is drawn again from what they hold now.
    InvalidateRows();
}

void CWndUsers::GetSelectedUsers(SelectedUsers& selected) const
{
    for (int i = 0; i < m_list.GetRowCount(); ++i)
    {
        CKVListRow* row = m_list.GetRow(i);
        if (row->m_checked)
            selected[row] = static_cast<ndb::CNdbUser*>(row->m_data);
    }
}

void CWndUsers::UpdateStatusLine()
{
    const int total = int(m_list.m_rows.size());
    QString text = Counted(total, 15331, 15804);
    const int visible = m_list.GetRowCount();
    if (visible != total)
        text += QStringLiteral("   ") + Counted(visible, 15332, 15805);
    const int selected = m_list.GetCheckedCount();
    if (selected != 0)
        text += QStringLiteral("   ") + Counted(selected, 15333, 15806);
    m_status.m_text = text;
    m_status.Invalidate();
}

void CWndUsers::ShowReadOnlyMessage() const
{
    AfxMessageBox(LoadAppString(15324), MB_ICONEXCLAMATION);
}

void CWndUsers::InvalidateRows()
{
    if (QWidget* widget = m_list.GetSafeHwnd())
    {
        const CRect client = m_list.GetListClientRect();
        widget->update(0, CKVList::HeaderHeight, client.Width(),
                       std::max(client.Height() - CKVList::HeaderHeight, 0));
    }
}

void CWndUsers::NotifyDocumentChanged()
{
    SendToMainWindow(WM_COMMAND, ID_CURBASE_CHANGED);
}

bool CWndUsers::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return CWnd::PreTranslateMessage(msg);
    if (msg->wParam == VK_TAB)
    {
        if (m_list.ContainsFocus())
            m_toolbar.GetFilterField()->SetFocus();
        else
            m_list.SetFocus();
        return true;
    }
    if (msg->wParam == VK_DELETE)
        PostMessage(WM_COMMAND, IdDelete, 0);
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CWndUsers::OnRowDoubleClick(WPARAM, LPARAM)
{
    if (m_readOnly)
        ShowReadOnlyMessage();
    else
        PostMessage(WM_COMMAND, IdProperties, 0);
    return 0;
}

LRESULT CWndUsers::OnContextMenu(WPARAM, LPARAM point)
{
    m_list.SetFocus();
    CMenu menu;
    if (!menu.LoadMenu(ContextMenuId))
        return 0;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return 0;
    ndb::CNdbMailGroup* list = AsMailingList(m_context->GetCurrentDocument());
    constexpr UINT Greyed = MF_BYCOMMAND | MF_GRAYED | MF_DISABLED;
    if (list)
        popup->EnableMenuItem(IdClearStatus, Greyed);
    if (IsDynamicList(list))
    {
        for (UINT id : {IdProperties, IdCut, IdPaste, IdContextDelete})
            popup->EnableMenuItem(id, Greyed);
    }
    const UINT command = popup->TrackPopupMenu(TPM_RETURNCMD, GET_X_LPARAM(point), GET_Y_LPARAM(point), this);
    switch (command)
    {
    case IdProperties:
        return OnUserProperties(0, 0);
    case IdClearStatus:
        return OnClearSendStatus(0, 0);
    case IdContextDelete:
        return OnDeleteUsers(0, 0);
    case IdSelectAll:
        return OnSelectAll(0, 0);
    case IdCopy:
        return OnCopy(0, 0);
    case IdCut:
        return OnCut(0, 0);
    case IdPaste:
        return OnPaste(0, 0);
    default:
        return 0;
    }
}

LRESULT CWndUsers::OnSelectionChanged(WPARAM, LPARAM)
{
    UpdateStatusLine();
    return 0;
}

LRESULT CWndUsers::OnFilterChanged(WPARAM, LPARAM text)
{
    m_list.SetFilter(QString::fromUtf16(reinterpret_cast<const char16_t*>(text)));
    m_list.UpdateScrollBars(false);
    UpdateWindow();
    return 0;
}

LRESULT CWndUsers::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, BackgroundColor);
    return 0;
}

LRESULT CWndUsers::OnSize(WPARAM, LPARAM size)
{
    Default();
    if (!m_list.IsWindow())
        return 0;
    const int cx = LOWORD(size);
    const int cy = HIWORD(size);
    const int h = m_toolbar.CalcHeight();
    m_toolbar.MoveWindow(0, 3, cx, h + 3);
    m_list.MoveWindow(0, h + 6, cx, cy - h - 26);
    m_status.MoveWindow(5, cy - 20, cx - 5, 20);
    ApplyFilter(false);
    return 0;
}

bool CWndUsers::EditOneUser(ndb::CNdbUser& user, ndb::CNdbUser& values, int mode) const
{
    const ndb::CNdbUserList* users = GetUserList();
    for (;;)
    {
        CDlgUserAdd dialog(mode, const_cast<CWndUsers*>(this));
        dialog.m_user = values;
        if (dialog.DoModal() != IDOK)
            return false;
        values = dialog.m_user;
        const QString address = values.GetString(ndb::UserEmail);
        if (users && users->FindDuplicateAddress(address, &user))
        {
            AfxMessageBox(LoadAppString(15334), MB_ICONEXCLAMATION);
            continue;
        }
        if (!IsValidEmailAddress(address) && !AskYesNo(15335))
            continue;
        return true;
    }
}

LRESULT CWndUsers::OnAddUser(WPARAM, LPARAM)
{
    if (m_readOnly)
    {
        ShowReadOnlyMessage();
        return 0;
    }
    ndb::CNdbUserList* users = GetUserList();
    if (!users)
        return 0;
    auto user = std::make_unique<ndb::CNdbUser>();
    ndb::CNdbUser values;
    values.RemoveField(ndb::UserId);
    if (!EditOneUser(*user, values, CDlgUserAdd::ModeAdd))
        return 0;
    const QString id = user->GetString(ndb::UserId);
    *user = values;
    user->SetField(ndb::UserId, ndb::CNdbFieldValue(id));
    ndb::CNdbUser* added = user.get();
    {
        const auto lock = m_context->WriteDocument();
        users->AddUser(std::move(user));
    }
    AddRow(added, false);
    ApplyFilter(false);
    NotifyDocumentChanged();
    return 0;
}

LRESULT CWndUsers::OnUserProperties(WPARAM, LPARAM)
{
    if (m_readOnly)
    {
        ShowReadOnlyMessage();
        return 0;
    }
    SelectedUsers selected;
    GetSelectedUsers(selected);
    if (selected.empty())
        return 0;
    ndb::CNdbUser values = *selected.begin()->second;
    for (const auto& [row, user] : selected)
    {
        std::vector<int> differing;
        for (const auto& [id, value] : values.GetFields())
        {
            if (!SameValue(values, *user, id))
                differing.push_back(id);
        }
        for (int id : differing)
            values.RemoveField(id);
    }
    values.RemoveField(ndb::UserId);
    if (selected.size() == 1)
    {
        auto& [row, user] = *selected.begin();
        if (!EditOneUser(*user, values, CDlgUserAdd::ModeEditOne))
            return 0;
        const QString id = user->GetString(ndb::UserId);
        {
            const auto lock = m_context->WriteDocument();
            *user = values;
            user->SetField(ndb::UserId, ndb::CNdbFieldValue(id));
        }
        SetRowCells(*row);
    }
    else
    {
        CDlgUserAdd dialog(CDlgUserAdd::ModeEditSeveral, this);
        dialog.m_user = values;
        if (dialog.DoModal() != IDOK)
            return 0;
        const auto lock = m_context->WriteDocument();
        for (auto& [row, user] : selected)
        {
            for (const auto& [id, value] : dialog.m_user.GetFields())
                user->SetField(id, value);
            if (dialog.IsColorApplied() &&
                dialog.m_user.GetFields().find(ndb::UserColorLabel) == dialog.m_user.GetFields().end())
                user->RemoveField(ndb::UserColorLabel);
            SetRowCells(*row);
        }
    }
    InvalidateRows();
    m_list.UpdateWindow();
    NotifyDocumentChanged();
    return 0;
}

bool CWndUsers::DeleteSelectedUsers(const SelectedUsers& selected)
{
    ndb::CNdbUserList* users = GetUserList();
    if (!users)
        return false;
    std::set<const ndb::CNdbUser*> doomed;
    for (const auto& [row, user] : selected)
        doomed.insert(user);
    {
        const auto lock = m_context->WriteDocument();
        for (auto& user : users->DetachAll())
        {
            if (doomed.count(user.get()) == 0)
                users->AddUser(std::move(user));
        }
    }
    std::vector<CKVListRow*> kept;
    kept.reserve(m_list.m_rows.size());
    for (CKVListRow* row : m_list.m_rows)
    {
        if (selected.count(row) != 0)
            delete row;
        else
            kept.push_back(row);
    }
    m_list.m_rows.swap(kept);
    ApplyFilter(false);
    return !selected.empty();
}

bool CWndUsers::GetSelectionToChange(SelectedUsers& selected)
{
    GetSelectedUsers(selected);
    if (selected.empty())
        return false;
    if (m_readOnly)
        ShowReadOnlyMessage();
    return !m_readOnly;
}

LRESULT CWndUsers::OnDeleteUsers(WPARAM, LPARAM)
{
    SelectedUsers selected;
    if (!GetSelectionToChange(selected) || !AskYesNo(15336))
        return 0;
    DeleteSelectedUsers(selected);
    NotifyDocumentChanged();
    return 0;
}

LRESULT CWndUsers::OnClearSendStatus(WPARAM, LPARAM)
{
    ndb::CNdbNewsletter* newsletter = m_context->GetCurrentNewsletter();
    if (!newsletter)
        return 0;
    SelectedUsers selected;
    if (!GetSelectionToChange(selected) || !AskYesNo(15337))
        return 0;
    {
        const auto lock = m_context->WriteDocument();
        for (const auto& [row, user] : selected)
            newsletter->Log().RemoveEntry(user->GetString(ndb::UserEmail));
    }
    for (const auto& [row, user] : selected)
        SetRowCells(*row);
    InvalidateRows();
    NotifyDocumentChanged();
    return 0;
}

void CWndUsers::CopyUsers(const SelectedUsers& selected)
{
    // The visible order, which the user sees, rather than the order of the row objects.
    ndb::CNdbUserList copies;
    for (int i = 0; i < m_list.GetRowCount(); ++i)
    {
        CKVListRow* row = m_list.GetRow(i);
        if (selected.count(row) != 0)
            copies.AddUser(std::make_unique<ndb::CNdbUser>(*static_cast<ndb::CNdbUser*>(row->m_data)));
    }
    CopyUsersToClipboard(copies);
}

LRESULT CWndUsers::OnCut(WPARAM, LPARAM)
{
    SelectedUsers selected;
    GetSelectedUsers(selected);
    if (selected.empty())
    {
        AfxMessageBox(LoadAppString(15338), MB_ICONEXCLAMATION);
        return 0;
    }
    if (!AskYesNo(15339))
        return 0;
    if (m_readOnly)
    {
        ShowReadOnlyMessage();
        return 0;
    }
    CopyUsers(selected);
    DeleteSelectedUsers(selected);
    NotifyDocumentChanged();
    return 0;
}

LRESULT CWndUsers::OnCopy(WPARAM, LPARAM)
{
    SelectedUsers selected;
    GetSelectedUsers(selected);
    if (!selected.empty())
        CopyUsers(selected);
    return 0;
}

LRESULT CWndUsers::OnPaste(WPARAM, LPARAM)
{
    if (m_readOnly)
    {
        ShowReadOnlyMessage();
        return 0;
    }
    ndb::CNdbUserList pasted;
    TextRows table;
    ReadUsersFromClipboard(
        table, pasted, [this](QChar& delimiter) { return CDlgUserImportCsvDelimiter::Ask(this, delimiter); });
    if (!table.isEmpty() && table.front().size() == 1)
    {
        for (const QStringList& row : table)
        {
            if (row.isEmpty())
                continue;
            auto user = std::make_unique<ndb::CNdbUser>();
            user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(row.front()));
            pasted.AddUser(std::move(user));
        }
    }
    else if (!table.isEmpty())
    {
        CUserImport().Import(pasted, table);
    }
    MergeImportedUsers(pasted);
    NotifyDocumentChanged();
    return 0;
}

bool CWndUsers::ImportFromDocumentFile(int source, ndb::CNdbUserList& imported)
{
    const bool newsletterFile = source == CDlgUserImportSelect::SourceNewsletter;
    const QString filter = LoadAppString(15340) + (newsletterFile ? QStringLiteral(" (*.kvnl)|*.kvnl||")
                                                                  : QStringLiteral(" (*.kvmg)|*.kvmg||"));
    CFileDialog dialog(true, QString(), GetSettingFolder(QStringLiteral("SavePath_Create")),
                       OFN_EXPLORER | OFN_ENABLESIZING, filter, this);
    if (dialog.DoModal() != IDOK)
        return false;
    ndb::CNdbNewsletter newsletter;
    ndb::CNdbMailGroup list;
    const bool loaded =
        newsletterFile ? newsletter.Load(dialog.GetPathName()) : list.Load(dialog.GetPathName());
    if (!loaded)
    {
        AfxMessageBox(LoadAppString(15341), MB_ICONEXCLAMATION);
        return false;
    }
    ndb::CNdbUserList& users = newsletterFile ? newsletter.Users() : list.Users();
    if (users.GetCount() == 0)
    {
        AfxMessageBox(LoadAppString(15342), MB_ICONINFORMATION);
        return false;
    }
    for (auto& user : users.DetachAll())
        imported.AddUser(std::move(user));
    return true;
}

bool CWndUsers::ImportFromTextFile(ndb::CNdbUserList& imported)
{
    CFileDialog dialog(true, QString(), QString(), OFN_EXPLORER | OFN_ENABLESIZING,
                       LoadAppString(15343) + QStringLiteral(" (*.csv;*.txt)|*.csv; *.txt||"), this);
    if (dialog.DoModal() != IDOK)
        return false;
    QFile file(dialog.GetPathName());
    if (!file.open(QIODevice::ReadOnly) || file.size() > TextRowLimits::MaxBytes)
    {
        AfxMessageBox(LoadAppString(15341), MB_ICONEXCLAMATION);
        return false;
    }
    TextRows rows;
    if (!ParseDelimitedTextToRows(rows, DecodeImportText(file.readAll()),
                                  [this](QChar& delimiter)
                                  { return CDlgUserImportCsvDelimiter::Ask(this, delimiter); }))
    {
        AfxMessageBox(LoadAppString(TooManyCellsText), MB_ICONEXCLAMATION);
        return false;
    }
    if (!rows.isEmpty())
        CUserImport().Import(imported, rows);
    return true;
}

LRESULT CWndUsers::OnImport(WPARAM, LPARAM)
{
    if (m_readOnly)
    {
        ShowReadOnlyMessage();
        return 0;
    }
    if (!GetUserList())
        return 0;
    CDlgUserImportSelect select(this);
    if (select.DoModal() != IDOK)
        return 0;
    ndb::CNdbUserList imported;
    switch (select.m_source)
    {
    case CDlgUserImportSelect::SourceNewsletter:
    case CDlgUserImportSelect::SourceMailingList:
        if (!ImportFromDocumentFile(select.m_source, imported))
            return 0;
        break;
    case CDlgUserImportSelect::SourceAddressBook:
        if (!CKVImportOutlook(this).Import(imported))
        {
            ActivateMainWindow();
            return 0;
        }
        break;
    default:
        if (!ImportFromTextFile(imported))
            return 0;
        break;
    }
    MergeImportedUsers(imported);
    NotifyDocumentChanged();
    return 0;
}

void CWndUsers::MergeImportedUsers(ndb::CNdbUserList& imported)
{
    ndb::CNdbUserList* users = GetUserList();
    if (imported.GetCount() == 0 || !users)
        return;
    CDlgUserImportFilter filter(imported, this);
    if (filter.DoModal() != IDOK)
        return;
    CUserMerge merge(*users, filter.IsDisableChosen());
    {
        const auto lock = m_context->WriteDocument();
        merge.Merge(imported);
    }
    if (!merge.GetAddedUsers().empty())
    {
        for (int i = 0; i < m_list.GetRowCount(); ++i)
            m_list.GetRow(i)->m_checked = false;
    }
    for (ndb::CNdbUser* user : merge.GetAddedUsers())
        AddRow(user, true);
    const std::set<const void*> updated(merge.GetUpdatedUsers().begin(), merge.GetUpdatedUsers().end());
    for (CKVListRow* row : m_list.m_rows)
    {
        if (updated.count(row->m_data) != 0)
            SetRowCells(*row);
    }
    ApplyFilter(false);
    UpdateStatusLine();
    ActivateMainWindow();
    AfxMessageBox(merge.GetSummaryText(), merge.GetSummaryIcon());
}

LRESULT CWndUsers::OnSelectAll(WPARAM, LPARAM)
{
    for (int i = 0; i < m_list.GetRowCount(); ++i)
        m_list.GetRow(i)->m_checked = true;
    InvalidateRows();
    UpdateStatusLine();
    return 0;
}

LRESULT CWndUsers::OnHelp(WPARAM, LPARAM)
{
    SendToMainWindow(UM_SHOW_HELP, HelpTopic);
    return 0;
}

void CWndUsers::OnUpdateChanging(CCmdUI* cmdUI)
{
    cmdUI->Enable(!m_readOnly);
}

void CWndUsers::OnUpdateDynamicUpdate(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_readOnly);
}
