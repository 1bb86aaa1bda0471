#include "app/Kelvora.h"

#include "app/CommandLineSwitches.h"
#include "app/DlgMessageBox.h"
#include "app/DlgNewsletterCreate.h"
#include "app/DlgNewsletterCreateEmpty.h"
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "app/MainWindowPlacement.h"
#include "app/MainWnd.h"
#include "app/ShellHooks.h"
#include "app/StartupFiles.h"
#include "app/UpdateOnStart.h"
#include "base/AppSettings.h"
#include "mailui/DlgSiteAccounts.h"
#include "platform/core/AppStrings.h"
#include "platform/core/ModulePath.h"
#include "platform/ui/IdleLoop.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SystemParameters.h"
#include "recipients/DlgMailGroupCreate.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace
{
const QString LanguageValue = QStringLiteral("Lang");
const QString DataFolderValue = QStringLiteral("SystemPath");

QString LanguageCode()
{
    QString code;
    ReadAppSettingString(HKEY_LOCAL_MACHINE, LanguageValue, code);
    return code;
}
} // namespace

CKelvora::CKelvora()
    : m_programFile(GetModuleFileName()), m_fileAttempts(StartupFiles::Attempts),
      m_filePauseMs(StartupFiles::PauseMilliseconds), m_context(std::make_unique<CKVContext>()),
      m_webServer(std::make_unique<CKVWebServer>(m_context.get()))
{
}

CKelvora::~CKelvora()
{
    m_webServer.reset();
    if (m_mainWnd && AfxGetMainWnd() == m_mainWnd.get())
        AfxSetMainWnd(nullptr);
    m_mainWnd.reset();
    m_context.reset();
}

bool CKelvora::InitInstance()
{
    // Qt has set the C library's locale to the user's already.
    if (!CWinApp::InitInstance())
        return false;
    InitAppPaths();
    InstallDataFolder();
    FinishPendingUpdates();
    LoadLanguageModule();
    if (!HandleSwitches())
        return true;
    if (!RunUpdateCheck())
        return false;
    m_context->SetUnsubscribeText(LoadAppString(UnsubscribeText));
    StartWebServer();
    if (!CreateMainWindow())
        return false;
    SetPendingDocument();
    return true;
}

QString CKelvora::ProgramFolder() const
{
    return QFileInfo(m_programFile).absolutePath() + u'/';
}

QString CKelvora::LanguageModulePath(const QString& code, const QString& suffix) const
{
    return GetSystemPath() + QStringLiteral("KelvoraRes") + code + suffix;
}

void CKelvora::InstallDataFolder()
{
    const QString dataFolder = ProgramFolder() + QStringLiteral("data/");
    if (!GetSystemPath().isEmpty() || !QFileInfo(dataFolder).isDir())
        return;
    // What an installer does: the installation's settings name the data folder.
    WriteAppSettingString(HKEY_LOCAL_MACHINE, DataFolderValue, dataFolder);
    InitAppPaths();
}

void CKelvora::FinishPendingUpdates()
{
    const QString updater = ProgramFolder() + QFileInfo(m_programFile).fileName();
    StartupFiles::FinishPendingCopy(updater + QStringLiteral("_va_new"), updater + QStringLiteral("_va"),
                                    m_fileAttempts, m_filePauseMs);
    const QString code = LanguageCode();
    StartupFiles::FinishPendingCopy(LanguageModulePath(code, QStringLiteral("_new.rcc")),
                                    LanguageModulePath(code, QStringLiteral(".rcc")), m_fileAttempts,
                                    m_filePauseMs);
}

void CKelvora::LoadLanguageModule()
{
    const QString code = LanguageCode();
    if (code.isEmpty() || code == QLatin1String("en"))
        return;
    if (!LoadResourceModule(LanguageModulePath(code, QStringLiteral(".rcc"))))
        AfxMessageBox(QStringLiteral("Can't load resource library for language (langcode = ") + code +
                          QStringLiteral(")\nReverting to English"),
                      MB_ICONERROR);
}

