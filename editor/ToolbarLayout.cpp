#include "editor/ToolbarLayout.h"

#include "editor/LayoutContext.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"

namespace
{
constexpr UINT DividerImage = 347;
constexpr DWORD StyleComboStyle = 0x40000103;
constexpr DWORD FontComboStyle = 0x50200723;
constexpr DWORD SizeComboStyle = 0x40200402;
constexpr int FontFieldHeight = 15;
constexpr int ComboHeight = 18;
constexpr int ComboYOffset = 1;
constexpr int Sizes[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 36, 48, 72};

struct PictureItem
{
    UINT image;
    UINT command;
    BYTE update;
};
} // namespace

const MessageMap* CToolbarLayout::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_CREATE, &CToolbarLayout::OnCreate),
        OnControl(CBN_SELCHANGE, StyleComboId, &CToolbarLayout::OnComboSelChange),
        OnControl(CBN_SELCHANGE, FontComboId, &CToolbarLayout::OnComboSelChange),
        OnControl(CBN_SELCHANGE, SizeComboId, &CToolbarLayout::OnComboSelChange),
        OnControl(CBN_SETFOCUS, StyleComboId, &CToolbarLayout::OnComboSetFocus),
        OnControl(CBN_SETFOCUS, FontComboId, &CToolbarLayout::OnComboSetFocus),
        OnControl(CBN_SETFOCUS, SizeComboId, &CToolbarLayout::OnComboSetFocus),
        OnControl(CBN_KILLFOCUS, StyleComboId, &CToolbarLayout::OnComboKillFocus),
        OnControl(CBN_KILLFOCUS, FontComboId, &CToolbarLayout::OnComboKillFocus),
        OnControl(CBN_KILLFOCUS, SizeComboId, &CToolbarLayout::OnComboKillFocus),
    };
    static const MessageMap map{CToolbarBase::GetMessageMap(), entries};
    return &map;
}

CToolbarLayout::CToolbarLayout(ILayoutContext* context) : m_context(context) {}

CToolbarLayout::~CToolbarLayout()
{
    // The pickers go before the font they were given.
    m_items.clear();
}

LRESULT CToolbarLayout::OnCreate(WPARAM, LPARAM)
{
    if (Default() == -1)
        return -1;

    // View mode.
    AddTextButton(144, 32775, LoadAppString(14200), 0, 0, 0);
    AddTextButton(145, 32780, LoadAppString(14201), 0, 0, 0);
    AddTextButton(142, 32781, LoadAppString(14202), 0, 1, 0);
    AddTextButton(141, 32782, LoadAppString(14203), 0, 1, 0);
    AddButton(DividerImage, 0, 0, 0, 0, 1);
    AddButton(140, 32783, 0, 0, 0, 1);

    // Edit mode, first row.
    AddTextButton(165, 32776, LoadAppString(14208), 1, 0, 0);
    AddTextButton(164, 32777, LoadAppString(14204), 1, 0, 0);
    static constexpr PictureItem insertItems[] = {
        {147, 32797, 0}, {156, 32795, 0}, {337, 32778, 0}, {161, 32798, 0}, {153, 32799, 0},
        {167, 32800, 0}, {160, 32801, 1}, {157, 32802, 1}, {159, 32803, 1}, {163, 32804, 1},
    };
    for (const PictureItem& item : insertItems)
        AddButton(item.image, item.command, 1, 0, item.update, 0);
    m_textColorButton = AddSwatchButton(162, TextColorId);
    AddButton(274, 32965, 1, 0, 1, 0);
    m_fillColorButton = AddSwatchButton(154, FillColorId);
    AddButton(274, 32967, 1, 0, 1, 0);
    AddTextButton(138, 32817, LoadAppString(14205), 1, 1, 0);
    AddButton(DividerImage, 0, 1, 0, 0, 1);
    AddButton(140, 32783, 1, 0, 0, 1);

    // Edit mode, second row.
    AddButton(277, 32887, 1, 1, 0, 0);

    auto style = std::make_unique<CComboBox>();
    style->Create(QString(), QString(), StyleComboStyle, CRect(0, 0, 100, 1000), this, StyleComboId);
    style->SetFont(m_font.GetFont());
    m_styleCombo = style.get();
    AddCombo(std::move(style), 120);

    auto font = std::make_unique<CKVFontSelectCB>();
    font->m_fieldHeight = FontFieldHeight;
    font->Create(QString(), QString(), FontComboStyle, CRect(0, 0, 100, 1000), this, FontComboId);
    m_fontCombo = font.get();
    AddCombo(std::move(font), 160);

    auto size = std::make_unique<CComboBox>();
    size->Create(QString(), QString(), SizeComboStyle, CRect(0, 0, 100, 108), this, SizeComboId);
    size->SetFont(m_font.GetFont());
    size->SetItemData(size->AddString(LoadAppString(DefaultSizeStringId)), 0);
    for (int points : Sizes)
        size->SetItemData(size->AddString(QString::number(points)), UINT_PTR(points));
    size->SetWindowText(QStringLiteral("10"));
    m_sizeCombo = size.get();
    AddCombo(std::move(size), 100);

    static constexpr PictureItem formatItems[] = {
        {152, 32786, 1}, {158, 32787, 1}, {150, 32805, 1}, {148, 32806, 1}, {151, 32807, 1}, {149, 32808, 1},
    };
    for (const PictureItem& item : formatItems)
        AddButton(item.image, item.command, 1, 1, item.update, 0);

    ShowCurrentSet();
    return 0;
}

