#pragma once

#include "ndb/NdbColor.h"
#include "ndb/NdbFieldValue.h"

#include <QString>

#include <span>

class CColorBoxCtrl;
class CComboBox;
class CFieldGroups;
class CNumberEditCtrl;
namespace ndb
{
class CNdbStyle;
}

// The lists and numbers through which the style pages show a style's fields.

// One entry of a keyword list: its text (a string id) and the code it stores; -1 is "Default",
// which removes the field.
struct KeywordEntry
{
    quint32 textId;
    int code;
};

constexpr int DefaultKeyword = -1;

// Lengths are stored with these unit codes; 0 is the unit of the zero length of "Normal".
void FillUnitList(CComboBox& list, bool withPercent);
// The entry of the unit, none for an unknown one.
void SelectUnit(CComboBox& list, int unit);
// The unit of the selected entry; 0 when none is selected.
int SelectedUnit(const CComboBox& list);

void FillKeywordList(CComboBox& list, std::span<const KeywordEntry> entries);
// "Default" when the field is absent, else the entry of its code (none when no entry has it).
void LoadKeyword(CComboBox& list, const ndb::CNdbStyle& style, int id);
// "Default" removes the field, another entry stores its code as a value of the type; without a
// selection the field stays as it is.
void StoreKeyword(const CComboBox& list, ndb::CNdbStyle& style, int id, int valueType);

// The code of the selected entry; NoEntry when none is selected.
constexpr int NoEntry = -2;
int SelectedCode(const CComboBox& list);
// Selects the entry of the code; none when no entry has it.
void SelectCode(CComboBox& list, int code);

// The state of a list as text, for telling whether the user changed it.
QString ListState(const CComboBox& list);

// A length field shown as a whole number in an edit. A number the user left as it was keeps the
// field's own value, fraction and unit, unless another unit was chosen for it.
class CLengthBinding
{
public:
    // Shows the field's value truncated, or the fallback when the field is absent.
    void Load(const ndb::CNdbStyle& style, int id, CNumberEditCtrl& edit, int fallback);
    bool IsPresent() const { return m_present; }
    // The number as shown now, and whether it differs from the one loaded.
    QString Text() const;
    bool Edited() const { return Text() != m_shown; }
    // The unit of the field as loaded; 0 when it was absent.
    int LoadedUnit() const { return m_present ? m_loaded.GetUnit() : 0; }
    // The length to store: the loaded value while the number and its unit are unchanged, else
    // the number in the unit (the loaded unit for 0, pixels when there was none).
    ndb::CNdbFieldValue Value(int unit) const;

private:
    CNumberEditCtrl* m_edit = nullptr;
    ndb::CNdbFieldValue m_loaded;
    QString m_shown;
    bool m_present = false;
};

// Field groups of the common controls. A colour of kind none removes its field.
// The colour of the field, or the one given for a field without a colour.
ndb::CNdbColor LoadColor(const ndb::CNdbStyle& style, int id, const ndb::CNdbColor& absent = {});
// The colour into the field; "no colour" removes it.
void StoreColor(ndb::CNdbStyle& style, int id, const ndb::CNdbColor& color);
void AddColorGroup(CFieldGroups& groups, const CColorBoxCtrl& box, ndb::CNdbStyle& style, int id);
void AddKeywordGroup(CFieldGroups& groups, const CComboBox& list, ndb::CNdbStyle& style, int id,
                     int valueType);
// The length in the selected unit; without a selected unit the field stays as it is.
void AddLengthGroup(CFieldGroups& groups, const CLengthBinding& length, const CComboBox& unit,
                    ndb::CNdbStyle& style, int id);
