#include "effects/GreLayerFields.h"

#include "effects/GreDialogValues.h"
#include "platform/ui/DataExchange.h"
#include "res/dialogs/GreLayerTextProperties.h"

using namespace GreDialogValues;

namespace
{
constexpr int IdPlacement = IDC_PLACEMENT;
constexpr int IdMargins[] = {IDC_LAYER_LEFT, IDC_LAYER_TOP, IDC_LAYER_RIGHT, IDC_LAYER_BOTTOM};
constexpr int IdRotation = IDC_ROTATION;
constexpr int IdOpacity = IDC_OPACITY;
constexpr int IdBlending = IDC_BLENDING;
constexpr int IdName = IDC_LAYER_NAME;
constexpr int EditCharacters = 4;
} // namespace

CGreLayerFields::CGreLayerFields(const gre::CGreLayerBase& stored, PercentOf percentOf, OpacityOf opacityOf)
    : m_stored(stored), m_opacityOf(opacityOf)
{
    m_shown.name = stored.GetName();
    m_shown.placement = stored.GetPlacement();
    m_shown.margins = stored.GetMargins();
    m_shown.rotation = qRound(DegreesFromRadians(stored.GetRotation()));
    m_shown.opacity = percentOf(stored.GetOpacity());
    m_shown.blending = stored.GetBlending();
    m_loaded = m_shown;
}

void CGreLayerFields::Exchange(CDataExchange* dx)
{
    DDX_Control(dx, IdPlacement, m_placementList);
    DDX_Control(dx, IdBlending, m_blendingList);
    for (int i = 0; i < 4; ++i)
        DDX_Control(dx, IdMargins[i], m_marginEdits[i]);
    DDX_Control(dx, IdRotation, m_rotationEdit);
    DDX_Control(dx, IdOpacity, m_opacityEdit);
    DDX_Text(dx, IdName, m_shown.name);
    int margins[4] = {m_shown.margins.left(), m_shown.margins.top(), m_shown.margins.right(),
                      m_shown.margins.bottom()};
    for (int i = 0; i < 4; ++i)
        DDX_Text(dx, IdMargins[i], margins[i]);
    DDX_Text(dx, IdRotation, m_shown.rotation);
    DDX_Text(dx, IdOpacity, m_shown.opacity);
    if (!dx->m_bSaveAndValidate)
        return;
    m_shown.margins = QMargins(margins[0], margins[1], margins[2], margins[3]);
    m_shown.placement = SelectedCode(m_placementList, m_shown.placement);
    m_shown.blending = SelectedCode(m_blendingList, m_shown.blending);
}

void CGreLayerFields::Setup()
{
    for (CNumberEditCtrl& edit : m_marginEdits)
    {
        edit.SetLimitText(EditCharacters);
        edit.SetupSpin(-8192, 8192);
    }
    m_rotationEdit.SetLimitText(EditCharacters);
    m_rotationEdit.SetupSpin(-360, 360);
    m_opacityEdit.SetLimitText(EditCharacters);
    m_opacityEdit.SetupSpin(0, 100);
    FillPlacementList(m_placementList, m_stored.GetPlacement());
    FillBlendingList(m_blendingList, m_stored.GetBlending());
}

void CGreLayerFields::WriteTo(gre::CGreLayerBase& layer) const
{
    const Shown& s = m_shown;
    const Shown& l = m_loaded;
    layer.SetName(s.name == l.name ? m_stored.GetName() : s.name);
    layer.SetPlacement(s.placement == l.placement ? m_stored.GetPlacement() : s.placement);
    layer.SetMargins(s.margins == l.margins ? m_stored.GetMargins() : s.margins);
    layer.SetRotation(s.rotation == l.rotation ? m_stored.GetRotation()
                                               : RadiansFromDegrees(float(s.rotation)));
    layer.SetOpacity(s.opacity == l.opacity ? m_stored.GetOpacity() : m_opacityOf(s.opacity));
    layer.SetBlending(s.blending == l.blending ? m_stored.GetBlending() : s.blending);
}
