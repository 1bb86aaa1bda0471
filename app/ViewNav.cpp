#include "app/ViewNav.h"

#include "app/KVContext.h"
#include "app/ShortcutStore.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "controls/KVTreeTabCtrl.h"
#include "ndb/NdbShortcuts.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/SystemParameters.h"
#include "platform/ui/WinApp.h"

namespace
{
constexpr UINT CreateText = 14700;
constexpr UINT OrganizeText = 14701;
constexpr UINT DeleteQuestion = 14702;

constexpr int FolderImage = 2;
constexpr int MailingListImage = 3;
constexpr int NewsletterImage = 0;

ndb::CNdbBase* RecordOf(const CKVTreeItem* item)
{
    return item ? static_cast<ndb::CNdbBase*>(item->m_data) : nullptr;
}

CKVTreeItem* ItemOf(LPARAM lParam)
{
    return reinterpret_cast<CKVTreeItem*>(lParam);
}
} // namespace

const MessageMap* CViewNav::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CViewNav::OnCreate),
        OnMessage(WM_PAINT, &CViewNav::OnPaint),
        OnMessage(WM_SIZE, &CViewNav::OnSize),
        OnMessage(UM_TREE_CLICK, &CViewNav::OnTreeClick),
        OnMessage(UM_TREE_BEGIN_DRAG, &CViewNav::OnTreeBeginDrag),
        OnMessage(UM_TREE_DRAG_OVER, &CViewNav::OnTreeDragOver),
        OnMessage(UM_TREE_DROP, &CViewNav::OnTreeDrop),
        OnMessage(UM_TREE_CONTEXT_MENU, &CViewNav::OnTreeContextMenu),
    };
    static const MessageMap map{CViewBase::GetMessageMap(), entries};
    return &map;
}

CViewNav::CViewNav(CKVContext* context) : m_context(context) {}

CViewNav::~CViewNav()
{
    DestroyWindow();
}

LRESULT CViewNav::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    m_groupPanel.Create(this);
    CreateGroup(NewsletterGroupId, 200, 285, ID_FILE_CREATE_NEWSLETTER, 254, ID_FILE_ORGANIZE_NEWSLETTERS,
                249);
    CreateGroup(MailingListGroupId, 250, 283, ID_FILE_CREATE_MAILING_LIST, 251,
                ID_FILE_ORGANIZE_MAILING_LISTS, 253);
    return 0;
}

CKVTreeTabCtrl* CViewNav::CreateGroup(UINT id, int height, UINT headerImage, UINT createCommand,
                                      UINT createIcon, UINT organizeCommand, UINT organizeIcon)
{
    auto* group = new CKVTreeTabCtrl;
    m_groupPanel.m_panels.push_back(group);
    group->Create(CRect(0, 0, 1, height), id, &m_groupPanel, headerImage);
    // The buttons are the File menu's commands.
    CWnd* mainWnd = GetTopLevelParent();
    group->AddTabButton(createCommand, createIcon, LoadAppString(CreateText), mainWnd);
    group->AddTabButton(organizeCommand, organizeIcon, LoadAppString(OrganizeText), mainWnd);
    group->GetTree().m_notifyWnd = this;
    RebuildTree(FolderOfGroup(id), group, nullptr);
    return group;
}

LRESULT CViewNav::OnPaint(WPARAM, LPARAM)
{
    // The group panel covers the view.
    CPaintDC dc(this);
    return 0;
}

LRESULT CViewNav::OnSize(WPARAM, LPARAM lParam)
{
    Default();
    if (m_groupPanel.IsWindow())
    {
        m_groupPanel.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam), true);
        m_groupPanel.UpdateWindow();
    }
    return 0;
}

CKVTreeTabCtrl* CViewNav::FindTreeTab(UINT id) const
{
    for (CKVTreeTabCtrl* group : m_groupPanel.m_panels)
    {
        if (group->GetDlgCtrlID() == id)
            return group;
    }
    return nullptr;
}

ndb::CNdbFolder* CViewNav::FolderOfGroup(UINT id) const
{
    ndb::CNdbShortcuts& shortcuts = m_context->GetShortcuts();
    return id == NewsletterGroupId ? &shortcuts.Newsletters() : &shortcuts.MailingLists();
}

void CViewNav::RebuildTree(ndb::CNdbFolder* folder, CKVTreeTabCtrl* group, const ndb::CNdbBase* select)
{
    if (!folder || !group)
        return;
    m_dragSource = nullptr;
    CKVTreeCtrl& tree = group->GetTree();
    tree.m_root.DeleteChildren();
    tree.m_selected = nullptr;
    for (const auto& item : folder->GetItems())
        AddItem(tree.m_root, item.get());
    tree.m_selected = select ? tree.m_root.FindByData(select) : nullptr;
    if (tree.m_selected)
        tree.EnsureVisible(tree.m_selected);
    tree.UpdateScrollRange();
    group->Invalidate();
    tree.Invalidate();
}

