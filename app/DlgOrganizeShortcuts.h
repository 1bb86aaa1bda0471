#pragma once

#include "platform/ui/Cursor.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/TreeCtrl.h"
#include "res/dialogs/OrganizeShortcuts.h"

#include <memory>

class QKeyEvent;
class QObject;

namespace ndb
{
class CNdbBase;
class CNdbFolder;
} // namespace ndb

// Arranges one folder tree of the shortcut store: new folders, renaming by label editing,
// deleting, and moving by drag and drop. Every change goes straight into the records; there is
// no undo and no Cancel. The caller saves the store once the dialog has ended.
class CDlgOrganizeShortcuts : public CDialog
{
public:
    static constexpr UINT IDD = IDD_ORGANIZE_SHORTCUTS;

    // The folder is organised in place; it is not shown as an item itself.
    explicit CDlgOrganizeShortcuts(ndb::CNdbFolder* root, CWnd* parent = nullptr);
    ~CDlgOrganizeShortcuts() override;

protected:
    enum DropMode
    {
        DropNone = 0,
        DropBefore = 1,
        DropInto = 2,
        DropAfter = 3,
    };

    bool OnInitDialog() override;
    // Enter never closes the dialog.
    void OnOK() override {}
    void DoDataExchange(CDataExchange* dx) override;
    // While a label is edited, Enter and Esc end the edit and go no further; otherwise F2 starts
    // editing the selected item's label. True when the key is consumed.
    bool PreTranslateKeyDown(const QObject* receiver, const QKeyEvent* key);

    const MessageMap* GetMessageMap() const override;
    LRESULT OnNewFolder(WPARAM, LPARAM);
    LRESULT OnRename(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnBeginDrag(WPARAM, LPARAM);
    LRESULT OnEndLabelEdit(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);

private:
    class KeyFilter;

    ndb::CNdbBase* RecordOf(HTREEITEM item) const;
    void FillTree(const ndb::CNdbFolder& folder, HTREEITEM parent);
    QString UniqueFolderName() const;
    bool IsDropAllowed(HTREEITEM target, const ndb::CNdbFolder* destination) const;
    // Moves the dragged record and its item; false when the drop is not allowed.
    bool MoveDragged();
    HTREEITEM CopyItem(HTREEITEM source, HTREEITEM parent, HTREEITEM insertAfter);
    void EndImageDrag();
    void ShowDragCursor(bool allowed);
    void EndDragMode();

    ndb::CNdbFolder* m_root;
    CImageList m_imageList;
    int m_dropMode = DropNone;
    HTREEITEM m_dropTarget = nullptr;
    ndb::CNdbBase* m_draggedRecord = nullptr;
    HTREEITEM m_draggedItem = nullptr;
    std::unique_ptr<CImageList> m_dragImage;
    CTreeCtrl m_tree;
    QCursor m_moveCursor;
    QCursor m_noDropCursor;
};
