#include "ndb/NdbMailGroup.h"

#include "base/ArchiveFile.h"

namespace ndb
{
CNdbMailGroup::CNdbMailGroup(const QString& name) : CNdbFieldBase(NdbKindMailGroup)
{
    if (!name.isEmpty())
        SetField(MailGroupName, CNdbFieldValue(name));
}

void CNdbMailGroup::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    m_users.Serialize(archive);
}

bool CNdbMailGroup::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    switch (id)
    {
    case MailGroupKind:
        return value.GetType() == NdbValueMailGroupKind;
    case MailGroupAutoUpdate:
    case MailGroupDynamicOn:
        return value.GetType() == NdbValueBool;
    default:
        return value.GetType() == NdbValueText;
    }
}

QString CNdbMailGroup::GetPath() const
{
    return GetString(MailGroupPath);
}

bool CNdbMailGroup::Load(const QString& path)
{
    CNdbMailGroup read;
    const bool loaded = ReadArchiveFile(
        path,
        [](const ArchiveFileHeader& header)
        { return header.IsNoNewerThan(FileMajorVersion, FileMinorVersion); },
        [&read](CPSArchive& archive) { read.Serialize(archive); });
    if (!loaded)
        return false;
    CNdbFieldBase::operator=(read);
    m_users.TakeContentOf(read.m_users);
    m_modified = false;
    return true;
}

bool CNdbMailGroup::Save(const QString& path, const QString& creator, int creatorMajor, int creatorMinor)
{
    const ArchiveFileHeader header{FileTypeTag, FileMajorVersion, FileMinorVersion,
                                   creator,     creatorMajor,     creatorMinor};
    // Field 210 holds the list's admin password.
    const FileReaders readers =
        GetString(MailGroupSite210).isEmpty() ? FileReaders::Usual : FileReaders::OwnerOnly;
    if (!WriteArchiveFile(
            path, header, [this](CPSArchive& archive) { Serialize(archive); }, readers))
        return false;
    m_modified = false;
    return true;
}
} // namespace ndb
