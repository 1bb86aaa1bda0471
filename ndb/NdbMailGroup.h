#pragma once

#include "ndb/NdbFieldBase.h"
#include "ndb/NdbUserList.h"

namespace ndb
{
enum MAILGROUPFIELDS
{
    MailGroupKind = 0, // NdbMailGroupKind
    MailGroupSite10 = 10,
    MailGroupId = 100,
    MailGroupFileName = 110, // name plus ".kvmg"
    MailGroupPath = 120,
    MailGroupName = 130,
    MailGroupAutoUpdate = 190, // update the dynamic list when the document is opened
    MailGroupSite200 = 200,
    MailGroupSite210 = 210,
    MailGroupSite230 = 230,
    MailGroupSite250 = 250,
    MailGroupSite251 = 251,
    MailGroupServerList270 = 270,
    MailGroupServerList271 = 271,
    MailGroupDynamicOn = 299,
};

enum NdbMailGroupKind
{
    NdbMailGroupNormal = 0,
    NdbMailGroupDynamic = 1, // kept in step with a list on the user's web site
};

// A stand-alone mailing list, the document of a ".kvmg" file.
class CNdbMailGroup : public CNdbFieldBase<MAILGROUPFIELDS>
{
    KV_PERSISTENT_CLASS()
    static inline const QString FileTypeTag = QStringLiteral("KVM");
    static constexpr int FileMajorVersion = 2007;
    static constexpr int FileMinorVersion = 0;

    explicit CNdbMailGroup(const QString& name = {});
    CNdbMailGroup(const CNdbMailGroup&) = delete;
    CNdbMailGroup& operator=(const CNdbMailGroup&) = delete;

    // The field record, then the recipients.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    // The file path, field 120.
    QString GetPath() const override;

    // Files of any type tag load; newer formats are refused. A file that cannot be read leaves
    // this list as it was.
    bool Load(const QString& path);
    // Replaces the file only when the whole list was written.
    bool Save(const QString& path, const QString& creator, int creatorMajor, int creatorMinor);

    CNdbUserList& Users() { return m_users; }
    const CNdbUserList& Users() const { return m_users; }

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

private:
    CNdbUserList m_users;
    bool m_modified{false};
};
} // namespace ndb
