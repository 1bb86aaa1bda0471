#pragma once

#include "platform/ui/MessageMap.h"
#include "platform/ui/Rect.h"
#include "platform/ui/Size.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>

class CFont;
class CMenu;
class CWnd;
class CWndHostBase;
struct TOOLINFO;
class QEvent;
class QIcon;
class QImage;
class QMenuBar;

// A key press, mouse press or extra-button release on its way to a window, offered for pre-translation first:
// hwnd is the window that would receive it, lParam holds a mouse press's position in hwnd's client area.
struct MSG
{
    CWnd* hwnd = nullptr;
    UINT message = 0; // WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_XBUTTONDOWN or WM_XBUTTONUP
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    QEvent* event = nullptr; // the Qt event behind it
};

// A top-level window's show state and the rectangle it has when it is neither minimised nor
// maximised, in screen coordinates.
struct WINDOWPLACEMENT
{
    int showCmd = SW_SHOWNORMAL;
    CRect rcNormalPosition;
};

// The smallest size a top-level window can be given by the user.
struct MINMAXINFO
{
    CPoint ptMinTrackSize;
};

// A window: a Qt widget driven through a window procedure. SendMessage calls the procedure at
// once; PostMessage queues the message in Qt's event queue. Qt's events reach the procedure as
// the WM_ messages of the same meaning, and a handler that calls Default() hands the event back
// to the widget's own Qt handling. A window's mouse messages never go on to its parent, whatever
// its handlers do; only a disabled window leaves its mouse input to the parent.
class CWnd
{
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    bool Create(const QString& className, const QString& windowName, DWORD style, const CRect& rect,
                CWnd* parent, UINT id);
    // With WS_POPUP the window is a top-level window owned by parentOrOwner, with WS_CHILD a child
    // of it; a window with neither is an overlapped top-level window, and its id, when not 0,
    // names the menu resource shown as its menu bar. A top-level window is asked for its
    // smallest size with WM_GETMINMAXINFO.
    bool CreateEx(DWORD exStyle, const QString& className, const QString& windowName, DWORD style,
                  const CRect& rect, CWnd* parentOrOwner, UINT id);
    void DestroyWindow();
    // Takes over the control with that id of a dialog or window created from a template.
    bool SubclassDlgItem(UINT id, CWnd* parent);

    QWidget* GetSafeHwnd() const { return m_widget; }
    // The widget that holds the child windows: below the menu bar of a window that has one,
    // else the window's own widget.
    QWidget* ClientWidget() const;
    bool IsWindow() const { return !m_widget.isNull(); }
    static CWnd* FromHandle(const QWidget* widget);

