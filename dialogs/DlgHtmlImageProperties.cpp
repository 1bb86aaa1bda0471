#include "dialogs/DlgHtmlImageProperties.h"

#include "dialogs/BackgroundImageTools.h"
#include "dialogs/DialogContext.h"
#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/WinApp.h"
#include "res/dialogs/HtmlImageProperties.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_HTML_IMAGE_PROPERTIES;
constexpr quint32 ErrorText = 10900;
constexpr quint32 UnreadableFileText = 10951;
constexpr quint32 NoPictureText = 10952;
constexpr int SizeLimit = 8192;
constexpr int SpacingMinimum = -2048;
constexpr int EditLength = 4;
constexpr int SolidBorder = 4;
constexpr int DisplayBlock = 2;
constexpr int ChooserFailed = 2;

enum ControlId : UINT
{
    IdName = IDC_IMAGE_SOURCE,
    IdBrowse = IDC_IMAGE_BROWSE,
    IdModifyImage = IDC_MODIFY_IMAGE,
    IdToolTip = IDC_TOOL_TIP,
    IdDefaultWidth = IDC_IMAGE_DEFAULT_WIDTH,
    IdFixedWidth = IDC_FIXED_WIDTH,
    IdWidth = IDC_WIDTH,
    IdDefaultHeight = IDC_IMAGE_DEFAULT_HEIGHT,
    IdFixedHeight = IDC_FIXED_HEIGHT,
    IdHeight = IDC_HEIGHT,
    IdThickness = IDC_THICKNESS,
    IdBorderColor = IDC_BORDER_COLOR,
    IdAlign = IDC_IMAGE_ALIGN,
    IdVerticalAlign = IDC_VERTICAL_ALIGN,
    IdOwnParagraph = IDC_OWN_PARAGRAPH,
    IdHelp = IDC_HELP,
};

constexpr int SpacingIds[4] = {IDC_TOP_MARGIN, IDC_BOTTOM_MARGIN, IDC_LEFT_MARGIN, IDC_RIGHT_MARGIN};
constexpr int SpacingFields[4] = {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight};

constexpr KeywordEntry Aligns[] = {{9200, DefaultKeyword}, {9201, 1}, {9203, 2}};
constexpr KeywordEntry VerticalAligns[] = {
    {9210, DefaultKeyword}, {9211, 3}, {9212, 4}, {9213, 5}, {9214, 0}};

// A length read into a whole number of pixels, the unit ignored.
int WholeNumber(const CNdbStyle& style, int id, int fallback)
{
    CNdbFieldValue value;
    return style.GetField(id, value) && value.GetType() == NdbValueLength ? int(value.GetFloat()) : fallback;
}

CNdbFieldValue Pixels(int number)
{
    return CNdbFieldValue(float(number), int(NdbUnitPx));
}
} // namespace

