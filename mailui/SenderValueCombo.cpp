#include "mailui/SenderValueCombo.h"

void FillValueCombo(CComboBox& combo, std::span<const int> values, QString (*text)(int), int selected)
{
    combo.ResetContent();
    combo.SetCurSel(-1);
    for (const int value : values)
    {
        const int item = combo.AddString(text(value));
        combo.SetItemData(item, UINT_PTR(value));
        if (value == selected)
            combo.SetCurSel(item);
    }
}

void StoreComboValue(const CComboBox& combo, ndb::CNdbSender& sender, int field)
{
    const int selected = combo.GetCurSel();
    if (selected >= 0)
        sender.SetField(field, ndb::CNdbFieldValue(ndb::NdbValueInt, qint32(combo.GetItemData(selected))));
}
