#include "dialogs/PageStyle2.h"

#include "ndb/NdbStyle.h"

#include <cmath>
#include <set>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 131;
constexpr int Limit = 8192;
constexpr int EditLength = 4;

enum ControlId : UINT
{
    IdHorizontal = 1014,
    IdVertical = 1015,
    IdIndent = 1016,
    IdIndentUnit = 1017,
    IdLetters = 1018,
    IdLines = 1019,
    IdLettersValue = 1020,
    IdLettersUnit = 1021,
    IdLinesValue = 1022,
    IdLinesUnit = 1023,
    IdDefaultMargins = 1321,
    IdMarginUnit = 1328,
    IdDefaultPadding = 1347,
    IdPaddingUnit = 1354,
    IdPreview = 1013,
};

// Top, bottom, left, right.
constexpr int MarginIds[] = {1326, 1319, 1322, 1324};
constexpr int MarginLabels[] = {1327, 1320, 1323, 1325, 1330};
constexpr int PaddingIds[] = {1352, 1345, 1348, 1350};
constexpr int PaddingLabels[] = {1353, 1346, 1349, 1351, 1355};

constexpr KeywordEntry Horizontal[] = {{9200, DefaultKeyword}, {9201, 0}, {9202, 1}, {9203, 2}, {9204, 3}};
constexpr KeywordEntry Vertical[] = {{9210, DefaultKeyword}, {9211, 3}, {9212, 4}, {9213, 5}, {9214, 0}};
constexpr KeywordEntry LetterModes[] = {{8300, DefaultKeyword}, {8301, 0}, {8302, 1}};
constexpr KeywordEntry LineModes[] = {{8320, DefaultKeyword}, {8321, 0}, {8322, 1}};
constexpr int NormalMode = 0;
constexpr int CustomMode = 1;

void SetupNumber(CNumberEditCtrl& edit, int minimum)
{
    edit.SetLimitText(EditLength);
    edit.SetupSpin(minimum, Limit);
}
} // namespace

const MessageMap* CPageStyle2::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(CBN_SELCHANGE, IdHorizontal, &CPageStyle2::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdVertical, &CPageStyle2::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdLettersUnit, &CPageStyle2::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdLinesUnit, &CPageStyle2::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdMarginUnit, &CPageStyle2::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdPaddingUnit, &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, IdIndent, &CPageStyle2::OnValueChanged),
        OnControl(EN_KILLFOCUS, IdIndent, &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, IdLettersValue, &CPageStyle2::OnValueChanged),
        OnControl(EN_KILLFOCUS, IdLettersValue, &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, IdLinesValue, &CPageStyle2::OnValueChanged),
        OnControl(EN_KILLFOCUS, IdLinesValue, &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, MarginIds[0], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, MarginIds[1], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, MarginIds[2], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, MarginIds[3], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, PaddingIds[0], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, PaddingIds[1], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, PaddingIds[2], &CPageStyle2::OnValueChanged),
        OnControl(EN_CHANGE, PaddingIds[3], &CPageStyle2::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdIndentUnit, &CPageStyle2::OnIndentUnitChange),
        OnControl(CBN_SELCHANGE, IdLetters, &CPageStyle2::OnLetterSpacingMode),
        OnControl(CBN_SELCHANGE, IdLines, &CPageStyle2::OnLineHeightMode),
        OnControl(BN_CLICKED, IdDefaultMargins, &CPageStyle2::OnDefaultMargins),
        OnControl(BN_CLICKED, IdDefaultPadding, &CPageStyle2::OnDefaultPadding),
    };
    static const MessageMap map{CPageStyleBase::GetMessageMap(), entries};
    return &map;
}

CPageStyle2::CPageStyle2(IDialogContext* context, CNdbStyle* style)
    : CPageStyleBase(TemplateId, context, style)
{
    m_letters.field = StyleLetterSpacing;
    m_lines.field = StyleLineHeight;
    m_margins.fields = {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight};
    m_padding.fields = {StylePaddingTop, StylePaddingBottom, StylePaddingLeft, StylePaddingRight};
}

CPageStyle2::~CPageStyle2()
{
    DestroyWindow();
}

