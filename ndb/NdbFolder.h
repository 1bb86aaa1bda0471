#pragma once

#include "ndb/NdbFieldBase.h"

#include <memory>
#include <vector>

namespace ndb
{
enum FOLDERFIELDS
{
    FolderName = 110,
};

// A folder of the shortcut tree. Its items are sub-folders and links in display order, owned by
// the folder. Items are told apart by their class, never by the kind a file claims for them.
class CNdbFolder : public CNdbFieldBase<FOLDERFIELDS>
{
    KV_PERSISTENT_CLASS()
    using ItemList = std::vector<std::unique_ptr<CNdbBase>>;

    explicit CNdbFolder(const QString& name = {});
    CNdbFolder(const CNdbFolder&) = delete;
    CNdbFolder& operator=(const CNdbFolder&) = delete;

    // The field record, then the items as an object vector. Reading replaces the items and
    // refuses any that is neither a folder nor a link.
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;
    QString GetName() const override;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    CNdbBase* GetItemAt(int index) const;
    const ItemList& GetItems() const { return m_items; }

    void AddItem(std::unique_ptr<CNdbBase> item);
    // Before the item at index; at or past the end appends.
    void InsertItem(std::unique_ptr<CNdbBase> item, int index);
    // Out-of-range indexes are ignored.
    void DeleteItemAt(int index);
    // Only items directly in this folder are deleted or detached; anything else is ignored.
    void DeleteItem(const CNdbBase* item);
    [[nodiscard]] std::unique_ptr<CNdbBase> DetachItem(const CNdbBase* item);
    void DeleteAllItems() { m_items.clear(); }

    int IndexOf(const CNdbBase* item) const;
    // The folder whose list holds the item directly, searching depth first; null when the item
    // is nowhere in this tree.
    CNdbFolder* FindParentOf(const CNdbBase* item);

    void TakeContentOf(CNdbFolder& other);

private:
    ItemList m_items;
};
} // namespace ndb
