#include "dialogs/LinkAddress.h"

#include <QRegularExpression>

QString LinkScheme(const QString& address)
{
    QString text = address;
    text.remove(QRegularExpression(QStringLiteral("[\\t\\n\\r]")));
    qsizetype start = 0;
    while (start < text.size() && text.at(start).unicode() <= 0x20)
        ++start;
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.\\-]*):"));
    const QRegularExpressionMatch match = scheme.match(QStringView(text).mid(start));
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool IsAllowedLinkAddress(const QString& address)
{
    const QString scheme = LinkScheme(address);
    return scheme.isEmpty() || scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp") || scheme == QLatin1String("mailto");
}
