#pragma once

#include "controls/KVImage.h"
#include "controls/KVSplitterSeparator.h"
#include "platform/ui/Wnd.h"

// A left and a right pane with a vertical bar between them. Dragging the bar's grip moves the
// bar (a translucent bar follows the pointer; the panes move on release); a click on the grip
// collapses the left pane or brings it back. Commands go to the panes before the splitter.
class CHorizontalSplitterWnd : public CWnd
{
public:
    CHorizontalSplitterWnd();
    ~CHorizontalSplitterWnd() override;

    void RecalcLayout();
    bool OnCmdMsg(UINT id, UINT code) override;

    int GetSplitPosition() const { return m_splitPos; }
    bool IsCollapsed() const { return m_collapsed; }
    // The owner calls RecalcLayout after changing them.
    void SetSplitPosition(int position) { m_splitPos = position; }
    void SetCollapsed(bool collapsed) { m_collapsed = collapsed; }
    int GetBarWidth() const { return m_barWidth; }
    CRect GetGripRect() const;

    // Set by the owner, which calls RecalcLayout after changing them.
    CWnd* m_firstPane = nullptr;
    CWnd* m_secondPane = nullptr;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM lParam);

private:
    static constexpr UINT GripImageId = 129;
    static constexpr int MinimumExpandedPosition = 50;

    int BarLeft() const;
    void EndDrag();

    CKVSplitterSeparator m_dragBar;
    CKVImage m_gripImage;
    Gdiplus::Color m_barColor{0xFF000000};
    int m_barWidth = 10;
    int m_splitPos = 200;
    bool m_collapsed = false;
    CPoint m_pressPoint;
    bool m_dragging = false;
    int m_dragOffset = 0;
};
