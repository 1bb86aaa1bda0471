#include "mail/MailText.h"

#include <QStringView>

#include <iterator>

bool IsLatin1Text(const QString& text)
{
    for (const QChar c : text)
    {
        const char16_t code = c.unicode();
        if (code > 126 && (code < 160 || code > 255))
            return false;
    }
    return true;
}

bool IsPrintableAscii(const QString& text)
{
    for (const QChar c : text)
    {
        const char16_t code = c.unicode();
        if (code < 32 || code > 127)
            return false;
    }
    return true;
}

bool IsPlainMailAddress(const QString& address)
{
    const qsizetype at = address.lastIndexOf(u'@');
    if (at < 1 || at == address.size() - 1)
        return false;
    for (const QChar c : address)
    {
        const char16_t code = c.unicode();
        if (code <= 32 || code >= 127 || code == '<' || code == '>')
            return false;
    }
    return true;
}

QString EscapeHtmlNonAscii(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar c = text.at(i);
        if (c.unicode() <= 126)
            continue;
        escaped += QStringView(text).mid(copied, i - copied);
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text.at(++i));
        else if (c.isSurrogate())
            code = QChar::ReplacementCharacter;
        // The reference written by hand: a formatted argument per character costs more than the
        // rest of a message's encoding.
        char16_t reference[16];
        char16_t* end = reference + std::size(reference);
        char16_t* start = end;
        *--start = u';';
        do
        {
            *--start = char16_t(u'0' + code % 10);
            code /= 10;
        } while (code > 0);
        *--start = u'#';
        *--start = u'&';
        escaped += QStringView(start, end);
        copied = i + 1;
    }
    escaped += QStringView(text).mid(copied);
    return escaped;
}
