#include "reports/HtmlEntities.h"

QString EncodeHtmlEntities(const QString& text)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar c = text.at(i);
        char32_t code = c.unicode();
        // A surrogate pair is one character: a reference to a lone surrogate is no character at all.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text.at(++i));
        switch (code)
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
            if (code >= 128)
                result += QLatin1String("&#") + QString::number(code) + QLatin1Char(';');
            else
                result += c;
        }
    }
    return result;
}
