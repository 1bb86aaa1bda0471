#pragma once

#include "platform/ui/Wnd.h"

// The translucent dark bar that follows the pointer while a splitter or a column is dragged: a
// top-most pop-up over its owner that never takes input or focus.
class CKVSplitterSeparator : public CWnd
{
public:
    bool Create(CWnd* owner, int width);
    // Places the bar at x pixels from the owner's left edge, kept within the owner.
    bool MoveTo(int x);

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);

private:
    int m_width = 0;
    CWnd* m_owner = nullptr;
};
