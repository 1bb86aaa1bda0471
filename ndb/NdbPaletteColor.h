#pragma once

#include "ndb/NdbColor.h"

namespace ndb
{
// One named colour of a newsletter's palette. Its key (a GUID text) is what colours of kind 2
// refer to; the name is only shown to the user.
class CNdbPaletteColor : public CNdbColor
{
    KV_PERSISTENT_CLASS()
    CNdbPaletteColor() = default;
    // A fixed colour.
    CNdbPaletteColor(const QString& name, const QString& key, const CNdbRgba& rgba);
    CNdbPaletteColor(const CNdbPaletteColor&) = default;
    CNdbPaletteColor& operator=(const CNdbPaletteColor&) = default;

    // The colour's encoding, then the name.
    void Serialize(CPSArchive& archive) override;

    // The display name.
    const QString& GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

private:
    QString m_name;
};
} // namespace ndb