void CViewNav::AddItem(CKVTreeItem& parent, ndb::CNdbBase* record)
{
    auto* folder = dynamic_cast<ndb::CNdbFolder*>(record);
    int image = NewsletterImage;
    if (folder)
        image = FolderImage;
    else if (auto* link = dynamic_cast<ndb::CNdbShortcutLink*>(record);
             link && link->GetInt(ndb::ShortcutLinkType) == ndb::NdbKindMailGroup)
        image = MailingListImage;
    auto* item = new CKVTreeItem(record->GetName(), folder ? 1 : 0, image, image);
    item->m_data = record;
    parent.m_children.push_back(item);
    if (!folder)
        return;
    for (const auto& child : folder->GetItems())
        AddItem(*item, child.get());
}

LRESULT CViewNav::OnTreeClick(WPARAM groupId, LPARAM lParam)
{
    CKVTreeTabCtrl* group = FindTreeTab(UINT(groupId));
    CKVTreeItem* item = ItemOf(lParam);
    ndb::CNdbBase* record = RecordOf(item);
    if (!group || !record)
        return 0;
    if (dynamic_cast<ndb::CNdbFolder*>(record))
    {
        CKVTreeCtrl& tree = group->GetTree();
        item->m_expanded = !item->m_expanded;
        tree.UpdateScrollRange();
        group->Invalidate();
        tree.Invalidate();
        if (item->m_expanded && item->GetChildCount() > 0)
        {
            // As much of the opened folder as fits, and the folder itself.
            tree.EnsureVisible(item->GetChild(item->GetChildCount() - 1));
            tree.EnsureVisible(item);
        }
        return 0;
    }
    if (record->GetKind() != ndb::NdbKindShortcutLink)
        return 0;
    // Opening rebuilds the trees: the item is gone afterwards.
    if (CWnd* mainWnd = GetTopLevelParent())
        mainWnd->SendMessage(UM_OPEN_SHORTCUT, 0, LPARAM(record));
    return 1;
}

LRESULT CViewNav::OnTreeBeginDrag(WPARAM, LPARAM lParam)
{
    CKVTreeItem* item = ItemOf(lParam);
    if (!item)
        return 0;
    GetSafeHwnd()->window()->setCursor(LoadCursorResource(QStringLiteral("IDC_DRAGMOVE")));
    m_dragSource = item;
    return 0;
}

LRESULT CViewNav::OnTreeDragOver(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CViewNav::OnTreeDrop(WPARAM groupId, LPARAM lParam)
{
    GetSafeHwnd()->window()->unsetCursor();
    CKVTreeTabCtrl* group = FindTreeTab(UINT(groupId));
    auto* target = dynamic_cast<ndb::CNdbFolder*>(RecordOf(ItemOf(lParam)));
    auto* link = dynamic_cast<ndb::CNdbShortcutLink*>(RecordOf(m_dragSource));
    if (!group || !target || !link)
        return 0;
    ndb::CNdbFolder* folder = FolderOfGroup(UINT(groupId));
    // A shortcut moves only within the tree it was dragged from.
    ndb::CNdbFolder* parent = folder->FindParentOf(link);
    if (!parent)
        return 0;
    target->AddItem(parent->DetachItem(link));
    RebuildTree(folder, group, link);
    SaveStore();
    return 0;
}

LRESULT CViewNav::OnTreeContextMenu(WPARAM groupId, LPARAM lParam)
{
    CKVTreeTabCtrl* group = FindTreeTab(UINT(groupId));
    if (!group)
        return 0;
    CKVTreeItem* item = ItemOf(lParam);
    CPoint point;
    GetCursorPos(&point);
    CMenu menu;
    if (!menu.LoadMenu(ContextMenuId) || !menu.GetSubMenu(0))
        return 0;
    CMenu* popup = menu.GetSubMenu(0);
    if (!item)
    {
        popup->EnableMenuItem(ID_NAV_OPEN, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
        popup->EnableMenuItem(ID_NAV_DELETE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    }
    const UINT chosen =
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, this);
    if (chosen == ID_NAV_DELETE && item)
        DeleteRecord(UINT(groupId), RecordOf(item));
    else if (chosen == ID_NAV_OPEN && item)
        OnTreeClick(groupId, lParam);
    else if (chosen == ID_NAV_ORGANIZE)
        if (CWnd* mainWnd = GetTopLevelParent())
            mainWnd->PostMessage(WM_COMMAND, groupId == NewsletterGroupId ? ID_FILE_ORGANIZE_NEWSLETTERS
                                                                          : ID_FILE_ORGANIZE_MAILING_LISTS);
    return 0;
}

void CViewNav::DeleteRecord(UINT groupId, const ndb::CNdbBase* record)
{
    ndb::CNdbFolder* folder = FolderOfGroup(groupId);
    ndb::CNdbFolder* parent = record ? folder->FindParentOf(record) : nullptr;
    if (!parent)
        return;
    const QString question = FormatResourceText(LoadAppString(DeleteQuestion), {record->GetName()});
    if (AfxMessageBox(question, MB_YESNO) != IDYES)
        return;
    // A folder goes with everything in it.
    parent->DeleteItem(record);
    RebuildTree(folder, FindTreeTab(groupId), nullptr);
    SaveStore();
}

void CViewNav::SaveStore()
{
    CShortcutStore(m_context->GetShortcuts()).Save();
}
