#include "platform/ui/Wnd.h"

#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/LayeredWindow.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Notify.h"
#include "platform/ui/PreTranslateFilter.h"
#include "platform/ui/WndClientArea.h"
#include "platform/ui/WndHost.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTimerEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cxxabi.h>
#include <memory>
#include <utility>
#include <vector>

namespace
{
Q_LOGGING_CATEGORY(controlsLog, "kelvora.ui.controls")

CWnd* g_capture = nullptr;
CWnd* g_mainWnd = nullptr;
QPointer<QWidget> g_mainWidget;
// Set while the main window is named but its widget is still being made.
bool g_mainWndPending = false;

const QEvent::Type PostedMessageType = QEvent::Type(QEvent::registerEventType());

class PostedMessageEvent : public QEvent
{
public:
    PostedMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(PostedMessageType), message(message), wParam(wParam), lParam(lParam)
    {
    }
    // A nested wait holds posted messages and posts copies once it is over.
    PostedMessageEvent* clone() const override { return new PostedMessageEvent(*this); }
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

WPARAM MouseKeyState(const QMouseEvent* e)
{
    WPARAM keys = 0;
    if (e->buttons() & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (e->buttons() & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (e->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return keys;
}

bool IsMouseInput(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

// Keys that type a character give WM_CHAR; Delete types none although Qt gives it a text.
bool TypesCharacter(const QKeyEvent* e)
{
    return !e->text().isEmpty() && e->key() != Qt::Key_Delete && e->text().at(0) != QChar(0x7F);
}

void ShowTopLevel(QWidget* widget, int command)
{
    switch (command)
    {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        widget->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        widget->showMaximized();
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        widget->showNormal();
        break;
    default:
        widget->show();
        break;
    }
}

// The class of the window as its source names it.
QString ClassName(const CWnd& window)
{
    const char* mangled = typeid(window).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    return QString::fromLatin1(status == 0 ? name.get() : mangled);
}
} // namespace

bool CWndHostBase::Route(QEvent* event, bool* result)
{
    return m_wnd && m_wnd->TranslateEvent(event, result);
}

void CWndHostBase::Detach()
{
    if (m_wnd)
        m_wnd->OnHostDestroyed();
    m_wnd = nullptr;
}

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    DestroyWindow();
}

bool CWnd::Create(const QString& className, const QString& windowName, DWORD style, const CRect& rect,
                  CWnd* parent, UINT id)
{
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

bool CWnd::CreateEx(DWORD exStyle, const QString&, const QString& windowName, DWORD style, const CRect& rect,
                    CWnd* parentOrOwner, UINT id)
{
    if (IsWindow())
        return false;
    QWidget* parentWidget = parentOrOwner ? parentOrOwner->ClientWidget() : nullptr;
    if ((style & WS_CHILD) && !parentWidget)
        return false;
    QWidget* widget = CreateHostWidget(parentWidget, style, exStyle);
    if (!widget)
        return false;
    CPreTranslateFilter::Install();
    const bool overlapped = !(style & (WS_CHILD | WS_POPUP));
    std::unique_ptr<CMenu> menu;
    if (overlapped && id != 0)
    {
        menu = std::make_unique<CMenu>();
        if (!menu->LoadMenu(id))
        {
            delete widget;
            return false;
        }
    }
    AttachWidget(widget, overlapped ? 0 : id, style);
    if (menu)
    {
        m_ownedMenu = std::move(menu);
        SetMenu(m_ownedMenu.get());
    }
    if (!windowName.isEmpty())
        SetWindowText(windowName);
    MoveWindow(rect, false);
    if (style & WS_DISABLED)
        widget->setEnabled(false);
    if (widget->isWindow())
        ApplyMinimumTrackSize();
    if (SendMessage(WM_CREATE) == -1)
    {
        DestroyWindow();
        return false;
    }
    // Qt would show a child that was never hidden together with its parent.
    if (style & WS_VISIBLE)
        widget->show();
    else if (!widget->isWindow())
        widget->hide();
    return true;
}

QWidget* CWnd::CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle)
{
    if (!(style & WS_POPUP))
        return new CWndHost<QWidget>(this, parent);
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    if (exStyle & WS_EX_NOACTIVATE)
        flags |= Qt::WindowDoesNotAcceptFocus;
    QWidget* owner = parent ? parent->window() : nullptr;
    if (exStyle & WS_EX_LAYERED)
        return CreateLayeredHost(this, owner, flags);
    auto* widget = new CWndHost<QWidget>(this, owner, flags);
    if (exStyle & WS_EX_NOACTIVATE)
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
    return widget;
}

void CWnd::AttachWidget(QWidget* widget, UINT id, DWORD style)
{
    m_widget = widget;
    m_id = id;
    m_style = style;
    if (auto* host = dynamic_cast<CWndHostBase*>(widget))
        host->Attach(this);
    if (g_mainWndPending && g_mainWnd == this)
    {
        g_mainWidget = widget;
        g_mainWndPending = false;
    }
}

void CWnd::DestroyWindow()
{
    if (!m_widget)
        return;
    QWidget* widget = m_widget;
    OnHostDestroyed();
    if (auto* host = dynamic_cast<CWndHostBase*>(widget))
        host->Attach(nullptr);
    delete widget;
}

void CWnd::OnHostDestroyed()
{
    if (g_capture == this)
        g_capture = nullptr;
    m_timerIds.clear();
    m_qtTimers.clear();
    m_widget = nullptr;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    CWnd* item = parent ? parent->GetDlgItem(int(id)) : nullptr;
    if (!item || item == this || IsWindow())
        return false;
    QWidget* widget = item->m_widget;
    const DWORD style = item->m_style;
    CFont* font = item->m_font;
    item->m_widget = nullptr;
    AttachWidget(widget, id, style);
    m_font = font;
    return true;
}

CWnd* CWnd::FromHandle(const QWidget* widget)
{
    if (const auto* clientArea = dynamic_cast<const CWndClientArea*>(widget))
        return clientArea->Wnd();
    const auto* host = dynamic_cast<const CWndHostBase*>(widget);
    return host ? host->Wnd() : nullptr;
}

QWidget* CWnd::ClientWidget() const
{
    return m_clientArea ? m_clientArea.data() : m_widget.data();
}

CWnd* CWnd::GetParent() const
{
    if (!m_widget)
        return nullptr;
    return FromHandle(m_widget->parentWidget());
}

CWnd* CWnd::GetTopLevelParent() const
{
    return m_widget ? FromHandle(m_widget->window()) : nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const
{
    if (!m_widget)
        return nullptr;
    for (QObject* child : ClientWidget()->children())
    {
        CWnd* wnd = child->isWidgetType() ? FromHandle(static_cast<QWidget*>(child)) : nullptr;
        if (wnd && wnd->m_id == UINT(id))
            return wnd;
    }
    return nullptr;
}

CWnd& CWnd::DlgItem(int id) const
{
    if (CWnd* item = GetDlgItem(id))
        return *item;
    const QString report = QStringLiteral("%1 \"%2\" has no control with id %3")
                               .arg(ClassName(*this), m_widget ? m_widget->windowTitle() : QString())
                               .arg(id);
#ifdef NDEBUG
    qCCritical(controlsLog).noquote() << report;
#else
    qFatal("%s", qPrintable(report));
#endif
    static CWnd standIn;
    return standIn;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A handler's Default() hands a sent message to the default handling too.
    CurrentMessage current{message, wParam, lParam, nullptr, false, false};
    CurrentMessage* outer = std::exchange(m_current, &current);
    const LRESULT result = WindowProc(message, wParam, lParam);
    m_current = outer;
    return result;
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_widget)
        return false;
    QCoreApplication::postEvent(m_widget, new PostedMessageEvent(message, wParam, lParam));
    return true;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
    {
        // A menu's or an accelerator's command (no control in lParam) is a plain command; the
        // high word only tells where it came from.
        const UINT code = lParam ? HIWORD(wParam) : 0;
        if (OnCmdMsg(LOWORD(wParam), code))
            return 0;
        return ForwardCommand(wParam, lParam);
    }
    const UINT code = message == WM_NOTIFY && lParam ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
    if (const MessageMapEntry* entry = GetMessageMap()->Find(message, code, 0))
        return (this->*entry->handler)(wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

bool CWnd::OnCmdMsg(UINT id, UINT code)
{
    const MessageMapEntry* entry = GetMessageMap()->Find(WM_COMMAND, code, id);
    if (!entry)
        return false;
    if (code == CN_UPDATE_COMMAND_UI)
    {
        CCmdUI* cmdUI = CCmdUI::InProgress();
        if (!cmdUI || !entry->updateHandler)
            return false;
        (this->*entry->updateHandler)(cmdUI);
        return true;
    }
    if (!entry->handler)
        return false;
    (this->*entry->handler)(MAKEWPARAM(id, code), 0);
    return true;
}

LRESULT CWnd::ForwardCommand(WPARAM wParam, LPARAM lParam)
{
    // A child window hands on what it does not handle, as a toolbar hands its buttons' commands to
    // the window it belongs to; a top-level window ends the road. A window that sends the command
    // back down to the child that forwarded it would loop: that second pass ends here. Only
    // commands travel; a control's notification (an edit's change, say) stays with its parent.
    static std::vector<std::pair<const CWnd*, WPARAM>> forwarding;
    const bool isCommand = HIWORD(wParam) == 0;
    CWnd* parent = isCommand && m_widget && !m_widget->isWindow() ? GetParent() : nullptr;
    const std::pair<const CWnd*, WPARAM> step{this, wParam};
    if (!parent || std::find(forwarding.begin(), forwarding.end(), step) != forwarding.end())
        return DefWindowProc(WM_COMMAND, wParam, lParam);
    forwarding.push_back(step);
    const LRESULT result = parent->SendMessage(WM_COMMAND, wParam, lParam);
    forwarding.pop_back();
    return result;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, bool deep)
{
    if (!m_widget)
        return;
    // A handler may create or destroy windows: walk a snapshot and skip what went away.
    QList<QPointer<QWidget>> children;
    for (QObject* child : ClientWidget()->children())
    {
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            children.append(static_cast<QWidget*>(child));
    }
    for (const QPointer<QWidget>& child : children)
    {
        CWnd* wnd = child ? FromHandle(child) : nullptr;
        if (wnd)
            wnd->SendMessage(message, wParam, lParam);
        if (deep && child && (wnd = FromHandle(child)))
            wnd->SendMessageToDescendants(message, wParam, lParam, true);
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM, LPARAM)
{
    CurrentMessage* current = m_current;
    if (message == WM_CLOSE)
    {
        // Closed by the window manager or by a posted WM_CLOSE, a window is destroyed; Qt's own
        // handling of the close event would only hide it and leave the program running.
        if (current && current->message == WM_CLOSE && current->event && !current->defaulted)
        {
            current->defaulted = true;
            current->baseResult = true;
            current->event->accept();
        }
        DestroyTopLevelLater();
        return 0;
    }
    if (current && current->message == message && current->event && !current->defaulted)
    {
        current->defaulted = true;
        auto* host = dynamic_cast<CWndHostBase*>(m_widget.data());
        current->baseResult = host && host->BaseEvent(current->event);
        return 0;
    }
    if (message == WM_CANCELMODE && g_capture == this)
        ReleaseCapture();
    return 0;
}

void CWnd::DestroyTopLevelLater()
{
    if (!m_widget || !m_widget->isWindow())
        return;
    m_widget->hide();
    m_widget->deleteLater();
}

LRESULT CWnd::Default()
{
    if (!m_current)
        return 0;
    return DefWindowProc(m_current->message, m_current->wParam, m_current->lParam);
}

const MessageMap* CWnd::GetMessageMap() const
{
    static const MessageMap map{nullptr, {}};
    return &map;
}

void CWnd::NotifyParent(UINT code)
{
    const WPARAM wParam = MAKEWPARAM(m_id, code);
    if (const MessageMapEntry* entry = GetMessageMap()->Find(OCM_COMMAND, code, 0))
    {
        (this->*entry->handler)(wParam, LPARAM(this));
        return;
    }
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, wParam, LPARAM(this));
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, QEvent* event, bool* result)
{
    CurrentMessage current{message, wParam, lParam, event, false, false};
    CurrentMessage* outer = m_current;
    m_current = &current;
    WindowProc(message, wParam, lParam);
    m_current = outer;
    if (current.defaulted && IsMouseInput(event->type()))
    {
        // Qt's base handler ignores most mouse events and Qt then offers them to the parent
        // widget; a window's mouse messages are its own, so the parent never sees them. Only a
        // disabled window leaves its mouse input to the parent, and it never gets this far.
        event->accept();
        *result = true;
    }
    else if (current.defaulted)
    {
        *result = current.baseResult;
    }
    else
    {
        // A consumed close keeps the window open; only the default handling closes it.
        if (event->type() == QEvent::Close)
            event->ignore();
        else
            event->accept();
        *result = true;
    }
    return true;
}

bool CWnd::TranslateEvent(QEvent* event, bool* result)
{
    // A disabled window gets no mouse input; Qt passes it on to the parent.
    if (event->isPointerEvent() && m_widget && !m_widget->isEnabled())
        return false;
    switch (event->type())
    {
    case QEvent::Paint:
        if (!TranslatePaint(event))
            return false;
        *result = true;
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    {
        auto* e = static_cast<QMouseEvent*>(event);
        const bool down = event->type() != QEvent::MouseButtonRelease;
        UINT message = 0;
        if (e->button() == Qt::LeftButton)
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        else if (e->button() == Qt::RightButton)
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        if (!message)
            return false;
        const QPoint p = e->position().toPoint();
        return Dispatch(message, MouseKeyState(e), MAKELPARAM(p.x(), p.y()), event, result);
    }
    case QEvent::MouseMove:
    {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = e->position().toPoint();
        return Dispatch(WM_MOUSEMOVE, MouseKeyState(e), MAKELPARAM(p.x(), p.y()), event, result);
    }
    case QEvent::KeyPress:
    {
        auto* e = static_cast<QKeyEvent*>(event);
        SetDispatchedKeyModifiers(e->modifiers());
        const bool typed = TypesCharacter(e);
        Dispatch(typed ? WM_CHAR : WM_KEYDOWN,
                 typed ? WPARAM(e->text().at(0).unicode()) : VirtualKeyFromQt(e->key()), 1, event, result);
        SetDispatchedKeyModifiers(Qt::NoModifier);
        return true;
    }
    case QEvent::Timer:
    {
        const auto it = m_timerIds.find(static_cast<QTimerEvent*>(event)->timerId());
        if (it == m_timerIds.end())
            return false;
        SendMessage(WM_TIMER, it->second, 0);
        *result = true;
        return true;
    }
    case QEvent::Resize:
    {
        // Below a menu bar the client area reports its own size.
        if (m_clientArea)
            return false;
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        return Dispatch(WM_SIZE, 0, MAKELPARAM(size.width(), size.height()), event, result);
    }
    case QEvent::FocusIn:
        return Dispatch(WM_SETFOCUS, 0, 0, event, result);
    case QEvent::FocusOut:
        return Dispatch(WM_KILLFOCUS, 0, 0, event, result);
    case QEvent::EnabledChange:
        return Dispatch(WM_ENABLE, m_widget && m_widget->isEnabled() ? 1 : 0, 0, event, result);
    case QEvent::Close:
        return Dispatch(WM_CLOSE, 0, 0, event, result);
    case QEvent::ToolTip:
        if (!m_toolTips)
            return false;
        *result = ShowToolTip(event);
        return true;
    default:
        if (event->type() == PostedMessageType)
        {
            auto* e = static_cast<PostedMessageEvent*>(event);
            SendMessage(e->message, e->wParam, e->lParam);
            *result = true;
            return true;
        }
        return false;
    }
}

bool CWnd::TranslatePaint(QEvent* event)
{
    if (!GetMessageMap()->Find(WM_PAINT, 0, 0) || !m_widget)
        return false;
    const qreal ratio = m_widget->devicePixelRatioF();
    QImage buffer(m_widget->size() * ratio, QImage::Format_ARGB32);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(Qt::transparent);
    QImage* outer = m_paintTarget;
    m_paintTarget = &buffer;
    bool result = false;
    Dispatch(WM_PAINT, 0, 0, event, &result);
    m_paintTarget = outer;
    if (m_widget)
    {
        QPainter painter(m_widget);
        painter.drawImage(0, 0, buffer);
    }
    return true;
}

void CWnd::EnableToolTips(bool enable)
{
    m_toolTips = enable;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* info) const
{
    if (!m_widget)
        return -1;
    for (QObject* child : ClientWidget()->children())
    {
        auto* widget = child->isWidgetType() ? static_cast<QWidget*>(child) : nullptr;
        CWnd* wnd = widget && !widget->isWindow() && widget->isVisible() ? FromHandle(widget) : nullptr;
        if (!wnd || !widget->geometry().contains(point.ToQPoint()))
            continue;
        info->hwnd = const_cast<CWnd*>(this);
        info->uId = UINT_PTR(wnd);
        info->uFlags |= TTF_IDISHWND;
        info->rect = CRect::FromQRect(widget->geometry());
        return INT_PTR(wnd->GetDlgCtrlID());
    }
    return -1;
}

bool CWnd::ShowToolTip(QEvent* event)
{
    auto* help = static_cast<QHelpEvent*>(event);
    TOOLINFO info;
    QString text;
    if (OnToolHitTest(CPoint(help->pos()), &info) != -1)
    {
        if (info.text)
        {
            text = *info.text;
        }
        else
        {
            TOOLTIPTEXTW notify;
            notify.hdr = {info.hwnd, info.uId, TTN_NEEDTEXTW};
            notify.uFlags = info.uFlags;
            SendMessage(WM_NOTIFY, WPARAM(info.uId), LPARAM(&notify));
            text = notify.lpszText ? QString::fromUtf16(notify.lpszText) : QString::fromUtf16(notify.szText);
        }
    }
    if (text.isEmpty())
    {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(help->globalPos(), text, m_widget, info.rect.ToQRect());
    return true;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs)
{
    if (!m_widget)
        return 0;
    KillTimer(id);
    const int qtId = m_widget->startTimer(int(elapseMs));
    if (qtId == 0)
        return 0;
    m_timerIds[qtId] = id;
    m_qtTimers[id] = qtId;
    return id;
}

bool CWnd::KillTimer(UINT_PTR id)
{
    const auto it = m_qtTimers.find(id);
    if (it == m_qtTimers.end())
        return false;
    if (m_widget)
        m_widget->killTimer(it->second);
    m_timerIds.erase(it->second);
    m_qtTimers.erase(it);
    return true;
}

CWnd* CWnd::SetCapture()
{
    CWnd* previous = g_capture;
    if (previous == this || !m_widget)
        return previous;
    g_capture = this;
    if (previous)
    {
        if (previous->m_widget)
            previous->m_widget->releaseMouse();
        previous->SendMessage(WM_CAPTURECHANGED, 0, LPARAM(this));
    }
    m_widget->grabMouse();
    return previous;
}

CWnd* CWnd::GetCapture()
{
    return g_capture;
}

bool CWnd::ReleaseCapture()
{
    CWnd* previous = g_capture;
    if (!previous)
        return true;
    g_capture = nullptr;
    if (previous->m_widget)
        previous->m_widget->releaseMouse();
    previous->SendMessage(WM_CAPTURECHANGED, 0, 0);
    return true;
}

bool CWnd::EnableWindow(bool enable)
{
    if (!m_widget)
        return false;
    const bool wasDisabled = !m_widget->isEnabled();
    if (!enable && !wasDisabled)
    {
        // A disabled window takes no input: a press, drag or repeat it was tracking ends here.
        SendMessage(WM_CANCELMODE);
        if (g_capture == this)
            ReleaseCapture();
        if (!m_widget)
            return wasDisabled;
    }
    m_widget->setEnabled(enable);
    return wasDisabled;
}

bool CWnd::IsWindowEnabled() const
{
    return m_widget && m_widget->isEnabled();
}

bool CWnd::ShowWindow(int command)
{
    if (!m_widget)
        return false;
    const bool wasVisible = !m_widget->isHidden();
    const bool show = command != SW_HIDE;
    if (show && m_widget->isWindow())
        ShowTopLevel(m_widget, command);
    else
        m_widget->setVisible(show);
    if (wasVisible != show)
        SendMessage(WM_SHOWWINDOW, show ? 1 : 0, 0);
    return wasVisible;
}

bool CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const
{
    if (!m_widget || !m_widget->isWindow())
        return false;
    if (m_widget->isMinimized())
        placement->showCmd = SW_SHOWMINIMIZED;
    else if (m_widget->isMaximized())
        placement->showCmd = SW_SHOWMAXIMIZED;
    else
        placement->showCmd = SW_SHOWNORMAL;
    // The geometry that MoveWindow gives and that a restored window returns to.
    placement->rcNormalPosition = CRect::FromQRect(m_widget->normalGeometry());
    return true;
}

bool CWnd::IsWindowVisible() const
{
    return m_widget && m_widget->isVisible();
}

void CWnd::SetFocus()
{
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

CWnd* CWnd::GetFocus()
{
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget())
    {
        if (CWnd* wnd = FromHandle(widget))
            return wnd;
        if (widget->isWindow())
            break;
    }
    return nullptr;
}

bool CWnd::ContainsFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return m_widget && focus && (focus == m_widget || m_widget->isAncestorOf(focus));
}

void CWnd::CenterWindow()
{
    if (!m_widget || !m_widget->isWindow())
        return;
    QRect area;
    if (const QWidget* owner = m_widget->parentWidget(); owner && owner->isVisible())
        area = owner->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    const QSize size = m_widget->frameGeometry().size();
    m_widget->move(area.left() + (area.width() - size.width()) / 2,
                   area.top() + (area.height() - size.height()) / 2);
}

bool CWnd::IsIconic() const
{
    return m_widget && m_widget->isMinimized();
}

void CWnd::BringWindowToTop()
{
    if (!m_widget)
        return;
    m_widget->window()->raise();
    m_widget->window()->activateWindow();
}

void CWnd::ModifyStyleEx(DWORD remove, DWORD add)
{
    if (!m_widget || !m_widget->isWindow() || !((remove | add) & WS_EX_LAYERED))
        return;
    const bool layered = add & WS_EX_LAYERED;
    m_widget->setAttribute(Qt::WA_TranslucentBackground, layered);
    m_widget->setAttribute(Qt::WA_NoSystemBackground, layered);
}

bool CWnd::SetLayeredWindowAttributes(COLORREF, BYTE alpha, DWORD flags)
{
    if (!m_widget || !m_widget->isWindow() || !(flags & LWA_ALPHA))
        return false;
    m_widget->setWindowOpacity(alpha / 255.0);
    return true;
}

void CWnd::Invalidate(bool)
{
    if (m_widget)
        m_widget->update();
}

void CWnd::UpdateWindow()
{
    if (m_widget && m_widget->isVisible())
        m_widget->repaint();
}

void CWnd::GetClientRect(CRect* rect) const
{
    const QWidget* client = ClientWidget();
    if (!client)
    {
        *rect = CRect();
        return;
    }
    // A scrolled control's client area leaves out its frame and the scroll bars it shows, so that
    // columns sized to it fit without a scroll bar of their own.
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(client))
    {
        QSize size = area->contentsRect().size();
        if (area->verticalScrollBar()->isVisibleTo(area))
            size.rwidth() -= area->verticalScrollBar()->sizeHint().width();
        if (area->horizontalScrollBar()->isVisibleTo(area))
            size.rheight() -= area->horizontalScrollBar()->sizeHint().height();
        *rect = CRect(0, 0, size.width(), size.height());
        return;
    }
    *rect = CRect(0, 0, client->width(), client->height());
}

void CWnd::GetWindowRect(CRect* rect) const
{
    if (!m_widget)
    {
        *rect = CRect();
        return;
    }
    if (m_widget->isWindow())
    {
        *rect = CRect::FromQRect(m_widget->frameGeometry());
        return;
    }
    const QPoint topLeft = m_widget->mapToGlobal(QPoint(0, 0));
    *rect = CRect::FromQRect(QRect(topLeft, m_widget->size()));
}

void CWnd::ScreenToClient(CPoint* point) const
{
    if (m_widget)
        *point = CPoint(ClientWidget()->mapFromGlobal(point->ToQPoint()));
}

void CWnd::ScreenToClient(CRect* rect) const
{
    CPoint topLeft(rect->left, rect->top);
    ScreenToClient(&topLeft);
    rect->OffsetRect(topLeft.x - rect->left, topLeft.y - rect->top);
}

void CWnd::ClientToScreen(CPoint* point) const
{
    if (m_widget)
        *point = CPoint(ClientWidget()->mapToGlobal(point->ToQPoint()));
}

void CWnd::MoveWindow(int x, int y, int width, int height, bool repaint)
{
    if (!m_widget)
        return;
    width = std::max(width, 0);
    height = WindowHeightFor(std::max(height, 0));
    if (HasFixedSize())
        m_widget->setFixedSize(width, height);
    m_widget->setGeometry(x, y, width, height);
    if (repaint)
        m_widget->update();
}

bool CWnd::SetWindowPos(const CWnd*, int x, int y, int width, int height, UINT flags)
{
    if (!m_widget)
        return false;
    if (!(flags & SWP_NOSIZE))
    {
        width = std::max(width, 0);
        height = WindowHeightFor(std::max(height, 0));
        if (HasFixedSize())
            m_widget->setFixedSize(width, height);
        m_widget->resize(width, height);
    }
    if (!(flags & SWP_NOMOVE))
        m_widget->move(x, y);
    return true;
}

void CWnd::MoveWindow(const CRect& rect, bool repaint)
{
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

void CWnd::SetIcon(const QIcon& icon)
{
    if (m_widget)
        m_widget->setWindowIcon(icon);
}

void CWnd::SetWindowText(const QString& text)
{
    m_text = text;
    if (auto* combo = qobject_cast<QComboBox*>(m_widget.data()))
    {
        if (combo->lineEdit())
            combo->lineEdit()->setText(text);
    }
    else if (auto* edit = qobject_cast<QLineEdit*>(m_widget.data()))
        edit->setText(text);
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(m_widget.data()))
        lines->setPlainText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_widget.data()))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(m_widget.data()))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(m_widget.data()))
        group->setTitle(text);
    else if (m_widget && m_widget->isWindow())
        m_widget->setWindowTitle(text);
}

QString CWnd::GetWindowText() const
{
    if (auto* combo = qobject_cast<QComboBox*>(m_widget.data()))
        return combo->lineEdit() ? combo->lineEdit()->text() : combo->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(m_widget.data()))
        return edit->text();
    if (auto* lines = qobject_cast<QPlainTextEdit*>(m_widget.data()))
        return lines->toPlainText();
    if (auto* button = qobject_cast<QAbstractButton*>(m_widget.data()))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(m_widget.data()))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(m_widget.data()))
        return group->title();
    if (m_widget && m_widget->isWindow())
        return m_widget->windowTitle();
    return m_text;
}

