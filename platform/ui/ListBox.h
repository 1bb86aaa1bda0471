#pragma once

#include "platform/ui/OwnerDraw.h"
#include "platform/ui/Wnd.h"

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr UINT LBN_SELCHANGE = 1;
constexpr UINT LBN_DBLCLK = 2;
constexpr int LB_ERR = -1;

// A list box of single selection. With LBS_SORT rows are kept in case-insensitive order of their
// texts. With LBS_NOTIFY a selection the user makes, by mouse or key, sends LBN_SELCHANGE and a
// double click on a row LBN_DBLCLK; changes made through the calls below send nothing. An
// owner-drawn list (LBS_OWNERDRAWVARIABLE) draws every row through DrawItem, each as high as
// MeasureItem says.
//
// The client area is the part inside the frame and the scroll bar. Mouse messages over it reach
// the window's procedure first; the list then handles the input as usual.
class CListBox : public CWnd
{
public:
    // The index the row got.
    int AddString(const QString& text);
    // At index, or at the end for -1.
    int InsertString(int index, const QString& text);
    // The number of rows left, LB_ERR for an index out of range.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    // LB_ERR when no row is selected.
    int GetCurSel() const;
    // -1 clears the selection; returns LB_ERR for that and for an index out of range.
    int SetCurSel(int index);
    QString GetText(int index) const;
    UINT_PTR GetItemData(int index) const;
    int SetItemData(int index, UINT_PTR data);
    // The row nearest to a point of the client area; outside tells that no row lies under it.
    int ItemFromPoint(CPoint point, bool& outside) const;

    virtual void MeasureItem(MEASUREITEMSTRUCT* measure);
    virtual void DrawItem(DRAWITEMSTRUCT* draw);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;
};
