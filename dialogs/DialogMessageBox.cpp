#include "dialogs/DialogMessageBox.h"

#include "platform/ui/SystemMessageBox.h"

int DialogMessageBox(CWnd* owner, const QString& text, UINT type)
{
    return MessageBox(owner, text, QStringLiteral("Kelvora"), type);
}
