#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/BackgroundBlock.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/PageStyleBase.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

#include <array>
#include <memory>

// The Background & Borders page of the style editor: background colour, the background image
// with its tiling and position, and the four borders.
class CPageStyle3 : public CPageStyleBase
{
public:
    CPageStyle3(IDialogContext* context, ndb::CNdbStyle* style);
    ~CPageStyle3() override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    bool OnCmdMsg(UINT id, UINT code) override;
    LRESULT OnColorChanged(WPARAM, LPARAM);
    LRESULT OnDefaultBorder(WPARAM, LPARAM);

private:
    // One border side: its style, width and colour.
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

    void LoadBorders();
    void AddFieldGroups();
    QString BordersState();
    void StoreBorders();
    void ApplyDefaultBorder();

    ndb::CNdbPalette* m_palette;
    CBackgroundBlock m_background;
    CButton m_useDefaultBorder;
    std::array<Border, 4> m_borders;
    CComboBox m_borderUnit;
};
