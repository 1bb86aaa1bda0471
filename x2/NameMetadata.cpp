#include "x2/NameMetadata.h"

namespace
{
bool StaysUnescaped(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
        return true;
    return QStringView(u" _#{}[]|-()").contains(QChar(c));
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Where the key's pair starts in the text, which loses the spaces in front of that key; -1 when
// the text holds no pair for the key.
qsizetype FindPair(QString& text, const QString& key)
{
    const QString pair = key + u':';
    qsizetype found = text.indexOf(pair);
    if (found < 0)
        return -1;
    while (found > 0 && text.at(found - 1) == u' ')
        text.remove(--found, 1);
    while (found > 0 && text.at(found - 1) != u';')
    {
        found = text.indexOf(pair, found + 1);
        if (found < 0)
            return -1;
    }
    return found;
}
} // namespace

QString EscapeMetadataValue(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value)
    {
        if (StaysUnescaped(c.unicode()))
            escaped += c;
        else
            escaped += u'%' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
    }
    return escaped;
}

QString UnescapeMetadataValue(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i)
    {
        if (value.at(i) == u'%' && i + 2 < value.size())
        {
            const int high = HexDigit(value.at(i + 1).unicode());
            const int low = HexDigit(value.at(i + 2).unicode());
            const char16_t code = char16_t(high * 16 + low);
            if (high >= 0 && low >= 0 && code != 0 && !StaysUnescaped(code))
            {
                text += QChar(code);
                i += 2;
                continue;
            }
        }
        text += value.at(i);
    }
    return text;
}

QString GetNameMetadataText(const QString& name, const QString& key)
{
    QString text = name;
    const qsizetype start = FindPair(text, key);
    if (start < 0)
        return {};
    const qsizetype valueStart = start + key.size() + 1;
    const qsizetype end = text.indexOf(u';', valueStart);
    return UnescapeMetadataValue(text.mid(valueStart, end < 0 ? -1 : end - valueStart));
}

QString SetNameMetadataText(const QString& name, const QString& key, const QString& value)
{
    QString text = name;
    if (const qsizetype start = FindPair(text, key); start >= 0)
    {
        const qsizetype end = text.indexOf(u';', start);
        text.remove(start, end < 0 ? text.size() - start : end - start + 1);
    }
    const QString escaped = EscapeMetadataValue(value);
    return escaped.isEmpty() ? text : key + u':' + escaped + u';' + text;
}
