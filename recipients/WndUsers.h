#pragma once

#include "controls/KVList.h"
#include "controls/KVStatic.h"
#include "controls/ToolbarUsers.h"
#include "platform/ui/Wnd.h"

#include <map>
#include <memory>
#include <vector>

class CCmdUI;
class IUsersContext;
namespace ndb
{
class CNdbUser;
class CNdbUserList;
} // namespace ndb

// The recipients of the open newsletter or mailing list: a toolbar with the filter field, the
// multi-column list and a status line. A dynamic mailing list is shown read-only.
class CWndUsers : public CWnd
{
public:
    static constexpr UINT UM_LIST_ROW_DBLCLICK = CKVList::NotifyDoubleClick;
    static constexpr UINT UM_LIST_CONTEXT_MENU = CKVList::NotifyRightClick;
    static constexpr UINT UM_LIST_SELECTION_CHANGED = CKVList::NotifyMarking;
    static constexpr UINT UM_USERS_FILTER_CHANGED = UM_FILTER_CHANGED;
    static constexpr UINT ToolbarId = 4700;
    static constexpr UINT StatusId = 4711;
    static constexpr COLORREF BackgroundColor = 0xE6E3E1;

    struct UserColumn
    {
        int code = 0;
        int width = 0;
        QString title;
    };
    // Row identity to recipient, for every selected visible row.
    using SelectedUsers = std::map<CKVListRow*, ndb::CNdbUser*>;

    CWndUsers(IUsersContext* context, BYTE mailingList);
    ~CWndUsers() override;

    bool Create(CWnd* parent);
    void ReloadRows();
    void RefreshRows(const ndb::CNdbUserList& users);
    void ApplyFilter(bool reset);
    void GetSelectedUsers(SelectedUsers& selected) const;
    ndb::CNdbUserList* GetUserList() const;
    bool IsReadOnly() const { return m_readOnly; }

    CKVList& GetList() { return m_list; }
    CToolbarUsers& GetToolbar() { return m_toolbar; }
    const QString& GetStatusText() const { return m_status.m_text; }
    QStringList BuildRowCells(const ndb::CNdbUser& user) const;

    // Takes the imported recipients in through the "Select Recipients" dialog and the merge.
    void MergeImportedUsers(ndb::CNdbUserList& imported);

    bool PreTranslateMessage(MSG* msg) override;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnRowDoubleClick(WPARAM, LPARAM);
    LRESULT OnContextMenu(WPARAM, LPARAM point);
    LRESULT OnSelectionChanged(WPARAM, LPARAM);
    LRESULT OnFilterChanged(WPARAM, LPARAM text);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM size);
    LRESULT OnAddUser(WPARAM, LPARAM);
    LRESULT OnUserProperties(WPARAM, LPARAM);
    LRESULT OnDeleteUsers(WPARAM, LPARAM);
    LRESULT OnClearSendStatus(WPARAM, LPARAM);
    LRESULT OnCut(WPARAM, LPARAM);
    LRESULT OnCopy(WPARAM, LPARAM);
    LRESULT OnPaste(WPARAM, LPARAM);
    LRESULT OnImport(WPARAM, LPARAM);
    LRESULT OnSelectAll(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
    void OnUpdateChanging(CCmdUI* cmdUI);
    void OnUpdateDynamicUpdate(CCmdUI* cmdUI);

private:
    void AddColumnsToList();
    CKVListRow* AddRow(ndb::CNdbUser* user, bool selected);
    void SetRowCells(CKVListRow& row) const;
    QString SendStatusText(const ndb::CNdbUser& user) const;
    void UpdateStatusLine();
    void ShowReadOnlyMessage() const;
    // The selected set; false, after the read-only message where it applies, when there is
    // nothing to change.
    bool GetSelectionToChange(SelectedUsers& selected);
    bool DeleteSelectedUsers(const SelectedUsers& selected);
    void CopyUsers(const SelectedUsers& selected);
    void InvalidateRows();
    void NotifyDocumentChanged();
    bool ImportFromDocumentFile(int source, ndb::CNdbUserList& imported);
    bool ImportFromTextFile(ndb::CNdbUserList& imported);
    bool EditOneUser(ndb::CNdbUser& user, ndb::CNdbUser& values, int mode) const;

    IUsersContext* m_context;
    bool m_readOnly = false;
    CToolbarUsers m_toolbar;
    CKVList m_list;
    CKVStatic m_status;
    std::vector<UserColumn> m_columns;
};
