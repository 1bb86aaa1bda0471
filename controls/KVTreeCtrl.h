#pragma once

#include "controls/KVImage.h"
#include "controls/KVScrollBar.h"
#include "controls/KVSystemFont.h"
#include "controls/KVTreeItem.h"
#include "platform/ui/Wnd.h"

class CDC;

// The owner-drawn tree of the dark navigation pane. It draws and reports; the owner decides:
// clicks go to the notify window, which changes the expanded flags and the selection itself and
// then calls UpdateScrollRange. Moving the pointer with the left button held from an item starts
// a drag of it: the notify window hears of its start, of the moves, and of the drop on the
// item where the button is released (null there when it lands on no item or the drag breaks off).
class CKVTreeCtrl : public CWnd
{
public:
    static constexpr UINT NotifyLeftDown = 0x5501;
    static constexpr UINT NotifyBeginDrag = 0x5502;
    static constexpr UINT NotifyDragOver = 0x5503;
    static constexpr UINT NotifyDrop = 0x5504;
    static constexpr UINT NotifyRightUp = 0x5505;
    static constexpr int RowHeight = 19;
    static constexpr int IconWidth = 34;

    CKVTreeCtrl();
    ~CKVTreeCtrl() override;

    bool Create(const CRect& rect, CWnd* parent, UINT id);
    bool LoadIcons();
    void UpdateScrollRange();
    void EnsureVisible(CKVTreeItem* item);

    int CountRows() const;
    CKVTreeItem* ItemAtRow(int row) const;
    int GetRowOf(const CKVTreeItem* item) const;
    // The item under a client point, null below the last row.
    CKVTreeItem* HitTest(const CPoint& point) const;
    int GetScrollOffset() const;
    bool IsScrollBarShown() const;
    CKVScrollBar& GetScrollBar() { return m_scrollBar; }
    // The tooltip of a client point: -1 without an item, else the item's record as the tool id.
    INT_PTR OnToolHitTest(const CPoint& point, CRect* toolRect) const;
    QString GetToolTipText(INT_PTR toolId);

    CWnd* m_notifyWnd = nullptr;
    CKVTreeItem m_root{QString(), 1, 0, 0};
    CKVTreeItem* m_selected = nullptr;

protected:
    const MessageMap* GetMessageMap() const override;
    bool TranslateEvent(QEvent* event, bool* result) override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnScrolled(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM keys, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnRButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    int PaintItem(CDC& dc, CKVTreeItem* item, int x, int y);

private:
    void Notify(UINT code, CKVTreeItem* item);
    void EndDrag(CKVTreeItem* target);

    CKVScrollBar m_scrollBar;
    CKVSystemFont m_font{0, 0};
    CKVImage m_icons;
    // The press that may become a drag: where it was and the record of its item. The record,
    // not the item: the click may have rebuilt the tree.
    bool m_pressed = false;
    bool m_dragging = false;
    CPoint m_pressPoint;
    void* m_pressData = nullptr;
};
