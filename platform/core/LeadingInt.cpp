#include "platform/core/LeadingInt.h"

#include <algorithm>
#include <climits>

int ReadLeadingInt(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<qint64>(value * 10 + (text[i].unicode() - u'0'), qint64(INT_MAX) + 1);
    if (negative)
        return int(std::max<qint64>(-value, INT_MIN));
    return int(std::min<qint64>(value, INT_MAX));
}
