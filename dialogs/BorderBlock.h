#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"

#include <array>
#include <memory>

class CDataExchange;
namespace ndb
{
class CNdbPalette;
class CNdbStyle;
} // namespace ndb

// The four borders of the style and box dialogs: for each side a style, a width and a colour,
// one unit for the four widths, or none of them at all ("Use Default Border"). The host binds it
// in DoDataExchange, starts it in OnInitDialog, offers it its commands and lets it store on OK.
class CBorderBlock
{
public:
    // A side without a colour shows the given one.
    CBorderBlock(ndb::CNdbPalette* palette, ndb::CNdbStyle* style, const ndb::CNdbColor& absentColor);

    void BindControls(CDataExchange* dx);
    void Start(CWnd* host, int widthMinimum, int widthMaximum, int widthLength);
    // The default check; false, so that the host may follow the change too.
    bool OnCommand(UINT id, UINT code);
    QString State() const;
    // Without the default check every side's width, colour and chosen style; with it none.
    // Widths left alone keep their fraction and unit.
    void Store();

private:
    struct Border
    {
        int styleField;
        int widthField;
        int colorField;
        CComboBox style;
        CNumberEditCtrl width;
        std::unique_ptr<CColorBoxCtrl> color;
        CLengthBinding length;
    };

    void Load();
    void ApplyDefaultBorder();

    ndb::CNdbStyle* m_style;
    ndb::CNdbColor m_absentColor;
    CWnd* m_host = nullptr;
    CButton m_useDefault;
    std::array<Border, 4> m_borders;
    CComboBox m_unit;
};
