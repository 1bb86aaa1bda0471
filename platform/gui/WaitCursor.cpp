#include "platform/gui/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

WaitCursor::WaitCursor()
{
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    m_shown = application && QThread::currentThread() == application->thread();
    if (m_shown)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    if (m_shown)
        QGuiApplication::restoreOverrideCursor();
}
