#pragma once

#include "gre/GreImage.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/IEBrowser.h"
#include "res/dialogs/About.h"

#include <vector>

class CKVContext;

// The About box: a banner picture over a page that lists the program's components, generated into
// the context's web store and loaded from the local web server. A stroke across the banner, from
// one half to the other, opens the credits.
class CDlgAbout : public CDialog
{
public:
    static constexpr UINT IDD = IDD_ABOUT;
    static constexpr UINT BrowserId = 4711;
    static constexpr const char* PageName = "dlgabout.htm";

    struct Component
    {
        QString name;
        QString description;
        bool showsVersion = false;
    };

    // The context is not owned; its web store and local server serve the page.
    explicit CDlgAbout(CKVContext* context, CWnd* parent = nullptr);

    // The page's text for the components, names and descriptions escaped.
    static QString BuildPage(const std::vector<Component>& components);

    // What the page lists; the constructor fills in the program's own components.
    std::vector<Component> m_components;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    // Runs the credits with picture variant 0 (a left-to-right stroke) or 1 (right to left).
    virtual void RunCredits(BYTE variant);

    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM point);
    LRESULT OnLButtonUp(WPARAM, LPARAM point);
    LRESULT OnBrowserContextMenu(WPARAM, LPARAM);

private:
    gre::CGreImage m_banner;
    CIEBrowser m_browser;
    CPoint m_press;
    CKVContext* m_context;
    CButton m_ok;
};
