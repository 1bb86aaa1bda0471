#pragma once

#include "controls/KVImageButton.h"
#include "controls/ToolbarItem.h"
#include "platform/ui/IdleLoop.h"
#include "platform/ui/Notify.h"

#include <vector>

// The self-drawn toolbar: one or two rows of one item set at a time, left- and right-aligned
// items, tooltips from the string resources of the command ids, and item states refreshed by the
// main window's command-update handlers on the first idle pass. Derived toolbars add their items
// in WM_CREATE; buttons send their commands straight to the main window.
class CToolbarBase : public CWnd
{
public:
    static constexpr COLORREF BackgroundColor = 0xE6E3E1;
    static constexpr COLORREF LineColor = 0xADAAA9;
    static constexpr UINT TextButtonBackgroundId = 139;

    CToolbarBase();
    ~CToolbarBase() override;

    CKVImageButton* AddButton(UINT stateImageId, UINT commandId, int set, int row, BYTE update,
                              int rightAligned);
    // Always row 0.
    CKVImageButton* AddTextButton(UINT iconImageId, UINT commandId, const QString& text, int set,
                                  int rightAligned, BYTE update);
    // Always set 1, row 0, left-aligned, no idle update.
    CKVImageButton* AddSwatchButton(UINT stateImageId, UINT commandId);

    int CalcHeight() const;
    void HideItemWindows();
    void LayoutRow(int set, int row);
    void SetEditMode();
    // Tooltips on, every item hidden, rows 0 and 1 of the current set laid out.
    void ShowCurrentSet();

    const std::vector<CToolbarItem>& GetItems() const { return m_items; }

    // The tooltip text of a TTN_NEEDTEXTW or TTN_NEEDTEXTA: the string resource of the tool's
    // command id (the control id of a tool given by its window), cut to 79 characters. The tab strip and the
    // tree-in-tab panel answer their tooltips with it too.
    static LRESULT FillToolTipText(NMHDR* header);
    // The parts of it: the tool's command id, and the answer put into the request's own buffer
    // (in the ANSI code page for TTN_NEEDTEXTA).
    static UINT_PTR ToolTipToolId(const NMHDR* header);
    static void WriteToolTipText(NMHDR* header, const QString& text);

    int m_leftMargin = 5;
    int m_topMargin = 1;
    int m_rightMargin = 5;
    int m_bottomMargin = 0;
    int m_gap = 3;
    int m_separatorWidth = 10;
    int m_rowHeight = 24;
    int m_rowPadding = 3;
    int m_rowPitch = 31;
    // Owners may store a set here and then call ShowCurrentSet.
    int m_currentSet = 0;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnIdle(WPARAM, LPARAM count);
    LRESULT OnToolTipText(WPARAM, LPARAM header);

    CKVImageButton* AddButtonItem(std::unique_ptr<CKVImageButton> button, int set, int row, BYTE update,
                                  int rightAligned);

    std::vector<CToolbarItem> m_items;
};
