#include "reports/HtmlEntities.h"

QString EncodeHtmlEntities(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar character : text)
    {
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
            if (unit >= 128)
                result += QLatin1String("&#") + QString::number(unit) + QLatin1Char(';');
            else
                result += character;
        }
    }
    return result;
}