void CPageStyle2::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdHorizontal, m_horizontal);
    DDX_Control(dx, IdVertical, m_vertical);
    DDX_Control(dx, IdIndent, m_indent);
    DDX_Control(dx, IdIndentUnit, m_indentUnit);
    DDX_Control(dx, IdLetters, m_letters.mode);
    DDX_Control(dx, IdLettersValue, m_letters.value);
    DDX_Control(dx, IdLettersUnit, m_letters.unit);
    DDX_Control(dx, IdLines, m_lines.mode);
    DDX_Control(dx, IdLinesValue, m_lines.value);
    DDX_Control(dx, IdLinesUnit, m_lines.unit);
    DDX_Control(dx, IdDefaultMargins, m_margins.useDefault);
    DDX_Control(dx, IdMarginUnit, m_margins.unit);
    DDX_Control(dx, IdDefaultPadding, m_padding.useDefault);
    DDX_Control(dx, IdPaddingUnit, m_padding.unit);
    for (std::size_t i = 0; i < 4; ++i)
    {
        DDX_Control(dx, MarginIds[i], m_margins.values[i]);
        DDX_Control(dx, PaddingIds[i], m_padding.values[i]);
    }
}

bool CPageStyle2::OnInitDialog()
{
    CPageStyleBase::OnInitDialog();
    CreatePreview(IdPreview);
    SetupNumber(m_indent, -Limit);
    SetupNumber(m_letters.value, -Limit);
    SetupNumber(m_lines.value, 0);
    for (std::size_t i = 0; i < 4; ++i)
    {
        SetupNumber(m_margins.values[i], -Limit);
        SetupNumber(m_padding.values[i], 0);
    }
    FillKeywordList(m_horizontal, Horizontal);
    FillKeywordList(m_vertical, Vertical);
    FillUnitList(m_indentUnit, true);
    FillKeywordList(m_letters.mode, LetterModes);
    FillUnitList(m_letters.unit, false);
    FillKeywordList(m_lines.mode, LineModes);
    FillUnitList(m_lines.unit, true);
    FillUnitList(m_margins.unit, true);
    FillUnitList(m_padding.unit, true);

    LoadKeyword(m_horizontal, *m_style, StyleTextAlign);
    LoadKeyword(m_vertical, *m_style, StyleVerticalAlign);
    m_indentLength.Load(*m_style, StyleTextIndent, m_indent, 0);
    SelectUnit(m_indentUnit, m_indentLength.IsPresent() ? m_indentLength.LoadedUnit() : int(NdbUnitPx));
    LoadSpacing(m_letters);
    LoadSpacing(m_lines);
    LoadSides(m_margins);
    LoadSides(m_padding);

    ApplySpacingMode(m_letters, false);
    ApplySpacingMode(m_lines, false);
    ApplySidesDefault(m_margins, MarginLabels);
    ApplySidesDefault(m_padding, PaddingLabels);
    AddFieldGroups();
    UpdatePreview();
    FinishInit();
    return true;
}

void CPageStyle2::LoadSpacing(Spacing& spacing)
{
    spacing.length.Load(*m_style, spacing.field, spacing.value, 0);
    if (!spacing.length.IsPresent())
    {
        SelectCode(spacing.mode, DefaultKeyword);
        SelectUnit(spacing.unit, NdbUnitPx);
        return;
    }
    // A value below one counts as "Normal", as the page shows whole numbers only.
    const bool normal = spacing.value.GetValue() == 0;
    SelectCode(spacing.mode, normal ? NormalMode : CustomMode);
    SelectUnit(spacing.unit, spacing.length.LoadedUnit());
}

void CPageStyle2::LoadSides(Sides& sides)
{
    std::set<int> units;
    for (std::size_t i = 0; i < 4; ++i)
    {
        sides.lengths[i].Load(*m_style, sides.fields[i], sides.values[i], 0);
        if (sides.lengths[i].IsPresent())
            units.insert(sides.lengths[i].LoadedUnit());
    }
    sides.useDefault.SetCheck(units.empty() ? BST_CHECKED : BST_UNCHECKED);
    // Sides in different units show no unit and keep their own.
    if (units.size() <= 1)
        SelectUnit(sides.unit, units.empty() ? int(NdbUnitPx) : *units.begin());
}

