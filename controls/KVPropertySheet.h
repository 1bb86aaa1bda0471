#pragma once

#include "platform/ui/PropertySheet.h"

// The property sheet of the program's multi-page dialogs: no Apply button, and captions of its
// own for the buttons that the owner sets before showing it (empty keeps the standard caption).
class CKVPropertySheet : public CPropertySheet
{
public:
    explicit CKVPropertySheet(const QString& caption, CWnd* parent = nullptr);

    // The program's own texts for all six buttons, from its string resources.
    void UseProgramButtonCaptions();

    QString m_okCaption;
    QString m_cancelCaption;
    QString m_helpCaption;
    QString m_backCaption;
    QString m_nextCaption;
    QString m_finishCaption;

protected:
    bool OnInitDialog() override;
};
