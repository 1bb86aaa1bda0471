#pragma once

#include "platform/ui/Edit.h"
#include "platform/ui/SpinButtonCtrl.h"

// The edit field for whole numbers, with an up-down button at its right edge. It drops typed
// characters that cannot belong to a number, puts the last good text back after any other change
// that leaves such characters, never stays empty, and takes its spin button along when it is
// enabled, disabled, shown or hidden. m_hexadecimal makes it take hexadecimal digits.
class CNumberEditCtrl : public CEdit
{
public:
    static constexpr UINT UM_NUMBEREDIT_RESTORE = WM_USER + 1;
    static constexpr UINT SpinId = 4711;

    CNumberEditCtrl();
    ~CNumberEditCtrl() override;

    // Called by the dialog after the edit is bound to its item.
    void SetupSpin(int minimum, int maximum);
    // The text read as a decimal number (also in hexadecimal mode); 0 without digits.
    int GetValue() const;
    void SetValue(int value);

    bool m_hexadecimal = false;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnChar(WPARAM character, LPARAM);
    LRESULT OnUpdate(WPARAM, LPARAM);
    LRESULT OnRestore(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM enabled, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);

private:
    CSpinButtonCtrl m_spin;
    int m_minimum = 0;
    int m_maximum = 100;
    QString m_lastValid;
};
