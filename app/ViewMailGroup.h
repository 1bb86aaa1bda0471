#pragma once

#include "app/ViewBase.h"
#include "controls/KVImage.h"
#include "recipients/WndUsers.h"

class CKVContext;

// The right-hand pane while a stand-alone mailing list is open: a rounded panel for the list's
// recipients, and the update of a dynamic list from the site's mailing-list service.
class CViewMailGroup : public CViewBase
{
public:
    static constexpr UINT ViewId = 4715;
    static constexpr UINT CornerImage = 226;
    static constexpr COLORREF BackgroundColor = 0x4D433E;
    static constexpr COLORREF FrameColor = 0xE6E3E1;

    explicit CViewMailGroup(CKVContext* context);
    ~CViewMailGroup() override;

    // Created hidden; the main window shows it while a mailing list is open.
    bool Create(CWnd* parent, const CRect& rect);
    void OnDocumentChanged();
    // Replaces the recipients of the open dynamic list by the service's subscribers; on any
    // failure the recipients stay as they were.
    bool UpdateDynamicList();
    CWndUsers& GetUsersWindow() { return m_users; }

    bool OnCmdMsg(UINT id, UINT code) override;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnUpdateDynamicList(WPARAM, LPARAM);
    LRESULT OnSettings(WPARAM, LPARAM);

private:
    CKVContext* m_context;
    CKVImage m_corner;
    CRect m_margins{0, 10, 10, 10};
    CWndUsers m_users;
};
