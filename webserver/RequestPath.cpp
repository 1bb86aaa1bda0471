#include "webserver/RequestPath.h"

#include <QUrl>

#include <algorithm>

namespace
{
bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Characters that a URL parse neither decodes, normalises nor refuses.
bool IsPlainPathChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || IsDigit(c) || c == u'-' || c == u'_' ||
           c == u'.' || c == u'~' || c == u'/';
}

bool IsPlainQueryChar(QChar c)
{
    return IsPlainPathChar(c) || c == u'=' || c == u'&';
}

// A decimal number from 0 to max without leading zeros, which every reader takes alike.
bool IsPlainNumber(QStringView text, int max)
{
    if (text.isEmpty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), IsDigit))
        return false;
    return (text.size() == 1 || text.front() != u'0') && text.toInt() <= max;
}

bool IsDottedQuad(QStringView text)
{
    int parts = 0;
    for (QStringView part : text.tokenize(u'.'))
    {
        if (++parts > 4 || !IsPlainNumber(part, 255))
            return false;
    }
    return parts == 4;
}

// "127.0.0.1:port" and "localhost:port", the names the program's own pages use.
bool SplitPlainHost(QStringView header, QStringView& host)
{
    const qsizetype colon = header.indexOf(u':');
    host = colon < 0 ? header : header.first(colon);
    if (colon >= 0 && !IsPlainNumber(header.sliced(colon + 1), 65535))
        return false;
    return host == u"localhost" || IsDottedQuad(host);
}

// A target of plain characters, without "." or ".." segments or empty ones, reads as written.
bool IsPlainTarget(QStringView target, qsizetype& queryStart)
{
    queryStart = target.indexOf(u'?');
    const QStringView path = queryStart < 0 ? target : target.first(queryStart);
    if (!path.startsWith(u'/') || path.contains(u"//") || path.contains(u"/.") ||
        !std::all_of(path.begin(), path.end(), IsPlainPathChar))
        return false;
    const QStringView query = queryStart < 0 ? QStringView() : target.sliced(queryStart + 1);
    return std::all_of(query.begin(), query.end(), IsPlainQueryChar);
}
} // namespace

bool SplitRequestPath(const QString& hostHeader, const QString& target, QString& host, QString& path)
{
    QStringView plainHost;
    qsizetype queryStart = -1;
    if (!SplitPlainHost(hostHeader, plainHost) || !IsPlainTarget(target, queryStart))
        return SplitRequestPathByUrl(hostHeader, target, host, path);
    host = plainHost.toString();
    path = target;
    return true;
}

bool SplitRequestPathByUrl(const QString& hostHeader, const QString& target, QString& host, QString& path)
{
    QString fullTarget = target;
    if (!fullTarget.startsWith(u'/'))
        fullTarget.prepend(u'/');
    QString hostText = hostHeader;
    if (!hostText.contains(QLatin1String("//")))
        hostText.prepend(QLatin1String("http://"));
    if (hostText.endsWith(u'/'))
        hostText.chop(1);
    const QUrl url = QUrl(hostText + fullTarget).adjusted(QUrl::NormalizePathSegments);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    host = url.host();
    path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    if (url.hasQuery())
        path += u'?' + url.query(QUrl::FullyDecoded);
    return true;
}
