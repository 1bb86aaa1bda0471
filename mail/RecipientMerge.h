#pragma once

#include "ndb/NdbSender.h"

#include <QString>

#include <map>

namespace ndb
{
class CNdbUser;
}

// What every recipient's copy of a send job shares: the newsletter's values, its sender
// profile and the HTML body with the merge tokens. Copied when the job starts, so the copies
// are made without touching the document.
struct MergeSource
{
    QString newsletterId;
    QString newsletterFileName;
    QString subject;
    int importance{0};
    QString plainTextBody;
    ndb::CNdbSender sender;
    QString htmlTemplate;
    // Merge field code -> merged; codes mapped to false stay as they are.
    std::map<int, bool> fieldCodes;
    QString unsubscribeAddress;
};

// Makes one recipient's HTML body out of the job's template: fills the merge fields and the
// recipient's web-view and unsubscribe links into their tokens.
class CRecipientMerge
{
public:
    explicit CRecipientMerge(const MergeSource& source) : m_source(source) {}

    // The body of the recipient. The template is read once from left to right and each token
    // is replaced where it stands: a recipient's value is inserted HTML-escaped and is never read
    // again as a token.
    QString Merge(const ndb::CNdbUser& user) const;

    QString WebViewLink(const ndb::CNdbUser& user) const;
    QString UnsubscribeLink(const ndb::CNdbUser& user, const QString& webViewLink) const;

    // "<newsletter id>___<recipient id>@<EHLO domain>", the id returned mail is matched by.
    static QString TrackingId(const QString& newsletterId, const QString& userId, const QString& ehloDomain);
    // The newsletter's file name as a name for the site: ".kvnl" becomes ".asp", ".php" or ".htm"
    // by the site type (exact, case-sensitive).
    static QString WebViewFileName(const QString& newsletterFileName, const QString& siteType);
    // The one rule of the summary and the sender: the web view is published only when the
    // newsletter asks for it and its site offers it; otherwise the mail goes out without it.
    static bool PublishesWebView(const ndb::CNdbSender& sender);
    // Likewise links are tracked only when the newsletter asks for it and its site has statistics.
    static bool TracksLinks(const ndb::CNdbSender& sender);
    // The web-view folder of the links: "/" for "\", no leading "/", a final "/"; empty stays empty.
    static QString WebViewFolder(const QString& folder);

private:
    // The merge fields as "&fc_<code>=<value>" pairs.
    QString MergeQuery(const ndb::CNdbUser& user) const;
    // The replacement of the token name, or none when the name is not one of ours.
    bool Replacement(const QString& name, const ndb::CNdbUser& user, const QString& webViewLink,
                     QString& value) const;

    const MergeSource& m_source;
};
