#include "dialogs/PageHtmlBox1.h"

#include "ndb/NdbStyle.h"
#include "platform/ui/DataExchange.h"
#include "res/dialogs/PageHtmlBox1.h"

#include <cmath>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_HTML_BOX1;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr int NewBoxZIndex = 10;
constexpr int ClearBoth = 3;
constexpr int Absolute = 2;
constexpr int FullWidth = 100;

enum ControlId : UINT
{
    IdInLine = IDC_IN_LINE,
    IdFreeFloating = IDC_FREE_FLOATING,
    IdWrapping = IDC_WRAPPING,
    IdWrappingLabel = IDC_WRAPPING_LABEL,
    IdForceNewLine = IDC_FORCE_NEW_LINE,
    IdForceNewLineLabel = IDC_FORCE_NEW_LINE_LABEL,
    IdZIndex = IDC_Z_INDEX,
    IdZIndexLabel = IDC_Z_INDEX_LABEL,
    IdWidthDefault = IDC_WIDTH_DEFAULT,
    IdWidthFixed = IDC_WIDTH_FIXED,
    IdWidth = IDC_WIDTH,
    IdWidthUnit = IDC_WIDTH_FIXED_UNIT,
    IdHeightDefault = IDC_HEIGHT_DEFAULT,
    IdHeightFixed = IDC_HEIGHT_FIXED,
    IdHeight = IDC_HEIGHT,
    IdOverflow = IDC_OVERFLOW,
};

// Top, bottom, left, right: edit, unit list, "Default" check and label of each offset.
constexpr int SideValues[] = {IDC_TOP, IDC_BOTTOM, IDC_LEFT, IDC_RIGHT};
constexpr int SideUnits[] = {IDC_TOP_SIDE_UNIT, IDC_BOTTOM_SIDE_UNIT, IDC_LEFT_SIDE_UNIT,
                             IDC_RIGHT_SIDE_UNIT};
constexpr int SideDefaults[] = {IDC_TOP_SIDE_DEFAULT, IDC_BOTTOM_SIDE_DEFAULT, IDC_LEFT_SIDE_DEFAULT,
                                IDC_RIGHT_SIDE_DEFAULT};
constexpr int SideLabels[] = {IDC_TOP_SIDE_LABEL, IDC_BOTTOM_SIDE_LABEL, IDC_LEFT_SIDE_LABEL,
                              IDC_RIGHT_SIDE_LABEL};

constexpr KeywordEntry ShortUnits[] = {{9000, NdbUnitPx}, {9001, NdbUnitPercent}};
// "Default" wrapping is no float, stored as such.
constexpr KeywordEntry Wrapping[] = {{8000, 0}, {8001, 1}, {8002, 2}};
constexpr KeywordEntry Overflow[] = {{8020, DefaultKeyword}, {8021, 0}, {8022, 1}, {8023, 2}, {8024, 3}};

QString CheckState(const CButton& button)
{
    return QString::number(button.GetCheck());
}
} // namespace

const MessageMap* CPageHtmlBox1::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdInLine, &CPageHtmlBox1::OnTypeRule),
        OnControl(BN_CLICKED, IdFreeFloating, &CPageHtmlBox1::OnTypeRule),
        OnControl(BN_CLICKED, SideDefaults[0], &CPageHtmlBox1::OnTypeRule),
        OnControl(BN_CLICKED, SideDefaults[1], &CPageHtmlBox1::OnTypeRule),
        OnControl(BN_CLICKED, SideDefaults[2], &CPageHtmlBox1::OnTypeRule),
        OnControl(BN_CLICKED, SideDefaults[3], &CPageHtmlBox1::OnTypeRule),
        OnControl(BN_CLICKED, IdWidthDefault, &CPageHtmlBox1::OnSizeRule),
        OnControl(BN_CLICKED, IdWidthFixed, &CPageHtmlBox1::OnSizeRule),
        OnControl(BN_CLICKED, IdHeightDefault, &CPageHtmlBox1::OnSizeRule),
        OnControl(BN_CLICKED, IdHeightFixed, &CPageHtmlBox1::OnSizeRule),
    };
    static const MessageMap map{CPageHtmlBoxBase::GetMessageMap(), entries};
    return &map;
}

