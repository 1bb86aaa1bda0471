#include "dialogs/PageStyle3.h"

#include "base/AppStrings.h"
#include "dialogs/DialogContext.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/WinApp.h"

#include <set>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = 132;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr int CustomPosition = 3;
constexpr int SolidBorder = 4;
constexpr quint32 RemoveImageQuestionId = 13902;

enum ControlId : UINT
{
    IdBackground = 1217,
    IdImageName = 1268,
    IdTiling = 1387,
    IdPosX = 1357,
    IdPosXUnit = 1358,
    IdPosXValue = 1359,
    IdPosY = 1360,
    IdPosYUnit = 1361,
    IdPosYValue = 1362,
    IdDefaultBorder = 1228,
    IdBorderUnit = 1243,
    IdBrowse = 1368,
    IdRemove = 1371,
    IdImageEffects = 1575,
    IdPreview = 1024,
};

// Top, bottom, left, right: style list, width edit and colour swatch of each side.
constexpr int StyleIds[] = {1239, 1222, 1229, 1233};
constexpr int WidthIds[] = {1242, 1225, 1232, 1236};
constexpr int ColorIds[] = {1241, 1224, 1231, 1235};
constexpr int BorderLabels[] = {1238, 1245, 1227, 1244, 1240, 1223, 1230, 1234};
constexpr int ImageLabels[] = {1395, 1393, 1394};

constexpr KeywordEntry Tiling[] = {{9100, DefaultKeyword}, {9101, 3}, {9102, 1}, {9103, 2}, {9104, 0}};
constexpr KeywordEntry PositionX[] = {{9110, DefaultKeyword}, {9111, 0}, {9112, 1}, {9113, 2}, {9114, 3}};
constexpr KeywordEntry PositionY[] = {{9120, DefaultKeyword}, {9121, 0}, {9122, 1}, {9123, 2}, {9124, 3}};
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
        OnControl(CBN_SELCHANGE, IdPosX, &CPageStyle3::OnPosXModeChange),
        OnControl(CBN_SELCHANGE, IdPosY, &CPageStyle3::OnPosYModeChange),
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
        OnControl(BN_CLICKED, IdRemove, &CPageStyle3::OnRemoveImage),
    };
    static const MessageMap map{CPageStyleBase::GetMessageMap(), entries};
    return &map;
}

CPageStyle3::CPageStyle3(IDialogContext* context, CNdbStyle* style)
    : CPageStyleBase(TemplateId, context, style), m_palette(PaletteOf(context)), m_background(m_palette)
{
    m_x.keywordField = StyleBackgroundPositionX;
    m_x.lengthField = StyleBackgroundPositionXLength;
    m_y.keywordField = StyleBackgroundPositionY;
    m_y.lengthField = StyleBackgroundPositionYLength;
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
    DDX_Control(dx, IdImageName, m_imageName);
    DDX_Control(dx, IdTiling, m_tiling);
    DDX_Control(dx, IdPosX, m_x.mode);
    DDX_Control(dx, IdPosXValue, m_x.value);
    DDX_Control(dx, IdPosXUnit, m_x.unit);
    DDX_Control(dx, IdPosY, m_y.mode);
    DDX_Control(dx, IdPosYValue, m_y.value);
    DDX_Control(dx, IdPosYUnit, m_y.unit);
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
    for (CNumberEditCtrl* edit : {&m_x.value, &m_y.value, &m_borders[0].width, &m_borders[1].width,
                                  &m_borders[2].width, &m_borders[3].width})
    {
        edit->SetLimitText(EditLength);
        edit->SetupSpin(-Limit, Limit);
    }
    m_background.CreateFromPlaceholder(GetDlgItem(IdBackground), 0);
    for (std::size_t i = 0; i < 4; ++i)
        m_borders[i].color->CreateFromPlaceholder(GetDlgItem(ColorIds[i]), 0);
    FillKeywordList(m_tiling, Tiling);
    FillKeywordList(m_x.mode, PositionX);
    FillKeywordList(m_y.mode, PositionY);
    FillUnitList(m_x.unit, true);
    FillUnitList(m_y.unit, true);
    FillUnitList(m_borderUnit, true);
    for (Border& border : m_borders)
        FillKeywordList(border.style, BorderStyles);
    // The image chooser and the effect editor of the background image are not part of this page yet.
    GetDlgItem(IdBrowse)->EnableWindow(false);

    CNdbFieldValue value;
    SetColorBoxColor(m_style->GetField(StyleBackgroundColor, value) && value.GetColor() ? *value.GetColor()
                                                                                        : CNdbColor(),
                     &m_background);
    LoadKeyword(m_tiling, *m_style, StyleBackgroundRepeat);
    LoadPosition(m_x);
    LoadPosition(m_y);
    LoadBorders();
    ApplyDefaultBorder();
    AddFieldGroups();
    UpdateImageControls();
    FinishInit();
    return true;
}

