#include "services/QorxText.h"

#include <algorithm>
#include <limits>

namespace QorxText
{
int LeadingNumber(const QString& text)
{
    qint64 value = 0;
    for (const QChar c : text.trimmed())
    {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min<qint64>(value * 10 + (c.unicode() - '0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(value);
}

QString UpperKey(const QString& key)
{
    QString upper = key;
    for (QChar& c : upper)
        c = c.toUpper();
    return upper;
}

bool IsSingleLine(const QString& text)
{
    return !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) && !text.contains(QChar(0));
}
} // namespace QorxText
