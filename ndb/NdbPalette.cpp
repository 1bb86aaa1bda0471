#include "ndb/NdbPalette.h"

#include "ndb/NdbArchiveValues.h"

#include <algorithm>

namespace ndb
{
CNdbPalette::CNdbPalette(const CNdbPalette& other) : CNdbFieldBase(other)
{
    CopyColors(other);
}

CNdbPalette& CNdbPalette::operator=(const CNdbPalette& other)
{
    if (this == &other)
        return *this;
    CNdbFieldBase::operator=(other);
    CopyColors(other);
    return *this;
}

void CNdbPalette::CopyColors(const CNdbPalette& other)
{
    m_colors.clear();
    for (const auto& color : other.m_colors)
        m_colors.push_back(std::make_unique<CNdbPaletteColor>(*color));
}

void CNdbPalette::Serialize(CPSArchive& archive)
{
    CNdbFieldBase::Serialize(archive);
    if (archive.IsReading())
    {
        ArchiveReadObjectList(archive, m_colors);
    }
    else
        ArchiveWriteObjectVector(archive, m_colors);
}

bool CNdbPalette::IsValidFieldValue(int, const CNdbFieldValue& value) const
{
    return value.GetType() == NdbValueText;
}

bool CNdbPalette::AddColor(const QString& name, const QString& key, const CNdbRgba& rgba)
{
    m_colors.push_back(std::make_unique<CNdbPaletteColor>(name, key, rgba));
    return true;
}

void CNdbPalette::DeleteColorAt(int index)
{
    if (index >= 0 && index < GetColorCount())
        m_colors.erase(m_colors.begin() + index);
}

void CNdbPalette::SwapColors(int first, int second)
{
    if (first >= 0 && first < GetColorCount() && second >= 0 && second < GetColorCount())
        std::swap(m_colors[first], m_colors[second]);
}

CNdbPaletteColor* CNdbPalette::GetColorAt(int index) const
{
    return index >= 0 && index < GetColorCount() ? m_colors[index].get() : nullptr;
}

CNdbPaletteColor* CNdbPalette::FindColorByKey(const QString& key) const
{
    return GetColorAt(IndexOfKey(key));
}

CNdbPaletteColor* CNdbPalette::FindColorByName(const QString& name) const
{
    const auto found = std::find_if(m_colors.begin(), m_colors.end(),
                                    [&name](const auto& color) { return color->GetName() == name; });
    return found == m_colors.end() ? nullptr : found->get();
}

int CNdbPalette::IndexOfKey(const QString& key) const
{
    const auto found = std::find_if(m_colors.begin(), m_colors.end(),
                                    [&key](const auto& color) { return color->GetKey() == key; });
    return found == m_colors.end() ? -1 : static_cast<int>(found - m_colors.begin());
}

CNdbColor CNdbPalette::ResolveColor(const CNdbColor& color) const
{
    if (color.GetKind() == NdbColorFixed)
        return color;
    if (const CNdbPaletteColor* entry = FindColorByKey(color.GetKey()))
        return static_cast<const CNdbColor&>(*entry);
    return CNdbColor();
}
} // namespace ndb
