#pragma once

#include "platform/ui/Notify.h"
#include "platform/ui/Wnd.h"

constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;

constexpr DWORD LVS_EX_CHECKBOXES = 0x0004;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

constexpr int LVSIL_NORMAL = 0;

class CImageList;

constexpr UINT NM_CLICK = UINT(-2);
constexpr UINT NM_DBLCLK = UINT(-3);
constexpr UINT LVN_ITEMCHANGED = UINT(-101);
constexpr UINT LVN_KEYDOWN = UINT(-155);

constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr int LVCFMT_LEFT = 0;

// NM_CLICK and NM_DBLCLK: the row under the pointer, -1 for none.
struct NMITEMACTIVATE
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    CPoint ptAction;
};

// LVN_ITEMCHANGED. A check box that changed gives its row, LVIF_STATE and the state images
// (1 cleared, 2 ticked, in the bits of LVIS_STATEIMAGEMASK); a change of the selection or of
// the focused row gives row -1 and nothing changed.
struct NMLISTVIEW
{
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
};

// LVN_KEYDOWN, sent before the list acts on the key.
struct NMLVKEYDOWN
{
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

// A list view in report form: rows of texts under column headers, each row with a data value.
// With LVS_SORTASCENDING a row is inserted where its text belongs in ascending order, ignoring
// case. Rows are selected whole; a change of the selection, of the focused row or of a row's
// check box (by the user or by SetCheck) sends LVN_ITEMCHANGED. A click on the rows sends NM_CLICK after the
// selection followed it, a double click NM_DBLCLK, and a key press LVN_KEYDOWN before the list moves the
// selection. The selection mark is the row that has the list's focus, while it is selected.
class CListCtrl : public CWnd
{
public:
    int InsertColumn(int column, const QString& heading, int format = LVCFMT_LEFT, int width = -1);
    bool SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;

    // The index the row got, -1 on failure.
    int InsertItem(int item, const QString& text);
    // A row that shows the image of the list's image list before its text.
    int InsertItem(int item, const QString& text, int image);
    // Rows show their images at the list's image size; the list stays the caller's.
    void SetImageList(CImageList* images, int kind);
    bool DeleteItem(int item);
    bool DeleteAllItems();
    int GetItemCount() const;
    bool SetItemText(int item, int subItem, const QString& text);
    QString GetItemText(int item, int subItem) const;
    bool SetItemData(int item, UINT_PTR data);
    UINT_PTR GetItemData(int item) const;
    // LVIS_SELECTED and LVIS_FOCUSED.
    bool SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const;
    // The first row after start (-1: from the top) with all the LVNI_ flags; -1 for none.
    int GetNextItem(int start, UINT flags) const;
    int GetSelectionMark() const;
    int SetSelectionMark(int item);
    // LVS_EX_CHECKBOXES gives rows inserted afterwards a check box, cleared; full-row selection
    // is always on.
    void SetExtendedStyle(DWORD style) { m_extendedStyle = style; }
    DWORD GetExtendedStyle() const { return m_extendedStyle; }
    bool SetCheck(int item, bool checked);
    bool GetCheck(int item) const;

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;

private:
    DWORD m_extendedStyle = 0;
    CImageList* m_images = nullptr;
};
