#pragma once

#include "app/NewsletterCreation.h"
#include "controls/KVTabButtonList.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/IEBrowser.h"
#include "res/dialogs/NewsletterCreate.h"

class CConceptTemplateFolder;
class CKVContext;

// "Create Newsletter": a tab for each folder of the catalogue shows its templates as a gallery
// page, a click on a template selects it; the web-page tab loads a page to start from instead.
// The dialog only collects the choice.
class CDlgNewsletterCreate : public CDialog
{
public:
    static constexpr UINT IDD = IDD_NEWSLETTER_CREATE;
    static constexpr UINT TabStripId = 4710;
    static constexpr UINT GalleryBrowserId = 4711;
    static constexpr UINT WebBrowserId = 4712;
    static constexpr UINT FirstFolderCommand = 50000;
    static constexpr UINT LastFolderCommand = 50100;
    static constexpr UINT WebPageCommand = 1477;
    static constexpr const char* GalleryPageName = "dlgnewslettercreate_concepttemplate.htm";
    static constexpr const char* HelpPageName = "dlgnewslettercreate_website.htm";

    // Neither the context nor the catalogue is owned; the catalogue outlives the dialog.
    CDlgNewsletterCreate(CKVContext* context, CConceptTemplateFolder* catalogue, bool online,
                         CWnd* parent = nullptr);
    ~CDlgNewsletterCreate() override;

    // Runs the dialog over the catalogue; false when cancelled.
    static bool Ask(CKVContext* context, CWnd* parent, CConceptTemplateFolder& catalogue, bool online,
                    NewsletterStart& start);
    static QString ProposeName(const QString& folder);
    static QString WebPageHelpPage();

    CConceptTemplateFile* m_selectedTemplate{nullptr};
    bool m_webPageMode{false};
    QString m_webAddress;
    QString m_projectName;
    QString m_location;

    CKVTabButtonList& GetTabStrip() { return m_tabs; }
    CIEBrowser& GetGalleryBrowser() { return m_galleryBrowser; }
    CIEBrowser& GetWebBrowser() { return m_webBrowser; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnBeforeNavigate(WPARAM, LPARAM url);
    LRESULT OnTabCommand(WPARAM command, LPARAM);
    LRESULT OnChangeLocation(WPARAM, LPARAM);
    LRESULT OnLoadWebPage(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);

private:
    void CreateTabs();
    void PlaceControls();
    void UpdateMode();
    void ShowGallery(const CConceptTemplateFolder& folder);
    QString PictureAddress(const QString& catalogueUrl);
    UINT SelectedCommand() const;

    CKVContext* m_context;
    CConceptTemplateFolder* m_catalogue;
    bool m_online;
    CKVTabButtonList m_tabs;
    CIEBrowser m_galleryBrowser;
    CIEBrowser m_webBrowser;
    CRect m_webRect;
    int m_pictureCount{0};
};
