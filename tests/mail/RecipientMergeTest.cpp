#include "mail/RecipientMerge.h"
#include "ndb/NdbUser.h"

#include <gtest/gtest.h>

namespace
{
MergeSource MakeSource(const QString& htmlTemplate)
{
    MergeSource source;
    source.newsletterId = QStringLiteral("{N-1}");
    source.newsletterFileName = QStringLiteral("my news.kvnl");
    source.sender.SetField(ndb::SenderSiteAddress, ndb::CNdbFieldValue(QStringLiteral("http://site.test")));
    source.sender.SetField(ndb::SenderServerListId, ndb::CNdbFieldValue(QStringLiteral("list 1")));
    source.htmlTemplate = htmlTemplate;
    source.fieldCodes = {{130, true}, {150, true}, {170, false}};
    source.unsubscribeAddress = QStringLiteral("http://site.test/admin/u.php");
    return source;
}

ndb::CNdbUser MakeUser(const QString& firstName)
{
    ndb::CNdbUser user;
    user.SetField(ndb::UserId, ndb::CNdbFieldValue(QStringLiteral("{U-1}")));
    user.SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("asa@example.test")));
    user.SetField(ndb::UserFirstName, ndb::CNdbFieldValue(firstName));
    return user;
}

TEST(RecipientMerge, FieldsAreMergedEscapedAndNeverExpandedAgain)
{
    const MergeSource source = MakeSource(
        QStringLiteral("[[[fc_130]]]|[[[fc_150]]]|[[[fc_170]]]|[[[USEREMAIL]]]|[[[[fc_130]]]|[[[NOTHING]]]"));
    const CRecipientMerge merge(source);
    EXPECT_EQ(merge.Merge(MakeUser(QStringLiteral("Åsa"))),
              QStringLiteral("Åsa||[[[fc_170]]]|asa@example.test|[Åsa|[[[NOTHING]]]"));
    EXPECT_EQ(
        merge.Merge(MakeUser(QStringLiteral("<i>[[[USEREMAIL]]]</i> & [[[fc_150]]]"))).section(u'|', 0, 0),
        QStringLiteral("&lt;i&gt;[[[USEREMAIL]]]&lt;/i&gt; &amp; [[[fc_150]]]"));
}

TEST(RecipientMerge, LinksCarryTheEncodedFieldsAndTheWebViewLink)
{
    const MergeSource source = MakeSource(QString());
    const CRecipientMerge merge(source);
    const ndb::CNdbUser user = MakeUser(QStringLiteral("Åsa"));
    const QString webView = merge.WebViewLink(user);
    EXPECT_EQ(
        webView,
        QStringLiteral("http://site.test/mynews.htm?u=asa%40example.test&t={N-1}&fc_130=%C3%85sa&fc_150="));
    EXPECT_EQ(
        merge.UnsubscribeLink(user, webView),
        QStringLiteral(
            "http://site.test/admin/u.php?cmd=unsubscribe&u=asa%40example.test&c=list%201&n={N-1}&r=") +
            QStringLiteral(
                "http%3A%2F%2Fsite.test%2Fmynews.htm%3Fu%3Dasa%2540example.test%26t%3D%7BN-1%7D%26fc_130%3D%"
                "25C3%2585sa%26fc_150%3D%26unsub%3Dtrue"));
}

TEST(RecipientMerge, WebViewNamesAndFolders)
{
    EXPECT_EQ(CRecipientMerge::WebViewFolder(QStringLiteral("\\news\\")), QStringLiteral("news/"));
    EXPECT_EQ(CRecipientMerge::WebViewFolder(QStringLiteral("/news")), QStringLiteral("news/"));
    EXPECT_EQ(CRecipientMerge::WebViewFolder(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(CRecipientMerge::WebViewFolder(QString()), QString());
    EXPECT_EQ(CRecipientMerge::WebViewFileName(QStringLiteral("a b.kvnl"), QStringLiteral("php")),
              QStringLiteral("ab.php"));
    EXPECT_EQ(CRecipientMerge::WebViewFileName(QStringLiteral("a.kvnl"), QStringLiteral("asp")),
              QStringLiteral("a.asp"));
    EXPECT_EQ(CRecipientMerge::WebViewFileName(QStringLiteral("a.kvnl"), QStringLiteral("ASP")),
              QStringLiteral("a.htm"));
    EXPECT_EQ(CRecipientMerge::WebViewFileName(QStringLiteral("a.txt"), QStringLiteral("php")),
              QStringLiteral("a.txt"));
    EXPECT_EQ(
        CRecipientMerge::TrackingId(QStringLiteral("{N}"), QStringLiteral("{U}"), QStringLiteral("d.test")),
        QStringLiteral("{N}___{U}@d.test"));
}
} // namespace
