#include "dialogs/SidesBlock.h"

#include "dialogs/FieldGroups.h"
#include "ndb/NdbStyle.h"
#include "platform/ui/DataExchange.h"
#include "res/dialogs/PageStyle2.h"

#include <set>

using namespace ndb;

const SidesControls MarginControls{IDC_DEFAULT_MARGINS,
                                   {IDC_TOP_MARGIN, IDC_BOTTOM_MARGIN, IDC_LEFT_MARGIN, IDC_RIGHT_MARGIN},
                                   IDC_MARGIN_UNIT,
                                   {IDC_TOP_MARGIN_LABEL, IDC_BOTTOM_MARGIN_LABEL, IDC_LEFT_MARGIN_LABEL,
                                    IDC_RIGHT_MARGIN_LABEL, IDC_MARGIN_UNIT_LABEL}};
const SidesControls PaddingControls{
    IDC_DEFAULT_PADDING,
    {IDC_TOP_PADDING, IDC_BOTTOM_PADDING, IDC_LEFT_PADDING, IDC_RIGHT_PADDING},
    IDC_PADDING_UNIT,
    {IDC_TOP_PADDING_LABEL, IDC_BOTTOM_PADDING_LABEL, IDC_LEFT_PADDING_LABEL, IDC_RIGHT_PADDING_LABEL,
     IDC_PADDING_UNIT_LABEL}};

std::array<int, 4> MarginFields()
{
    return {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight};
}

std::array<int, 4> PaddingFields()
{
    return {StylePaddingTop, StylePaddingBottom, StylePaddingLeft, StylePaddingRight};
}

CSidesBlock::CSidesBlock(CNdbStyle* style, const std::array<int, 4>& fields, const SidesControls& controls)
    : m_style(style), m_fields(fields), m_controls(controls)
{
}

void CSidesBlock::BindControls(CDataExchange* dx)
{
    DDX_Control(dx, m_controls.useDefault, m_useDefault);
    DDX_Control(dx, m_controls.unit, m_unit);
    for (std::size_t i = 0; i < 4; ++i)
        DDX_Control(dx, m_controls.values[i], m_values[i]);
}

void CSidesBlock::Start(CWnd* host, int minimum, int maximum, int length)
{
    m_host = host;
    for (CNumberEditCtrl& value : m_values)
    {
        value.SetLimitText(length);
        value.SetupSpin(minimum, maximum);
    }
    m_unit.ResetContent();
    FillUnitList(m_unit, true);
    Load();
    ApplyDefault();
}

void CSidesBlock::Load()
{
    std::set<int> units;
    for (std::size_t i = 0; i < 4; ++i)
    {
        m_lengths[i].Load(*m_style, m_fields[i], m_values[i], 0);
        if (m_lengths[i].IsPresent())
            units.insert(m_lengths[i].LoadedUnit());
    }
    m_useDefault.SetCheck(units.empty() ? BST_CHECKED : BST_UNCHECKED);
    // Sides in different units show no unit and keep their own.
    if (units.size() <= 1)
        SelectUnit(m_unit, units.empty() ? int(NdbUnitPx) : *units.begin());
}

bool CSidesBlock::OnCommand(UINT id, UINT code)
{
    if (int(id) == m_controls.useDefault && code == BN_CLICKED)
        ApplyDefault();
    return false;
}

void CSidesBlock::ApplyDefault()
{
    const bool enabled = m_useDefault.GetCheck() != BST_CHECKED;
    for (CNumberEditCtrl& value : m_values)
        value.EnableWindow(enabled);
    m_unit.EnableWindow(enabled);
    for (int id : m_controls.labels)
    {
        if (CWnd* label = m_host->GetDlgItem(id))
            label->EnableWindow(enabled);
    }
}

QString CSidesBlock::State() const
{
    QString state = QString::number(m_useDefault.GetCheck()) + ListState(m_unit);
    for (const CNumberEditCtrl& value : m_values)
        state += QLatin1Char('|') + value.GetWindowText();
    return state;
}

void CSidesBlock::Store()
{
    const bool useDefault = m_useDefault.GetCheck() == BST_CHECKED;
    for (std::size_t i = 0; i < 4; ++i)
    {
        if (useDefault)
            m_style->RemoveField(m_fields[i]);
        else
            m_style->SetField(m_fields[i], m_lengths[i].Value(SelectedUnit(m_unit)));
    }
}

void CSidesBlock::AddGroup(CFieldGroups& groups)
{
    groups.Add([this] { return State(); }, [this] { Store(); });
}
