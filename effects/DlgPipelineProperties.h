#pragma once

#include "controls/GreImageCtrl.h"
#include "controls/NumberEditCtrl.h"
#include "dialogs/ColorBoxCtrl.h"
#include "gre/GreEffectDropShadow.h"
#include "gre/GrePipeline.h"
#include "ndb/NdbResource.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/Static.h"

class IDialogContext;

namespace ndb
{
class CNdbNewsletter;
}

// The "Image Effect" editor of one image of the open newsletter: layers that can be added,
// edited, hidden, deleted and reordered, a drop shadow per layer, the output size and the
// background colour, with a preview drawn again after every change. It works on its own copy
// of the effect; OK stores that copy in the newsletter's project under its key (an effect
// already stored under the key stays) and leaves the key for the opener.
class CDlgPipelineProperties : public CDialog
{
public:
    // Starts from the project's effect under the id, else from the image alone; the record's
    // picture is the source of every preview.
    CDlgPipelineProperties(IDialogContext* context, const QString& pipelineId,
                           const ndb::CNdbResource& resource, CWnd* parent = nullptr);
    ~CDlgPipelineProperties() override;

    // After OK: the key under which the project holds the effect.
    const QString& GetResultKey() const { return m_resultKey; }
    ndb::CNdbNewsletter* GetCurrentNewsletter() const;
    // The effect as the dialog has it now.
    const gre::CGrePipeline& GetPipeline() const { return m_pipeline; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnApplied(WPARAM, LPARAM);
    LRESULT OnPreviewChange(WPARAM, LPARAM);
    LRESULT OnSizeMode(WPARAM, LPARAM);
    LRESULT OnItemChanged(WPARAM, LPARAM);
    LRESULT OnDoubleClick(WPARAM, LPARAM);
    LRESULT OnAddText(WPARAM, LPARAM);
    LRESULT OnAddImage(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnMoveUp(WPARAM, LPARAM);
    LRESULT OnMoveDown(WPARAM, LPARAM);
    LRESULT OnEditLayer(WPARAM, LPARAM);
    LRESULT OnEditEffect(WPARAM, LPARAM);
    LRESULT OnSaveToLibrary(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

    void UpdatePreview();

private:
    void BuildStartingPipeline();
    // Stores a clone under the working pipeline's key unless the project holds one; the key.
    QString StorePipeline();
    void ApplySizeMode();
    void ShowLayerEffects(gre::CGreLayerBase* layer);
    void LayerCheckChanged(int row);
    void ShadowCheckChanged();
    void InsertLayerRow(int row, gre::CGreLayerBase* layer, bool select);
    void AddNewLayer(std::unique_ptr<gre::CGreLayerBase> layer);
    int AddSizeLayerEntry(gre::CGreLayerBase* layer);
    void RemoveSizeLayerEntry(const gre::CGreLayerBase* layer);
    void MoveSelectedLayer(int step);
    gre::CGreLayerBase* SelectedLayer() const;
    int SelectedRow() const;
    void SetShadowCheck(bool checked);

    gre::CGrePipeline m_pipeline;
    IDialogContext* m_context;
    gre::CGreImage m_source;
    QString m_pipelineId;
    CGreImageCtrl m_preview;
    CColorBoxCtrl m_colorBox;
    CNumberEditCtrl m_widthEdit;
    CNumberEditCtrl m_heightEdit;
    gre::CGreLayerBase* m_lastShownLayer = nullptr;
    QString m_resultKey;
    bool m_opened = false;
    // Set while the dialog itself changes a check box, so that only the user's clicks act.
    bool m_settingChecks = false;
    CListCtrl m_layerList;
    CListCtrl m_effectList;
    CComboBox m_sizeLayerList;
    CStatic m_colorFrame;
    int m_sizeMode = gre::SizeModeFixed;
    int m_width = 0;
    int m_height = 0;
};
