#include "controls/ToolbarUsers.h"

#include "controls/ToolbarLabel.h"
#include "platform/core/AppStrings.h"

namespace
{
constexpr UINT DividerImage = 347;
} // namespace

const MessageMap* CToolbarUsers::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CToolbarUsers::OnCreate),
        OnControl(EN_CHANGE, FilterFieldId, &CToolbarUsers::OnFilterChange),
    };
    static const MessageMap map{CToolbarBase::GetMessageMap(), entries};
    return &map;
}

CToolbarUsers::CToolbarUsers(BYTE mailingList) : m_mailingList(mailingList) {}

CToolbarUsers::~CToolbarUsers()
{
    // The field goes before the font it was given.
    m_items.clear();
}

LRESULT CToolbarUsers::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    AddTextButton(331, 32903, LoadAppString(14400), 0, 0, 1);
    AddTextButton(333, 32905, LoadAppString(14401), 0, 0, 1);
    AddTextButton(332, 32906, LoadAppString(14402), 0, 0, 1);
    AddButton(DividerImage, 0, 0, 0, 0, 0);
    AddTextButton(334, 32902, LoadAppString(14403), 0, 0, 1);
    if (m_mailingList)
    {
        AddButton(DividerImage, 0, 0, 0, 0, 0);
        AddTextButton(349, 32987, LoadAppString(14406), 0, 0, 0);
        AddTextButton(348, 32990, LoadAppString(14407), 0, 0, 1);
    }
    else
    {
        AddTextButton(142, 32781, LoadAppString(14404), 0, 1, 0);
        AddTextButton(141, 32782, LoadAppString(14405), 0, 1, 0);
        AddButton(DividerImage, 0, 0, 0, 0, 1);
    }
    AddButton(140, 32783, 0, 0, 0, 1);
    m_items.push_back(CToolbarLabel::MakeLabel(this, QStringLiteral(" Filter:"), 1));
    CToolbarItem field = CToolbarLabel::MakeField(this, FilterFieldId, m_font.GetFont(), 0, 1);
    m_filterField = static_cast<CEdit*>(field.window.get());
    m_items.push_back(std::move(field));
    ShowCurrentSet();
    return 0;
}

void CToolbarUsers::ClearFilter()
{
    if (m_filterField && m_filterField->IsWindow() && !m_filterField->GetWindowText().isEmpty())
        m_filterField->SetWindowText(QString());
}

LRESULT CToolbarUsers::OnFilterChange(WPARAM, LPARAM)
{
    if (!m_filterField || !m_filterField->IsWindow())
        return 0;
    const QString text = m_filterField->GetWindowText();
    if (CWnd* parent = GetParent())
        parent->SendMessage(UM_FILTER_CHANGED, 0, reinterpret_cast<LPARAM>(text.utf16()));
    return 0;
}
