#include "controls/ToolbarHelp.h"

#include "controls/ToolbarLabel.h"
#include "platform/core/AppStrings.h"

namespace
{
constexpr UINT DividerImage = 347;
} // namespace

const MessageMap* CToolbarHelp::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CToolbarHelp::OnCreate),
    };
    static const MessageMap map{CToolbarBase::GetMessageMap(), entries};
    return &map;
}

CToolbarHelp::CToolbarHelp() = default;

CToolbarHelp::~CToolbarHelp()
{
    // The field goes before the font it was given.
    m_items.clear();
}

LRESULT CToolbarHelp::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;
    AddButton(327, 32953, 0, 0, 1, 0);
    AddButton(328, 32954, 0, 0, 1, 0);
    AddButton(DividerImage, 0, 0, 0, 0, 0);
    AddButton(329, 32955, 0, 0, 0, 0);
    AddButton(DividerImage, 0, 0, 0, 0, 0);
    m_items.push_back(CToolbarLabel::MakeLabel(this, QLatin1Char(' ') + LoadAppString(14100), 0));
    CToolbarItem field = CToolbarLabel::MakeField(this, SearchFieldId, m_font.GetFont(), 200, 0);
    m_searchField = static_cast<CEdit*>(field.window.get());
    m_items.push_back(std::move(field));
    AddButton(330, SearchCommand, 0, 0, 0, 0);
    ShowCurrentSet();
    return 0;
}

QString CToolbarHelp::GetSearchText() const
{
    if (!m_searchField || !m_searchField->IsWindow())
        return QString();
    return m_searchField->GetWindowText();
}
