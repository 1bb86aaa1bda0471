#include "platform/ui/WinApp.h"

#include "platform/ui/IdleLoop.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>

namespace
{
CWinApp* g_app = nullptr;

QMessageBox::StandardButtons ButtonsOf(UINT type)
{
    switch (type & 0xF)
    {
    case MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int PlainMessageBox(const QString& text, UINT type)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, ButtonsOf(type));
    switch (box.exec())
    {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}
} // namespace

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::InitInstance()
{
    if (!m_session)
    {
        m_session = std::make_unique<QObject>();
        QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_session.get(),
                         [this](QSessionManager& manager)
                         {
                             if (!QueryEndSession())
                                 manager.cancel();
                         });
    }
    if (!m_idleLoop)
        m_idleLoop = std::make_unique<CIdleLoop>([this](long count) { return OnIdle(count); });
    return true;
}

bool CWinApp::OnIdle(long count)
{
    return count < 1;
}

int CWinApp::ExitInstance()
{
    m_idleLoop.reset();
    m_session.reset();
    return 0;
}

int CWinApp::DoMessageBox(const QString& prompt, UINT type, UINT)
{
    return PlainMessageBox(prompt, type);
}

int CWinApp::Run()
{
    m_arguments = QCoreApplication::arguments().mid(1);
    m_lpCmdLine = m_arguments.join(u' ');
    QApplication::setQuitOnLastWindowClosed(false);
    if (InitInstance())
    {
        CWnd* mainWnd = AfxGetMainWnd();
        if (mainWnd && mainWnd->IsWindow())
        {
            // The program ends when its main window is destroyed.
            QObject::connect(mainWnd->GetSafeHwnd(), &QObject::destroyed, qApp, &QCoreApplication::quit);
            QCoreApplication::exec();
        }
    }
    return ExitInstance();
}

bool CWinApp::QueryEndSession()
{
    CWnd* mainWnd = AfxGetMainWnd();
    return !mainWnd || mainWnd->SendMessage(WM_QUERYENDSESSION) != 0;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxMessageBox(const QString& text, UINT type, UINT helpId)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(text, type, helpId);
    return PlainMessageBox(text, type);
}