void CPageStyle3::LoadPosition(Position& position)
{
    LoadKeyword(position.mode, *m_style, position.keywordField);
    position.length.Load(*m_style, position.lengthField, position.value, 0);
    SelectUnit(position.unit, position.length.IsPresent() ? position.length.LoadedUnit() : int(NdbUnitPx));
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
    AddFieldGroup([this] { return m_background.GetColor().ToText(); },
                  [this]
                  {
                      const CNdbColor color = m_background.GetColor();
                      if (color.GetKind() == NdbColorNone)
                          m_style->RemoveField(StyleBackgroundColor);
                      else
                          m_style->SetField(StyleBackgroundColor, CNdbFieldValue(color));
                  });
    AddFieldGroup([this] { return ListState(m_tiling); }, [this]
                  { StoreKeyword(m_tiling, *m_style, StyleBackgroundRepeat, NdbValueBackgroundRepeat); });
    // Named copies: older compilers cannot capture structured bindings.
    for (const auto& axis :
         {std::pair{&m_x, NdbValueBackgroundPositionX}, {&m_y, NdbValueBackgroundPositionY}})
    {
        const auto position = axis.first;
        const auto type = axis.second;
        AddFieldGroup([position] { return ListState(position->mode); }, [this, position, type]
                      { StoreKeyword(position->mode, *m_style, position->keywordField, type); });
        AddFieldGroup([position] { return position->value.GetWindowText() + ListState(position->unit); },
                      [this, position]
                      {
                          if (const int unit = SelectedUnit(position->unit))
                              m_style->SetField(position->lengthField, position->length.Value(unit));
                      });
    }
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

void CPageStyle3::UpdateImageControls()
{
    const CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    const QString key = m_style->GetString(StyleBackgroundImage);
    const CNdbResource* image =
        newsletter && !key.isEmpty() ? newsletter->Layout().FindResourceById(key) : nullptr;
    m_imageName.SetWindowText(image ? image->GetName() : QString());
    const bool found = image != nullptr;
    for (int id : {int(IdRemove), int(IdTiling), int(IdPosX), int(IdPosY), ImageLabels[0], ImageLabels[1],
                   ImageLabels[2]})
        GetDlgItem(id)->EnableWindow(found);
    for (Position* position : {&m_x, &m_y})
    {
        position->value.EnableWindow(found);
        position->unit.EnableWindow(found);
    }
    GetDlgItem(IdImageEffects)->EnableWindow(false);
    if (found)
    {
        ApplyPositionMode(m_x);
        ApplyPositionMode(m_y);
    }
    UpdatePreview();
}

void CPageStyle3::ApplyPositionMode(Position& position)
{
    if (position.mode.GetCurSel() < 0)
        return;
    const bool custom = SelectedCode(position.mode) == CustomPosition;
    position.value.EnableWindow(custom);
    position.unit.EnableWindow(custom);
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

LRESULT CPageStyle3::OnPosXModeChange(WPARAM, LPARAM)
{
    ApplyPositionMode(m_x);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle3::OnPosYModeChange(WPARAM, LPARAM)
{
    ApplyPositionMode(m_y);
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle3::OnDefaultBorder(WPARAM, LPARAM)
{
    ApplyDefaultBorder();
    UpdatePreview();
    return 0;
}

LRESULT CPageStyle3::OnRemoveImage(WPARAM, LPARAM)
{
    if (AfxMessageBox(LoadAppString(RemoveImageQuestionId), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    // The effect belongs to the image: without it, it would come back with any later image.
    m_style->RemoveField(StyleBackgroundImage);
    m_style->RemoveField(StyleBackgroundPipeline);
    UpdateImageControls();
    return 0;
}
