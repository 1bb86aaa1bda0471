#include "dialogs/DlgHtmlLayoutProperties.h"

#include "dialogs/DialogContext.h"
#include "dialogs/ShowHelp.h"
#include "dialogs/StyleControls.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "platform/ui/DataExchange.h"
#include "res/dialogs/HtmlLayoutProperties.h"

#include <cmath>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_HTML_LAYOUT_PROPERTIES;
constexpr int Limit = 16384;
constexpr int EditLength = 5;
constexpr BackgroundBlockSetup Background{11000, 11001, 11002, Limit, EditLength};

enum ControlId : UINT
{
    IdAlignment = IDC_ALIGNMENT,
    IdScrolling = IDC_SCROLLING,
    IdScrollingLabel = IDC_SCROLLING_LABEL,
    IdFullHeight = IDC_FULL_HEIGHT,
    IdHelp = IDC_HELP,
};

// The decoration flags of a link state.
constexpr int NoDecoration = 1;
constexpr int Underline = 2;

constexpr KeywordEntry Alignments[] = {{9200, DefaultKeyword}, {9201, 0}, {9202, 1}, {9203, 2}, {9204, 3}};
// "Yes" scrolls the background with the page (code 0), "No" keeps it fixed (code 1).
constexpr KeywordEntry Scrolling[] = {{9300, DefaultKeyword}, {9302, 1}, {9301, 0}};

bool IsFullHeight(const CNdbStyle& style)
{
    CNdbFieldValue value;
    return style.GetField(StyleHeight, value) && value.GetType() == NdbValueLength &&
           value.GetUnit() == NdbUnitPercent && value.GetFloat() == 100.0f;
}
} // namespace

const MessageMap* CDlgHtmlLayoutProperties::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IdHelp, &CDlgHtmlLayoutProperties::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgHtmlLayoutProperties::CDlgHtmlLayoutProperties(IDialogContext* context, CNdbStyle* record, CWnd* parent)
    : CDialog(TemplateId, parent), m_record(record), m_background(context, record, Background),
      m_margins(record, MarginFields(), MarginControls)
{
    const int rows[3][4] = {
        {StyleLinkColor, StyleLinkDecoration, IDC_NORMAL_FRAME, IDC_NORMAL_CHECK},
        {StyleVisitedLinkColor, StyleVisitedLinkDecoration, IDC_VISITED_FRAME, IDC_VISITED_CHECK},
        {StyleHoverLinkColor, StyleHoverLinkDecoration, IDC_HOVER_FRAME, IDC_HOVER_CHECK}};
    for (std::size_t i = 0; i < m_links.size(); ++i)
    {
        m_links[i].colorField = rows[i][0];
        m_links[i].decorationField = rows[i][1];
        m_links[i].swatchId = rows[i][2];
        m_links[i].checkId = rows[i][3];
        m_links[i].color = std::make_unique<CColorBoxCtrl>(CurrentPalette(context));
    }
}

CDlgHtmlLayoutProperties::~CDlgHtmlLayoutProperties()
{
    DestroyWindow();
}

void CDlgHtmlLayoutProperties::DoDataExchange(CDataExchange* dx)
{
    m_background.BindControls(dx);
    m_margins.BindControls(dx);
    DDX_Control(dx, IdAlignment, m_alignment);
    DDX_Control(dx, IdScrolling, m_scrolling);
    DDX_Control(dx, IdFullHeight, m_fullHeight);
    for (LinkRow& row : m_links)
        DDX_Control(dx, row.checkId, row.underline);
}

bool CDlgHtmlLayoutProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillKeywordList(m_alignment, Alignments);
    LoadKeyword(m_alignment, *m_record, StyleTextAlign);
    FillKeywordList(m_scrolling, Scrolling);
    LoadKeyword(m_scrolling, *m_record, StyleBackgroundAttachment);
    m_background.AddSectionControl(IdScrolling);
    m_background.AddSectionControl(IdScrollingLabel);
    m_background.Start(this);
    m_margins.Start(this, -Limit, Limit, EditLength);
    StartLinks();
    m_fullHeight.SetCheck(IsFullHeight(*m_record) ? BST_CHECKED : BST_UNCHECKED);
    AddGroups();
    m_groups.Mark();
    return true;
}

void CDlgHtmlLayoutProperties::StartLinks()
{
    for (LinkRow& row : m_links)
    {
        row.color->CreateFromPlaceholder(GetDlgItem(row.swatchId), 0);
        SetColorBoxColor(LoadColor(*m_record, row.colorField), row.color.get());
        CNdbFieldValue value;
        const bool underlined =
            m_record->GetField(row.decorationField, value) && (value.GetInt() & Underline);
        row.underline.SetCheck(underlined ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CDlgHtmlLayoutProperties::AddGroups()
{
    AddKeywordGroup(m_groups, m_alignment, *m_record, StyleTextAlign, NdbValueTextAlign);
    AddKeywordGroup(m_groups, m_scrolling, *m_record, StyleBackgroundAttachment,
                    NdbValueBackgroundAttachment);
    m_margins.AddGroup(m_groups);
    for (LinkRow& row : m_links)
    {
        LinkRow* link = &row;
        m_groups.Add([link] { return QString::number(link->underline.GetCheck()); },
                     [this, link]
                     {
                         const bool underline = link->underline.GetCheck() == BST_CHECKED;
                         m_record->SetField(
                             link->decorationField,
                             CNdbFieldValue(NdbValueInt, underline ? Underline : NoDecoration));
                     });
        AddColorGroup(m_groups, *link->color, *m_record, link->colorField);
    }
    m_groups.Add([this] { return QString::number(m_fullHeight.GetCheck()); },
                 [this]
                 {
                     if (m_fullHeight.GetCheck() == BST_CHECKED)
                         m_record->SetField(StyleHeight, CNdbFieldValue(100.0f, NdbUnitPercent));
                     else
                         m_record->RemoveField(StyleHeight);
                 });
}

bool CDlgHtmlLayoutProperties::OnCmdMsg(UINT id, UINT code)
{
    return m_background.OnCommand(id, code) || m_margins.OnCommand(id, code) || CDialog::OnCmdMsg(id, code);
}

void CDlgHtmlLayoutProperties::OnOK()
{
    if (!UpdateData(true))
        return;
    m_groups.Store();
    m_background.Store();
    EndDialog(IDOK);
}

LRESULT CDlgHtmlLayoutProperties::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
