#include "dialogs/DlgHtmlTableProperties.h"

#include "dialogs/DialogContext.h"
#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "res/dialogs/HtmlTableProperties.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_HTML_TABLE_PROPERTIES;
constexpr int IdDefaultWidth = IDC_WIDTH_DEFAULT;
constexpr int IdSpecifyWidth = IDC_WIDTH_FIXED;
constexpr int IdWidth = IDC_WIDTH;
constexpr int IdWidthUnit = IDC_WIDTH_FIXED_UNIT;
constexpr int IdDefaultHeight = IDC_HEIGHT_DEFAULT;
constexpr int IdSpecifyHeight = IDC_HEIGHT_FIXED;
constexpr int IdHeight = IDC_HEIGHT;
constexpr int IdBorder = IDC_TABLE_BORDER;
constexpr int IdBorderColor = IDC_BORDER_COLOR;
constexpr int IdCellPadding = IDC_CELL_PADDING;
constexpr int IdCellSpacing = IDC_CELL_SPACING;
constexpr UINT IdHelp = IDC_HELP;
constexpr int Limit = 4096;
constexpr int EditLength = 4;
constexpr int SpecifyMode = 1;
constexpr int SolidBorder = 4;
constexpr BackgroundBlockSetup Background{11200, 11201, 11202, Limit, EditLength, true};
constexpr KeywordEntry WidthUnits[] = {{9000, NdbUnitPx}, {9001, NdbUnitPercent}};

void SetupNumber(CNumberEditCtrl& edit, int minimum)
{
    edit.SetLimitText(EditLength);
    edit.SetupSpin(minimum, Limit);
}

// The whole number of a length field, and whether the field is there.
bool LoadNumber(const CNdbStyle& record, int field, int& number, int* unit = nullptr)
{
    CNdbFieldValue value;
    if (!record.GetField(field, value))
        return false;
    number = int(value.GetFloat());
    if (unit)
        *unit = value.GetUnit();
    return true;
}
} // namespace

const MessageMap* CDlgHtmlTableProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdDefaultWidth, &CDlgHtmlTableProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdSpecifyWidth, &CDlgHtmlTableProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdDefaultHeight, &CDlgHtmlTableProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdSpecifyHeight, &CDlgHtmlTableProperties::OnModeClicked),
        OnCommand(IdHelp, &CDlgHtmlTableProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlTableProperties::CDlgHtmlTableProperties(IDialogContext* context, CNdbStyle* record, CWnd* parent)
    : CDialog(TemplateId, parent), m_record(record), m_background(context, record, Background),
      m_borderColor(CurrentPalette(context))
{
}

CDlgHtmlTableProperties::~CDlgHtmlTableProperties()
{
    DestroyWindow();
}

void CDlgHtmlTableProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdWidth, m_widthEdit);
    DDX_Control(dx, IdWidthUnit, m_widthUnit);
    DDX_Control(dx, IdHeight, m_heightEdit);
    DDX_Control(dx, IdBorder, m_borderEdit);
    DDX_Control(dx, IdCellPadding, m_paddingEdit);
    DDX_Control(dx, IdCellSpacing, m_spacingEdit);
    m_background.BindControls(dx);
    DDX_Radio(dx, IdDefaultWidth, m_widthMode);
    DDX_Text(dx, IdWidth, m_width);
    DDX_Radio(dx, IdDefaultHeight, m_heightMode);
    DDX_Text(dx, IdHeight, m_height);
    DDX_Text(dx, IdBorder, m_border);
    DDX_Text(dx, IdCellPadding, m_cellPadding);
    DDX_Text(dx, IdCellSpacing, m_cellSpacing);
}

bool CDlgHtmlTableProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetupNumber(m_widthEdit, 1);
    SetupNumber(m_heightEdit, 1);
    SetupNumber(m_borderEdit, 0);
    SetupNumber(m_paddingEdit, 0);
    SetupNumber(m_spacingEdit, 0);
    m_background.Start(this);
    m_borderColor.CreateFromPlaceholder(GetDlgItem(IdBorderColor), 0);
    SetColorBoxColor(LoadColor(*m_record, StyleBorderTopColor, CNdbColor(0, 0, 0)), &m_borderColor);
    LoadNumber(*m_record, StyleBorderTopWidth, m_border);
    int unit = NdbUnitPx;
    m_widthMode = LoadNumber(*m_record, StyleWidth, m_width, &unit) ? SpecifyMode : 0;
    FillKeywordList(m_widthUnit, WidthUnits);
    SelectCode(m_widthUnit, unit == NdbUnitPercent ? int(NdbUnitPercent) : int(NdbUnitPx));
    m_heightMode = LoadNumber(*m_record, StyleHeight, m_height) ? SpecifyMode : 0;
    UpdateData(false);
    UpdateSizeEnabling();
    m_background.Refresh();
    return true;
}

bool CDlgHtmlTableProperties::OnCmdMsg(UINT id, UINT code)
{
    return m_background.OnCommand(id, code) || CDialog::OnCmdMsg(id, code);
}

void CDlgHtmlTableProperties::UpdateSizeEnabling()
{
    m_widthEdit.EnableWindow(m_widthMode == SpecifyMode);
    m_widthUnit.EnableWindow(m_widthMode == SpecifyMode);
    m_heightEdit.EnableWindow(m_heightMode == SpecifyMode);
}

LRESULT CDlgHtmlTableProperties::OnModeClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    UpdateSizeEnabling();
    return 0;
}

void CDlgHtmlTableProperties::OnOK()
{
    if (!UpdateData(true))
        return;
    m_background.Store();
    m_record->SetField(StyleBorderTopColor, CNdbFieldValue(m_borderColor.GetColor()));
    m_record->SetField(StyleBorderTopWidth, CNdbFieldValue(float(m_border), NdbUnitPx));
    m_record->SetField(StyleBorderTopStyle, CNdbFieldValue(NdbValueBorderStyle, SolidBorder));
    const int unit = SelectedCode(m_widthUnit);
    if (m_widthMode != SpecifyMode || m_width == 0)
        m_record->RemoveField(StyleWidth);
    else if (unit != NoEntry)
        m_record->SetField(StyleWidth, CNdbFieldValue(float(m_width), unit));
    if (m_heightMode != SpecifyMode || m_height == 0)
        m_record->RemoveField(StyleHeight);
    else
        m_record->SetField(StyleHeight, CNdbFieldValue(float(m_height), NdbUnitPx));
    EndDialog(IDOK);
}

LRESULT CDlgHtmlTableProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
