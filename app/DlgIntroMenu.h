#pragma once

#include "controls/KVImage.h"
#include "platform/ui/Dialog.h"
#include "res/dialogs/IntroMenu.h"

#include <memory>
#include <vector>

class CKVContext;
class CKVImageButton;

// The start menu after the splash and on File > Intro Menu: a frameless, see-through dialog drawn
// from one picture, with picture buttons to create or open a newsletter, for the intro movie,
// the tutorials and the web site, to close, and one button per recent document. It ends with
// the command the main window then runs: create, open, a recent document, or IDCANCEL. The user
// moves it by dragging anywhere outside its buttons.
class CDlgIntroMenu : public CDialog
{
public:
    static constexpr UINT IDD = IDD_INTRO_MENU;
    static constexpr UINT BackgroundImage = 232;
    static constexpr UINT FirstRecentCommand = 32930;
    static constexpr int MaxRecentButtons = 5;

    // The context is not owned; the recent list of its shortcut store is shown.
    CDlgIntroMenu(CKVContext* context, CWnd* parent);
    ~CDlgIntroMenu() override;

    // Runs the menu modally and answers its result.
    static UINT Run(CKVContext* context, CWnd* parent);

    const std::vector<std::unique_ptr<CKVImageButton>>& GetButtons() const { return m_buttons; }
    bool IsDragging() const { return m_dragging; }

protected:
    bool OnInitDialog() override;
    // Commands the menu does not answer itself (the movie and the tutorials) go on to the window
    // that opened it.
    bool OnCmdMsg(UINT id, UINT code) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM point);
    LRESULT OnMouseMove(WPARAM, LPARAM point);
    LRESULT OnLButtonUp(WPARAM, LPARAM point);
    LRESULT OnCaptureLost(WPARAM, LPARAM);
    LRESULT OnEndWithCommand(WPARAM id, LPARAM);
    LRESULT OnVisit(WPARAM, LPARAM);
    LRESULT OnToolTipText(WPARAM, LPARAM header);

private:
    void AddFixedButtons();
    void AddRecentButtons();
    // Puts the window where the drag began, shifted as far as the cursor (screen point) moved.
    void MoveWithCursor(const CPoint& cursor);

    CKVContext* m_context;
    bool m_movable{true};
    CKVImage m_background;
    bool m_dragging{false};
    CRect m_dragStartRect;
    CPoint m_dragStartCursor;
    std::vector<std::unique_ptr<CKVImageButton>> m_buttons;
};
