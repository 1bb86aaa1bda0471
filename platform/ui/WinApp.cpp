#include "platform/ui/WinApp.h"

#include "platform/ui/IdleLoop.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QSessionManager>
#include <QWidget>

namespace
{
CWinApp* g_app = nullptr;

// The message pump's part before a key reaches its window: the windows from the receiver up may
// translate it first (accelerators, Enter in a search field).
class CMessagePump : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyRelease)
            m_translated = {};
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<const QKeyEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        // A key that no widget accepts travels on to the parents of its receiver, passing here
        // again; the windows on its way have had their turn already.
        if (m_translated.IsSame(key) && m_translated.receiver && widget->isAncestorOf(m_translated.receiver))
            return false;
        m_translated = {key, key->key(), key->modifiers(), const_cast<QWidget*>(widget)};
        return CWnd::WalkPreTranslateTree(watched, event);
    }

private:
    struct Translated
    {
        const QKeyEvent* event = nullptr;
        int key = 0;
        Qt::KeyboardModifiers modifiers;
        QPointer<QWidget> receiver;

        bool IsSame(const QKeyEvent* other) const
        {
            return other == event && other->key() == key && other->modifiers() == modifiers;
        }
    };
    Translated m_translated;
};

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
    if (!m_pump)
    {
        m_pump = std::make_unique<CMessagePump>();
        QCoreApplication::instance()->installEventFilter(m_pump.get());
        QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_pump.get(),
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
    m_pump.reset();
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
