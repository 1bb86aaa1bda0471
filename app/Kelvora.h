#pragma once

#include "platform/ui/WinApp.h"

#include <QString>
#include <QStringList>

#include <memory>

class CKVContext;
class CKVWebServer;
class CMainWnd;

// The program's application object: it owns the application context, the local web server and
// the main window. Start-up finishes pending updates, loads the language module, handles the
// restart switches, runs the update check, starts the web server and builds the main window.
class CKelvora : public CWinApp
{
public:
    static constexpr UINT UnsubscribeText = 13001;

    CKelvora();
    ~CKelvora() override;

    bool InitInstance() override;
    bool OnIdle(long count) override;
    int ExitInstance() override;
    int DoMessageBox(const QString& prompt, UINT type, UINT helpId) override;

    CKVContext* GetContext() const { return m_context.get(); }
    CKVWebServer* GetWebServer() const { return m_webServer.get(); }
    CMainWnd* GetMainWnd() const { return m_mainWnd.get(); }

    // The steps of start-up, in their order.
    // The data folder beside the program becomes the program's data folder when none is set.
    void InstallDataFolder();
    // Copies the pending copies of the updater and of the language module over the old ones.
    void FinishPendingUpdates();
    // Takes the resources from the language module that the setting "Lang" names, if any.
    void LoadLanguageModule();
    // The switches of the command line; false when this start ends here (a restart was begun).
    bool HandleSwitches();
    // False when the update check says that the program must end.
    bool RunUpdateCheck();
    void StartWebServer();
    bool CreateMainWindow();
    void SetPendingDocument();

    // The program's own file; its folder holds the updater and the restart copies.
    QString m_programFile;
    // Attempts and pause of the file copies and deletions that wait for another program.
    int m_fileAttempts;
    int m_filePauseMs;

private:
    QString ProgramFolder() const;
    QString LanguageModulePath(const QString& code, const QString& suffix) const;

    std::unique_ptr<CKVContext> m_context;
    std::unique_ptr<CKVWebServer> m_webServer;
    std::unique_ptr<CMainWnd> m_mainWnd;
    bool m_restart = false;
};
