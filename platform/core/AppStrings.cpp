#include "platform/core/AppStrings.h"

#include "platform/core/StringTable.h"
#include "res/ResourceInit.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QResource>

#include <memory>

namespace
{
struct ResourceModule
{
    QString root;
    CStringTable strings;
    QString rccFile; // empty for the built-in resources
    QString mapRoot;
};

// Every "*.txt" of the module's "strings" folder is part of its table.
std::shared_ptr<ResourceModule> ReadModule(const QString& root)
{
    auto module = std::make_shared<ResourceModule>();
    module->root = root;
    const QDir folder(root + QStringLiteral("strings"));
    const QStringList files = folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& name : files)
    {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            module->strings.Parse(file.read(CStringTable::MaxTableSize + 1));
    }
    return module;
}

QMutex moduleMutex;
std::shared_ptr<const ResourceModule> builtIn;
std::shared_ptr<const ResourceModule> current;
int loadedModules = 0;

// A registered module's files also show under their plain paths, over the built-in ones: the
// built-in table is read before any module is registered, and a module is unregistered as soon
// as it stops being the current one.
std::shared_ptr<const ResourceModule> BuiltIn()
{
    if (!builtIn)
    {
        InitKelvoraResources();
        builtIn = ReadModule(QStringLiteral(":/"));
    }
    return builtIn;
}

void SetCurrent(std::shared_ptr<const ResourceModule> module)
{
    if (current)
        QResource::unregisterResource(current->rccFile, current->mapRoot);
    current = std::move(module);
}
} // namespace

QString LoadAppString(quint32 id)
{
    QMutexLocker locker(&moduleMutex);
    if (current && current->strings.Contains(id))
        return current->strings.Text(id);
    return BuiltIn()->strings.Text(id);
}

QString GetLanguageCode()
{
    return LoadAppString(3002);
}

QString GetLanguageFolder()
{
    return GetLanguageCode() + u'/';
}

bool LoadResourceModule(const QString& rccFile)
{
    QMutexLocker locker(&moduleMutex);
    BuiltIn();
    const QString mapRoot = QStringLiteral("/kvmodule%1").arg(++loadedModules);
    if (!QResource::registerResource(rccFile, mapRoot))
        return false;
    auto module = ReadModule(u':' + mapRoot + u'/');
    if (module->strings.Size() == 0)
    {
        QResource::unregisterResource(rccFile, mapRoot);
        return false;
    }
    module->rccFile = rccFile;
    module->mapRoot = mapRoot;
    SetCurrent(std::move(module));
    return true;
}

void UseBuiltInResources()
{
    QMutexLocker locker(&moduleMutex);
    SetCurrent(nullptr);
}

QString GetResourceRoot()
{
    QMutexLocker locker(&moduleMutex);
    return current ? current->root : QStringLiteral(":/");
}
