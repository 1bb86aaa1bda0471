#include "ndb/NdbShortcuts.h"

#include "base/ArchiveFile.h"

#include <QFileInfo>

namespace ndb
{
void CNdbShortcuts::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    m_newsletters.Serialize(archive);
    m_mailingLists.Serialize(archive);
    if (archive.GetVersion() > CPSArchive::MakeVersion(2007, 0))
        m_recent.Serialize(archive);
}

bool CNdbShortcuts::IsValidFieldValue(int, const CNdbFieldValue& value) const
{
    return value.GetType() == NdbValueText;
}

bool CNdbShortcuts::Load(const QString& path)
{
    CNdbShortcuts read;
    const bool loaded = ReadArchiveFile(
        path,
        [](const ArchiveFileHeader& header)
        { return header.IsReadableAs(FileTypeTag, FileMajorVersion, FileMinorVersion); },
        [&read](CPSArchive& archive) { read.Serialize(archive); });
    if (!loaded)
    {
        if (QFileInfo::exists(path))
            m_unreadablePath = QFileInfo(path).absoluteFilePath();
        return false;
    }
    m_unreadablePath.clear();
    CNdbFieldBase::operator=(read);
    m_newsletters.TakeContentOf(read.m_newsletters);
    m_mailingLists.TakeContentOf(read.m_mailingLists);
    m_recent.TakeContentOf(read.m_recent);
    return true;
}

bool CNdbShortcuts::Save(const QString& path, const QString& creator)
{
    if (!m_unreadablePath.isEmpty() && QFileInfo(path).absoluteFilePath() == m_unreadablePath)
        return false;
    const ArchiveFileHeader header{FileTypeTag, FileMajorVersion, FileMinorVersion, creator, 2007, 1};
    return WriteArchiveFile(path, header, [this](CPSArchive& archive) { Serialize(archive); });
}

CNdbShortcutLink* CNdbShortcuts::FindLinkByTarget(const QString& target, const CNdbFolder& folder)
{
    for (const auto& item : folder.GetItems())
    {
        if (auto* link = dynamic_cast<CNdbShortcutLink*>(item.get()))
        {
            if (link->GetPath() == target)
                return link;
        }
        else if (auto* subFolder = dynamic_cast<const CNdbFolder*>(item.get()))
        {
            if (CNdbShortcutLink* found = FindLinkByTarget(target, *subFolder))
                return found;
        }
    }
    return nullptr;
}

bool CNdbShortcuts::AddRecentLink(std::unique_ptr<CNdbShortcutLink> link)
{
    if (!link)
        return false;
    if (const CNdbShortcutLink* old = FindLinkByTarget(link->GetPath(), m_recent))
        m_recent.DeleteItem(old);
    m_recent.InsertItem(std::move(link), 0);
    while (m_recent.GetCount() > RecentLimit)
        m_recent.DeleteItemAt(RecentLimit);
    return true;
}
} // namespace ndb
