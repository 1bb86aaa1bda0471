#include "mail/RecipientMerge.h"

#include "base/TextHelpers.h"
#include "ndb/NdbUser.h"
#include "services/QorxInstaller.h"

namespace
{
const QString TokenOpen = QStringLiteral("[[[");
const QString TokenClose = QStringLiteral("]]]");
const QString FieldPrefix = QStringLiteral("fc_");

// The next token opening at or after the index, found by its first character: a search for one
// character is several times faster than one for three, and a template holds few brackets.
qsizetype FindTokenOpen(const QString& text, qsizetype from)
{
    for (qsizetype open = text.indexOf(TokenOpen.front(), from); open >= 0;
         open = text.indexOf(TokenOpen.front(), open + 1))
    {
        if (QStringView(text).sliced(open).startsWith(TokenOpen))
            return open;
    }
    return -1;
}
} // namespace

QString CRecipientMerge::Merge(const ndb::CNdbUser& user) const
{
    const QString webViewLink = WebViewLink(user);
    const QString& text = m_source.htmlTemplate;
    QString merged;
    merged.reserve(text.size() + 256);
    qsizetype done = 0;
    for (qsizetype open = FindTokenOpen(text, 0); open >= 0; open = FindTokenOpen(text, done))
    {
        const qsizetype close = text.indexOf(TokenClose, open + TokenOpen.size());
        if (close < 0)
            break;
        QString value;
        if (!Replacement(text.mid(open + TokenOpen.size(), close - open - TokenOpen.size()), user,
                         webViewLink, value))
        {
            // Not a token: keep the brackets and look for one starting inside them.
            merged += QStringView(text).mid(done, open + 1 - done);
            done = open + 1;
            continue;
        }
        merged += QStringView(text).mid(done, open - done);
        merged += value;
        done = close + TokenClose.size();
    }
    merged += QStringView(text).mid(done);
    return merged;
}

bool CRecipientMerge::Replacement(const QString& name, const ndb::CNdbUser& user, const QString& webViewLink,
                                  QString& value) const
{
    if (name == QLatin1String("WEBVIEWURL"))
        value = webViewLink;
    else if (name == QLatin1String("UNSUBSCRIBEURL"))
        value = UnsubscribeLink(user, webViewLink);
    else if (name == QLatin1String("USEREMAIL"))
        value = user.GetString(ndb::UserEmail).toHtmlEscaped();
    else if (name.startsWith(FieldPrefix))
    {
        bool number = false;
        const int code = name.mid(FieldPrefix.size()).toInt(&number);
        const auto found = m_source.fieldCodes.find(code);
        if (!number || found == m_source.fieldCodes.end() || !found->second ||
            name != FieldPrefix + QString::number(code))
            return false;
        value = user.GetString(code).toHtmlEscaped();
    }
    else
        return false;
    return true;
}

QString CRecipientMerge::MergeQuery(const ndb::CNdbUser& user) const
{
    QString query;
    for (const auto& [code, merged] : m_source.fieldCodes)
        if (merged)
            query +=
                QStringLiteral("&fc_%1=%2").arg(code).arg(CQorxInstaller::UrlEncode(user.GetString(code)));
    return query;
}

QString CRecipientMerge::WebViewLink(const ndb::CNdbUser& user) const
{
    const ndb::CNdbSender& sender = m_source.sender;
    return QStringLiteral("%1/%2%3?u=%4&t=%5%6")
        .arg(sender.GetString(ndb::SenderSiteAddress),
             WebViewFolder(sender.GetString(ndb::SenderWebViewFolder)),
             WebViewFileName(m_source.newsletterFileName, sender.GetString(ndb::SenderSiteType)),
             CQorxInstaller::UrlEncode(user.GetString(ndb::UserEmail)), m_source.newsletterId,
             MergeQuery(user));
}

QString CRecipientMerge::UnsubscribeLink(const ndb::CNdbUser& user, const QString& webViewLink) const
{
    return QStringLiteral("%1?cmd=unsubscribe&u=%2&c=%3&n=%4&r=%5")
        .arg(m_source.unsubscribeAddress, CQorxInstaller::UrlEncode(user.GetString(ndb::UserEmail)),
             CQorxInstaller::UrlEncode(m_source.sender.GetString(ndb::SenderServerListId)),
             m_source.newsletterId, CQorxInstaller::UrlEncode(webViewLink + QStringLiteral("&unsub=true")));
}

QString CRecipientMerge::TrackingId(const QString& newsletterId, const QString& userId,
                                    const QString& ehloDomain)
{
    return QStringLiteral("%1___%2@%3").arg(newsletterId, userId, ehloDomain);
}

QString CRecipientMerge::WebViewFileName(const QString& newsletterFileName, const QString& siteType)
{
    const QString extension = siteType == QLatin1String("asp")   ? QStringLiteral(".asp")
                              : siteType == QLatin1String("php") ? QStringLiteral(".php")
                                                                 : QStringLiteral(".htm");
    return MakeIdentifier(newsletterFileName, QStringLiteral("."))
        .replace(QStringLiteral(".kvnl"), extension);
}

bool CRecipientMerge::PublishesWebView(const ndb::CNdbSender& sender)
{
    return sender.GetBool(ndb::SenderWebView, false) && sender.GetBool(ndb::SenderSiteWebView, false);
}

bool CRecipientMerge::TracksLinks(const ndb::CNdbSender& sender)
{
    return sender.GetBool(ndb::SenderTracking, false) && sender.GetBool(ndb::SenderSiteStatistics, false);
}

QString CRecipientMerge::WebViewFolder(const QString& folder)
{
    if (folder.isEmpty())
        return folder;
    QString result = folder;
    result.replace(u'\\', u'/');
    if (result.startsWith(u'/'))
        result.remove(0, 1);
    if (!result.endsWith(u'/'))
        result += u'/';
    return result;
}
