#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/FieldGroups.h"
#include "dialogs/StyleControls.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"

#include <QString>

#include <functional>
#include <vector>

class CDataExchange;
class IDialogContext;
namespace ndb
{
class CNdbResource;
class CNdbStyle;
} // namespace ndb

// What differs between the dialogs that carry the background section: their message texts, the
// range and length of the position numbers.
struct BackgroundBlockSetup
{
    quint32 warningId = 0;
    quint32 errorId = 0;
    quint32 removeQuestionId = 0;
    int positionLimit = 8192;
    int positionLength = 4;
    // Positions from 0 up only, instead of from minus the limit.
    bool positionsFromZero = false;
};

// The background section of the element and style dialogs: colour, image with its effect, tiling
// and the position on both axes, over controls that have the same ids in every dialog. The host
// binds it in DoDataExchange, starts it in OnInitDialog, offers it its commands in OnCmdMsg and
// lets it store in OnOK. Store writes only what the user changed since the start: an untouched
// section leaves the record as it was, a number left alone keeps its fraction and unit.
class CBackgroundBlock
{
public:
    CBackgroundBlock(IDialogContext* context, ndb::CNdbStyle* style, const BackgroundBlockSetup& setup);

    void BindControls(CDataExchange* dx);
    // Creates the swatch, fills the lists from the record and shows the image; the host's own
    // controls of the section must be added before.
    void Start(CWnd* host);
    // A control of the host that is usable only while there is an image.
    void AddSectionControl(int id);
    // Browse, Remove, Image Effects and the position keywords; true when the command was one of them.
    bool OnCommand(UINT id, UINT code);
    void Store();
    // The controls' state as text, for hosts that follow every change.
    QString State() const;
    void Refresh();

    // Called after Browse, Remove or Image Effects changed the record.
    std::function<void()> onRecordChanged;

private:
    struct Axis
    {
        int keywordField;
        int lengthField;
        int keywordType;
        CComboBox mode;
        CNumberEditCtrl value;
        CComboBox unit;
        CLengthBinding length;
    };

    ndb::CNdbResource* FindImage() const;
    void StartAxis(Axis& axis);
    void AddGroups();
    void ApplyKeywordRule(Axis& axis);
    void Browse();
    void Remove();
    void EditEffects();

    IDialogContext* m_context;
    ndb::CNdbStyle* m_style;
    BackgroundBlockSetup m_setup;
    CWnd* m_host = nullptr;
    CColorBoxCtrl m_color;
    CEdit m_imageName;
    CComboBox m_tiling;
    Axis m_x;
    Axis m_y;
    std::vector<int> m_sectionControls;
    CFieldGroups m_groups;
};
