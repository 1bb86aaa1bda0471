#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/IEBrowser.h"
#include "platform/ui/ListCtrl.h"

class IDialogContext;
namespace ndb
{
class CNdbNewsletter;
class CNdbStyle;
} // namespace ndb

// "Styles": the named styles of the open newsletter with a preview of the selected one. Styles
// are added (blank or cloned), renamed, edited in four pages and deleted; every change goes into
// the newsletter at once, and the modified flag tells the opener that something changed. The
// seven system styles can be edited but neither renamed nor deleted.
class CDlgStyles : public CDialog
{
public:
    explicit CDlgStyles(IDialogContext* context, CWnd* parent = nullptr);
    ~CDlgStyles() override;

    bool IsModified() const { return m_modified; }

    // Edits the style in the sheet of style pages; true when the sheet was closed with OK, which
    // alone changes the style.
    bool EditStyle(ndb::CNdbStyle* style);
    void RefreshPreview();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnAdd(WPARAM, LPARAM);
    LRESULT OnRename(WPARAM, LPARAM);
    LRESULT OnEdit(WPARAM, LPARAM);
    LRESULT OnDelete(WPARAM, LPARAM);
    LRESULT OnUpdate(WPARAM, LPARAM);
    LRESULT OnListDblClk(WPARAM, LPARAM);
    LRESULT OnListClick(WPARAM, LPARAM);
    LRESULT OnListKeyDown(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    int SelectedItem() const;
    ndb::CNdbStyle* SelectedStyle() const;
    void Select(int item);
    int InsertStyleItem(ndb::CNdbStyle* style);
    // The number of the last class name handed out: the newsletter's counter, or the highest
    // number among the class styles' names.
    static int LastClassNumber(const ndb::CNdbNewsletter& newsletter);

    IDialogContext* m_context;
    CIEBrowser m_preview;
    CListCtrl m_list;
    bool m_modified = false;
};
