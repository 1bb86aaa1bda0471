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

    // A control whose text is not valid: the exchange stops taking values in and the control
    // gets the focus.
    void Fail(CWnd* control);

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_failed = false;
};

// Binds a member window to the dialog's control of that id (once; later calls do nothing).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// Moves a text between a member and the control's window text.
void DDX_Text(CDataExchange* dx, int id, QString& value);
// Moves a whole number as its decimal text, read back up to the first character that belongs to
// no number (0 without digits).
void DDX_Text(CDataExchange* dx, int id, int& value);
// Like the lenient whole number above, but a text that is not one whole number, spaces around it
// aside, shows "Please enter an integer." and fails the exchange.
void DDX_TextInteger(CDataExchange* dx, int id, int& value);
// After an exchange of the number into value: a number outside minimum to maximum shows
// "Please enter an integer between <minimum> and <maximum>." and fails the exchange.
void DDV_MinMaxInt(CDataExchange* dx, int id, int value, int minimum, int maximum);
// Moves the check of a check box (0 or 1).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Moves the index of the checked radio button of the group that begins with the control of that
// id (-1 for none); the group runs up to the next control with WS_GROUP or the next non-radio.
void DDX_Radio(CDataExchange* dx, int id, int& value);
