#include "base/HtmlEntities.h"

namespace
{
// A character outside the basic plane is one reference to its code point: references to the two
// halves of a surrogate pair are not characters, and pages holding them are invalid. A lone half
// becomes the replacement character for the same reason.
char32_t CodePointAt(const QString& text, qsizetype& i)
{
    const QChar character = text.at(i);
    if (character.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(character, text.at(++i));
    if (character.isSurrogate())
        return QChar::ReplacementCharacter;
    return character.unicode();
}
} // namespace

QString EncodeHtmlEntities(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar character = text.at(i);
        const char16_t unit = character.unicode();
        switch (unit)
        {
        case u'&':
            result += QLatin1String("&amp;");
            break;
        case u'"':
            result += QLatin1String("&quot;");
            break;
        case u'<':
            result += QLatin1String("&lt;");
            break;
        case u'>':
            result += QLatin1String("&gt;");
            break;
        default:
            if (unit < 128)
                result += character;
            else
                result += QLatin1String("&#") + QString::number(CodePointAt(text, i)) + QLatin1Char(';');
        }
    }
    return result;
}