bool CKelvora::HandleSwitches()
{
    namespace Switches = CommandLineSwitches;
    const QString folder = ProgramFolder();
    QString name;
    if (Switches::FindFileName(m_lpCmdLine, Switches::UpdateForVista, name))
        ShellHooks::Get().updateFile = folder + name;
    if (Switches::FindFileName(m_lpCmdLine, Switches::Restart, name) && Switches::IsProgramFolderName(name))
    {
        m_restart = true;
        const QString target = folder + name;
        if (StartupFiles::Retry([&] { return StartupFiles::CopyOver(m_programFile, target); }, m_fileAttempts,
                                m_filePauseMs))
        {
            const QString cleanup =
                Switches::RestartCleanup + u'"' + QFileInfo(m_programFile).fileName() + u'"';
            QProcess::startDetached(target, {cleanup});
            return false;
        }
    }
    if (Switches::FindFileName(m_lpCmdLine, Switches::RestartCleanup, name) &&
        Switches::IsProgramFolderName(name))
    {
        m_restart = true;
        const QString leftOver = folder + name;
        StartupFiles::Retry([&] { return QFile::remove(leftOver) || !QFileInfo::exists(leftOver); },
                            m_fileAttempts, m_filePauseMs);
    }
    return true;
}

bool CKelvora::RunUpdateCheck()
{
    ShellHooks& hooks = ShellHooks::Get();
    if (!UpdateOnStart::IsOn() && hooks.updateFile.isEmpty())
        return true;
    return !hooks.runUpdate(nullptr, true);
}

void CKelvora::StartWebServer()
{
    if (!m_webServer->IsRunning())
        m_webServer->Start();
}

bool CKelvora::CreateMainWindow()
{
    ShellHooks::Get().askNewMailingList = &CDlgMailGroupCreate::Ask;
    ShellHooks::Get().askNewNewsletter = &CDlgNewsletterCreateEmpty::Ask;
    ShellHooks::Get().runSiteAccounts = [](CWnd* parent) { CDlgSiteAccounts(parent).DoModal(); };
    ShellHooks::Get().chooseNewsletterStart = [context = m_context.get()](CWnd* parent,
                                                                          CConceptTemplateFolder& catalogue,
                                                                          bool online, NewsletterStart& start)
    { return CDlgNewsletterCreate::Ask(context, parent, catalogue, online, start); };
    const bool shiftHeld = GetAsyncKeyState(VK_SHIFT) & 0x8000;
    const MainWindowPlacement placement =
        MainWindowPlacement::Read(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), shiftHeld);
    m_mainWnd = std::make_unique<CMainWnd>(m_context.get());
    // Its toolbars, made while it is created, send their buttons' commands to the main window.
    AfxSetMainWnd(m_mainWnd.get());
    if (!m_mainWnd->Create(placement.rect))
    {
        AfxSetMainWnd(nullptr);
        return false;
    }
    if (placement.showCommand)
        m_mainWnd->ShowWindow(placement.ShowCommandToApply());
    m_mainWnd->ShowWindow(SW_SHOW);
    return true;
}

void CKelvora::SetPendingDocument()
{
    if (m_restart || m_lpCmdLine.trimmed().isEmpty())
        return;
    const QString document = CommandLineSwitches::FindDocument(m_arguments);
    if (!document.isEmpty())
        m_mainWnd->SetPendingDocument(QFileInfo(document).absoluteFilePath());
}

bool CKelvora::OnIdle(long count)
{
    if (CWnd* mainWnd = AfxGetMainWnd())
        mainWnd->SendMessageToDescendants(UM_IDLE, 0, LPARAM(count));
    return CWinApp::OnIdle(count);
}

int CKelvora::ExitInstance()
{
    AfxSetMainWnd(nullptr);
    m_mainWnd.reset();
    m_webServer->Stop();
    return CWinApp::ExitInstance();
}

int CKelvora::DoMessageBox(const QString& prompt, UINT type, UINT)
{
    CDlgMessageBox box(AfxGetMainWnd());
    box.m_text = prompt;
    box.m_type = type;
    return int(box.DoModal());
}