CPageHtmlBox1::CPageHtmlBox1(CNdbStyle* record) : CPageHtmlBoxBase(TemplateId, record)
{
    const int fields[] = {StyleTop, StyleBottom, StyleLeft, StyleRight};
    for (std::size_t i = 0; i < m_sides.size(); ++i)
        m_sides[i].field = fields[i];
}

CPageHtmlBox1::~CPageHtmlBox1()
{
    DestroyWindow();
}

void CPageHtmlBox1::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdZIndex, m_zIndex);
    DDX_Control(dx, IdWidth, m_width);
    DDX_Control(dx, IdWidthUnit, m_widthUnit);
    DDX_Control(dx, IdHeight, m_height);
    DDX_Control(dx, IdWrapping, m_wrapping);
    DDX_Control(dx, IdOverflow, m_overflow);
    for (std::size_t i = 0; i < m_sides.size(); ++i)
    {
        DDX_Control(dx, SideValues[i], m_sides[i].value);
        DDX_Control(dx, SideUnits[i], m_sides[i].unit);
        DDX_Control(dx, SideDefaults[i], m_sides[i].useDefault);
    }
    DDX_Radio(dx, IdInLine, m_boxType);
    DDX_Check(dx, IdForceNewLine, m_forceNewLine);
    DDX_Radio(dx, IdWidthDefault, m_widthMode);
    DDX_Radio(dx, IdHeightDefault, m_heightMode);
}

bool CPageHtmlBox1::OnInitDialog()
{
    CPageHtmlBoxBase::OnInitDialog();
    for (CNumberEditCtrl* edit : {&m_sides[0].value, &m_sides[1].value, &m_sides[2].value, &m_sides[3].value,
                                  &m_zIndex, &m_width, &m_height})
    {
        edit->SetLimitText(EditLength);
        edit->SetupSpin(edit == &m_width || edit == &m_height ? 0 : -Limit, Limit);
    }
    StartSize();
    StartSides();
    m_zIndex.SetValue(m_record->GetInt(StyleZIndex, NewBoxZIndex));
    FillKeywordList(m_wrapping, Wrapping);
    SelectCode(m_wrapping, m_record->GetInt(StyleFloat, 0));
    m_forceNewLine = m_record->GetInt(StyleClear, -1) == ClearBoth ? 1 : 0;
    FillKeywordList(m_overflow, Overflow);
    LoadKeyword(m_overflow, *m_record, StyleOverflow);
    CNdbFieldValue position;
    m_boxType = m_record->GetField(StylePosition, position) ? 1 : 0;
    UpdateData(false);
    ApplyTypeRule();
    ApplySizeRule();
    AddGroups();
    m_groups.Mark();
    return true;
}

void CPageHtmlBox1::StartSize()
{
    m_widthLength.Load(*m_record, StyleWidth, m_width, FullWidth);
    const int widthUnit = m_widthLength.IsPresent() ? m_widthLength.LoadedUnit() : int(NdbUnitPercent);
    m_widthMode =
        m_widthLength.IsPresent() && !(m_width.GetValue() == FullWidth && widthUnit == NdbUnitPercent);
    FillKeywordList(m_widthUnit, ShortUnits);
    SelectUnit(m_widthUnit, widthUnit);
    m_heightLength.Load(*m_record, StyleHeight, m_height, 0);
    m_heightMode = m_heightLength.IsPresent() ? 1 : 0;
}

void CPageHtmlBox1::StartSides()
{
    for (Side& side : m_sides)
    {
        side.length.Load(*m_record, side.field, side.value, 0);
        side.useDefault.SetCheck(side.length.IsPresent() ? BST_UNCHECKED : BST_CHECKED);
        FillKeywordList(side.unit, ShortUnits);
        SelectUnit(side.unit, side.length.IsPresent() ? side.length.LoadedUnit() : int(NdbUnitPx));
    }
}

