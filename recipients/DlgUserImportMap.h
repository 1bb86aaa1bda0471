#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "recipients/TextRows.h"

class CUserImportProfile;
namespace ndb
{
class CNdbUserList;
}

// "Import recipients": which source column feeds which recipient field, with the first row of
// the table as the sample; profiles load and save the mapping.
class CDlgUserImportMap : public CDialog
{
public:
    // Field rows come first, one per entry of the recipient field table.
    static constexpr int FieldRowCount = 24;

    CDlgUserImportMap(CUserImportProfile& profile, const TextRows& rows, ndb::CNdbUserList& target,
                      CWnd* parent = nullptr);
    ~CDlgUserImportMap() override;

    bool IsFirstRowHeader() const { return m_header != 0; }
    void FillMappingList();

    int m_header = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnLoadProfile(WPARAM, LPARAM);
    LRESULT OnSaveProfile(WPARAM, LPARAM);
    LRESULT OnEditMapping(WPARAM, LPARAM);
    LRESULT OnClearMapping(WPARAM, LPARAM);
    LRESULT OnListDoubleClick(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void Reselect(int index);

    CUserImportProfile& m_profile;
    const TextRows& m_rows;
    ndb::CNdbUserList& m_target;
    CListCtrl m_list;
};

// "%2d   (%s)": a source column by its 1-based number and its sample cell.
QString FormatSourceColumn(int column, const QString& sample);
