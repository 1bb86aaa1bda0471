#include "dialogs/DlgHtmlHRProperties.h"

#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "res/dialogs/HtmlHrProperties.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_HTML_HR_PROPERTIES;
constexpr int EditLength = 5;
constexpr int Maximum = 65535;
constexpr int DefaultWidth = 100;

enum ControlId : UINT
{
    IdDefaultWidth = IDC_HR_DEFAULT_WIDTH,
    IdWidth = IDC_WIDTH,
    IdUnit = IDC_WIDTH_FIXED_UNIT,
    IdHeight = IDC_HEIGHT,
    IdBackground = IDC_BACKGROUND,
    IdBorder = IDC_HR_BORDER,
    IdBorderSize = IDC_BORDER_SIZE,
    IdHelp = IDC_HELP,
};

constexpr KeywordEntry WidthUnits[] = {{9000, NdbUnitPx}, {9001, NdbUnitPercent}};

CNdbPalette* PaletteOf(CNdbNewsletter* newsletter)
{
    return newsletter ? &newsletter->Palette() : nullptr;
}

} // namespace

const MessageMap* CDlgHtmlHRProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdDefaultWidth, &CDlgHtmlHRProperties::OnDefaultWidth),
        OnCommand(IdHelp, &CDlgHtmlHRProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlHRProperties::CDlgHtmlHRProperties(CNdbNewsletter* newsletter, CNdbStyle* style, CWnd* parent)
    : CDialog(TemplateId, parent), m_style(style), m_background(PaletteOf(newsletter)),
      m_border(PaletteOf(newsletter))
{
}

CDlgHtmlHRProperties::~CDlgHtmlHRProperties()
{
    DestroyWindow();
}

void CDlgHtmlHRProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdDefaultWidth, m_defaultWidth);
    DDX_Control(dx, IdWidth, m_width);
    DDX_Control(dx, IdHeight, m_height);
    DDX_Control(dx, IdBorderSize, m_borderSize);
    DDX_Control(dx, IdUnit, m_unit);
}

bool CDlgHtmlHRProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_width.SetupSpin(1, Maximum);
    m_height.SetupSpin(1, Maximum);
    m_borderSize.SetupSpin(0, Maximum);
    for (CNumberEditCtrl* edit : {&m_width, &m_height, &m_borderSize})
        edit->SetLimitText(EditLength);
    m_background.CreateFromPlaceholder(GetDlgItem(IdBackground), 0);
    m_border.CreateFromPlaceholder(GetDlgItem(IdBorder), 0);
    FillKeywordList(m_unit, WidthUnits);

    const CNdbStyle empty;
    const CNdbStyle& style = m_style ? *m_style : empty;
    m_widthValue.Load(style, StyleWidth, m_width, DefaultWidth);
    m_defaultWidth.SetCheck(m_widthValue.IsPresent() ? BST_UNCHECKED : BST_CHECKED);
    SelectUnit(m_unit, m_widthValue.IsPresent() ? m_widthValue.LoadedUnit() : int(NdbUnitPercent));
    m_heightValue.Load(style, StyleHeight, m_height, 0);
    m_borderValue.Load(style, StyleBorderTopWidth, m_borderSize, 0);
    SetColorBoxColor(m_style ? LoadColor(*m_style, StyleBackgroundColor) : CNdbColor(), &m_background);
    SetColorBoxColor(m_style ? LoadColor(*m_style, StyleBorderTopColor) : CNdbColor(), &m_border);
    EnableWidth();
    return true;
}

void CDlgHtmlHRProperties::EnableWidth()
{
    const bool custom = m_defaultWidth.GetCheck() != BST_CHECKED;
    m_width.EnableWindow(custom);
    m_unit.EnableWindow(custom);
}

LRESULT CDlgHtmlHRProperties::OnDefaultWidth(WPARAM, LPARAM)
{
    EnableWidth();
    return 0;
}

void CDlgHtmlHRProperties::OnOK()
{
    if (!m_style)
    {
        EndDialog(IDOK);
        return;
    }
    if (m_defaultWidth.GetCheck() == BST_CHECKED)
        m_style->RemoveField(StyleWidth);
    else if (const int unit = SelectedUnit(m_unit); unit != 0)
        m_style->SetField(StyleWidth, m_widthValue.Value(unit));
    m_style->SetField(StyleHeight, m_heightValue.Value(NdbUnitPx));
    StoreColor(*m_style, StyleBackgroundColor, m_background.GetColor());
    StoreColor(*m_style, StyleBorderTopColor, m_border.GetColor());
    m_style->SetField(StyleBorderTopWidth, m_borderValue.Value(NdbUnitPx));
    EndDialog(IDOK);
}

LRESULT CDlgHtmlHRProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
