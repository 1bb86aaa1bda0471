#pragma once

#include "base/PSFactory.h"
#include "ndb/NdbRgba.h"

#include <QString>

namespace ndb
{
enum NdbColorKind
{
    NdbColorNone = 0,
    NdbColorFixed = 1,
    // Refers to a palette entry by its key, so recolouring the entry recolours every user.
    NdbColorPalette = 2,
};

// A colour of the document model: none, a fixed colour with alpha, or a palette reference.
class CNdbColor : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CNdbColor() = default;
    CNdbColor(quint8 red, quint8 green, quint8 blue);
    explicit CNdbColor(const CNdbRgba& rgba);
    // A reference to the palette entry with this key.
    explicit CNdbColor(const QString& paletteKey);
    CNdbColor(const CNdbColor&) = default;
    CNdbColor& operator=(const CNdbColor&) = default;

    // Kind, then the four bytes packed red first, then the key; the same for every kind.
    void Serialize(CPSArchive& archive) override;

    // "#RRGGBB"; empty for no colour, a reference (resolve it through the palette first) and a
    // fully transparent colour, for which callers write no colour at all.
    virtual QString ToHex() const;
    // The form kept inside the newsletter's HTML: "F{#RRGGBBAA}", "P{key without braces}" or "F{}".
    virtual QString ToText() const;
    // Reads the form ToText writes; anything unreadable leaves no colour (kind 0).
    virtual void FromText(const QString& text);

    // The red | green << 8 | blue << 16 of a fixed colour, white for every other kind.
    quint32 ToColorRef() const;

    // Fixed colours compare all four bytes, references their keys exactly; kind 0 equals kind 0.
    bool operator==(const CNdbColor& other) const;

    int GetKind() const { return m_kind; }
    const CNdbRgba& GetRgba() const { return m_rgba; }
    const QString& GetKey() const { return m_key; }

protected:
    CNdbColor(int kind, const CNdbRgba& rgba, const QString& key) : m_kind(kind), m_rgba(rgba), m_key(key) {}

private:
    int m_kind{NdbColorNone};
    CNdbRgba m_rgba;
    QString m_key;
};
} // namespace ndb
