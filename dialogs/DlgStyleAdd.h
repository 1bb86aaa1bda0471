#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"

namespace ndb
{
class CNdbNewsletter;
class CNdbStyle;
} // namespace ndb

// "Add Style": the name of a new style, and whether it starts blank or as a clone of another.
class CDlgStyleAdd : public CDialog
{
public:
    // The base style is the one the combo box starts on (none: its first entry).
    CDlgStyleAdd(ndb::CNdbNewsletter* newsletter, ndb::CNdbStyle* baseStyle, CWnd* parent = nullptr);
    ~CDlgStyleAdd() override;

    enum Mode
    {
        Blank = 0,
        Clone = 1,
    };

    // After OK: the name without white space at its ends, the mode and, for a clone, the style
    // to copy (none when the combo box had no entry).
    QString m_name;
    int m_mode = Blank;
    ndb::CNdbStyle* m_baseStyle;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnModeClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    ndb::CNdbNewsletter* m_newsletter;
    CComboBox m_styles;
};
