#pragma once

#include "platform/ui/Dialog.h"

// Sent to the shown page, as WM_NOTIFY, when the sheet's Help button is pressed.
constexpr UINT PSN_HELP = UINT(-205);

// One page of a property sheet: a child dialog from a template with the child style, whose
// caption is the text of its tab.
class CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT templateId);

    UINT GetTemplateId() const { return m_pageTemplateId; }

    // The page becomes the shown one.
    virtual bool OnSetActive();
    // The page is left or the sheet is confirmed: its controls go into its data. False keeps it.
    virtual bool OnKillActive();
    // Finish was pressed in a wizard while the page was shown: false refuses it.
    virtual bool OnWizardFinish();
    // Cancel was pressed while the page was shown: false keeps the sheet open.
    virtual bool OnQueryCancel();
    // The sheet was confirmed or cancelled; the page stays a window until the sheet goes.
    void OnOK() override;
    void OnCancel() override;

private:
    UINT m_pageTemplateId;
};
