#include "dialogs/StyleControls.h"

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/FieldGroups.h"
#include "ndb/NdbStyle.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/ComboBox.h"

#include <cmath>

using namespace ndb;

namespace
{
const KeywordEntry Units[] = {
    {9000, NdbUnitPx}, {9002, NdbUnitPt}, {9003, NdbUnitMm}, {9004, NdbUnitCm},
    {9005, NdbUnitIn}, {9006, NdbUnitEm}, {9007, NdbUnitEx}, {9001, NdbUnitPercent},
};

int FindData(const CComboBox& list, int data)
{
    for (int i = 0; i < list.GetCount(); ++i)
    {
        if (int(list.GetItemData(i)) == data)
            return i;
    }
    return -1;
}
} // namespace

void FillUnitList(CComboBox& list, bool withPercent)
{
    FillKeywordList(list, std::span(Units).first(withPercent ? std::size(Units) : std::size(Units) - 1));
}

void SelectUnit(CComboBox& list, int unit)
{
    SelectCode(list, unit);
}

int SelectedUnit(const CComboBox& list)
{
    const int code = SelectedCode(list);
    return code == NoEntry ? 0 : code;
}

int SelectedCode(const CComboBox& list)
{
    const int entry = list.GetCurSel();
    return entry < 0 ? NoEntry : int(list.GetItemData(entry));
}

void SelectCode(CComboBox& list, int code)
{
    list.SetCurSel(FindData(list, code));
}

void FillKeywordList(CComboBox& list, std::span<const KeywordEntry> entries)
{
    for (const KeywordEntry& entry : entries)
    {
        const int index = list.AddString(LoadAppString(entry.textId));
        list.SetItemData(index, UINT_PTR(entry.code));
    }
}

void LoadKeyword(CComboBox& list, const CNdbStyle& style, int id)
{
    CNdbFieldValue value;
    SelectCode(list, style.GetField(id, value) ? value.GetInt() : DefaultKeyword);
}

void StoreKeyword(const CComboBox& list, CNdbStyle& style, int id, int valueType)
{
    const int entry = list.GetCurSel();
    if (entry < 0)
        return;
    const int code = int(list.GetItemData(entry));
    if (code == DefaultKeyword)
        style.RemoveField(id);
    else
        style.SetField(id, CNdbFieldValue(valueType, code));
}

QString ListState(const CComboBox& list)
{
    return QString::number(list.GetCurSel());
}

void CLengthBinding::Load(const CNdbStyle& style, int id, CNumberEditCtrl& edit, int fallback)
{
    m_edit = &edit;
    m_present = style.GetField(id, m_loaded) && m_loaded.GetType() == NdbValueLength;
    edit.SetWindowText(QString::number(m_present ? int(std::trunc(m_loaded.GetFloat())) : fallback));
    m_shown = edit.GetWindowText();
}

CNdbFieldValue CLengthBinding::Value(int unit) const
{
    const bool sameUnit = unit == 0 || unit == LoadedUnit();
    if (m_present && sameUnit && m_edit->GetWindowText() == m_shown)
        return m_loaded;
    const int stored = unit != 0 ? unit : (LoadedUnit() != 0 ? LoadedUnit() : int(NdbUnitPx));
    return CNdbFieldValue(float(m_edit->GetValue()), stored);
}

QString CLengthBinding::Text() const
{
    return m_edit ? m_edit->GetWindowText() : QString();
}

CNdbColor LoadColor(const CNdbStyle& style, int id, const CNdbColor& absent)
{
    CNdbFieldValue value;
    return style.GetField(id, value) && value.GetColor() ? *value.GetColor() : absent;
}

void StoreColor(CNdbStyle& style, int id, const CNdbColor& color)
{
    if (color.GetKind() == NdbColorNone)
        style.RemoveField(id);
    else
        style.SetField(id, CNdbFieldValue(color));
}

void AddColorGroup(CFieldGroups& groups, const CColorBoxCtrl& box, CNdbStyle& style, int id)
{
    groups.Add([&box] { return box.GetColor().ToText(); },
               [&box, &style, id] { StoreColor(style, id, box.GetColor()); });
}

void AddKeywordGroup(CFieldGroups& groups, const CComboBox& list, CNdbStyle& style, int id, int valueType)
{
    groups.Add([&list] { return ListState(list); },
               [&list, &style, id, valueType] { StoreKeyword(list, style, id, valueType); });
}

void AddLengthGroup(CFieldGroups& groups, const CLengthBinding& length, const CComboBox& unit,
                    CNdbStyle& style, int id)
{
    groups.Add([&length, &unit] { return length.Text() + QLatin1Char('|') + ListState(unit); },
               [&length, &unit, &style, id]
               {
                   if (const int chosen = SelectedUnit(unit))
                       style.SetField(id, length.Value(chosen));
               });
}
