#include "dialogs/PageStyle3.h"

#include "base/AppStrings.h"
#include "dialogs/DialogContext.h"
#include "ndb/NdbNewsletter.h"

#include <set>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 132;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr int SolidBorder = 4;
constexpr quint32 RemoveImageQuestionId = 13902;

enum ControlId : UINT
{
    IdTiling = 1387,
    IdPosXUnit = 1358,
    IdPosXValue = 1359,
    IdPosX = 1357,
    IdPosY = 1360,
    IdPosYUnit = 1361,
    IdPosYValue = 1362,
    IdDefaultBorder = 1228,
    IdBorderUnit = 1243,
    IdPreview = 1024,
};

// Top, bottom, left, right: style list, width edit and colour swatch of each side.
constexpr int StyleIds[] = {1239, 1222, 1229, 1233};
constexpr int WidthIds[] = {1242, 1225, 1232, 1236};
constexpr int ColorIds[] = {1241, 1224, 1231, 1235};
constexpr int BorderLabels[] = {1238, 1245, 1227, 1244, 1240, 1223, 1230, 1234};
constexpr BackgroundBlockSetup Background{0, 0, RemoveImageQuestionId, Limit, EditLength};
constexpr KeywordEntry BorderStyles[] = {{8100, 0}, {8101, 4}, {8102, 3}, {8103, 2}, {8104, 5},
                                         {8105, 6}, {8106, 7}, {8107, 8}, {8108, 9}};

CNdbPalette* PaletteOf(IDialogContext* context)
{
    CNdbNewsletter* newsletter = context ? context->GetCurrentNewsletter() : nullptr;
    return newsletter ? &newsletter->Palette() : nullptr;
}
} // namespace

const MessageMap* CPageStyle3::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_COLORBOX_CHANGED, &CPageStyle3::OnColorChanged),
        OnControl(CBN_SELCHANGE, IdPosX, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdPosY, &CPageStyle3::OnValueChanged),
        OnControl(BN_CLICKED, IdDefaultBorder, &CPageStyle3::OnDefaultBorder),
        OnControl(EN_CHANGE, WidthIds[0], &CPageStyle3::OnValueChanged),
        OnControl(EN_CHANGE, WidthIds[1], &CPageStyle3::OnValueChanged),
        OnControl(EN_CHANGE, WidthIds[2], &CPageStyle3::OnValueChanged),
        OnControl(EN_CHANGE, WidthIds[3], &CPageStyle3::OnValueChanged),
        OnControl(EN_CHANGE, IdPosXValue, &CPageStyle3::OnValueChanged),
        OnControl(EN_CHANGE, IdPosYValue, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdTiling, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdPosXUnit, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdPosYUnit, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, StyleIds[0], &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, StyleIds[1], &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, StyleIds[2], &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, StyleIds[3], &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdBorderUnit, &CPageStyle3::OnValueChanged),
    };
    static const MessageMap map{CPageStyleBase::GetMessageMap(), entries};
    return &map;
}

CPageStyle3::CPageStyle3(IDialogContext* context, CNdbStyle* style)
    : CPageStyleBase(TemplateId, context, style), m_palette(PaletteOf(context)),
      m_background(context, style, Background)
{
    m_background.onRecordChanged = [this] { UpdatePreview(); };
    const int fields[4][3] = {{StyleBorderTopStyle, StyleBorderTopWidth, StyleBorderTopColor},
                              {StyleBorderBottomStyle, StyleBorderBottomWidth, StyleBorderBottomColor},
                              {StyleBorderLeftStyle, StyleBorderLeftWidth, StyleBorderLeftColor},
                              {StyleBorderRightStyle, StyleBorderRightWidth, StyleBorderRightColor}};
    for (std::size_t i = 0; i < 4; ++i)
    {
        m_borders[i].styleField = fields[i][0];
        m_borders[i].widthField = fields[i][1];
        m_borders[i].colorField = fields[i][2];
        m_borders[i].color = std::make_unique<CColorBoxCtrl>(m_palette);
    }
}

CPageStyle3::~CPageStyle3()
{
    DestroyWindow();
}