const MessageMap* CDlgHtmlImageProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdDefaultWidth, &CDlgHtmlImageProperties::OnSizeMode),
        OnControl(BN_CLICKED, IdFixedWidth, &CDlgHtmlImageProperties::OnSizeMode),
        OnControl(BN_CLICKED, IdDefaultHeight, &CDlgHtmlImageProperties::OnSizeMode),
        OnControl(BN_CLICKED, IdFixedHeight, &CDlgHtmlImageProperties::OnSizeMode),
        OnControl(BN_CLICKED, IdBrowse, &CDlgHtmlImageProperties::OnBrowse),
        OnControl(BN_CLICKED, IdModifyImage, &CDlgHtmlImageProperties::OnModifyImage),
        OnCommand(IdHelp, &CDlgHtmlImageProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlImageProperties::CDlgHtmlImageProperties(IDialogContext* context, CNdbStyle* style,
                                                 const QString& pipelineId, CWnd* parent)
    : CDialog(TemplateId, parent), m_context(context), m_style(style), m_workingPipelineId(pipelineId),
      m_borderColor(CurrentPalette(context))
{
}

CDlgHtmlImageProperties::~CDlgHtmlImageProperties()
{
    DestroyWindow();
}

void CDlgHtmlImageProperties::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdName, m_name);
    DDX_Control(dx, IdWidth, m_widthEdit);
    DDX_Control(dx, IdHeight, m_heightEdit);
    DDX_Control(dx, IdThickness, m_thicknessEdit);
    DDX_Control(dx, IdAlign, m_align);
    DDX_Control(dx, IdVerticalAlign, m_verticalAlign);
    for (int side = 0; side < 4; ++side)
        DDX_Control(dx, SpacingIds[side], m_spacingEdits[side]);
    DDX_Text(dx, IdToolTip, m_toolTip);
    DDX_Radio(dx, IdDefaultWidth, m_widthMode);
    DDX_Radio(dx, IdDefaultHeight, m_heightMode);
    DDX_Text(dx, IdWidth, m_width);
    DDX_Text(dx, IdHeight, m_height);
    DDX_Text(dx, IdThickness, m_thickness);
    for (int side = 0; side < 4; ++side)
        DDX_Text(dx, SpacingIds[side], m_spacing[side]);
    DDX_Check(dx, IdOwnParagraph, m_ownParagraph);
}

bool CDlgHtmlImageProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (CNumberEditCtrl* edit : {&m_widthEdit, &m_heightEdit})
        edit->SetupSpin(1, SizeLimit);
    m_thicknessEdit.SetupSpin(0, SizeLimit);
    for (CNumberEditCtrl& edit : m_spacingEdits)
        edit.SetupSpin(SpacingMinimum, SizeLimit);
    for (CNumberEditCtrl* edit : {&m_widthEdit, &m_heightEdit, &m_thicknessEdit, &m_spacingEdits[0],
                                  &m_spacingEdits[1], &m_spacingEdits[2], &m_spacingEdits[3]})
        edit->SetLimitText(EditLength);

    const CNdbStyle empty;
    const CNdbStyle& style = m_style ? *m_style : empty;
    m_width = WholeNumber(style, StyleWidth, m_width);
    m_height = WholeNumber(style, StyleHeight, m_height);
    FillKeywordList(m_align, Aligns);
    LoadKeyword(m_align, style, StyleFloat);
    FillKeywordList(m_verticalAlign, VerticalAligns);
    LoadKeyword(m_verticalAlign, style, StyleVerticalAlign);
    CNdbFieldValue value;
    m_ownParagraph = style.GetField(StyleDisplay, value) && value.GetInt() == DisplayBlock ? 1 : 0;
    m_borderColor.CreateFromPlaceholder(GetDlgItem(IdBorderColor), 0);
    SetColorBoxColor(LoadColor(style, StyleBorderTopColor, CNdbColor(0, 0, 0)), &m_borderColor);
    m_thickness = WholeNumber(style, StyleBorderTopWidth, 0);
    for (int side = 0; side < 4; ++side)
        m_spacing[side] = WholeNumber(style, SpacingFields[side], 0);
    const BackgroundImageTools& tools = GetBackgroundImageTools();
    DlgItem(IdBrowse).EnableWindow(bool(tools.chooseImage));
    DlgItem(IdModifyImage).EnableWindow(bool(tools.editEffect));
    UpdateData(false);
    ShowName();
    ApplyEnableRule();
    return true;
}

CNdbResource* CDlgHtmlImageProperties::FindResource() const
{
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    return newsletter && !m_resourceId.isEmpty() ? newsletter->Layout().FindResourceById(m_resourceId)
                                                 : nullptr;
}

void CDlgHtmlImageProperties::ShowName()
{
    const CNdbResource* resource = FindResource();
    QString name;
    if (resource)
    {
        name = resource->GetString(ResourceFileName);
        if (name.isEmpty())
            name = resource->GetString(ResourcePath);
    }
    m_name.SetWindowText(name);
}

