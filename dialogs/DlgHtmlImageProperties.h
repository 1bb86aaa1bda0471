#pragma once

#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"


class IDialogContext;
namespace ndb
{
class CNdbResource;
class CNdbStyle;
} // namespace ndb

// "Image Properties": which embedded picture an image shows, its effect, tool tip, size, border,
// alignment and spacing. The dialog edits a style record that the editor fills from the image
// and a few members; only OK writes the record. Browse adds the chosen picture to the
// newsletter at once, also when the dialog is cancelled later. Browse and Modify Image use the
// image chooser and effect editor handed over as the background image tools, and stay disabled
// without them.
class CDlgHtmlImageProperties : public CDialog
{
public:
    enum SizeMode
    {
        NaturalSize = 0,
        FixedSize = 1,
    };

    CDlgHtmlImageProperties(IDialogContext* context, ndb::CNdbStyle* style, const QString& pipelineId,
                            CWnd* parent = nullptr);
    ~CDlgHtmlImageProperties() override;

    // After OK: the effect the image shows.
    QString m_pipelineId;
    // The identifier of the picture's resource; Browse replaces it.
    QString m_resourceId;
    QString m_toolTip;
    int m_widthMode = NaturalSize;
    int m_heightMode = NaturalSize;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnSizeMode(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);
    LRESULT OnModifyImage(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void ApplyEnableRule();
    void ShowName();
    ndb::CNdbResource* FindResource() const;

    IDialogContext* m_context;
    ndb::CNdbStyle* m_style;
    QString m_workingPipelineId;
    CColorBoxCtrl m_borderColor;
    CNumberEditCtrl m_widthEdit;
    CNumberEditCtrl m_heightEdit;
    CNumberEditCtrl m_thicknessEdit;
    CNumberEditCtrl m_spacingEdits[4];
    CComboBox m_align;
    CComboBox m_verticalAlign;
    CEdit m_name;
    int m_width = 0;
    int m_height = 0;
    int m_thickness = 0;
    // Top, bottom, left, right.
    int m_spacing[4] = {};
    int m_ownParagraph = 0;
};
