#include "dialogs/DlgHtmlTableCellProperties.h"

#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbStyle.h"
#include "res/dialogs/HtmlTableCellProperties.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_HTML_TABLE_CELL_PROPERTIES;
constexpr int IdDefaultWidth = IDC_WIDTH_DEFAULT;
constexpr int IdSpecifyWidth = IDC_WIDTH_FIXED;
constexpr int IdWidth = IDC_WIDTH;
constexpr int IdWidthUnit = IDC_WIDTH_FIXED_UNIT;
constexpr int IdDefaultHeight = IDC_HEIGHT_DEFAULT;
constexpr int IdSpecifyHeight = IDC_HEIGHT_FIXED;
constexpr int IdHeight = IDC_HEIGHT;
constexpr int IdHeightUnit = IDC_HEIGHT_UNIT;
constexpr int IdAlign = IDC_ALIGN;
constexpr int IdVerticalAlign = IDC_VERTICAL_ALIGN;
constexpr int IdNoWrap = IDC_NO_WRAP;
constexpr int IdDefaultPadding = IDC_DEFAULT_PADDING;
constexpr int IdPaddingUnit = IDC_PADDING_UNIT;
constexpr UINT IdHelp = IDC_HELP;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr int SpecifyMode = 1;
constexpr int NoWrap = 1;
constexpr BackgroundBlockSetup Background{11100, 11101, 11102, Limit, EditLength};
constexpr KeywordEntry SizeUnits[] = {{9000, NdbUnitPx}, {9001, NdbUnitPercent}};
constexpr KeywordEntry Horizontal[] = {{9200, DefaultKeyword}, {9201, 0}, {9202, 1}, {9203, 2}, {9204, 3}};
constexpr KeywordEntry Vertical[] = {{9210, DefaultKeyword}, {9211, 3}, {9212, 4}, {9213, 5}};

// The four paddings: edit, label and field, in the order top, bottom, left, right.
struct PaddingSide
{
    int edit;
    int label;
    int field;
};
constexpr PaddingSide PaddingSides[] = {{IDC_TOP_PADDING, IDC_TOP_PADDING_LABEL, StylePaddingTop},
                                        {IDC_BOTTOM_PADDING, IDC_BOTTOM_PADDING_LABEL, StylePaddingBottom},
                                        {IDC_LEFT_PADDING, IDC_LEFT_PADDING_LABEL, StylePaddingLeft},
                                        {IDC_RIGHT_PADDING, IDC_RIGHT_PADDING_LABEL, StylePaddingRight}};
constexpr int IdPaddingUnitLabel = IDC_PADDING_UNIT_LABEL;

void SetupNumber(CNumberEditCtrl& edit, int minimum)
{
    edit.SetLimitText(EditLength);
    edit.SetupSpin(minimum, Limit);
}
} // namespace

const MessageMap* CDlgHtmlTableCellProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdDefaultWidth, &CDlgHtmlTableCellProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdSpecifyWidth, &CDlgHtmlTableCellProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdDefaultHeight, &CDlgHtmlTableCellProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdSpecifyHeight, &CDlgHtmlTableCellProperties::OnModeClicked),
        OnControl(BN_CLICKED, IdDefaultPadding, &CDlgHtmlTableCellProperties::OnModeClicked),
        OnCommand(IdHelp, &CDlgHtmlTableCellProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlTableCellProperties::CDlgHtmlTableCellProperties(IDialogContext* context, CNdbStyle* record,
                                                         CWnd* parent)
    : CDialog(TemplateId, parent), m_record(record), m_background(context, record, Background)
{
    m_width.field = StyleWidth;
    m_height.field = StyleHeight;
}

CDlgHtmlTableCellProperties::~CDlgHtmlTableCellProperties()
{
    DestroyWindow();
}

void CDlgHtmlTableCellProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdWidth, m_width.edit);
    DDX_Control(dx, IdWidthUnit, m_width.unit);
    DDX_Control(dx, IdHeight, m_height.edit);
    DDX_Control(dx, IdHeightUnit, m_height.unit);
    DDX_Control(dx, IdAlign, m_align);
    DDX_Control(dx, IdVerticalAlign, m_verticalAlign);
    DDX_Control(dx, IdPaddingUnit, m_paddingUnit);
    for (int i = 0; i < 4; ++i)
        DDX_Control(dx, PaddingSides[i].edit, m_paddingEdits[i]);
    m_background.BindControls(dx);
    DDX_Radio(dx, IdDefaultWidth, m_width.mode);
    DDX_Text(dx, IdWidth, m_width.number);
    DDX_Radio(dx, IdDefaultHeight, m_height.mode);
    DDX_Text(dx, IdHeight, m_height.number);
    for (int i = 0; i < 4; ++i)
        DDX_Text(dx, PaddingSides[i].edit, m_paddings[i]);
    DDX_Check(dx, IdNoWrap, m_noWrap);
    DDX_Check(dx, IdDefaultPadding, m_useDefaultPadding);
}