void CDlgHtmlImageProperties::ApplyEnableRule()
{
    UpdateData(true);
    m_widthEdit.EnableWindow(m_widthMode == FixedSize);
    m_heightEdit.EnableWindow(m_heightMode == FixedSize);
}

LRESULT CDlgHtmlImageProperties::OnSizeMode(WPARAM, LPARAM)
{
    ApplyEnableRule();
    return 0;
}

LRESULT CDlgHtmlImageProperties::OnBrowse(WPARAM, LPARAM)
{
    UpdateData(true);
    CNdbNewsletter* newsletter = m_context ? m_context->GetCurrentNewsletter() : nullptr;
    const BackgroundImageTools& tools = GetBackgroundImageTools();
    if (!newsletter || !tools.chooseImage)
        return 0;
    const CNdbResource* current = FindResource();
    std::unique_ptr<CNdbResource> chosen;
    const int result =
        tools.chooseImage(current ? current->GetString(ResourceSource) : QString(), chosen, this);
    if (result == ChooserFailed)
    {
        AfxMessageBox(LoadAppString(UnreadableFileText), MB_ICONHAND);
        return 0;
    }
    if (result != 0)
        return 0;
    if (!chosen)
    {
        AfxMessageBox(LoadAppString(ErrorText), MB_ICONHAND);
        return 0;
    }
    // A file that holds no picture would show as a broken image in every mail.
    if (chosen->GetInt(ResourceWidth, 0) < 1 || chosen->GetInt(ResourceHeight, 0) < 1)
    {
        AfxMessageBox(LoadAppString(NoPictureText).arg(chosen->GetString(ResourceSource)), MB_ICONHAND);
        return 0;
    }
    m_resourceId = chosen->GetString(ResourceId);
    m_width = chosen->GetInt(ResourceWidth, 0);
    m_height = chosen->GetInt(ResourceHeight, 0);
    {
        const auto lock = m_context->WriteDocument();
        newsletter->Layout().AddResource(std::move(chosen));
    }
    UpdateData(false);
    ShowName();
    return 0;
}

LRESULT CDlgHtmlImageProperties::OnModifyImage(WPARAM, LPARAM)
{
    const BackgroundImageTools& tools = GetBackgroundImageTools();
    const CNdbResource* picture = FindResource();
    if (!tools.editEffect || !picture)
        return 0;
    QString key;
    if (tools.editEffect(m_context, m_workingPipelineId, *picture, this, key))
        m_workingPipelineId = key;
    return 0;
}

void CDlgHtmlImageProperties::OnOK()
{
    if (!UpdateData(true))
        return;
    m_pipelineId = m_workingPipelineId;
    if (m_style)
    {
        m_style->SetField(StyleWidth, Pixels(m_width));
        m_style->SetField(StyleHeight, Pixels(m_height));
        StoreKeyword(m_align, *m_style, StyleFloat, NdbValueFloatKeyword);
        StoreKeyword(m_verticalAlign, *m_style, StyleVerticalAlign, NdbValueVerticalAlign);
        if (m_ownParagraph)
            m_style->SetField(StyleDisplay, CNdbFieldValue(NdbValueDisplay, DisplayBlock));
        else
            m_style->RemoveField(StyleDisplay);
        m_style->SetField(StyleBorderTopWidth, Pixels(m_thickness));
        m_style->SetField(StyleBorderTopColor, CNdbFieldValue(m_borderColor.GetColor()));
        CNdbFieldValue value;
        if (!m_style->GetField(StyleBorderTopStyle, value))
            m_style->SetField(StyleBorderTopStyle, CNdbFieldValue(NdbValueBorderStyle, SolidBorder));
        for (int side = 0; side < 4; ++side)
            m_style->SetField(SpacingFields[side], Pixels(m_spacing[side]));
    }
    EndDialog(IDOK);
}

LRESULT CDlgHtmlImageProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
