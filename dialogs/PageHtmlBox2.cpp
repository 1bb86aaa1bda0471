#include "dialogs/PageHtmlBox2.h"

#include "ndb/NdbStyle.h"
#include "platform/ui/DataExchange.h"
#include "res/dialogs/PageHtmlBox2.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_HTML_BOX2;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr int IdAlignment = IDC_ALIGNMENT;

constexpr KeywordEntry Alignments[] = {{9200, DefaultKeyword}, {9201, 0}, {9202, 1}, {9203, 2}, {9204, 3}};
} // namespace

CPageHtmlBox2::CPageHtmlBox2(CNdbStyle* record)
    : CPageHtmlBoxBase(TemplateId, record), m_margins(record, MarginFields(), MarginControls),
      m_padding(record, PaddingFields(), PaddingControls)
{
}

CPageHtmlBox2::~CPageHtmlBox2()
{
    DestroyWindow();
}

void CPageHtmlBox2::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdAlignment, m_alignment);
    m_margins.BindControls(dx);
    m_padding.BindControls(dx);
}

bool CPageHtmlBox2::OnInitDialog()
{
    CPageHtmlBoxBase::OnInitDialog();
    FillKeywordList(m_alignment, Alignments);
    LoadKeyword(m_alignment, *m_record, StyleTextAlign);
    m_margins.Start(this, -Limit, Limit, EditLength);
    m_padding.Start(this, 0, Limit, EditLength);
    AddKeywordGroup(m_groups, m_alignment, *m_record, StyleTextAlign, NdbValueTextAlign);
    m_margins.AddGroup(m_groups);
    m_padding.AddGroup(m_groups);
    m_groups.Mark();
    return true;
}

bool CPageHtmlBox2::OnCmdMsg(UINT id, UINT code)
{
    return m_margins.OnCommand(id, code) || m_padding.OnCommand(id, code) ||
           CPageHtmlBoxBase::OnCmdMsg(id, code);
}
