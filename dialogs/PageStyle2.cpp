#include "dialogs/PageStyle2.h"

#include "dialogs/FieldGroups.h"

#include "ndb/NdbStyle.h"
#include "res/dialogs/PageStyle2.h"

#include <cmath>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_STYLE2;
constexpr int Limit = 8192;
constexpr int EditLength = 4;

enum ControlId : UINT
{
    IdHorizontal = IDC_HORIZONTAL,
    IdVertical = IDC_VERTICAL,
    IdIndent = IDC_INDENT,
    IdIndentUnit = IDC_INDENT_UNIT,
    IdLetters = IDC_LETTERS,
    IdLines = IDC_LINES,
    IdLettersValue = IDC_LETTERS_VALUE,
    IdLettersUnit = IDC_LETTERS_UNIT,
    IdLinesValue = IDC_LINES_VALUE,
    IdLinesUnit = IDC_LINES_UNIT,
    IdDefaultMargins = IDC_DEFAULT_MARGINS,
    IdMarginUnit = IDC_MARGIN_UNIT,
    IdDefaultPadding = IDC_DEFAULT_PADDING,
    IdPaddingUnit = IDC_PADDING_UNIT,
    IdPreview = IDC_PREVIEW,
};

// Top, bottom, left, right.
constexpr int MarginIds[] = {IDC_TOP_MARGIN, IDC_BOTTOM_MARGIN, IDC_LEFT_MARGIN, IDC_RIGHT_MARGIN};
constexpr int PaddingIds[] = {IDC_TOP_PADDING, IDC_BOTTOM_PADDING, IDC_LEFT_PADDING, IDC_RIGHT_PADDING};

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
        OnControl(BN_CLICKED, IdDefaultMargins, &CPageStyle2::OnValueChanged),
        OnControl(BN_CLICKED, IdDefaultPadding, &CPageStyle2::OnValueChanged),
    };
    static const MessageMap map{CPageStyleBase::GetMessageMap(), entries};
    return &map;
}

CPageStyle2::CPageStyle2(IDialogContext* context, CNdbStyle* style)
    : CPageStyleBase(TemplateId, context, style), m_margins(style, MarginFields(), MarginControls),
      m_padding(style, PaddingFields(), PaddingControls)
{
    m_letters.field = StyleLetterSpacing;
    m_lines.field = StyleLineHeight;
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
    m_margins.BindControls(dx);
    m_padding.BindControls(dx);
}

bool CPageStyle2::OnInitDialog()
{
    CPageStyleBase::OnInitDialog();
    CreatePreview(IdPreview);
    SetupNumber(m_indent, -Limit);
    SetupNumber(m_letters.value, -Limit);
    SetupNumber(m_lines.value, 0);
    m_margins.Start(this, -Limit, Limit, EditLength);
    m_padding.Start(this, 0, Limit, EditLength);
    FillKeywordList(m_horizontal, Horizontal);
    FillKeywordList(m_vertical, Vertical);
    FillUnitList(m_indentUnit, true);
    FillKeywordList(m_letters.mode, LetterModes);
    FillUnitList(m_letters.unit, false);
    FillKeywordList(m_lines.mode, LineModes);
    FillUnitList(m_lines.unit, true);

    LoadKeyword(m_horizontal, *m_style, StyleTextAlign);
    LoadKeyword(m_vertical, *m_style, StyleVerticalAlign);
    m_indentLength.Load(*m_style, StyleTextIndent, m_indent, 0);
    SelectUnit(m_indentUnit, m_indentLength.IsPresent() ? m_indentLength.LoadedUnit() : int(NdbUnitPx));
    LoadSpacing(m_letters);
    LoadSpacing(m_lines);

    ApplySpacingMode(m_letters, false);
    ApplySpacingMode(m_lines, false);
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
    m_margins.AddGroup(Groups());
    m_padding.AddGroup(Groups());
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

bool CPageStyle2::OnCmdMsg(UINT id, UINT code)
{
    return m_margins.OnCommand(id, code) || m_padding.OnCommand(id, code) ||
           CPageStyleBase::OnCmdMsg(id, code);
}
