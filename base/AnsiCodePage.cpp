#include "base/AnsiCodePage.h"

#include <array>

namespace
{
// Code points of the bytes 0x80 to 0x9F; the five bytes that Windows-1252 leaves undefined
// map to the C1 control of the same value, as Windows itself converts them.
constexpr std::array<char16_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// One byte per UTF-16 unit, so a conversion costs a single look-up per character.
std::array<char, 0x10000> MakeByteTable()
{
    std::array<char, 0x10000> table;
    table.fill(AnsiCodePage::DefaultCharacter);
    for (char16_t unit = 0; unit < 0x100; ++unit)
    {
        if (unit < 0x80 || unit >= 0xA0)
            table[unit] = static_cast<char>(unit);
    }
    for (size_t i = 0; i < HighControlRange.size(); ++i)
        table[HighControlRange[i]] = static_cast<char>(0x80 + i);
    return table;
}

const std::array<char, 0x10000>& ByteTable()
{
    static const std::array<char, 0x10000> table = MakeByteTable();
    return table;
}
} // namespace

namespace AnsiCodePage
{
char FromUnit(char16_t unit)
{
    return ByteTable()[unit];
}

QByteArray FromText(const QString& text)
{
    // Written in place: messages of several megabytes go through here on their way out.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const std::array<char, 0x10000>& table = ByteTable();
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar c = text.at(i);
        // A surrogate pair is one character and becomes one default character.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out[count++] = table[c.unicode()];
    }
    bytes.truncate(count);
    return bytes;
}

QString ToText(const char* bytes, qsizetype count)
{
    QString text(count, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < count; ++i)
    {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(HighControlRange[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString ToText(const QByteArray& bytes)
{
    return ToText(bytes.constData(), bytes.size());
}
} // namespace AnsiCodePage