void CPageStyle3::DoDataExchange(CDataExchange* dx)
{
    m_background.BindControls(dx);
    DDX_Control(dx, IdDefaultBorder, m_useDefaultBorder);
    DDX_Control(dx, IdBorderUnit, m_borderUnit);
    for (std::size_t i = 0; i < 4; ++i)
    {
        DDX_Control(dx, StyleIds[i], m_borders[i].style);
        DDX_Control(dx, WidthIds[i], m_borders[i].width);
    }
}

bool CPageStyle3::OnInitDialog()
{
    CPageStyleBase::OnInitDialog();
    CreatePreview(IdPreview);
    for (CNumberEditCtrl* edit :
         {&m_borders[0].width, &m_borders[1].width, &m_borders[2].width, &m_borders[3].width})
    {
        edit->SetLimitText(EditLength);
        edit->SetupSpin(-Limit, Limit);
    }
    for (std::size_t i = 0; i < 4; ++i)
        m_borders[i].color->CreateFromPlaceholder(GetDlgItem(ColorIds[i]), 0);
    FillUnitList(m_borderUnit, true);
    for (Border& border : m_borders)
        FillKeywordList(border.style, BorderStyles);
    m_background.Start(this);
    LoadBorders();
    ApplyDefaultBorder();
    AddFieldGroups();
    FinishInit();
    UpdatePreview();
    return true;
}

void CPageStyle3::LoadBorders()
{
    bool anyPresent = false;
    std::set<int> units;
    for (Border& border : m_borders)
    {
        CNdbFieldValue value;
        const bool hasStyle = m_style->GetField(border.styleField, value);
        SelectCode(border.style, hasStyle ? value.GetInt() : SolidBorder);
        const bool hasColor = m_style->GetField(border.colorField, value);
        SetColorBoxColor(hasColor && value.GetColor() ? *value.GetColor() : CNdbColor(0, 0, 0),
                         border.color.get());
        border.length.Load(*m_style, border.widthField, border.width, 1);
        if (border.length.IsPresent())
            units.insert(border.length.LoadedUnit());
        anyPresent = anyPresent || hasStyle || hasColor || border.length.IsPresent();
    }
    m_useDefaultBorder.SetCheck(anyPresent ? BST_UNCHECKED : BST_CHECKED);
    // Widths in different units show no unit and keep their own.
    if (units.size() <= 1)
        SelectUnit(m_borderUnit, units.empty() ? int(NdbUnitPx) : *units.begin());
}

void CPageStyle3::AddFieldGroups()
{
    AddFieldGroup([this] { return m_background.State(); }, [this] { m_background.Store(); });
    AddFieldGroup([this] { return BordersState(); }, [this] { StoreBorders(); });
}

QString CPageStyle3::BordersState()
{
    QString state = QString::number(m_useDefaultBorder.GetCheck()) + ListState(m_borderUnit);
    for (const Border& border : m_borders)
        state += QLatin1Char('|') + ListState(border.style) + QLatin1Char(',') +
                 border.width.GetWindowText() + QLatin1Char(',') + border.color->GetColor().ToText();
    return state;
}

void CPageStyle3::StoreBorders()
{
    const bool useDefault = m_useDefaultBorder.GetCheck() == BST_CHECKED;
    const int unit = SelectedUnit(m_borderUnit);
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

void CPageStyle3::ApplyDefaultBorder()
{
    const bool enabled = m_useDefaultBorder.GetCheck() != BST_CHECKED;
    for (Border& border : m_borders)
    {
        border.style.EnableWindow(enabled);
        border.width.EnableWindow(enabled);
        border.color->EnableWindow(enabled);
    }
    m_borderUnit.EnableWindow(enabled);
    for (int id : BorderLabels)
        GetDlgItem(id)->EnableWindow(enabled);
}

LRESULT CPageStyle3::OnColorChanged(WPARAM, LPARAM)
{
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle3::OnDefaultBorder(WPARAM, LPARAM)
{
    ApplyDefaultBorder();
    UpdatePreview();
    return 0;
}

bool CPageStyle3::OnCmdMsg(UINT id, UINT code)
{
    return m_background.OnCommand(id, code) || CPageStyleBase::OnCmdMsg(id, code);
}
