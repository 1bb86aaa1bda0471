#pragma once

#include "app/ViewBase.h"
#include "controls/TreeTabGroupCtrl.h"

class CKVContext;
class CKVTreeItem;
class CKVTreeTabCtrl;
namespace ndb
{
class CNdbBase;
class CNdbFolder;
} // namespace ndb

// The navigation pane: one group for the newsletter shortcuts and one for the mailing-list
// shortcuts, each a tree of its folder of the shortcut store with a "Create" and an "Organize"
// button. A click on a shortcut opens its document, a click on a folder opens or closes it; the
// context menu opens, deletes and organises; a shortcut dragged onto a folder of its own group
// moves there. Every change of the store is saved at once.
class CViewNav : public CViewBase
{
public:
    static constexpr UINT NewsletterGroupId = 4000;
    static constexpr UINT MailingListGroupId = 4001;
    static constexpr UINT UM_TREE_CLICK = 0x5501;
    static constexpr UINT UM_TREE_BEGIN_DRAG = 0x5502;
    static constexpr UINT UM_TREE_DRAG_OVER = 0x5503;
    static constexpr UINT UM_TREE_DROP = 0x5504;
    static constexpr UINT UM_TREE_CONTEXT_MENU = 0x5505;
    static constexpr UINT ContextMenuId = 223;
    static constexpr UINT ID_NAV_OPEN = 33043;
    static constexpr UINT ID_NAV_DELETE = 32979;
    static constexpr UINT ID_NAV_ORGANIZE = 33045;

    explicit CViewNav(CKVContext* context);
    ~CViewNav() override;

    // Rebuilds the group's tree from the folder and makes the record's item current (none for null).
    void RebuildTree(ndb::CNdbFolder* folder, CKVTreeTabCtrl* group, const ndb::CNdbBase* select);
    CKVTreeTabCtrl* FindTreeTab(UINT id) const;
    // The store's folder that the group shows.
    ndb::CNdbFolder* FolderOfGroup(UINT id) const;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnTreeClick(WPARAM groupId, LPARAM item);
    LRESULT OnTreeBeginDrag(WPARAM groupId, LPARAM item);
    LRESULT OnTreeDragOver(WPARAM, LPARAM);
    LRESULT OnTreeDrop(WPARAM groupId, LPARAM item);
    LRESULT OnTreeContextMenu(WPARAM groupId, LPARAM item);

private:
    CKVTreeTabCtrl* CreateGroup(UINT id, int height, UINT headerImage, UINT createCommand, UINT createIcon,
                                UINT organizeCommand, UINT organizeIcon);
    static void AddItem(CKVTreeItem& parent, ndb::CNdbBase* record);
    void DeleteRecord(UINT groupId, const ndb::CNdbBase* record);
    void SaveStore();

    CKVContext* m_context;
    CTreeTabGroupCtrl m_groupPanel;
    // The item the last drag started from; items die with every rebuild, and so does this.
    CKVTreeItem* m_dragSource = nullptr;
};
