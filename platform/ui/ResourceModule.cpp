#include "platform/ui/ResourceModule.h"

#include "base/AppStrings.h"
#include "res/ResourceInit.h"

#include <QFile>

namespace
{
QString PathOf(const QString& type, UINT id)
{
    InitKelvoraResources();
    const QString root = GetResourceRoot();
    const QString name = QString::number(id);
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
    const QString path = PathOf(type, id);
    return !path.isEmpty() && QFile::exists(path);
}

bool Load(const QString& type, UINT id, QByteArray* bytes)
{
    QFile file(PathOf(type, id));
    if (file.fileName().isEmpty() || file.size() > MaxResourceSize || !file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}
} // namespace ResourceModule
