#pragma once

#include "ndb/NdbFieldBase.h"
#include "ndb/NdbFolder.h"
#include "ndb/NdbShortcutLink.h"

#include <memory>

namespace ndb
{
enum SHORTCUTSFIELDS
{
};

// The shortcut store of the navigation pane: the newsletters, the mailing lists and the most
// recently opened documents, newest first.
class CNdbShortcuts : public CNdbFieldBase<SHORTCUTSFIELDS>
{
    KV_PERSISTENT_CLASS()
    static inline const QString FileTypeTag = QStringLiteral("KVSC");
    static constexpr int FileMajorVersion = 2007;
    static constexpr int FileMinorVersion = 1;
    static constexpr int RecentLimit = 5;

    CNdbShortcuts() : CNdbFieldBase(NdbKindShortcuts) {}
    CNdbShortcuts(const CNdbShortcuts&) = delete;
    CNdbShortcuts& operator=(const CNdbShortcuts&) = delete;

    // The field record and the two document folders; the recent folder from format 2007.1 on.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;

    // Only files tagged "KVSC" of format 2007.1 or older load. A file that cannot be read leaves
    // the store as it was, and the store then refuses to be saved over that file for as long as
    // it lives: the file may hold shortcuts of a newer version or ones a repair can bring back.
    bool Load(const QString& path);
    bool Save(const QString& path, const QString& creator);

    // The first link in the folder's tree, depth first in list order, whose target equals target
    // exactly.
    static CNdbShortcutLink* FindLinkByTarget(const QString& target, const CNdbFolder& folder);
    // Puts the link at the front of the recent list, dropping an older link to the same target
    // and anything beyond the fifth.
    bool AddRecentLink(std::unique_ptr<CNdbShortcutLink> link);

    CNdbFolder& Newsletters() { return m_newsletters; }
    const CNdbFolder& Newsletters() const { return m_newsletters; }
    CNdbFolder& MailingLists() { return m_mailingLists; }
    const CNdbFolder& MailingLists() const { return m_mailingLists; }
    CNdbFolder& Recent() { return m_recent; }
    const CNdbFolder& Recent() const { return m_recent; }

private:
    CNdbFolder m_newsletters;
    CNdbFolder m_mailingLists;
    CNdbFolder m_recent;
    QString m_unreadablePath;
};
} // namespace ndb
