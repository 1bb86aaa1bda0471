#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PropertyPage.h"

#include <QPointer>
#include <QTabBar>
#include <memory>
#include <vector>

constexpr DWORD PSH_WIZARD = 0x0020;
constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
constexpr DWORD PSH_HASHELP = 0x0200;
constexpr int IDHELP = 9;
constexpr int ID_APPLY_NOW = 0x3021;
constexpr int ID_WIZBACK = 0x3023;
constexpr int ID_WIZNEXT = 0x3024;
constexpr int ID_WIZFINISH = 0x3025;

// A page tells its wizard which buttons to offer (lParam: PSWIZB_ flags).
constexpr UINT PSM_SETWIZBUTTONS = 0x0400 + 112;
constexpr DWORD PSWIZB_BACK = 0x1;
constexpr DWORD PSWIZB_NEXT = 0x2;
constexpr DWORD PSWIZB_FINISH = 0x4;

struct PROPSHEETHEADER
{
    DWORD dwFlags = 0;
    UINT nStartPage = 0;
};

// A dialog of pages under a row of tabs, with OK, Cancel, Apply (unless PSH_NOAPPLYNOW) and Help
// (with PSH_HASHELP) below. Every page is made when the sheet is; a tab click or SetActivePage
// shows another page after the shown one let go (OnKillActive). OK lets the shown page go and
// then tells every page; Cancel, once the shown page agrees (OnQueryCancel), tells every page;
// Help sends PSN_HELP to the shown page.
//
// With PSH_WIZARD the pages follow one another without tabs, under the shown page's caption:
// Back and Next move by one page (the shown page may refuse to be left), Finish asks the shown
// page (OnWizardFinish) and ends the sheet with ID_WIZFINISH. The pages choose the buttons with
// PSM_SETWIZBUTTONS; Finish takes the place of Next.
class CPropertySheet : public CDialog
{
public:
    explicit CPropertySheet(const QString& caption, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    // The page stays the caller's.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetActiveIndex() const { return m_active; }
    CPropertyPage* GetActivePage() const { return GetPage(m_active); }
    bool SetActivePage(int index);
    bool IsWizard() const { return (m_psh.dwFlags & PSH_WIZARD) != 0; }
    void SetWizardButtons(DWORD flags);

    PROPSHEETHEADER m_psh;

protected:
    const MessageMap* GetMessageMap() const override;
    bool CreateDialogWindow(UINT templateId, CWnd* parent) override;
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnWizardBack(WPARAM, LPARAM);
    LRESULT OnWizardNext(WPARAM, LPARAM);
    LRESULT OnWizardFinish(WPARAM, LPARAM);
    LRESULT OnSetWizardButtons(WPARAM, LPARAM flags);
    void OnOK() override;
    void OnCancel() override;

private:
    void AddButton(int id, const QString& text, DWORD style, int x, int y);
    std::vector<std::pair<int, QString>> ButtonRow() const;

    QString m_caption;
    CWnd* m_parentWnd;
    std::vector<CPropertyPage*> m_pages;
    std::vector<std::unique_ptr<CButton>> m_buttons;
    QPointer<QTabBar> m_tabs;
    CFont m_sheetFont;
    int m_active = -1;
};
