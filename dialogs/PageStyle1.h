#pragma once

#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/PageStyleBase.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

// The Font page of the style editor: text colour, font family, size, weight, style, small
// capitals, capitalisation and decoration.
class CPageStyle1 : public CPageStyleBase
{
public:
    CPageStyle1(IDialogContext* context, ndb::CNdbStyle* style);
    ~CPageStyle1() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSizeSelChange(WPARAM, LPARAM);
    LRESULT OnSizeEditChange(WPARAM, LPARAM);
    LRESULT OnSizeUnitChange(WPARAM, LPARAM);
    LRESULT OnNoDecoration(WPARAM, LPARAM);
    LRESULT OnChooseFamily(WPARAM, LPARAM);
    LRESULT OnColorChanged(WPARAM, LPARAM);

private:
    void LoadControls();
    void AddFieldGroups();
    void StoreSize();
    int DecorationBits() const;
    void EnableDecorations();

    CColorBoxCtrl m_textColor;
    CEdit m_family;
    CComboBox m_size;
    CComboBox m_sizeUnit;
    CComboBox m_bold;
    CComboBox m_italic;
    CComboBox m_smallCaps;
    CComboBox m_capitalization;
    CButton m_none;
    CButton m_underline;
    CButton m_overline;
    CButton m_strikethrough;
    QString m_loadedSize;
};
