#pragma once

#include "platform/ui/WinConstants.h"

#include <QString>

class CWnd;

// The message box of these dialogs (MB_ buttons and icon), modal over the dialog that asks;
// returns the button chosen (IDOK, IDYES, IDNO, IDCANCEL).
int DialogMessageBox(CWnd* owner, const QString& text, UINT type);
