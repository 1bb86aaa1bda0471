#include "editor/MergeFields.h"

namespace
{
constexpr MergeField Fields[] = {
    {32843, 110, 15001}, {32847, 120, 15002}, {32845, 130, 15003}, {32825, 140, 15005}, {32846, 150, 15004},
    {32826, 160, 15006}, {32827, 170, 15007}, {32828, 180, 15008}, {32848, 190, 15009}, {32849, 200, 15010},
    {32850, 210, 15011}, {32832, 220, 15012}, {32833, 230, 15013}, {32834, 240, 15014}, {32835, 250, 15015},
    {32836, 260, 15016}, {32837, 270, 15017}, {32851, 280, 15018}, {32839, 290, 15019}, {32840, 300, 15020},
    {32841, 310, 15021}, {32842, 320, 15022},
};
} // namespace

const MergeField* FindMergeField(UINT command)
{
    for (const MergeField& field : Fields)
    {
        if (field.command == command)
            return &field;
    }
    return nullptr;
}

QString MergeFieldSpan(int fieldCode, const QString& label)
{
    // A translated label may hold "<" or "&": it is text, never markup.
    return QStringLiteral("<span name=\"fc_%1\" atomicselection=\"true\">%2</span>")
        .arg(fieldCode)
        .arg(label.toHtmlEscaped());
}
