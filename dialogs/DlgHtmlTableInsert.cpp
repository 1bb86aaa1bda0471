#include "dialogs/DlgHtmlTableInsert.h"

#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "res/dialogs/HtmlTableInsert.h"

#include <algorithm>

namespace
{
constexpr UINT TemplateId = IDD_HTML_TABLE_INSERT;
constexpr int IdColumns = IDC_COLUMNS;
constexpr int IdRows = IDC_ROWS;
constexpr int IdDefaultWidth = IDC_DEFAULT_WIDTH;
constexpr int IdSpecifyWidth = IDC_SPECIFY_WIDTH;
constexpr int IdWidth = IDC_WIDTH;
constexpr int IdWidthUnit = IDC_WIDTH_UNIT;
constexpr int IdDefaultHeight = IDC_DEFAULT_HEIGHT;
constexpr int IdSpecifyHeight = IDC_SPECIFY_HEIGHT;
constexpr int IdHeight = IDC_HEIGHT;
constexpr int IdBorder = IDC_BORDER;
constexpr int IdCellPadding = IDC_CELL_PADDING;
constexpr int IdCellSpacing = IDC_CELL_SPACING;
constexpr UINT IdHelp = IDC_HELP;
constexpr int EditLength = 4;
constexpr int SpecifyMode = 1;
constexpr int MaxCount = 128;
constexpr int MaxSize = 4096;
constexpr int MaxSpacing = 1024;

constexpr KeywordEntry WidthUnits[] = {{9000, ndb::NdbUnitPx}, {9001, ndb::NdbUnitPercent}};

void SetupNumber(CNumberEditCtrl& edit, int minimum, int maximum)
{
    edit.SetLimitText(EditLength);
    edit.SetupSpin(minimum, maximum);
}
} // namespace

const MessageMap* CDlgHtmlTableInsert::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdDefaultWidth, &CDlgHtmlTableInsert::OnModeClicked),
        OnControl(BN_CLICKED, IdSpecifyWidth, &CDlgHtmlTableInsert::OnModeClicked),
        OnControl(BN_CLICKED, IdDefaultHeight, &CDlgHtmlTableInsert::OnModeClicked),
        OnControl(BN_CLICKED, IdSpecifyHeight, &CDlgHtmlTableInsert::OnModeClicked),
        OnCommand(IdHelp, &CDlgHtmlTableInsert::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlTableInsert::CDlgHtmlTableInsert(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgHtmlTableInsert::~CDlgHtmlTableInsert()
{
    DestroyWindow();
}

void CDlgHtmlTableInsert::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdColumns, m_columnsEdit);
    DDX_Control(dx, IdRows, m_rowsEdit);
    DDX_Control(dx, IdWidth, m_widthEdit);
    DDX_Control(dx, IdWidthUnit, m_unit);
    DDX_Control(dx, IdHeight, m_heightEdit);
    DDX_Control(dx, IdBorder, m_borderEdit);
    DDX_Control(dx, IdCellPadding, m_paddingEdit);
    DDX_Control(dx, IdCellSpacing, m_spacingEdit);
    DDX_Text(dx, IdColumns, m_columns);
    DDX_Text(dx, IdRows, m_rows);
    DDX_Radio(dx, IdDefaultWidth, m_widthMode);
    DDX_Text(dx, IdWidth, m_width);
    DDX_Radio(dx, IdDefaultHeight, m_heightMode);
    DDX_Text(dx, IdHeight, m_height);
    DDX_Text(dx, IdBorder, m_border);
    DDX_Text(dx, IdCellPadding, m_cellPadding);
    DDX_Text(dx, IdCellSpacing, m_cellSpacing);
}

bool CDlgHtmlTableInsert::OnInitDialog()
{
    m_widthMode = 0;
    m_heightMode = 0;
    CDialog::OnInitDialog();
    SetupNumber(m_columnsEdit, 1, MaxCount);
    SetupNumber(m_rowsEdit, 1, MaxCount);
    SetupNumber(m_widthEdit, 0, MaxSize);
    SetupNumber(m_heightEdit, 0, MaxSize);
    SetupNumber(m_borderEdit, 0, MaxSpacing);
    SetupNumber(m_paddingEdit, 0, MaxSpacing);
    SetupNumber(m_spacingEdit, 0, MaxSpacing);
    FillKeywordList(m_unit, WidthUnits);
    SelectCode(m_unit, m_widthValue.GetUnit());
    UpdateData(false);
    UpdateEnabling();
    return true;
}

void CDlgHtmlTableInsert::UpdateEnabling()
{
    const bool width = m_widthMode == SpecifyMode;
    const bool height = m_heightMode == SpecifyMode;
    m_widthEdit.EnableWindow(width);
    m_unit.EnableWindow(width);
    m_heightEdit.EnableWindow(height);
}

LRESULT CDlgHtmlTableInsert::OnModeClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    UpdateEnabling();
    return 0;
}

void CDlgHtmlTableInsert::OnOK()
{
    if (!UpdateData(true))
        return;
    // A typed number can leave the spin range; a table of thousands of rows would stall the page.
    m_columns = std::clamp(m_columns, 1, MaxCount);
    m_rows = std::clamp(m_rows, 1, MaxCount);
    m_width = std::clamp(m_width, 0, MaxSize);
    m_height = std::clamp(m_height, 0, MaxSize);
    m_border = std::clamp(m_border, 0, MaxSpacing);
    m_cellPadding = std::clamp(m_cellPadding, 0, MaxSpacing);
    m_cellSpacing = std::clamp(m_cellSpacing, 0, MaxSpacing);
    const int unit = SelectedCode(m_unit);
    if (m_widthMode != SpecifyMode)
        m_width = 0;
    if (m_heightMode != SpecifyMode)
        m_height = 0;
    m_widthValue = ndb::CNdbFieldValue(float(m_width), unit == NoEntry ? int(ndb::NdbUnitPx) : unit);
    EndDialog(IDOK);
}

LRESULT CDlgHtmlTableInsert::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
