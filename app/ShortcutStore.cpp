#include "app/ShortcutStore.h"

#include "base/AppSettings.h"
#include "ndb/NdbShortcuts.h"

#include <QDir>
#include <QFileInfo>

namespace
{
const QString FolderValue = QStringLiteral("ShortcutsFullPath");

QString DocumentsFolder()
{
    const QString documents = GetMyDocumentsFolder();
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath() + u'/';
}
} // namespace

QString CShortcutStore::FilePath(bool forSaving)
{
    QString folder;
    if (!ReadAppSettingString(HKEY_CURRENT_USER, FolderValue, folder))
    {
        folder = DocumentsFolder();
        if (forSaving)
            WriteAppSettingString(HKEY_CURRENT_USER, FolderValue, folder);
    }
    return WithTrailingSlash(folder) + FileName;
}

void CShortcutStore::Load()
{
    m_shortcuts.Load(FilePath(false));
    Prune(m_shortcuts.Recent());
    Prune(m_shortcuts.Newsletters());
    Prune(m_shortcuts.MailingLists());
}

void CShortcutStore::Save()
{
    m_shortcuts.Save(FilePath(true), Creator);
}

ndb::CNdbShortcutLink* CShortcutStore::AddDocument(const QString& path, int kind, const QString& name)
{
    if (kind != ndb::NdbKindNewsletter && kind != ndb::NdbKindMailGroup)
        return nullptr;
    ndb::CNdbFolder& folder =
        kind == ndb::NdbKindNewsletter ? m_shortcuts.Newsletters() : m_shortcuts.MailingLists();
    ndb::CNdbShortcutLink* link = ndb::CNdbShortcuts::FindLinkByTarget(path, folder);
    if (!link)
    {
        auto created = std::make_unique<ndb::CNdbShortcutLink>(name, path, kind);
        link = created.get();
        folder.InsertItem(std::move(created), 0);
    }
    m_shortcuts.AddRecentLink(std::make_unique<ndb::CNdbShortcutLink>(*link));
    Save();
    return link;
}

void CShortcutStore::Prune(ndb::CNdbFolder& folder)
{
    for (int index = folder.GetCount() - 1; index >= 0; --index)
    {
        ndb::CNdbBase* item = folder.GetItemAt(index);
        if (auto* subFolder = dynamic_cast<ndb::CNdbFolder*>(item))
            Prune(*subFolder);
        else if (auto* link = dynamic_cast<ndb::CNdbShortcutLink*>(item);
                 link && !QFileInfo::exists(link->GetPath()))
            folder.DeleteItemAt(index);
    }
}
