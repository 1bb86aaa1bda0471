#include "platform/ui/Button.h"

#include "platform/ui/WndHost.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

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

QWidget* MakeCheckable(CWnd* wnd, QWidget* parent, DWORD type, DWORD style)
{
    QAbstractButton* button = nullptr;
    if (type == BS_AUTOCHECKBOX)
        button = new CWndHost<QCheckBox>(wnd, parent);
    else
        button = new CWndHost<QRadioButton>(wnd, parent);
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
    // Setting a radio button must not clear its group the way a click does, and may leave the
    // whole group unchecked.
    const bool exclusive = button->autoExclusive();
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    button->setAutoExclusive(false);
    if (group)
        group->setExclusive(false);
    button->setChecked(check == BST_CHECKED);
    button->setAutoExclusive(exclusive);
    if (group)
        group->setExclusive(groupExclusive);
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
