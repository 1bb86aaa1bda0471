#include "reports/ReportText.h"

#include <QDateTime>

#include <ctime>

bool ShortenWithEllipsis(QString& text, int limit)
{
    if (text.size() - 3 < limit)
        return false;
    text = text.left(std::max(limit - 3, 0)) + QStringLiteral("...");
    return true;
}

QString LineBreaksToHtml(const QString& text)
{
    QString html = text;
    html.remove(u'\r');
    html.replace(u'\n', QStringLiteral("<br />"));
    return html;
}

QString FormatLocalTime(qint64 time, const QString& format)
{
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return {};
    char buffer[256] = {};
    const QByteArray pattern = format.toUtf8();
    if (std::strftime(buffer, sizeof buffer, pattern.constData(), &local) == 0)
        return {};
    return QString::fromUtf8(buffer);
}

qint64 LocalMidnight(qint64 time)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time);
    return QDateTime(local.date(), QTime(0, 0)).toSecsSinceEpoch();
}

namespace
{
// Only upper-case hexadecimal digits form an escape, as the page's forms write them.
int HexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}
} // namespace

QString DecodeFormValue(const QString& text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const QChar c = text[i];
        const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (c == u'+')
        {
            bytes += ' ';
        }
        else if (c == u'%' && high >= 0 && low >= 0)
        {
            bytes += char(high * 16 + low);
            i += 2;
        }
        else
        {
            bytes += char(c.unicode() & 0xFF);
        }
    }
    return QString::fromUtf8(bytes);
}