void CToolbarLayout::AddCombo(std::unique_ptr<CComboBox> combo, int width)
{
    CToolbarItem item;
    item.set = 1;
    item.row = 1;
    item.window = std::move(combo);
    item.width = width;
    item.height = ComboHeight;
    item.update = 1;
    item.yOffset = ComboYOffset;
    m_items.push_back(std::move(item));
}

void CToolbarLayout::FillStyleCombo()
{
    if (!m_styleCombo || !m_styleCombo->IsWindow())
        return;
    m_styleCombo->ResetContent();
    const ndb::CNdbBase* document = m_context ? m_context->GetCurrentDocument() : nullptr;
    if (!document || document->GetKind() != ndb::NdbKindNewsletter)
        return;
    const auto* newsletter = static_cast<const ndb::CNdbNewsletter*>(document);
    for (const auto& [key, style] : newsletter->Styles())
    {
        if (!style)
            continue;
        const int index = m_styleCombo->AddString(style->GetString(ndb::StyleDisplayName));
        m_styleCombo->SetItemData(index, reinterpret_cast<UINT_PTR>(style.get()));
    }
}

ndb::CNdbStyle* CToolbarLayout::GetSelectedStyle() const
{
    if (!m_styleCombo || !m_styleCombo->IsWindow())
        return nullptr;
    const int selected = m_styleCombo->GetCurSel();
    if (selected < 0)
        return nullptr;
    return reinterpret_cast<ndb::CNdbStyle*>(m_styleCombo->GetItemData(selected));
}

void CToolbarLayout::SetEditMode()
{
    GetFontCombo();
    CToolbarBase::SetEditMode();
}

CKVFontSelectCB* CToolbarLayout::GetFontCombo()
{
    if (m_fontCombo && m_fontCombo->IsWindow() && !m_fontsFilled)
        m_fontsFilled = m_fontCombo->FillFonts();
    return m_fontCombo;
}

QString CToolbarLayout::GetSelectedFont() const
{
    if (!m_fontCombo || !m_fontCombo->IsWindow())
        return QString();
    const int selected = m_fontCombo->GetCurSel();
    return selected < 0 ? QString() : m_fontCombo->GetLBText(selected);
}

int CToolbarLayout::GetSelectedFontSize() const
{
    if (!m_sizeCombo || !m_sizeCombo->IsWindow())
        return 0;
    const int selected = m_sizeCombo->GetCurSel();
    if (selected < 0)
        return 0;
    // The leading digits, as the entries are "Default" and plain numbers.
    const QString text = m_sizeCombo->GetLBText(selected);
    qsizetype digits = 0;
    while (digits < text.size() && text.at(digits).isDigit())
        ++digits;
    return text.left(digits).toInt();
}

void CToolbarLayout::ShowStyleOf(const QString& tag)
{
    const ndb::CNdbBase* document = m_context ? m_context->GetCurrentDocument() : nullptr;
    if (!document || document->GetKind() != ndb::NdbKindNewsletter || !m_styleCombo ||
        !m_styleCombo->IsWindow())
        return;
    const auto* newsletter = static_cast<const ndb::CNdbNewsletter*>(document);
    const ndb::CNdbStyle* style = newsletter->FindStyleByTag(tag);
    int target = -1;
    if (style)
    {
        const int count = m_styleCombo->GetCount();
        for (target = 0; target < count; ++target)
        {
            if (m_styleCombo->GetItemData(target) == reinterpret_cast<UINT_PTR>(style))
                break;
        }
        // A style the box does not list leaves the selection as it is.
        if (target == count)
            return;
    }
    if (target != m_styleCombo->GetCurSel())
        m_styleCombo->SetCurSel(target);
}

void CToolbarLayout::ShowFontName(const QString& name)
{
    CKVFontSelectCB* fonts = GetFontCombo();
    if (!fonts || !fonts->IsWindow() || fonts->GetWindowText() == name)
        return;
    fonts->SetCurSel(fonts->FindString(-1, name));
}

void CToolbarLayout::ShowFontSize(int size)
{
    const QString text = size > 0 ? QString::number(size) : LoadAppString(DefaultSizeStringId);
    if (!m_sizeCombo || !m_sizeCombo->IsWindow() || m_sizeCombo->GetWindowText() == text)
        return;
    m_sizeCombo->SetWindowText(text);
}

LRESULT CToolbarLayout::OnComboSelChange(WPARAM wParam, LPARAM)
{
    if (CWnd* mainWnd = AfxGetMainWnd())
        mainWnd->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
    return 0;
}

void CToolbarLayout::SetComboUpdate(UINT id, BYTE update)
{
    for (CToolbarItem& item : m_items)
    {
        if (item.window && item.window->IsWindow() && UINT(item.window->GetDlgCtrlID()) == id)
            item.update = update;
    }
}

LRESULT CToolbarLayout::OnComboSetFocus(WPARAM wParam, LPARAM)
{
    // The user works in the box: the idle update leaves it alone until the focus leaves.
    SetComboUpdate(LOWORD(wParam), 0);
    return 0;
}

LRESULT CToolbarLayout::OnComboKillFocus(WPARAM wParam, LPARAM)
{
    SetComboUpdate(LOWORD(wParam), 1);
    return 0;
}
