#pragma once

#include "controls/KVTreeTabCtrl.h"
#include "platform/ui/Wnd.h"

#include <vector>

// The column of tree panels in the navigation pane: stacks them, resizes one by its grip, and
// shrinks and regrows them when the column itself changes height.
class CTreeTabGroupCtrl : public CWnd
{
public:
    static constexpr UINT ControlId = 4711;

    CTreeTabGroupCtrl();
    ~CTreeTabGroupCtrl() override;

    bool Create(CWnd* parent);
    void Layout();
    // The height left for the panel when every other panel keeps its height (null: for none).
    int GetFreeHeight(const CKVTreeTabCtrl* panel) const;
    bool IsResizing() const { return m_resized != nullptr; }

    // Owned: the owner appends panels it created as children of the group.
    std::vector<CKVTreeTabCtrl*> m_panels;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnGripPressed(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);

private:
    void ShrinkOrGrow();
    void AbortResize();
    static int HeightOf(const CKVTreeTabCtrl* panel);

    CWnd* m_parent = nullptr;
    CPoint m_dragStart;
    CRect m_dragRect;
    CKVTreeTabCtrl* m_resized = nullptr;
};