QString CPageStyle2::SidesState(Sides& sides)
{
    QString state = QString::number(sides.useDefault.GetCheck()) + ListState(sides.unit);
    for (const CNumberEditCtrl& value : sides.values)
        state += QLatin1Char('|') + value.GetWindowText();
    return state;
}

void CPageStyle2::AddFieldGroups()
{
    AddFieldGroup([this] { return ListState(m_horizontal); },
                  [this] { StoreKeyword(m_horizontal, *m_style, StyleTextAlign, NdbValueTextAlign); });
    AddFieldGroup([this] { return ListState(m_vertical); },
                  [this] { StoreKeyword(m_vertical, *m_style, StyleVerticalAlign, NdbValueVerticalAlign); });
    AddFieldGroup([this] { return m_indent.GetWindowText() + ListState(m_indentUnit); },
                  [this]
                  {
                      const int unit = SelectedUnit(m_indentUnit);
                      if (unit != 0)
                          m_style->SetField(StyleTextIndent, m_indentLength.Value(unit));
                  });
    for (Spacing* spacing : {&m_letters, &m_lines})
    {
        AddFieldGroup(
            [spacing] {
                return ListState(spacing->mode) + ListState(spacing->unit) + '|' +
                       spacing->value.GetWindowText();
            },
            [this, spacing] { StoreSpacing(*spacing); });
    }
    for (Sides* sides : {&m_margins, &m_padding})
        AddFieldGroup([this, sides] { return SidesState(*sides); }, [this, sides] { StoreSides(*sides); });
}

void CPageStyle2::StoreSpacing(Spacing& spacing)
{
    switch (SelectedCode(spacing.mode))
    {
    case DefaultKeyword:
        m_style->RemoveField(spacing.field);
        break;
    case NormalMode:
        m_style->SetField(spacing.field, CNdbFieldValue(0.0f, NdbUnitNone));
        break;
    case CustomMode:
        if (const int unit = SelectedUnit(spacing.unit))
            m_style->SetField(spacing.field, spacing.length.Value(unit));
        break;
    default:
        break;
    }
}

void CPageStyle2::StoreSides(Sides& sides)
{
    const bool useDefault = sides.useDefault.GetCheck() == BST_CHECKED;
    for (std::size_t i = 0; i < 4; ++i)
    {
        if (useDefault)
            m_style->RemoveField(sides.fields[i]);
        else
            m_style->SetField(sides.fields[i], sides.lengths[i].Value(SelectedUnit(sides.unit)));
    }
}

void CPageStyle2::ApplySpacingMode(Spacing& spacing, bool focusValue)
{
    if (spacing.mode.GetCurSel() < 0)
        return;
    const bool custom = SelectedCode(spacing.mode) == CustomMode;
    spacing.unit.EnableWindow(custom);
    spacing.value.EnableWindow(custom);
    if (custom && focusValue)
    {
        spacing.value.SetFocus();
        spacing.value.SetSel(0, -1);
    }
}

void CPageStyle2::ApplySidesDefault(Sides& sides, std::span<const int> labels)
{
    const bool enabled = sides.useDefault.GetCheck() != BST_CHECKED;
    for (CNumberEditCtrl& value : sides.values)
        value.EnableWindow(enabled);
    sides.unit.EnableWindow(enabled);
    for (int id : labels)
    {
        if (CWnd* label = GetDlgItem(id))
            label->EnableWindow(enabled);
    }
}

LRESULT CPageStyle2::OnIndentUnitChange(WPARAM, LPARAM)
{
    if (m_indentUnit.GetCurSel() >= 0)
        UpdatePreview();
    return 0;
}

LRESULT CPageStyle2::OnLetterSpacingMode(WPARAM, LPARAM)
{
    ApplySpacingMode(m_letters, true);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle2::OnLineHeightMode(WPARAM, LPARAM)
{
    ApplySpacingMode(m_lines, true);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle2::OnDefaultMargins(WPARAM, LPARAM)
{
    ApplySidesDefault(m_margins, MarginLabels);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle2::OnDefaultPadding(WPARAM, LPARAM)
{
    ApplySidesDefault(m_padding, PaddingLabels);
    UpdatePreview();
    return 0;
}
