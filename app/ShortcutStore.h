#pragma once

#include <QString>

namespace ndb
{
class CNdbFolder;
class CNdbShortcutLink;
class CNdbShortcuts;
} // namespace ndb

// The user's shortcut store on disk: the file "newsletter.kvsc" in the folder of the setting
// "ShortcutsFullPath", else in the user's documents folder (the home folder when there is
// none). Loading drops the shortcuts whose files are gone; every change is saved at once.
class CShortcutStore
{
public:
    static inline const QString FileName = QStringLiteral("newsletter.kvsc");
    static inline const QString Creator = QStringLiteral("Kelvora");

    explicit CShortcutStore(ndb::CNdbShortcuts& shortcuts) : m_shortcuts(shortcuts) {}

    // The store's file. Asked for saving without the setting, the documents folder is written
    // back as "ShortcutsFullPath", so that the store stays where it was first saved.
    static QString FilePath(bool forSaving);

    // A missing or unreadable file leaves the store empty.
    void Load();
    // A failure is not reported: the store is saved again at its next change.
    void Save();
    // The shortcut of a document that was opened: the one its folder has for the path, else a
    // new one at the folder's top; it also heads the recent files. Null for a kind other than a
    // newsletter (1) or a mailing list (7).
    ndb::CNdbShortcutLink* AddDocument(const QString& path, int kind, const QString& name);

    // Deletes the links whose files are gone, in sub-folders too.
    static void Prune(ndb::CNdbFolder& folder);

private:
    ndb::CNdbShortcuts& m_shortcuts;
};
