#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListCtrl.h"

class CConceptTemplateBase;
class CConceptTemplateFolder;
class IEffectLibraryContext;

// The "Image Effect Library": the categories of the effect catalogue on the left, the effects of
// the chosen one as a page of thumbnails on the right. A click on a thumbnail selects its effect.
class CDlgPipelineLibrary : public CDialog
{
public:
    static constexpr const char* PageName = "dlgpipelinelibrary.htm";

    CDlgPipelineLibrary(IEffectLibraryContext* context, CConceptTemplateFolder* catalogue, bool online,
                        CWnd* parent = nullptr);
    ~CDlgPipelineLibrary() override;

    // After OK: the effect of the last thumbnail clicked, or null.
    CConceptTemplateBase* GetSelectedEffect() const { return m_selected; }
    CIEBrowser& GetBrowser() { return m_browser; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnBeforeNavigate(WPARAM, LPARAM url);
    LRESULT OnCategoryChanged(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void FillCategories();
    void ShowCategory(const CConceptTemplateFolder& folder);
    QString PictureAddress(const QString& catalogueUrl);

    IEffectLibraryContext* m_context;
    CConceptTemplateBase* m_selected = nullptr;
    CConceptTemplateFolder* m_catalogue;
    bool m_online;
    CImageList m_categoryImages;
    CIEBrowser m_browser;
    CListCtrl m_categoryList;
    const CConceptTemplateFolder* m_shownCategory = nullptr;
    int m_pictureCount = 0;
};
