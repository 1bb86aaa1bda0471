#include "effects/DlgGreEffectDropShadowProperties.h"

#include "dialogs/ShowHelp.h"
#include "effects/GreDialogValues.h"
#include "effects/GreEffectCommands.h"
#include "ndb/NdbNewsletter.h"
#include "res/dialogs/GreEffectDropShadowProperties.h"

using namespace GreDialogValues;

namespace
{
constexpr UINT TemplateId = IDD_GRE_EFFECT_DROP_SHADOW_PROPERTIES;
constexpr int IdDistance = IDC_DISTANCE;
constexpr int IdAngle = IDC_ANGLE;
constexpr int IdOpacity = IDC_EFFECT_DROP_SHADOW_OPACITY;
constexpr int IdColor = IDC_EFFECT_DROP_SHADOW_COLOR;
constexpr int IdSpread = IDC_SPREAD;
constexpr int IdSize = IDC_EFFECT_DROP_SHADOW_SIZE;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgGreEffectDropShadowProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(EN_CHANGE, IdDistance, &CDlgGreEffectDropShadowProperties::OnChange),
        OnControl(EN_CHANGE, IdAngle, &CDlgGreEffectDropShadowProperties::OnChange),
        OnControl(EN_CHANGE, IdOpacity, &CDlgGreEffectDropShadowProperties::OnChange),
        OnControl(EN_CHANGE, IdSpread, &CDlgGreEffectDropShadowProperties::OnChange),
        OnControl(EN_CHANGE, IdSize, &CDlgGreEffectDropShadowProperties::OnChange),
        OnMessage(UM_COLORBOX_CHANGED, &CDlgGreEffectDropShadowProperties::OnChange),
        OnCommand(UM_GRE_APPLIED, &CDlgGreEffectDropShadowProperties::OnApply),
        OnCommand(IdHelp, &CDlgGreEffectDropShadowProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgGreEffectDropShadowProperties::CDlgGreEffectDropShadowProperties(ndb::CNdbNewsletter* newsletter,
                                                                     gre::CGreEffectDropShadow* effect,
                                                                     CWnd* parent)
    : CDialog(TemplateId, parent), m_newsletter(newsletter), m_effect(effect), m_stored(*effect),
      m_colorBox(&newsletter->Palette())
{
}

CDlgGreEffectDropShadowProperties::~CDlgGreEffectDropShadowProperties()
{
    DestroyWindow();
}

void CDlgGreEffectDropShadowProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdDistance, m_distanceEdit);
    DDX_Control(dx, IdAngle, m_angleEdit);
    DDX_Control(dx, IdOpacity, m_opacityEdit);
    DDX_Control(dx, IdColor, m_colorFrame);
    DDX_Text(dx, IdDistance, m_shown.distance);
    DDX_Text(dx, IdAngle, m_shown.angle);
    DDX_Text(dx, IdOpacity, m_shown.opacity);
    ExchangeFloatText(dx, IdSpread, m_shown.spread);
    ExchangeFloatText(dx, IdSize, m_shown.size);
    if (dx->m_bSaveAndValidate && m_colorBox.GetSafeHwnd())
        m_shown.color = m_colorBox.GetColor();
}

bool CDlgGreEffectDropShadowProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    const std::pair<CNumberEditCtrl*, int> ranges[] = {{&m_distanceEdit, 8192}, {&m_angleEdit, 360}};
    for (const auto& [edit, limit] : ranges)
    {
        edit->SetLimitText(4);
        edit->SetupSpin(-limit, limit);
    }
    m_opacityEdit.SetLimitText(4);
    m_opacityEdit.SetupSpin(0, 100);
    m_colorBox.CreateFromPlaceholder(&m_colorFrame, 0);
    SetColorBoxColor(SwatchColor(m_effect->GetColor()), &m_colorBox);
    m_shown = {qRound(m_effect->GetDistance()),
               qRound(DegreesFromRadians(m_effect->GetAngle())),
               PercentFromOpacity(m_effect->GetOpacity()),
               m_effect->GetSpread(),
               m_effect->GetSize(),
               m_colorBox.GetColor()};
    UpdateData(false);
    // What the controls made of the values is what counts as untouched.
    UpdateData(true);
    m_loaded = m_shown;
    m_loading = false;
    return true;
}

// Only what differs from what the dialog showed is converted back; the rest keeps the stored
// value, so that rounding in the shown form never creeps into the effect.
void CDlgGreEffectDropShadowProperties::Apply(bool notify)
{
    UpdateData(true);
    m_effect->SetDistance(m_shown.distance == m_loaded.distance ? m_stored.GetDistance()
                                                                : float(m_shown.distance));
    m_effect->SetAngle(m_shown.angle == m_loaded.angle ? m_stored.GetAngle()
                                                       : RadiansFromDegrees(float(m_shown.angle)));
    m_effect->SetOpacity(m_shown.opacity == m_loaded.opacity ? m_stored.GetOpacity()
                                                             : OpacityFromPercent(m_shown.opacity));
    m_effect->SetSpread(m_shown.spread == m_loaded.spread ? m_stored.GetSpread() : m_shown.spread);
    m_effect->SetSize(m_shown.size == m_loaded.size ? m_stored.GetSize() : m_shown.size);
    m_effect->SetColor(m_shown.color == m_loaded.color ? m_stored.GetColor()
                                                       : StoredColor(m_shown.color, m_newsletter->Palette()));
    if (notify)
        NotifyApplied(this);
}

LRESULT CDlgGreEffectDropShadowProperties::OnChange(WPARAM, LPARAM)
{
    if (!m_loading)
        Apply(true);
    return 0;
}

LRESULT CDlgGreEffectDropShadowProperties::OnApply(WPARAM, LPARAM)
{
    Apply(true);
    return 0;
}

void CDlgGreEffectDropShadowProperties::OnOK()
{
    Apply(false);
    EndDialog(IDOK);
}

LRESULT CDlgGreEffectDropShadowProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
