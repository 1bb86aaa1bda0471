#include "mail/ParserBayesian.h"

#include <array>

namespace SpamFilter
{

const QString SpamDelimiters =
    QStringLiteral(" \t\r\n0123456789,:;=\u00A5%&_\u00A7<>'\u00B4`@~\u00B7\u00BD\u00AE/.\""
                   "\\(){}^+*-?!$\u00A3|[]");

namespace
{
bool IsDelimiter(QChar c)
{
    // All delimiters lie below U+0100; a table keeps the scan to one look-up per character.
    static const auto table = []
    {
        std::array<bool, 256> marks{};
        for (const QChar d : SpamDelimiters)
            marks[d.unicode()] = true;
        return marks;
    }();
    return c.unicode() < table.size() && table[c.unicode()];
}
} // namespace

void CParserBayesian::Tokenize(const QString& text, TokenMap& tokens) const
{
    const qsizetype size = text.size();
    qsizetype pos = 0;
    while (pos < size)
    {
        while (pos < size && IsDelimiter(text[pos]))
            ++pos;
        const qsizetype start = pos;
        while (pos < size && !IsDelimiter(text[pos]))
            ++pos;
        if (pos > start)
            ++tokens[text.mid(start, pos - start)];
    }
}

} // namespace SpamFilter