void CWnd::SetFont(CFont* font, bool redraw)
{
    m_font = font;
    if (m_widget && font)
        m_widget->setFont(font->ToQFont());
    if (redraw)
        Invalidate();
}

CFont* CWnd::GetFont() const
{
    return m_font;
}

bool CWnd::HasFixedSize() const
{
    // Only a sizing border lets the user change a top-level window's size.
    return m_widget && m_widget->isWindow() && !(m_style & WS_THICKFRAME);
}

void CWnd::ApplyMinimumTrackSize()
{
    MINMAXINFO info;
    SendMessage(WM_GETMINMAXINFO, 0, LPARAM(&info));
    if (!HasFixedSize())
        m_widget->setMinimumSize(std::max(info.ptMinTrackSize.x, 0), std::max(info.ptMinTrackSize.y, 0));
}

bool CWnd::SetMenu(CMenu* menu)
{
    if (!m_widget || !m_widget->isWindow() || (m_style & (WS_CHILD | WS_POPUP)))
        return false;
    if (!m_clientArea)
        CreateClientArea();
    m_menu = menu;
    m_menuBar->clear();
    for (int position = 0; menu && position < menu->GetMenuItemCount(); ++position)
    {
        CMenu* popup = menu->GetSubMenu(position);
        if (!popup)
            continue;
        QMenu* qtPopup = m_menuBar->addMenu(menu->GetMenuString(position, MF_BYPOSITION));
        qtPopup->setEnabled(!(menu->GetMenuState(position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
        QObject::connect(qtPopup, &QMenu::aboutToShow, qtPopup,
                         [this, popup, position, qtPopup]
                         {
                             SendMessage(WM_INITMENUPOPUP, WPARAM(popup), LPARAM(position));
                             popup->FillQtMenu(qtPopup, this);
                         });
        // Filled now as well, so that the menu's keys and texts are there before it first opens.
        popup->FillQtMenu(qtPopup, this);
    }
    return true;
}

void CWnd::CreateClientArea()
{
    auto* layout = new QVBoxLayout(m_widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBar = new QMenuBar(m_widget);
    layout->setMenuBar(m_menuBar);
    m_clientArea = new CWndClientArea(this, m_widget);
    layout->addWidget(m_clientArea);
    // Children made before the menu move below it, keeping their places in the client area.
    for (QObject* child : m_widget->children())
    {
        auto* widget = child->isWidgetType() ? static_cast<QWidget*>(child) : nullptr;
        if (!widget || widget == m_menuBar || widget == m_clientArea || widget->isWindow())
            continue;
        const QRect geometry = widget->geometry();
        const bool hidden = widget->isHidden();
        widget->setParent(m_clientArea);
        widget->setGeometry(geometry);
        widget->setVisible(!hidden);
    }
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

CWnd* AfxGetMainWnd()
{
    return g_mainWidget || g_mainWndPending ? g_mainWnd : nullptr;
}

void AfxSetMainWnd(CWnd* wnd)
{
    g_mainWnd = wnd;
    g_mainWidget = wnd ? wnd->GetSafeHwnd() : nullptr;
    g_mainWndPending = wnd && !g_mainWidget;
}
