#include "dialogs/PageStyle3.h"

#include "dialogs/DialogContext.h"
#include "ndb/NdbNewsletter.h"
#include "res/dialogs/PageStyle3.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_STYLE3;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr quint32 RemoveImageQuestionId = 13902;
constexpr BackgroundBlockSetup Background{0, 0, RemoveImageQuestionId, Limit, EditLength};

enum ControlId : UINT
{
    IdTiling = IDC_BACKGROUND_TILING,
    IdPosX = IDC_BACKGROUND_POS_X,
    IdPosXUnit = IDC_BACKGROUND_POS_X_UNIT,
    IdPosXValue = IDC_BACKGROUND_POS_X_VALUE,
    IdPosY = IDC_BACKGROUND_POS_Y,
    IdPosYUnit = IDC_BACKGROUND_POS_Y_UNIT,
    IdPosYValue = IDC_BACKGROUND_POS_Y_VALUE,
    IdDefaultBorder = IDC_DEFAULT_BORDER,
    IdBorderUnit = IDC_BORDER_UNIT,
    IdPreview = IDC_STYLE3_PREVIEW,
};

// Top, bottom, left, right: style list and width edit of each side.
constexpr int StyleIds[] = {IDC_TOP_BORDER_STYLE, IDC_BOTTOM_BORDER_STYLE, IDC_LEFT_BORDER_STYLE,
                            IDC_RIGHT_BORDER_STYLE};
constexpr int WidthIds[] = {IDC_TOP_BORDER_WIDTH, IDC_BOTTOM_BORDER_WIDTH, IDC_LEFT_BORDER_WIDTH,
                            IDC_RIGHT_BORDER_WIDTH};
} // namespace

const MessageMap* CPageStyle3::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(UM_COLORBOX_CHANGED, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdPosX, &CPageStyle3::OnValueChanged),
        OnControl(CBN_SELCHANGE, IdPosY, &CPageStyle3::OnValueChanged),
        OnControl(BN_CLICKED, IdDefaultBorder, &CPageStyle3::OnValueChanged),
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
    : CPageStyleBase(TemplateId, context, style), m_background(context, style, Background),
      m_borders(CurrentPalette(context), style, CNdbColor(0, 0, 0))
{
    m_background.onRecordChanged = [this] { UpdatePreview(); };
}

CPageStyle3::~CPageStyle3()
{
    DestroyWindow();
}

void CPageStyle3::DoDataExchange(CDataExchange* dx)
{
    m_background.BindControls(dx);
    m_borders.BindControls(dx);
}

bool CPageStyle3::OnInitDialog()
{
    CPageStyleBase::OnInitDialog();
    CreatePreview(IdPreview);
    m_background.Start(this);
    m_borders.Start(this, -Limit, Limit, EditLength);
    AddFieldGroup([this] { return m_background.State(); }, [this] { m_background.Store(); });
    AddFieldGroup([this] { return m_borders.State(); }, [this] { m_borders.Store(); });
    FinishInit();
    UpdatePreview();
    return true;
}

bool CPageStyle3::OnCmdMsg(UINT id, UINT code)
{
    return m_background.OnCommand(id, code) || m_borders.OnCommand(id, code) ||
           CPageStyleBase::OnCmdMsg(id, code);
}
