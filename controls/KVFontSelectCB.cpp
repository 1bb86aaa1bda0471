#include "controls/KVFontSelectCB.h"

#include "controls/InstalledFonts.h"
#include "platform/ui/ClientDC.h"
#include "platform/ui/SystemParameters.h"

namespace
{
constexpr UINT ListWidth = 300;
constexpr int TextInset = 5;
constexpr int DroppedWidthExtra = 10;
// A face name holds at most 31 characters.
constexpr int MaxFaceNameLength = 31;
} // namespace

CKVFontSelectCB::CKVFontSelectCB() = default;

CKVFontSelectCB::~CKVFontSelectCB()
{
    // The window goes first: a paint of the list must not meet deleted sample fonts.
    DestroyWindow();
}

bool CKVFontSelectCB::FillFonts()
{
    ResetContent();
    m_sampleFonts.clear();
    std::vector<FontFamilyEntry> families;
    GetInstalledFontFamilies(families);
    int widest = 0;
    CClientDC dc(this);
    for (const FontFamilyEntry& family : families)
    {
        LOGFONT description;
        description.lfHeight = -m_sampleHeight;
        description.lfFaceName = family.name.left(MaxFaceNameLength);
        auto font = std::make_unique<CFont>();
        if (!font->CreateFontIndirect(&description))
            continue;
        CFont* previous = dc.SelectObject(font.get());
        widest = std::max(widest, int(dc.GetTextExtent(family.name).cx));
        dc.SelectObject(previous);
        const int index = AddString(family.name);
        SetItemData(index, UINT_PTR(font.get()));
        m_sampleFonts.push_back(std::move(font));
    }
    SetDroppedWidth(GetSystemMetrics(SM_CXVSCROLL) + widest + DroppedWidthExtra);
    return true;
}

void CKVFontSelectCB::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    measure->itemWidth = ListWidth;
    measure->itemHeight = UINT(measure->itemID == -1 ? m_fieldHeight : m_itemHeight);
}

void CKVFontSelectCB::DrawItem(DRAWITEMSTRUCT* draw)
{
    CDC* dc = draw->pDC;
    const int saved = dc->SaveDC();
    const bool field = (draw->itemState & ODS_COMBOBOXEDIT) != 0;
    COLORREF background = (draw->itemState & ODS_SELECTED) ? m_selectedBackground : m_background;
    if (field)
        background = m_fieldBackground;
    dc->FillSolidRect(draw->rcItem, background);
    const QString text = draw->itemID == -1 ? QString() : GetLBText(draw->itemID);
    // The open list shows every name in its own font, the closed box in the system font.
    CFont* font = m_controlFont.GetFont();
    if (!field && draw->itemID != -1 && draw->itemData)
        font = reinterpret_cast<CFont*>(draw->itemData);
    CRect rect = draw->rcItem;
    rect.left += TextInset;
    rect.top += TextInset;
    rect.right -= TextInset;
    rect.bottom -= TextInset;
    dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(text, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    dc->RestoreDC(saved);
}
