#pragma once

#include "controls/KVImage.h"
#include "controls/KVImageButton.h"
#include "controls/KVTreeCtrl.h"
#include "platform/ui/Wnd.h"

#include <memory>
#include <vector>

// One framed panel of the navigation pane: a header image, full-width command buttons, a tree
// filling the rest and a footer whose grip asks the group (0x8600) to start a resize. Each button
// shows the string of its command as its tooltip.
class CKVTreeTabCtrl : public CWnd
{
public:
    static constexpr UINT NotifyGripPressed = 0x8600;
    static constexpr UINT FooterImage = 287;
    static constexpr UINT GripImage = 281;
    static constexpr UINT ButtonImage = 247;

    CKVTreeTabCtrl();
    ~CKVTreeTabCtrl() override;

    bool Create(const CRect& rect, UINT id, CWnd* parent, UINT headerImageId);
    void LoadImages(UINT headerImageId);
    void AddTabButton(UINT commandId, UINT iconImageId, const QString& text, CWnd* notifyWnd);
    CKVTreeCtrl& GetTree() { return m_tree; }
    int GetMinHeight() const;
    CRect GetGripRect() const;
    // The grip rectangle grown to about the footer's height: where a press starts a resize.
    CRect GetGripHitRect() const;
    // Where, on the screen, the last press on the grip was: the start of the group's drag.
    CPoint GetGripPressPoint() const { return m_gripPressPoint; }
    int GetButtonCount() const { return int(m_buttons.size()); }
    CKVImageButton* GetButton(int index) const { return m_buttons[size_t(index)].get(); }

    // The height the group restores when it regrows the panel; -1 for none.
    int m_rememberedHeight = -1;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    // A button's tooltip is the string of its command, as on the toolbars.
    LRESULT OnToolTipText(WPARAM, LPARAM header);

private:
    void PlaceChildren(int width, int height);

    CWnd* m_notifyWnd = nullptr;
    UINT m_id = 0;
    std::vector<std::unique_ptr<CKVImageButton>> m_buttons;
    CKVTreeCtrl m_tree;
    CKVImage m_headerImage;
    CKVImage m_footerImage;
    CKVImage m_gripImage;
    CKVImage m_backBuffer;
    Gdiplus::ARGB m_bodyColor = 0xFF6E717B;
    Gdiplus::ARGB m_innerColor = 0xFF3E434D;
    int m_innerMargin = 4;
    CPoint m_gripPressPoint;
};
