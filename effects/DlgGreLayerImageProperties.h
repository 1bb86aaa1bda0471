#pragma once

#include "controls/GreImageCtrl.h"
#include "effects/GreLayerFields.h"
#include "gre/GreLayerImage.h"
#include "gre/GreRenderContext.h"
#include "platform/ui/Dialog.h"

#include <functional>
#include <mutex>
#include <shared_mutex>

// Edits one image layer in place while the effect editor shows the result: every change is
// written into the layer at once and the owner is told with the command UM_GRE_APPLIED. The
// layer shows the source image or a picture of its own, which "Browse..." adds to the project's
// images under the MD5 of the file, so one file chosen twice is stored once.
class CDlgGreLayerImageProperties : public CDialog
{
public:
    // The source image may be null.
    CDlgGreLayerImageProperties(gre::CGreLayerImage* layer, gre::GreImageMap* images,
                                const gre::CGreImage* source, CWnd* parent = nullptr);
    ~CDlgGreLayerImageProperties() override;

    // Held while "Browse..." adds a picture to the images, which the local server reads; none
    // when nobody else reads them.
    std::function<std::unique_lock<std::shared_mutex>()> m_writeDocument;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnChange(WPARAM, LPARAM);
    LRESULT OnUseSource(WPARAM, LPARAM);
    LRESULT OnBrowse(WPARAM, LPARAM);
    LRESULT OnApply(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void Apply(bool notify);
    void UseSourceClicked();
    void RefreshPreview();

    gre::CGreLayerImage* m_layer;
    gre::GreImageMap* m_images;
    const gre::CGreImage* m_source;
    gre::CGreLayerImage m_stored;
    CGreLayerFields m_fields;
    int m_useSource = 0;
    bool m_loading = true;
    CGreImageCtrl m_preview;
};
