#pragma once

#include <QString>

class CWnd;

// One transfer between a dialog's members and its controls, in the direction given.
class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
    {
    }

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// Binds a member window to the dialog's control of that id (once; later calls do nothing).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Moves a text between a member and the control's window text.
void DDX_Text(CDataExchange* dx, int id, QString& value);
