#include "dialogs/PageStyleBase.h"

#include "dialogs/ShowHelp.h"
#include "dialogs/StylePreview.h"

namespace
{
constexpr UINT PreviewId = 4711;
} // namespace

const MessageMap* CPageStyleBase::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnNotify(PSN_HELP, &CPageStyleBase::OnNotifyHelp),
    };
    static const MessageMap map{CPropertyPage::GetMessageMap(), entries};
    return &map;
}

CPageStyleBase::CPageStyleBase(UINT templateId, IDialogContext* context, ndb::CNdbStyle* style)
    : CPropertyPage(templateId), m_context(context), m_style(style)
{
}

CPageStyleBase::~CPageStyleBase()
{
    DestroyWindow();
}

bool CPageStyleBase::CreatePreview(int placeholderId)
{
    CWnd* placeholder = GetDlgItem(placeholderId);
    if (!placeholder)
        return false;
    CRect rect;
    placeholder->GetWindowRect(&rect);
    ScreenToClient(&rect);
    return m_preview.Create(QString(), WS_CHILD | WS_VISIBLE, rect, this, PreviewId) &&
           m_preview.Navigate(QStringLiteral("about:blank"));
}

void CPageStyleBase::AddFieldGroup(std::function<QString()> state, std::function<void()> store)
{
    m_groups.Add(std::move(state), std::move(store));
}

void CPageStyleBase::FinishInit()
{
    m_groups.Mark();
    m_initialized = true;
}

void CPageStyleBase::SaveToStyle()
{
    if (!m_initialized)
        return;
    UpdateData(true);
    m_groups.Store();
}

void CPageStyleBase::UpdatePreview()
{
    SaveToStyle();
    ShowStylePreview(m_preview, *m_style, m_context);
}

bool CPageStyleBase::OnSetActive()
{
    UpdatePreview();
    return true;
}

void CPageStyleBase::OnOK()
{
    SaveToStyle();
}

LRESULT CPageStyleBase::OnValueChanged(WPARAM, LPARAM)
{
    // Loading the controls changes them too; the page shows its preview once it is loaded.
    if (m_initialized)
        UpdatePreview();
    return 0;
}

LRESULT CPageStyleBase::OnNotifyHelp(WPARAM, LPARAM)
{
    PostHelpRequest(GetTemplateId());
    return 0;
}
