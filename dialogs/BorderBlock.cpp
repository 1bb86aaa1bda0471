#include "dialogs/BorderBlock.h"

#include "ndb/NdbStyle.h"
#include "platform/ui/DataExchange.h"
#include "res/dialogs/PageStyle3.h"

#include <set>

using namespace ndb;

namespace
{
constexpr int SolidBorder = 4;
constexpr int IdDefaultBorder = IDC_DEFAULT_BORDER;
constexpr int IdUnit = IDC_BORDER_UNIT;

// Top, bottom, left, right: style list, width edit and colour swatch of each side.
constexpr int StyleIds[] = {IDC_TOP_BORDER_STYLE, IDC_BOTTOM_BORDER_STYLE, IDC_LEFT_BORDER_STYLE,
                            IDC_RIGHT_BORDER_STYLE};
constexpr int WidthIds[] = {IDC_TOP_BORDER_WIDTH, IDC_BOTTOM_BORDER_WIDTH, IDC_LEFT_BORDER_WIDTH,
                            IDC_RIGHT_BORDER_WIDTH};
constexpr int ColorIds[] = {IDC_TOP_BORDER_COLOR, IDC_BOTTOM_BORDER_COLOR, IDC_LEFT_BORDER_COLOR,
                            IDC_RIGHT_BORDER_COLOR};
constexpr int Labels[] = {IDC_BORDER_STYLE_LABEL, IDC_BORDER_WIDTH_LABEL, IDC_BORDER_COLOR_LABEL,
                          IDC_BORDER_UNIT_LABEL,  IDC_TOP_BORDER_LABEL,   IDC_BOTTOM_BORDER_LABEL,
                          IDC_LEFT_BORDER_LABEL,  IDC_RIGHT_BORDER_LABEL};

constexpr KeywordEntry BorderStyles[] = {{8100, 0}, {8101, 4}, {8102, 3}, {8103, 2}, {8104, 5},
                                         {8105, 6}, {8106, 7}, {8107, 8}, {8108, 9}};
} // namespace

CBorderBlock::CBorderBlock(CNdbPalette* palette, CNdbStyle* style, const CNdbColor& absentColor)
    : m_style(style), m_absentColor(absentColor)
{
    const int fields[4][3] = {{StyleBorderTopStyle, StyleBorderTopWidth, StyleBorderTopColor},
                              {StyleBorderBottomStyle, StyleBorderBottomWidth, StyleBorderBottomColor},
                              {StyleBorderLeftStyle, StyleBorderLeftWidth, StyleBorderLeftColor},
                              {StyleBorderRightStyle, StyleBorderRightWidth, StyleBorderRightColor}};
    for (std::size_t i = 0; i < 4; ++i)
    {
        m_borders[i].styleField = fields[i][0];
        m_borders[i].widthField = fields[i][1];
        m_borders[i].colorField = fields[i][2];
        m_borders[i].color = std::make_unique<CColorBoxCtrl>(palette);
    }
}

void CBorderBlock::BindControls(CDataExchange* dx)
{
    DDX_Control(dx, IdDefaultBorder, m_useDefault);
    DDX_Control(dx, IdUnit, m_unit);
    for (std::size_t i = 0; i < 4; ++i)
    {
        DDX_Control(dx, StyleIds[i], m_borders[i].style);
        DDX_Control(dx, WidthIds[i], m_borders[i].width);
    }
}

void CBorderBlock::Start(CWnd* host, int widthMinimum, int widthMaximum, int widthLength)
{
    m_host = host;
    for (std::size_t i = 0; i < 4; ++i)
    {
        m_borders[i].width.SetLimitText(widthLength);
        m_borders[i].width.SetupSpin(widthMinimum, widthMaximum);
        m_borders[i].color->CreateFromPlaceholder(host->GetDlgItem(ColorIds[i]), 0);
        m_borders[i].style.ResetContent();
        FillKeywordList(m_borders[i].style, BorderStyles);
    }
    m_unit.ResetContent();
    FillUnitList(m_unit, true);
    Load();
    ApplyDefaultBorder();
}

void CBorderBlock::Load()
{
    bool anyPresent = false;
    std::set<int> units;
    for (Border& border : m_borders)
    {
        CNdbFieldValue value;
        const bool hasStyle = m_style->GetField(border.styleField, value);
        SelectCode(border.style, hasStyle ? value.GetInt() : SolidBorder);
        const bool hasColor = m_style->GetField(border.colorField, value) && value.GetColor();
        SetColorBoxColor(hasColor ? *value.GetColor() : m_absentColor, border.color.get());
        border.length.Load(*m_style, border.widthField, border.width, 1);
        if (border.length.IsPresent())
            units.insert(border.length.LoadedUnit());
        anyPresent = anyPresent || hasStyle || hasColor || border.length.IsPresent();
    }
    m_useDefault.SetCheck(anyPresent ? BST_UNCHECKED : BST_CHECKED);
    // Widths in different units show no unit and keep their own.
    if (units.size() <= 1)
        SelectUnit(m_unit, units.empty() ? int(NdbUnitPx) : *units.begin());
}

bool CBorderBlock::OnCommand(UINT id, UINT code)
{
    if (id == IdDefaultBorder && code == BN_CLICKED)
        ApplyDefaultBorder();
    return false;
}

void CBorderBlock::ApplyDefaultBorder()
{
    const bool enabled = m_useDefault.GetCheck() != BST_CHECKED;
    for (Border& border : m_borders)
    {
        border.style.EnableWindow(enabled);
        border.width.EnableWindow(enabled);
        border.color->EnableWindow(enabled);
    }
    m_unit.EnableWindow(enabled);
    for (int id : Labels)
        m_host->DlgItem(id).EnableWindow(enabled);
}

QString CBorderBlock::State() const
{
    QString state = QString::number(m_useDefault.GetCheck()) + ListState(m_unit);
    for (const Border& border : m_borders)
        state += QLatin1Char('|') + ListState(border.style) + QLatin1Char(',') +
                 border.width.GetWindowText() + QLatin1Char(',') + border.color->GetColor().ToText();
    return state;
}

void CBorderBlock::Store()
{
    const bool useDefault = m_useDefault.GetCheck() == BST_CHECKED;
    const int unit = SelectedUnit(m_unit);
    for (const Border& border : m_borders)
    {
        if (useDefault)
        {
            m_style->RemoveField(border.widthField);
            m_style->RemoveField(border.colorField);
            m_style->RemoveField(border.styleField);
            continue;
        }
        m_style->SetField(border.widthField, border.length.Value(unit));
        if (border.style.GetCurSel() >= 0)
            m_style->SetField(border.styleField,
                              CNdbFieldValue(NdbValueBorderStyle, SelectedCode(border.style)));
        m_style->SetField(border.colorField, CNdbFieldValue(border.color->GetColor()));
    }
}
