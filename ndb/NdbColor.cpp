#include "ndb/NdbColor.h"

#include "base/ArchiveValues.h"

#include <algorithm>

namespace ndb
{
namespace
{
bool IsHexDigit(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F');
}
} // namespace

CNdbColor::CNdbColor(quint8 red, quint8 green, quint8 blue) : m_kind(NdbColorFixed), m_rgba(red, green, blue)
{
}

CNdbColor::CNdbColor(const CNdbRgba& rgba) : m_kind(NdbColorFixed), m_rgba(rgba) {}

CNdbColor::CNdbColor(const QString& paletteKey) : m_kind(NdbColorPalette), m_key(paletteKey) {}

void CNdbColor::Serialize(CPSArchive& archive)
{
    if (archive.IsReading())
    {
        qint32 kind = 0;
        qint32 packed = 0;
        ArchiveReadInt(archive, kind);
        ArchiveReadInt(archive, packed);
        ArchiveReadString(archive, m_key);
        m_kind = kind;
        m_rgba = CNdbRgba::FromPacked(quint32(packed));
    }
    else
    {
        ArchiveWriteInt(archive, m_kind);
        ArchiveWriteInt(archive, qint32(m_rgba.ToPacked()));
        ArchiveWriteString(archive, m_key);
    }
}

QString CNdbColor::ToHex() const
{
    if (m_kind != NdbColorFixed || m_rgba.alpha == 0)
        return {};
    return QStringLiteral("#%1%2%3")
        .arg(m_rgba.red, 2, 16, QChar(u'0'))
        .arg(m_rgba.green, 2, 16, QChar(u'0'))
        .arg(m_rgba.blue, 2, 16, QChar(u'0'))
        .toUpper();
}

QString CNdbColor::ToText() const
{
    if (m_kind == NdbColorFixed)
    {
        return QStringLiteral("F{#%1%2%3%4}")
            .arg(m_rgba.red, 2, 16, QChar(u'0'))
            .arg(m_rgba.green, 2, 16, QChar(u'0'))
            .arg(m_rgba.blue, 2, 16, QChar(u'0'))
            .arg(m_rgba.alpha, 2, 16, QChar(u'0'))
            .toUpper();
    }
    if (m_kind == NdbColorPalette)
    {
        QString key = m_key;
        key.remove(u'{').remove(u'}');
        return QStringLiteral("P{") + key + u'}';
    }
    return QStringLiteral("F{}");
}

void CNdbColor::FromText(const QString& text)
{
    m_kind = NdbColorNone;
    if (text.startsWith(u"F{#"))
    {
        if (text.indexOf(u'}', 3) != 11)
            return;
        const QStringView digits = QStringView(text).mid(3, 8);
        // Checked first: toUInt alone would also take a sign or blanks.
        if (!std::all_of(digits.begin(), digits.end(), IsHexDigit))
            return;
        const uint rgba = digits.toUInt(nullptr, 16);
        m_rgba = CNdbRgba(quint8(rgba >> 24), quint8(rgba >> 16), quint8(rgba >> 8), quint8(rgba));
        m_kind = NdbColorFixed;
        return;
    }
    if (text.startsWith(u"P{") && text.size() > 2)
    {
        const qsizetype close = text.indexOf(u'}', 2);
        if (close < 0)
            return;
        m_key = u'{' + text.mid(2, close - 2) + u'}';
        m_kind = NdbColorPalette;
    }
}

quint32 CNdbColor::ToColorRef() const
{
    if (m_kind != NdbColorFixed)
        return 0xFFFFFF;
    return m_rgba.ToPacked() & 0xFFFFFF;
}

bool CNdbColor::operator==(const CNdbColor& other) const
{
    if (m_kind != other.m_kind)
        return false;
    if (m_kind == NdbColorFixed)
        return m_rgba == other.m_rgba;
    if (m_kind == NdbColorPalette)
        return m_key == other.m_key;
    return true;
}
} // namespace ndb
