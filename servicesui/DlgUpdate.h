#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/ProgressCtrl.h"
#include "services/UpdatePackage.h"

#include <vector>

// "Update": asks the store (the setting "StoreAddress") which packages are newer than the last one installed
// for the program's language, lists them, and installs them one after another: each is downloaded into the
// user's own folder, checked against its size and digest, and unpacked whole over the program folder (a
// patch) or the data folder (files). A patch that brings a new program file hands over to it.
class CDlgUpdate : public CDialog
{
public:
    enum QueryResult : int
    {
        QueryFailed = 0,
        QueryInvalid = 1,
        NoUpdates = 2,
        UpdatesFound = 3,
    };

    CDlgUpdate(bool automatic, CWnd* parent = nullptr);
    // Shows the dialog; true when the program must end for the update to finish.
    static bool Run(CWnd* parent, bool automatic);
    ~CDlgUpdate() override;

    QueryResult QueryUpdates();
    // Size and Status of a package as the list shows them.
    static QString SizeText(int size);
    static QString StatusText(const UpdatePackage& package);

    // Set when another process takes over from the running program: the caller ends it.
    bool m_restart = false;

protected:
    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    static QString UpdateIdName();
    bool DownloadAndInstall(UpdatePackage& package);
    bool Download(UpdatePackage& package, const QString& path);
    void HandOverToNewProgram();
    void FillList();
    void SetStatusLine(const QString& text);

    // The store's update page; empty when no store is set, and then nothing is asked.
    QString m_storeAddress;
    bool m_automatic;
    std::vector<UpdatePackage> m_packages;
    CListCtrl m_list;
    CProgressCtrl m_progress;
};
