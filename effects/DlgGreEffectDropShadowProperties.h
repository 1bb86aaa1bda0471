#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "gre/GreEffectDropShadow.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Static.h"

namespace ndb
{
class CNdbNewsletter;
}

// Edits one drop shadow in place while the effect editor shows the result: every change is
// written into the shadow at once and the owner is told with the command UM_GRE_APPLIED. A
// value the user did not change keeps its stored form.
class CDlgGreEffectDropShadowProperties : public CDialog
{
public:
    CDlgGreEffectDropShadowProperties(ndb::CNdbNewsletter* newsletter, gre::CGreEffectDropShadow* effect,
                                      CWnd* parent = nullptr);
    ~CDlgGreEffectDropShadowProperties() override;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnChange(WPARAM, LPARAM);
    LRESULT OnApply(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    struct Shown
    {
        int distance = 0;
        int angle = 0;
        int opacity = 0;
        float spread = 0;
        float size = 0;
        ndb::CNdbColor color;
    };

    void Apply(bool notify);

    ndb::CNdbNewsletter* m_newsletter;
    gre::CGreEffectDropShadow* m_effect;
    gre::CGreEffectDropShadow m_stored;
    Shown m_shown;
    Shown m_loaded;
    bool m_loading = true;
    CColorBoxCtrl m_colorBox;
    CStatic m_colorFrame;
    CNumberEditCtrl m_distanceEdit;
    CNumberEditCtrl m_angleEdit;
    CNumberEditCtrl m_opacityEdit;
};
