#pragma once

#include "controls/KVImage.h"
#include "controls/KVSystemFont.h"
#include "platform/ui/Wnd.h"

#include <memory>
#include <vector>

// A horizontal strip of image tabs that overlap by 10 pixels. A click on a tab that is not the
// current one makes it current and sends its command (WM_COMMAND, wParam the command id, lParam 0)
// to the notify window; a tab's tooltip is the string of its command id.
class CKVTabButtonList : public CWnd
{
public:
    struct TabRecord
    {
        QString text;
        UINT commandId = 0;
        int textWidth = 0;
        CRect rect;
    };

    CKVTabButtonList();
    ~CKVTabButtonList() override;

    TabRecord* AddTab(const QString& text, UINT commandId);
    // Nothing happens when no tab has that command id.
    void SelectTab(UINT commandId);
    int GetTabHeight() const;
    int GetTabCount() const { return int(m_tabs.size()); }
    const TabRecord* GetTab(int index) const { return m_tabs.at(std::size_t(index)).get(); }

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const override;

    // Set by the owner: the receiver of the tab commands, the tab image (three columns side by side,
    // each a strip of four frames: 0 for a tab, 2 for the current tab) and, if it likes, the current tab.
    CWnd* m_notifyWnd = nullptr;
    CKVImage m_tabImage;
    TabRecord* m_currentTab = nullptr;
    COLORREF m_background = 0x4D433E;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM lParam);
    LRESULT OnToolTipText(WPARAM, LPARAM header);

private:
    void RecalcTabs();
    void DrawTab(Gdiplus::Graphics& graphics, CDC& dc, const TabRecord& tab);
    TabRecord* TabAt(CPoint point) const;

    std::vector<std::unique_ptr<TabRecord>> m_tabs;
    CKVSystemFont m_font{-11, 0};
};
