#include "dialogs/DlgStyleAdd.h"

#include "dialogs/ShowHelp.h"
#include "ndb/NdbNewsletter.h"
#include "res/dialogs/StyleAdd.h"

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_STYLE_ADD;
constexpr int IdName = IDC_NAME;
constexpr int IdBlank = IDC_BLANK;
constexpr int IdClone = IDC_CLONE;
constexpr int IdStyles = IDC_STYLES;
constexpr UINT IdHelp = IDC_HELP;
} // namespace

const MessageMap* CDlgStyleAdd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnControl(BN_CLICKED, IdBlank, &CDlgStyleAdd::OnModeClicked),
        OnControl(BN_CLICKED, IdClone, &CDlgStyleAdd::OnModeClicked),
        OnCommand(IdHelp, &CDlgStyleAdd::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgStyleAdd::CDlgStyleAdd(CNdbNewsletter* newsletter, CNdbStyle* baseStyle, CWnd* parent)
    : CDialog(TemplateId, parent), m_baseStyle(baseStyle), m_newsletter(newsletter)
{
}

CDlgStyleAdd::~CDlgStyleAdd()
{
    DestroyWindow();
}

void CDlgStyleAdd::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdStyles, m_styles);
    DDX_Text(dx, IdName, m_name);
    DDX_Radio(dx, IdBlank, m_mode);
}

bool CDlgStyleAdd::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const auto& [key, style] : m_newsletter->Styles())
    {
        if (!style || style->GetKind() != NdbKindStyle)
            continue;
        const int entry = m_styles.AddString(style->GetString(StyleDisplayName));
        m_styles.SetItemData(entry, UINT_PTR(style.get()));
    }
    int start = 0;
    for (int i = 0; i < m_styles.GetCount(); ++i)
    {
        if (m_styles.GetItemData(i) == UINT_PTR(m_baseStyle))
            start = i;
    }
    m_styles.SetCurSel(start);
    m_styles.EnableWindow(m_mode == Clone);
    return true;
}

LRESULT CDlgStyleAdd::OnModeClicked(WPARAM, LPARAM)
{
    UpdateData(true);
    m_styles.EnableWindow(m_mode == Clone);
    return 0;
}

void CDlgStyleAdd::OnOK()
{
    UpdateData(true);
    m_name = m_name.trimmed();
    const int entry = m_styles.GetCurSel();
    m_baseStyle =
        m_mode == Clone && entry >= 0 ? reinterpret_cast<CNdbStyle*>(m_styles.GetItemData(entry)) : nullptr;
    EndDialog(IDOK);
}

LRESULT CDlgStyleAdd::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
