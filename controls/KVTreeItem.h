#pragma once

#include <QString>
#include <vector>

// One node of the navigation tree: a row of icon and text, the owner's record as an opaque
// pointer, and the child nodes it owns.
class CKVTreeItem
{
public:
    CKVTreeItem(const QString& text, int folder, int image, int secondImage);
    virtual ~CKVTreeItem();
    CKVTreeItem(const CKVTreeItem&) = delete;
    CKVTreeItem& operator=(const CKVTreeItem&) = delete;

    int GetChildCount() const { return int(m_children.size()); }
    CKVTreeItem* GetChild(int index) const { return m_children[size_t(index)]; }
    void DeleteChildren();
    // Pre-order from this item itself; a null argument finds the first item without a record.
    CKVTreeItem* FindByData(const void* data);
    // The item of this subtree whose own children hold the given item.
    CKVTreeItem* FindParent(const CKVTreeItem* item);

    int m_folder = 0;
    QString m_text;
    int m_image = 0;
    int m_secondImage = 0;
    void* m_data = nullptr;
    bool m_expanded = false;
    // Owned: the owner appends new items here and the item deletes them.
    std::vector<CKVTreeItem*> m_children;
};
