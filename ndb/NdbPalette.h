#pragma once

#include "ndb/NdbFieldBase.h"
#include "ndb/NdbPaletteColor.h"

#include <memory>
#include <vector>

namespace ndb
{
// The palette's own fields; none is named, and every id takes a text.
enum PALETTEFIELDS
{
};

// The named colours of a newsletter, in the user's order. Colours of kind 2 elsewhere in the
// document refer to an entry by key; deleting an entry leaves those references unresolved.
class CNdbPalette : public CNdbFieldBase<PALETTEFIELDS>
{
    KV_PERSISTENT_CLASS()
    CNdbPalette() : CNdbFieldBase(NdbKindPalette) {}
    // Deep copies: the palette dialog edits a copy and assigns it back on OK.
    CNdbPalette(const CNdbPalette& other);
    CNdbPalette& operator=(const CNdbPalette& other);

    // The field record, then the entries as an object vector of "CNdbPaletteColor".
    void Serialize(CPSArchive& archive) override;
    bool IsValidFieldValue(int id, const CNdbFieldValue& value) const override;

    // Appends a fixed colour; keys need not be unique, look-ups take the first match.
    bool AddColor(const QString& name, const QString& key, const CNdbRgba& rgba);
    // Out-of-range indexes are ignored.
    void DeleteColorAt(int index);
    void DeleteAllColors() { m_colors.clear(); }
    // Exchanges two entries; out-of-range indexes are ignored.
    void SwapColors(int first, int second);

    int GetColorCount() const { return static_cast<int>(m_colors.size()); }
    // Null when the index is out of range.
    CNdbPaletteColor* GetColorAt(int index) const;

    // Exact, case-sensitive comparisons; null or -1 when nothing matches.
    CNdbPaletteColor* FindColorByKey(const QString& key) const;
    CNdbPaletteColor* FindColorByName(const QString& name) const;
    int IndexOfKey(const QString& key) const;

    // The colour pages are written with: a fixed colour as it is, a reference as the colour of
    // the first entry with its key, and no colour (kind 0) when no entry has that key.
    CNdbColor ResolveColor(const CNdbColor& color) const;

private:
    void CopyColors(const CNdbPalette& other);

    std::vector<std::unique_ptr<CNdbPaletteColor>> m_colors;
};
} // namespace ndb
