#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"

#include <array>

class CDataExchange;
class CFieldGroups;

// The controls of four sides (top, bottom, left, right) with one unit, or the browser's
// default: the margins or the padding of the style, box and layout dialogs.
struct SidesControls
{
    int useDefault;
    std::array<int, 4> values;
    int unit;
    std::array<int, 5> labels;
};

// Four length fields shown as whole numbers in one unit. Sides stored in different units show no
// unit and keep their own; a number left alone keeps its fraction.
class CSidesBlock
{
public:
    CSidesBlock(ndb::CNdbStyle* style, const std::array<int, 4>& fields, const SidesControls& controls);

    void BindControls(CDataExchange* dx);
    void Start(CWnd* host, int minimum, int maximum, int length);
    // The default check; false, so that the host may follow the change too.
    bool OnCommand(UINT id, UINT code);
    // Without the default check all four sides, with it none.
    void AddGroup(CFieldGroups& groups);

private:
    void Load();
    void ApplyDefault();
    QString State() const;
    void Store();

    ndb::CNdbStyle* m_style;
    std::array<int, 4> m_fields;
    SidesControls m_controls;
    CWnd* m_host = nullptr;
    CButton m_useDefault;
    std::array<CNumberEditCtrl, 4> m_values;
    CComboBox m_unit;
    std::array<CLengthBinding, 4> m_lengths;
};

// The margins and the padding of the style, box and layout dialogs.
extern const SidesControls MarginControls;
extern const SidesControls PaddingControls;
std::array<int, 4> MarginFields();
std::array<int, 4> PaddingFields();
