#pragma once

#include "platform/ui/WinConstants.h"

#include <QString>

class CWnd;

// The desktop's own message box, modal over its owner (or the application without one): the text,
// the caption, the icon of the MB_ICON bits and the buttons of MB_OK, MB_OKCANCEL, MB_YESNO or
// MB_YESNOCANCEL. Returns the IDOK, IDCANCEL, IDYES or IDNO of the button that ended it.
int MessageBox(CWnd* owner, const QString& text, const QString& caption, UINT type);
