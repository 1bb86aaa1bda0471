#include "controls/KVTreeItem.h"

CKVTreeItem::CKVTreeItem(const QString& text, int folder, int image, int secondImage)
    : m_folder(folder), m_text(text), m_image(image), m_secondImage(secondImage)
{
}

CKVTreeItem::~CKVTreeItem()
{
    DeleteChildren();
}

void CKVTreeItem::DeleteChildren()
{
    std::vector<CKVTreeItem*> children;
    children.swap(m_children);
    for (CKVTreeItem* child : children)
        delete child;
}

CKVTreeItem* CKVTreeItem::FindByData(const void* data)
{
    if (m_data == data)
        return this;
    for (CKVTreeItem* child : m_children)
    {
        if (CKVTreeItem* found = child->FindByData(data))
            return found;
    }
    return nullptr;
}

CKVTreeItem* CKVTreeItem::FindParent(const CKVTreeItem* item)
{
    for (CKVTreeItem* child : m_children)
    {
        if (child == item)
            return this;
        if (CKVTreeItem* found = child->FindParent(item))
            return found;
    }
    return nullptr;
}
