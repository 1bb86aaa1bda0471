#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "effects/GreLayerFields.h"
#include "gre/GreLayerText.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Static.h"

namespace ndb
{
class CNdbNewsletter;
}

// Edits one text layer in place while the effect editor shows the result: every change is
// written into the layer at once and the owner is told with the command UM_GRE_APPLIED. A value
// the user did not change keeps its stored form. The name follows the text's first line until
// the user gives it a name of its own.
class CDlgGreLayerTextProperties : public CDialog
{
public:
    CDlgGreLayerTextProperties(ndb::CNdbNewsletter* newsletter, gre::CGreLayerText* layer,
                               CWnd* parent = nullptr);
    ~CDlgGreLayerTextProperties() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnChange(WPARAM, LPARAM);
    LRESULT OnTextChange(WPARAM, LPARAM);
    LRESULT OnNameChange(WPARAM, LPARAM);
    LRESULT OnApply(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    struct Shown
    {
        QString text;
        QString fontName;
        int size = 0;
        int alignment = 0;
        ndb::CNdbColor color;
        int bold = 0;
        int italic = 0;
        int underline = 0;
        int smoothing = 0;
    };

    void FillFontList();
    void Apply(bool notify);

    ndb::CNdbNewsletter* m_newsletter;
    gre::CGreLayerText* m_layer;
    gre::CGreLayerText m_stored;
    CGreLayerFields m_fields;
    Shown m_shown;
    Shown m_loaded;
    bool m_loading = true;
    bool m_automaticName = true;
    CColorBoxCtrl m_colorBox;
    CStatic m_colorFrame;
    CComboBox m_fontList;
    CComboBox m_alignmentList;
    CNumberEditCtrl m_sizeEdit;
};
