#include "platform/ui/Button.h"

#include "platform/ui/WndHost.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace
{
void NotifyClicks(QAbstractButton* button)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button]
                     {
                         if (CWnd* wnd = CWnd::FromHandle(button))
                             wnd->NotifyParent(BN_CLICKED);
                     });
}

CWnd* WndOf(QObject* object)
{
    return object->isWidgetType() ? CWnd::FromHandle(static_cast<QWidget*>(object)) : nullptr;
}

bool StartsGroup(CWnd* wnd)
{
    return (wnd->GetStyle() & WS_GROUP) != 0;
}

// A click checks a radio button and clears the others of its group: the radio buttons next to it
// in creation order, up to a control that starts a group of its own or is no radio button. Qt's
// own exclusivity would join every radio button of a dialog into one group.
void CheckInGroup(QAbstractButton* button)
{
    button->setChecked(true);
    std::vector<CWnd*> siblings;
    for (QObject* child : button->parentWidget()->children())
    {
        if (CWnd* wnd = WndOf(child))
            siblings.push_back(wnd);
    }
    const auto at = std::find(siblings.begin(), siblings.end(), CWnd::FromHandle(button));
    if (at == siblings.end())
        return;
    const auto clear = [](CWnd* wnd)
    {
        auto* radio = qobject_cast<QRadioButton*>(wnd->GetSafeHwnd());
        if (radio)
            radio->setChecked(false);
        return radio != nullptr;
    };
    for (auto it = at; !StartsGroup(*it) && it != siblings.begin();)
    {
        --it;
        if (!clear(*it))
            break;
    }
    for (auto it = at + 1; it != siblings.end() && !StartsGroup(*it) && clear(*it); ++it)
    {
    }
}

QWidget* MakeCheckable(CWnd* wnd, QWidget* parent, DWORD type, DWORD style)
{
    QAbstractButton* button = nullptr;
    if (type == BS_AUTOCHECKBOX)
    {
        button = new CWndHost<QCheckBox>(wnd, parent);
    }
    else
    {
        button = new CWndHost<QRadioButton>(wnd, parent);
        button->setAutoExclusive(false);
        QObject::connect(button, &QAbstractButton::clicked, button, [button] { CheckInGroup(button); });
    }
    NotifyClicks(button);
    button->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    return button;
}
} // namespace

QWidget* CButton::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX)
        return new CWndHost<QGroupBox>(this, parent);
    if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON)
        return MakeCheckable(this, parent, type, style);
    auto* button = new CWndHost<QPushButton>(this, parent);
    // Enter is the dialog's to handle: it goes to the default button, not to the focused one.
    button->setAutoDefault(false);
    button->setDefault((style & BS_DEFPUSHBUTTON) != 0);
    button->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    NotifyClicks(button);
    return button;
}

int CButton::GetCheck() const
{
    const auto* button = qobject_cast<const QAbstractButton*>(GetSafeHwnd());
    return button && button->isChecked() ? int(BST_CHECKED) : int(BST_UNCHECKED);
}

void CButton::SetCheck(int check)
{
    auto* button = qobject_cast<QAbstractButton*>(GetSafeHwnd());
    if (!button || !button->isCheckable())
        return;
    // Setting a radio button must not clear its group the way a click does.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(check == BST_CHECKED);
    button->setAutoExclusive(exclusive);
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_GETCHECK)
        return GetCheck();
    if (message == BM_SETCHECK)
    {
        SetCheck(int(wParam));
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
