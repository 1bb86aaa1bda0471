#include "dialogs/PageHtmlBox3.h"

#include "dialogs/DialogContext.h"
#include "ndb/NdbNewsletter.h"
#include "res/dialogs/PageHtmlBox3.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_PAGE_HTML_BOX3;
constexpr int Limit = 8192;
constexpr int EditLength = 4;
constexpr BackgroundBlockSetup Background{13100, 13101, 13102, Limit, EditLength};
} // namespace

CPageHtmlBox3::CPageHtmlBox3(IDialogContext* context, CNdbStyle* record)
    : CPageHtmlBoxBase(TemplateId, record), m_background(context, record, Background),
      m_borders(CurrentPalette(context), record, CNdbColor())
{
}

CPageHtmlBox3::~CPageHtmlBox3()
{
    DestroyWindow();
}

void CPageHtmlBox3::DoDataExchange(CDataExchange* dx)
{
    m_background.BindControls(dx);
    m_borders.BindControls(dx);
}

bool CPageHtmlBox3::OnInitDialog()
{
    CPageHtmlBoxBase::OnInitDialog();
    m_background.Start(this);
    m_borders.Start(this, 0, Limit, EditLength);
    m_groups.Add([this] { return m_borders.State(); }, [this] { m_borders.Store(); });
    m_groups.Mark();
    return true;
}

bool CPageHtmlBox3::OnCmdMsg(UINT id, UINT code)
{
    return m_background.OnCommand(id, code) || m_borders.OnCommand(id, code) ||
           CPageHtmlBoxBase::OnCmdMsg(id, code);
}

void CPageHtmlBox3::OnOK()
{
    CPageHtmlBoxBase::OnOK();
    m_background.Store();
}
