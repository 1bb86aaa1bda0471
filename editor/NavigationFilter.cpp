#include "editor/NavigationFilter.h"

#include "platform/core/Shell.h"

#include <QUrl>

namespace
{
bool IsLocalServer(const QUrl& url, int serverPort)
{
    const QString host = url.host().toLower();
    return serverPort > 0 && url.scheme().toLower() == QLatin1String("http") && url.port() == serverPort &&
           (host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1"));
}
} // namespace

NavigationDecision DecideNavigation(const QString& address, int serverPort, const QString& placeholderPrefix)
{
    // The engine hands out addresses decoded for reading: a space of a file name ("My
    // Newsletter.kvnl") is back in its place, which the strict parser refuses. Characters that
    // no address may hold are encoded again; reserved characters and escapes stay as they are.
    const QUrl url(
        QString::fromLatin1(QUrl::toPercentEncoding(address, QByteArrayLiteral(":/?#[]@!$&'()*+,;=%"))),
        QUrl::StrictMode);
    if (!url.isValid())
        return NavigationDecision::Cancel;
    if (url.toString().compare(QLatin1String("about:blank"), Qt::CaseInsensitive) == 0 ||
        IsLocalServer(url, serverPort))
        return NavigationDecision::LoadInside;
    if (!placeholderPrefix.isEmpty() && address.startsWith(placeholderPrefix, Qt::CaseInsensitive))
        return NavigationDecision::Cancel;
    return IsDesktopAddress(address) ? NavigationDecision::OpenOnDesktop : NavigationDecision::Cancel;
}
