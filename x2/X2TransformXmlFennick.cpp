#include "x2/X2TransformXmlFennick.h"

QString CX2TransformXmlFennick::Escape(const QString& text) const
{
    QString result = text;
    // The ampersand goes first so that the entities made below are not escaped again.
    result.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    result.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    result.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    result.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    result.replace(QLatin1Char('\''), QLatin1String("&apos;"));
    return result;
}

QString CX2TransformXmlFennick::Unescape(const QString& text) const
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString result = text;
    result.replace(QLatin1String("&lt;"), QLatin1String("<"));
    result.replace(QLatin1String("&gt;"), QLatin1String(">"));
    result.replace(QLatin1String("&quot;"), QLatin1String("\""));
    result.replace(QLatin1String("&apos;"), QLatin1String("'"));
    // Last, so that "&amp;lt;" reads back as "&lt;" and not as "<".
    result.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return result;
}
