#include "platform/core/ModulePath.h"

#include <QCoreApplication>
#include <QFileInfo>

QString GetModuleFileName()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    // Before the application object exists (and in tools without one) the kernel still knows.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}
