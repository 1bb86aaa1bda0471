#include "ndb/NdbFolder.h"

#include "ndb/NdbArchiveValues.h"
#include "ndb/NdbShortcutLink.h"

#include <algorithm>

namespace ndb
{
CNdbFolder::CNdbFolder(const QString& name) : CNdbFieldBase(NdbKindFolder)
{
    if (!name.isEmpty())
        SetField(FolderName, CNdbFieldValue(name));
}

void CNdbFolder::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    if (!archive.IsReading())
    {
        ArchiveWriteObjectVector(archive, m_items);
        return;
    }
    ArchiveReadObjectList(archive, m_items);
    for (const auto& item : m_items)
    {
        if (!dynamic_cast<CNdbFolder*>(item.get()) && !dynamic_cast<CNdbShortcutLink*>(item.get()))
            archive.Fail("a shortcut folder holds a record that is neither a folder nor a link");
    }
}

bool CNdbFolder::IsValidFieldValue(int, const CNdbFieldValue& value) const
{
    return value.GetType() == NdbValueText;
}

QString CNdbFolder::GetName() const
{
    return GetString(FolderName);
}

CNdbBase* CNdbFolder::GetItemAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[index].get() : nullptr;
}

void CNdbFolder::AddItem(std::unique_ptr<CNdbBase> item)
{
    InsertItem(std::move(item), GetCount());
}

void CNdbFolder::InsertItem(std::unique_ptr<CNdbBase> item, int index)
{
    if (!item)
        return;
    const int at = std::clamp(index, 0, GetCount());
    m_items.insert(m_items.begin() + at, std::move(item));
}

void CNdbFolder::DeleteItemAt(int index)
{
    if (index >= 0 && index < GetCount())
        m_items.erase(m_items.begin() + index);
}

void CNdbFolder::DeleteItem(const CNdbBase* item)
{
    DeleteItemAt(IndexOf(item));
}

std::unique_ptr<CNdbBase> CNdbFolder::DetachItem(const CNdbBase* item)
{
    const int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    std::unique_ptr<CNdbBase> detached = std::move(m_items[index]);
    m_items.erase(m_items.begin() + index);
    return detached;
}

int CNdbFolder::IndexOf(const CNdbBase* item) const
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(), [item](const auto& held) { return held.get() == item; });
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

CNdbFolder* CNdbFolder::FindParentOf(const CNdbBase* item)
{
    if (IndexOf(item) >= 0)
        return this;
    for (const auto& held : m_items)
    {
        if (auto* folder = dynamic_cast<CNdbFolder*>(held.get()))
        {
            if (CNdbFolder* parent = folder->FindParentOf(item))
                return parent;
        }
    }
    return nullptr;
}

void CNdbFolder::TakeContentOf(CNdbFolder& other)
{
    CNdbFieldBase::operator=(other);
    m_items = std::move(other.m_items);
}
} // namespace ndb
