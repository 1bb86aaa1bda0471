#include "platform/gui/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

CWaitCursor::CWaitCursor()
{
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    m_shown = application && QThread::currentThread() == application->thread();
    if (m_shown)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

CWaitCursor::~CWaitCursor()
{
    if (m_shown)
        QGuiApplication::restoreOverrideCursor();
}
