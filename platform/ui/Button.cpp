#include "platform/ui/Button.h"

#include "platform/ui/WndHost.h"

#include <QPushButton>

QWidget* CButton::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    auto* button = new CWndHost<QPushButton>(this, parent);
    // Enter is the dialog's to handle: it goes to the default button, not to the focused one.
    button->setAutoDefault(false);
    button->setDefault((style & BS_DEFPUSHBUTTON) != 0);
    button->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    QObject::connect(button, &QPushButton::clicked, button,
                     [button]
                     {
                         if (CWnd* wnd = CWnd::FromHandle(button))
                             wnd->NotifyParent(BN_CLICKED);
                     });
    return button;
}
