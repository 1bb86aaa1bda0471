#include "controls/ToolbarLabel.h"

#include "controls/KVStatic.h"
#include "controls/ToolbarBase.h"
#include "platform/ui/Edit.h"

namespace
{
constexpr DWORD FieldStyle = 0x50800080;
constexpr int LabelHeight = 22;
constexpr int FieldHeight = 20;
constexpr int FieldYOffset = 2;
} // namespace

CToolbarItem CToolbarLabel::MakeLabel(CToolbarBase* toolbar, const QString& text, int row)
{
    auto label = std::make_unique<CKVStatic>();
    // The border takes the toolbar's colour so that it disappears into it.
    label->Create(text, toolbar, UINT(-1), 0x000000, CToolbarBase::BackgroundColor,
                  CToolbarBase::BackgroundColor);
    label->m_padding = 0;
    CToolbarItem item;
    item.row = row;
    item.width = label->GetNormalFont().GetTextExtent(text).cx;
    item.height = LabelHeight;
    item.window = std::move(label);
    return item;
}

CToolbarItem CToolbarLabel::MakeField(CToolbarBase* toolbar, UINT id, CFont* font, int width, int row)
{
    auto field = std::make_unique<CEdit>();
    field->Create(QString(), QString(), FieldStyle, CRect(0, 0, 200, 120), toolbar, id);
    field->SetFont(font);
    CToolbarItem item;
    item.row = row;
    item.width = width;
    item.height = FieldHeight;
    item.yOffset = FieldYOffset;
    item.window = std::move(field);
    return item;
}
