#pragma once

#include "platform/ui/OwnerDraw.h"
#include "platform/ui/Wnd.h"

constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_SETFOCUS = 3;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr int CB_ERR = -1;

// A combo box: a drop-down list (CBS_DROPDOWNLIST) or a drop-down with an edit field
// (CBS_DROPDOWN). The height it is given is the extent of its dropped list; the box itself is as
// high as its selection field. With CBS_SORT entries are kept in case-insensitive order. A choice
// of the user sends CBN_SELCHANGE; the focus entering and leaving the box (its edit field and
// dropped list included) sends CBN_SETFOCUS and CBN_KILLFOCUS. GetWindowText gives the edit
// field's text (a drop-down list: the selected entry's); SetWindowText sets the edit field. Text
// the user types into the edit field sends CBN_EDITCHANGE and changes no selection, also when it
// is an entry's text. Owner-drawn boxes
// (CBS_OWNERDRAWFIXED, CBS_OWNERDRAWVARIABLE) draw every entry and the closed selection field through
// DrawItem, sized by MeasureItem.
class CComboBox : public CWnd
{
public:
    int AddString(const QString& text);
    int GetCount() const;
    int GetCurSel() const;
    // -1 clears the selection; returns CB_ERR for an index out of range.
    int SetCurSel(int index);
    QString GetLBText(int index) const;
    UINT_PTR GetItemData(int index) const;
    int SetItemData(int index, UINT_PTR data);
    // The count of entries left; CB_ERR for an index out of range.
    int DeleteString(int index);
    void ResetContent();
    // The first entry after start (-1: from the beginning) that begins with the text, ignoring case.
    int FindString(int start, const QString& text) const;
    // Selects characters start to end of the edit field (-1 for its end); the caret goes to end.
    bool SetEditSel(int start, int end);
    int SetDroppedWidth(int width);
    int GetDroppedWidth() const;

    virtual void MeasureItem(MEASUREITEMSTRUCT* measure);
    virtual void DrawItem(DRAWITEMSTRUCT* draw);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
    int WindowHeightFor(int requested) override;

private:
    int FieldHeight();

    int m_droppedExtent = 0;
};
