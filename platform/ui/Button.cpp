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

// The sibling radio buttons of the button's group: the run of the parent's children from the last
// control with WS_GROUP at or before the button up to the next control with WS_GROUP.
std::vector<QRadioButton*> RadioGroupOf(QAbstractButton* button)
{
    std::vector<QRadioButton*> group;
    if (!button->parentWidget())
        return group;
    for (QObject* child : button->parentWidget()->children())
    {
        CWnd* wnd = child->isWidgetType() ? CWnd::FromHandle(static_cast<QWidget*>(child)) : nullptr;
        if (!wnd)
            continue;
        if (wnd->GetStyle() & WS_GROUP)
        {
            if (std::find(group.begin(), group.end(), button) != group.end())
                break;
            group.clear();
        }
        if (auto* radio = qobject_cast<QRadioButton*>(static_cast<QWidget*>(child)))
            group.push_back(radio);
    }
    return group;
}

// A click checks the radio button and clears the others of its group only: a dialog may hold
// several groups side by side.
void CheckInGroup(QAbstractButton* button)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button]
                     {
                         button->setChecked(true);
                         for (QRadioButton* other : RadioGroupOf(button))
                         {
                             if (other != button)
                                 other->setChecked(false);
                         }
                     });
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
        CheckInGroup(button);
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
