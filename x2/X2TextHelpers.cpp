#include "x2/X2TextHelpers.h"

void SplitText(QStringList& result, const QString& text, const QString& separator)
{
    if (text.isEmpty())
        return;
    if (separator.isEmpty())
    {
        result.append(text);
        return;
    }
    qsizetype start = 0;
    for (;;)
    {
        const qsizetype found = text.indexOf(separator, start);
        if (found < 0)
        {
            result.append(text.mid(start));
            return;
        }
        result.append(text.mid(start, found - start));
        start = found + separator.size();
    }
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
