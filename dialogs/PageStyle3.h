#pragma once

#include "controls/NumberEditCtrl.h"
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
    LRESULT OnColorChanged(WPARAM, LPARAM);
    LRESULT OnPosXModeChange(WPARAM, LPARAM);
    LRESULT OnPosYModeChange(WPARAM, LPARAM);
    LRESULT OnDefaultBorder(WPARAM, LPARAM);
    LRESULT OnRemoveImage(WPARAM, LPARAM);

private:
    // A background position: a keyword, or a length of its own.
    struct Position
    {
        int keywordField;
        int lengthField;
        CComboBox mode;
        CNumberEditCtrl value;
        CComboBox unit;
        CLengthBinding length;
    };

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

    void LoadPosition(Position& position);
    void LoadBorders();
    void AddFieldGroups();
    QString BordersState();
    void StoreBorders();
    void UpdateImageControls();
    void ApplyPositionMode(Position& position);
    void ApplyDefaultBorder();

    ndb::CNdbPalette* m_palette;
    CColorBoxCtrl m_background;
    CEdit m_imageName;
    CComboBox m_tiling;
    Position m_x;
    Position m_y;
    CButton m_useDefaultBorder;
    std::array<Border, 4> m_borders;
    CComboBox m_borderUnit;
};