void CPageHtmlBox1::AddGroups()
{
    AddSizeGroups();
    for (Side& item : m_sides)
    {
        Side* side = &item;
        m_groups.Add([side]
                     { return CheckState(side->useDefault) + side->length.Text() + ListState(side->unit); },
                     [this, side]
                     {
                         if (side->useDefault.GetCheck() == BST_CHECKED)
                             m_record->RemoveField(side->field);
                         else if (const int unit = SelectedUnit(side->unit))
                             m_record->SetField(side->field, side->length.Value(unit));
                     });
    }
    m_groups.Add([this] { return m_zIndex.GetWindowText(); }, [this]
                 { m_record->SetField(StyleZIndex, CNdbFieldValue(NdbValueInt, m_zIndex.GetValue())); });
    AddKeywordGroup(m_groups, m_wrapping, *m_record, StyleFloat, NdbValueFloatKeyword);
    m_groups.Add([this] { return QString::number(m_forceNewLine); },
                 [this]
                 {
                     if (m_forceNewLine)
                         m_record->SetField(StyleClear, CNdbFieldValue(NdbValueClear, ClearBoth));
                     else
                         m_record->RemoveField(StyleClear);
                 });
    AddKeywordGroup(m_groups, m_overflow, *m_record, StyleOverflow, NdbValueOverflow);
    m_groups.Add([this] { return QString::number(m_boxType); },
                 [this]
                 {
                     if (m_boxType == 1)
                         m_record->SetField(StylePosition, CNdbFieldValue(NdbValuePosition, Absolute));
                     else
                         m_record->RemoveField(StylePosition);
                 });
}

void CPageHtmlBox1::AddSizeGroups()
{
    m_groups.Add([this]
                 { return QString::number(m_widthMode) + m_widthLength.Text() + ListState(m_widthUnit); },
                 [this]
                 {
                     if (m_widthMode == 0)
                         m_record->RemoveField(StyleWidth);
                     else if (const int unit = SelectedUnit(m_widthUnit))
                         m_record->SetField(StyleWidth, m_widthLength.Value(unit));
                 });
    // The height is shown in pixels; a height left alone keeps its own unit.
    m_groups.Add([this] { return QString::number(m_heightMode) + m_heightLength.Text(); },
                 [this]
                 {
                     if (m_heightMode == 0)
                         m_record->RemoveField(StyleHeight);
                     else
                         m_record->SetField(
                             StyleHeight, m_heightLength.Value(m_heightLength.Edited() ? int(NdbUnitPx) : 0));
                 });
}

bool CPageHtmlBox1::IsFreeFloating() const
{
    return m_boxType == 1;
}

void CPageHtmlBox1::ApplyTypeRule()
{
    UpdateData(true);
    const bool inLine = !IsFreeFloating();
    for (int id : {int(IdWrappingLabel), int(IdWrapping), int(IdForceNewLineLabel), int(IdForceNewLine)})
        DlgItem(id).EnableWindow(inLine);
    for (int id : SideLabels)
        DlgItem(id).EnableWindow(!inLine);
    m_zIndex.EnableWindow(!inLine);
    DlgItem(IdZIndexLabel).EnableWindow(!inLine);
    for (Side& side : m_sides)
    {
        side.useDefault.EnableWindow(!inLine);
        const bool custom = !inLine && side.useDefault.GetCheck() != BST_CHECKED;
        side.value.EnableWindow(custom);
        side.unit.EnableWindow(custom);
    }
}

void CPageHtmlBox1::ApplySizeRule()
{
    UpdateData(true);
    m_width.EnableWindow(m_widthMode == 1);
    m_widthUnit.EnableWindow(m_widthMode == 1);
    m_height.EnableWindow(m_heightMode == 1);
}

LRESULT CPageHtmlBox1::OnTypeRule(WPARAM, LPARAM)
{
    ApplyTypeRule();
    return 0;
}

LRESULT CPageHtmlBox1::OnSizeRule(WPARAM, LPARAM)
{
    ApplySizeRule();
    return 0;
}
