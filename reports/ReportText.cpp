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