    UINT GetDlgCtrlID() const { return m_id; }
    DWORD GetStyle() const { return m_style; }
    CWnd* GetParent() const;
    // The top-level window this window belongs to; itself when it is one.
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int id) const;
    // The control of that id that the code cannot do without. A missing one means the template and
    // its code are out of step: it is reported naming this window and the id on the log category
    // "kelvora.ui.controls" (fatal in a debug build), and a window without a widget stands in, on
    // which every call does nothing.
    CWnd& DlgItem(int id) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Sees key and mouse presses meant for this window or one of its descendants before they are
    // delivered, innermost window first; true consumes the press. The main window also sees those
    // of top-level windows that are not its own, while no modal window is up.
    virtual bool PreTranslateMessage(MSG* msg);
    // Offers a command to this window's map; true when a handler took it. Under the code
    // CN_UPDATE_COMMAND_UI it offers the update of CCmdUI::InProgress() to the update handlers.
    virtual bool OnCmdMsg(UINT id, UINT code);
    // Sends the message to every child window, and with deep to their children too.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool deep = true);
    // Sends a control notification: first to this control's own reflected handler, else to the parent.
    void NotifyParent(UINT code);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    bool KillTimer(UINT_PTR id);

    CWnd* SetCapture();
    static CWnd* GetCapture();
    static bool ReleaseCapture();

    // Returns whether the window was disabled before. Disabling first sends WM_CANCELMODE and
    // releases the capture the window holds.
    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    // A top-level window also takes SW_SHOWNORMAL, SW_RESTORE, SW_SHOWMINIMIZED, SW_MINIMIZE and
    // SW_SHOWMAXIMIZED.
    bool ShowWindow(int command);
    bool IsWindowVisible() const;
    bool GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    void SetFocus();
    // The window that holds the keyboard focus, or the nearest window around the focused widget.
    static CWnd* GetFocus();
    // Whether the focus lies in this window or one of its descendants.
    bool ContainsFocus() const;
    // Centres a top-level window over its owner, or over the primary screen without one.
    void CenterWindow();
    bool IsIconic() const;
    // Raises a top-level window above the others and activates it.
    void BringWindowToTop();
    void SetIcon(const QIcon& icon);
    // Of the extended styles only WS_EX_LAYERED changes a top-level window that exists: with it
    // the window shows only what it paints itself, and what lies behind it shows through wherever
    // that is transparent. It is to be set before the window is first shown.
    void ModifyStyleEx(DWORD remove, DWORD add);
    // Only the constant alpha (LWA_ALPHA) of a top-level window is supported.
    bool SetLayeredWindowAttributes(COLORREF key, BYTE alpha, DWORD flags);

    void Invalidate(bool erase = true);
    void UpdateWindow();
    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;
    void ClientToScreen(CPoint* point) const;
    // Child windows are placed in their parent's client coordinates, top-level windows on the screen.
    void MoveWindow(int x, int y, int width, int height, bool repaint = true);
    void MoveWindow(const CRect& rect, bool repaint = true);
    // Moves or sizes the window, keeping what SWP_NOMOVE or SWP_NOSIZE leave alone; the z-order stays.
    bool SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);

    // With tooltips enabled, a pointer resting over the window or one of its children shows the
    // text of the tool that OnToolHitTest finds there.
    void EnableToolTips(bool enable = true);
    // The tool at a point of the client area: its id, or -1 for none. By default every child
    // window is a tool identified by itself (TTF_IDISHWND) whose text is asked for by TTN_NEEDTEXTW.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* info) const;

    // Shows the menu as the menu bar of this overlapped window; the menu stays the caller's.
    // Choosing an item sends WM_COMMAND to this window.
    bool SetMenu(CMenu* menu);
    CMenu* GetMenu() const { return m_menu; }

    void SetWindowText(const QString& text);
    QString GetWindowText() const;
    void SetFont(CFont* font, bool redraw = true);
    CFont* GetFont() const;

    // The image that a WM_PAINT in progress draws into; null outside painting.
    QImage* PaintTarget() const { return m_paintTarget; }

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message being processed.
    LRESULT Default();
    virtual const MessageMap* GetMessageMap() const;
    // The height a window really takes when it is given that height; a combo box reads the
    // height as the extent of its dropped list.
    virtual int WindowHeightFor(int requested) { return requested; }
    // The Qt widget behind this kind of window.
    virtual QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle);
    // Turns a Qt event into a message; false hands the event to Qt untouched.
    virtual bool TranslateEvent(QEvent* event, bool* result);
    // The window takes over a widget made elsewhere (a dialog template's control).
    void AttachWidget(QWidget* widget, UINT id, DWORD style);

private:
    friend class CWndHostBase;
    struct CurrentMessage
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        QEvent* event;
        bool defaulted;
        bool baseResult;
    };
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, QEvent* event, bool* result);
    bool TranslatePaint(QEvent* event);
    bool ShowToolTip(QEvent* event);
    void OnHostDestroyed();
    bool HasFixedSize() const;
    void ApplyMinimumTrackSize();
    void CreateClientArea();
    // The default closing of a top-level window: it disappears now and is destroyed as soon as
    // the event being handled is done with it.
    void DestroyTopLevelLater();
    // A WM_COMMAND that this window's map does not handle, handed on to the parent.
    LRESULT ForwardCommand(WPARAM wParam, LPARAM lParam);

    QPointer<QWidget> m_widget;
    UINT m_id = 0;
    DWORD m_style = 0;
    CFont* m_font = nullptr;
    QString m_text;
    std::map<int, UINT_PTR> m_timerIds; // Qt timer id -> our id
    std::map<UINT_PTR, int> m_qtTimers; // our id -> Qt timer id
    CurrentMessage* m_current = nullptr;
    QImage* m_paintTarget = nullptr;
    bool m_toolTips = false;
    CMenu* m_menu = nullptr;
    std::unique_ptr<CMenu> m_ownedMenu; // the menu resource named at creation
    QPointer<QWidget> m_clientArea;
    QPointer<QMenuBar> m_menuBar;
};

// The application's main window: buttons and toolbars send their commands to it and run their
// command updates through its OnCmdMsg, where the main window routes them on. Null while no main
// window exists; a main window that is destroyed stops being one. A window named before it is
// created is the main window from then on, so that the children made while it is created know it.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* wnd);
