#include "x2/X2TextHelpers.h"

#include "base/TextHelpers.h"

#include <algorithm>

namespace
{
bool IsReferenceChar(char16_t c, bool numeric, bool hex)
{
    if (c >= u'0' && c <= u'9')
        return true;
    const char16_t lower = c | 0x20;
    if (lower >= u'a' && lower <= u'f')
        return !numeric || hex;
    return !numeric && lower >= u'a' && lower <= u'z';
}
struct NamedReference
{
    const char* name;
    char16_t character;
};

constexpr NamedReference NamedReferences[] = {
    {"amp", u'&'},     {"lt", u'<'},       {"gt", u'>'},      {"quot", u'"'},    {"apos", u'\''},
    {"nbsp", 0x00A0},  {"shy", 0x00AD},    {"copy", 0x00A9},  {"reg", 0x00AE},   {"euro", 0x20AC},
    {"ndash", 0x2013}, {"mdash", 0x2014},  {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C},
    {"rdquo", 0x201D}, {"hellip", 0x2026}, {"laquo", 0x00AB}, {"raquo", 0x00BB}, {"middot", 0x00B7},
};

// The characters of the reference between "&" and ";"; empty when it names nothing known.
QString ReferencedText(QStringView reference)
{
    if (reference.startsWith(u'#'))
    {
        const bool hex = reference.size() > 1 && (reference[1] == u'x' || reference[1] == u'X');
        bool ok = false;
        const uint code = reference.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return {};
        const char32_t character = code;
        return QString::fromUcs4(&character, 1);
    }
    for (const NamedReference& named : NamedReferences)
    {
        if (reference == QLatin1String(named.name))
            return QString(QChar(named.character));
    }
    return {};
}
} // namespace

QString DecodeCharacterReferences(const QString& text)
{
    if (!text.contains(u'&'))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const qsizetype end = text[i] == u'&' ? CharacterReferenceEnd(text, i) : -1;
        const QString character =
            end > 0 ? ReferencedText(QStringView(text).sliced(i + 1, end - i - 2)) : QString();
        if (character.isEmpty())
        {
            result += text[i];
            continue;
        }
        result += character;
        i = end - 1;
    }
    return result;
}

void SplitText(QStringList& result, const QString& text, const QString& separator)
{
    SplitString(text, result, separator);
}

qsizetype CharacterReferenceEnd(const QString& text, qsizetype at)
{
    // Longer than any named reference: a stray "&" never makes the scan look far ahead.
    constexpr qsizetype MaxLength = 40;
    const qsizetype limit = std::min(text.size(), at + MaxLength);
    if (at >= limit || text.at(at) != QLatin1Char('&'))
        return -1;
    qsizetype p = at + 1;
    bool numeric = false;
    bool hex = false;
    if (p < limit && text.at(p) == QLatin1Char('#'))
    {
        numeric = true;
        ++p;
        hex = p < limit && (text.at(p) == QLatin1Char('x') || text.at(p) == QLatin1Char('X'));
        p += hex ? 1 : 0;
    }
    const qsizetype first = p;
    while (p < limit && IsReferenceChar(text.at(p).unicode(), numeric, hex))
        ++p;
    if (p == first || p >= limit || text.at(p) != QLatin1Char(';'))
        return -1;
    // A name begins with a letter.
    if (!numeric && text.at(first).isDigit())
        return -1;
    return p + 1;
}

void SplitDeclarationList(QStringList& result, const QString& text)
{
    if (text.isEmpty())
        return;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        if (text.at(i) == QLatin1Char('&'))
        {
            const qsizetype end = CharacterReferenceEnd(text, i);
            if (end > 0)
                i = end - 1;
        }
        else if (text.at(i) == QLatin1Char(';'))
        {
            result.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    result.append(text.mid(start));
}

bool FindDeclarationInText(const QString& key, const QString& text, QString& value)
{
    const QString needle = key + QLatin1Char(':');
    qsizetype from = 0;
    for (;;)
    {
        const qsizetype found = text.indexOf(needle, from);
        if (found < 0)
            return false;
        if (found == 0 || text.at(found - 1) == QLatin1Char(';'))
        {
            const qsizetype start = found + needle.size();
            const qsizetype end = text.indexOf(QLatin1Char(';'), start);
            value = end < 0 ? text.mid(start) : text.mid(start, end - start);
            return true;
        }
        from = found + 1;
    }
}

QString AsciiLower(const QString& text)
{
    QString lower = text;
    QChar* data = lower.data();
    for (qsizetype i = 0; i < lower.size(); ++i)
    {
        const char16_t c = data[i].unicode();
        if (c >= u'A' && c <= u'Z')
            data[i] = QChar(char16_t(c + 32));
    }
    return lower;
}
