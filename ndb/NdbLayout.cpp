#include "ndb/NdbLayout.h"

#include "ndb/NdbArchiveValues.h"

#include <algorithm>

namespace ndb
{
CNdbLayout::CNdbLayout() : CNdbFieldBase(NdbKindLayout)
{
    for (const int margin : {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight})
        m_pageStyle.SetField(margin, CNdbFieldValue(0.0f, NdbUnitPx));
}

void CNdbLayout::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    if (archive.IsReading())
    {
        ArchiveReadObjectList(archive, m_attachments);
        ArchiveReadObjectList(archive, m_resources);
    }
    else
    {
        ArchiveWriteObjectVector(archive, m_attachments);
        ArchiveWriteObjectVector(archive, m_resources);
    }
    m_pageStyle.Serialize(archive);
}

bool CNdbLayout::IsValidFieldValue(int id, const CNdbFieldValue& value) const
{
    if (id == LayoutTime150 || id == LayoutTime160)
        return value.GetType() == NdbValueTime;
    return value.GetType() == NdbValueText;
}

QString CNdbLayout::GetName() const
{
    return GetString(LayoutName);
}

CNdbResource* CNdbLayout::FindResource(int field, const QString& text) const
{
    const auto found =
        std::find_if(m_resources.begin(), m_resources.end(),
                     [field, &text](const auto& resource) { return resource->GetString(field) == text; });
    return found == m_resources.end() ? nullptr : found->get();
}

CNdbResource* CNdbLayout::FindResourceById(const QString& id) const
{
    return FindResource(ResourceId, id);
}

CNdbResource* CNdbLayout::FindResourceByPath(const QString& path) const
{
    return FindResource(ResourcePath, path);
}

int CNdbLayout::IndexOfResource(const CNdbResource* resource) const
{
    const auto found = std::find_if(m_resources.begin(), m_resources.end(),
                                    [resource](const auto& held) { return held.get() == resource; });
    return found == m_resources.end() ? -1 : static_cast<int>(found - m_resources.begin());
}

void CNdbLayout::AddResource(std::unique_ptr<CNdbResource> resource)
{
    if (resource)
        m_resources.push_back(std::move(resource));
}

bool CNdbLayout::DeleteResource(const CNdbResource* resource)
{
    const int index = IndexOfResource(resource);
    if (index < 0)
        return false;
    m_resources.erase(m_resources.begin() + index);
    return true;
}

void CNdbLayout::TakeContentOf(CNdbLayout& other)
{
    CNdbFieldBase::operator=(other);
    m_attachments = std::move(other.m_attachments);
    m_resources = std::move(other.m_resources);
    m_pageStyle = other.m_pageStyle;
}
} // namespace ndb
