#pragma once

#include "platform/ui/Notify.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/Wnd.h"

#include <memory>

class CImageList;
class QLineEdit;
class QTreeWidgetItem;

using HTREEITEM = QTreeWidgetItem*;
// Places for InsertItem besides a sibling to insert after.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(UINT_PTR(-0x0FFFE));

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

constexpr UINT TVN_BEGINDRAGW = UINT(-456);
constexpr UINT TVN_ENDLABELEDITW = UINT(-460);

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEM = 0x0046;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_EXPANDED = 0x0020;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;

constexpr int TVSIL_NORMAL = 0;

struct TVITEM
{
    HTREEITEM hItem = nullptr;
    // The edited label of TVN_ENDLABELEDITW; null when the edit was cancelled.
    const char16_t* pszText = nullptr;
    LPARAM lParam = 0;
};

// TVN_BEGINDRAGW: the item to drag and the point, in the tree's coordinates, where the drag began.
struct NMTREEVIEW
{
    NMHDR hdr;
    TVITEM itemNew;
    CPoint ptDrag;
};

// TVN_ENDLABELEDITW: a nonzero reply takes the new label.
struct NMTVDISPINFO
{
    NMHDR hdr;
    TVITEM item;
};

// A tree view. Items carry a text, a normal and a selected image of the image list, a data
// value and an expanded state. The tree's coordinates are those of its window.
//
// Pressing the left button on an item and moving the pointer a few pixels sends TVN_BEGINDRAGW
// to the parent, which then runs the drag. With TVS_EDITLABELS a click on the selected item
// edits its label; EditLabel starts the editor in any case. Enter or leaving the editor ends the
// edit, Esc cancels it; either way the parent gets TVN_ENDLABELEDITW and decides on the label.
// WM_VSCROLL with SB_LINEUP or SB_LINEDOWN scrolls by one row.
class CTreeCtrl : public CWnd
{
public:
    HTREEITEM InsertItem(const QString& text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM insertAfter = TVI_LAST);
    // Deletes the item with its subtree.
    bool DeleteItem(HTREEITEM item);
    void DeleteAllItems();

    QString GetItemText(HTREEITEM item) const;
    bool SetItemText(HTREEITEM item, const QString& text);
    bool GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    UINT_PTR GetItemData(HTREEITEM item) const;
    bool SetItemData(HTREEITEM item, UINT_PTR data);

    HTREEITEM GetRootItem() const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;

    HTREEITEM GetSelectedItem() const;
    // Null removes the selection.
    bool SelectItem(HTREEITEM item);
    // TVIS_SELECTED, TVIS_DROPHILITED and TVIS_EXPANDED.
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    bool SetItemState(HTREEITEM item, UINT state, UINT mask);
    bool Expand(HTREEITEM item, UINT code);
    // Expands the item's ancestors and scrolls it into view.
    bool EnsureVisible(HTREEITEM item);

    // The item's whole row, or with textOnly the part its label takes.
    bool GetItemRect(HTREEITEM item, CRect* rect, bool textOnly) const;
    // The item in the row at the point, if any; flags tell where the point lies (TVHT_).
    HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;

    QLineEdit* EditLabel(HTREEITEM item);
    // The label editor while an edit runs, else null.
    QLineEdit* GetEditControl() const;

    // A line before or after the item showing where a drop would go; null removes it.
    bool SetInsertMark(HTREEITEM item, bool after = true);
    COLORREF SetInsertMarkColor(COLORREF color);
    COLORREF GetInsertMarkColor() const;
    // Draws the item as a drop target; null clears the highlight.
    bool SelectDropTarget(HTREEITEM item);
    HTREEITEM GetDropHilightItem() const;

    // The list is not owned; images are read from it as items are shown.
    CImageList* SetImageList(CImageList* imageList, int type);
    CImageList* GetImageList(int type) const;
    // A picture of the item's icon and label, as the one image of a new list.
    std::unique_ptr<CImageList> CreateDragImage(HTREEITEM item) const;

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
