#pragma once

#include "controls/KVImage.h"
#include "controls/KVScrollBar.h"
#include "controls/KVSystemFont.h"
#include "controls/KVTreeItem.h"
#include "platform/ui/Wnd.h"

class CDC;

// The owner-drawn tree of the dark navigation pane. It draws and reports; the owner decides:
// clicks go to the notify window, which changes the expanded flags and the selection itself and
// then calls UpdateScrollRange.
class CKVTreeCtrl : public CWnd
{
public:
    static constexpr UINT NotifyLeftDown = 0x5501;
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
    LRESULT OnRButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    int PaintItem(CDC& dc, CKVTreeItem* item, int x, int y);

private:
    CKVScrollBar m_scrollBar;
    CKVSystemFont m_font{0, 0};
    CKVImage m_icons;
};
