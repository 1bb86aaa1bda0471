#include "platform/ui/ResourceModule.h"

#include "platform/core/AppStrings.h"
#include "res/ResourceInit.h"

#include <QFile>

namespace
{
QString PathOf(const QString& type, const QString& name)
{
    InitKelvoraResources();
    const QString root = GetResourceRoot();
    if (type == QLatin1String("CURSOR"))
        return root + QStringLiteral("cursors/") + name + QStringLiteral(".png");
    if (type == QLatin1String("BITMAP"))
        return root + QStringLiteral("images/") + name + QStringLiteral(".bmp");
    if (type == QLatin1String("PNG"))
        return root + QStringLiteral("images/") + name + QStringLiteral(".png");
    if (type == QLatin1String("DIALOG"))
        return root + QStringLiteral("dialogs/") + name + QStringLiteral(".json");
    if (type == QLatin1String("MENU"))
        return root + QStringLiteral("menus/") + name + QStringLiteral(".json");
    if (type == QLatin1String("ACCELERATOR"))
        return root + QStringLiteral("accelerators/") + name + QStringLiteral(".json");
    return {};
}

// Resources are small; anything larger is not one of ours.
constexpr qint64 MaxResourceSize = 16 * 1024 * 1024;
} // namespace

namespace ResourceModule
{
bool Exists(const QString& type, UINT id)
{
    const QString path = PathOf(type, QString::number(id));
    return !path.isEmpty() && QFile::exists(path);
}

bool Load(const QString& type, UINT id, QByteArray* bytes)
{
    return Load(type, QString::number(id), bytes);
}

bool Load(const QString& type, const QString& name, QByteArray* bytes)
{
    QFile file(PathOf(type, name));
    if (file.fileName().isEmpty() || file.size() > MaxResourceSize || !file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}
} // namespace ResourceModule
