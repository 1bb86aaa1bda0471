#pragma once

#include "base/PSFactory.h"

#include <QString>
#include <QtGlobal>

namespace gre
{
// A 32-bit ARGB colour, laid out as image pixels are (alpha in the top byte, blue in the lowest).
// The name is the palette colour the value was taken from, empty for a fixed colour; drawing
// uses the value only.
class CGreColor : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CGreColor() = default;
    CGreColor(quint8 red, quint8 green, quint8 blue, quint8 alpha);

    void Serialize(CPSArchive& archive) override;

    quint32 GetValue() const { return m_value; }
    void SetValue(quint32 value) { m_value = value; }
    quint8 GetAlpha() const { return quint8(m_value >> 24); }
    quint8 GetRed() const { return quint8(m_value >> 16); }
    quint8 GetGreen() const { return quint8(m_value >> 8); }
    quint8 GetBlue() const { return quint8(m_value); }
    const QString& GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    bool operator==(const CGreColor& other) const
    {
        return m_value == other.m_value && m_name == other.m_name;
    }

private:
    quint32 m_value{0xFF000000};
    QString m_name;
};
} // namespace gre