void CDlgHtmlTableCellProperties::LoadSize(Size& size)
{
    SetupNumber(size.edit, 1);
    FillKeywordList(size.unit, SizeUnits);
    CNdbFieldValue value;
    if (!m_record->GetField(size.field, value))
    {
        SelectCode(size.unit, NdbUnitPx);
        return;
    }
    size.mode = SpecifyMode;
    size.number = int(value.GetFloat());
    // Another stored unit leaves the list without a choice, and the field as it is.
    SelectCode(size.unit, value.GetUnit());
}

bool CDlgHtmlTableCellProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    LoadSize(m_width);
    LoadSize(m_height);
    FillKeywordList(m_align, Horizontal);
    LoadKeyword(m_align, *m_record, StyleTextAlign);
    FillKeywordList(m_verticalAlign, Vertical);
    LoadKeyword(m_verticalAlign, *m_record, StyleVerticalAlign);
    m_background.Start(this);
    FillUnitList(m_paddingUnit, true);
    CNdbFieldValue value;
    SelectUnit(m_paddingUnit, m_record->GetField(StylePaddingTop, value) ? value.GetUnit() : int(NdbUnitPx));
    for (int i = 0; i < 4; ++i)
    {
        SetupNumber(m_paddingEdits[i], 0);
        m_paddings[i] = m_record->GetField(PaddingSides[i].field, value) ? int(value.GetFloat()) : 0;
    }
    m_noWrap = m_record->GetInt(StyleWhiteSpace, 0) == NoWrap ? 1 : 0;
    UpdateData(false);
    UpdateEnabling();
    m_background.Refresh();
    return true;
}

bool CDlgHtmlTableCellProperties::OnCmdMsg(UINT id, UINT code)
{
    return m_background.OnCommand(id, code) || CDialog::OnCmdMsg(id, code);
}

void CDlgHtmlTableCellProperties::UpdateEnabling()
{
    for (Size* size : {&m_width, &m_height})
    {
        size->edit.EnableWindow(size->mode == SpecifyMode);
        size->unit.EnableWindow(size->mode == SpecifyMode);
    }
    const bool own = m_useDefaultPadding == 0;
    for (int i = 0; i < 4; ++i)
    {
        m_paddingEdits[i].EnableWindow(own);
        DlgItem(PaddingSides[i].label).EnableWindow(own);
    }
    m_paddingUnit.EnableWindow(own);
    DlgItem(IdPaddingUnitLabel).EnableWindow(own);
}

LRESULT CDlgHtmlTableCellProperties::OnModeClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    UpdateEnabling();
    return 0;
}

void CDlgHtmlTableCellProperties::StoreSize(const Size& size)
{
    const int unit = SelectedCode(size.unit);
    if (size.mode != SpecifyMode || size.number == 0)
        m_record->RemoveField(size.field);
    else if (unit != NoEntry)
        m_record->SetField(size.field, CNdbFieldValue(float(size.number), unit));
}

void CDlgHtmlTableCellProperties::OnOK()
{
    if (!UpdateData(true))
        return;
    m_background.Store();
    StoreSize(m_width);
    StoreSize(m_height);
    StoreKeyword(m_align, *m_record, StyleTextAlign, NdbValueTextAlign);
    StoreKeyword(m_verticalAlign, *m_record, StyleVerticalAlign, NdbValueVerticalAlign);
    const int chosen = SelectedCode(m_paddingUnit);
    const int unit = m_useDefaultPadding || chosen == NoEntry ? int(NdbUnitPx) : chosen;
    for (int i = 0; i < 4; ++i)
        m_record->SetField(PaddingSides[i].field, CNdbFieldValue(float(m_paddings[i]), unit));
    if (m_noWrap)
        m_record->SetField(StyleWhiteSpace, CNdbFieldValue(NdbValueWhiteSpace, NoWrap));
    else
        m_record->RemoveField(StyleWhiteSpace);
    EndDialog(IDOK);
}

LRESULT CDlgHtmlTableCellProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
