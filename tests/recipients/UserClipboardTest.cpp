#include "recipients/UserClipboard.h"
#include "ndb/NdbUserList.h"
#include "recipients/RecipientFields.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<ndb::CNdbUser> FullUser(const QString& address)
{
    auto user = std::make_unique<ndb::CNdbUser>();
    for (const RecipientField& field : GetRecipientFields())
    {
        if (field.code < 700)
            user->SetField(field.code, ndb::CNdbFieldValue(field.name + QStringLiteral(" of ") + address));
    }
    user->SetField(ndb::UserEmail, ndb::CNdbFieldValue(address));
    user->SetField(ndb::UserCompany, ndb::CNdbFieldValue(QStringLiteral("Smith; Sons & <Co>")));
    user->SetField(ndb::UserColorLabel, ndb::CNdbFieldValue(ndb::NdbValueColorLabel, 5));
    user->SetField(ndb::UserHtmlMail, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    user->SetField(ndb::UserBlocked, ndb::CNdbFieldValue(ndb::NdbValueBool, 1));
    user->SetField(ndb::UserEnabled, ndb::CNdbFieldValue(ndb::NdbValueBool, 0));
    return user;
}

const DelimiterQuestion Semicolon = [](QChar& delimiter)
{
    delimiter = u';';
    return true;
};
const DelimiterQuestion NeverAsked = [](QChar&)
{
    ADD_FAILURE() << "no delimiter question expected";
    return false;
};
} // namespace

TEST(UserClipboard, TextHasHeaderAndOneLinePerRecipient)
{
    ndb::CNdbUserList users;
    users.AddUser(FullUser(QStringLiteral("a@x.com")));
    auto sparse = std::make_unique<ndb::CNdbUser>();
    sparse->SetField(ndb::UserEmail, ndb::CNdbFieldValue(QStringLiteral("b@x.com")));
    sparse->SetField(ndb::UserAddress, ndb::CNdbFieldValue(QStringLiteral("Line 1\nLine \"2\"")));
    users.AddUser(std::move(sparse));
    const QString text = BuildUsersText(users);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines.back().isEmpty());
    EXPECT_EQ(lines[0].split(u';').size(), 24);
    EXPECT_EQ(lines[0].split(u';').front(), QStringLiteral("Email"));
    EXPECT_EQ(lines[1].split(u';').size(), 24);
    EXPECT_TRUE(lines[1].contains(QStringLiteral(";Smith  Sons & <Co>;")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(";no;no")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("b@x.com;;;")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral(";\"Line 1\nLine \"\"2\"\"\";")));

    TextRows rows;
    ParseDelimitedTextToRows(rows, text, Semicolon);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2][12], QStringLiteral("Line 1\nLine \"2\""));
    EXPECT_EQ(rows[2].size(), 24);
}

TEST(UserClipboard, HtmlEscapesCellsAndReadsBack)
{
    ndb::CNdbUserList users;
    users.AddUser(FullUser(QStringLiteral("a@x.com")));
    users.AddUser(std::make_unique<ndb::CNdbUser>());
    const QString html = BuildUsersHtmlTable(users);
    EXPECT_TRUE(html.startsWith(
        QStringLiteral("<html><head><title>Userlist</title></head><body><!--StartFragment -->")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td>Smith; Sons &amp; &lt;Co&gt;</td>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td>&nbsp;</td>")));
    EXPECT_EQ(html.indexOf(QStringLiteral("<!--StartFrag")), 48);

    TextRows rows;
    ParseHtmlTableToRows(html, rows);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].size(), 24);
    EXPECT_EQ(rows[1][6], QStringLiteral("Smith; Sons & <Co>"));
    EXPECT_EQ(rows[2][0], QString());
    EXPECT_EQ(rows[2][22], QStringLiteral("yes"));
}

TEST(UserClipboard, HtmlPasteRules)
{
    struct Case
    {
        const char* html;
        TextRows rows;
    };
    const Case cases[] = {
        {"<table><tr><td>a</td></tr></table><table><tr><td>b</td></tr></table>", {}},
        {"<p>no table</p>", {}},
        {"<table><tr><td>two\r\nlines </td><td>&nbsp;</td><td>&#228;&amp;&#x4E2D;</td></tr><tr></tr></table>",
         {{"two lines", "", "\u00E4&\u4E2D"}, {}}},
        {"Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000200\r\n<html><body><table><tr><td>x@y.com</td></"
         "tr>"
         "</table></body></html>",
         {{"x@y.com"}}},
    };
    for (const Case& c : cases)
    {
        TextRows rows;
        ParseHtmlTableToRows(DecodeClipboardHtml(QByteArray(c.html)), rows);
        EXPECT_EQ(rows, c.rows) << c.html;
    }
    const QString wide = QStringLiteral("<table><tr><td>\u00FC@x.com</td></tr></table>");
    QByteArray utf16("\xFF\xFE");
    utf16 += QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
    TextRows rows;
    ParseHtmlTableToRows(DecodeClipboardHtml(utf16), rows);
    EXPECT_EQ(rows, TextRows({{"\u00FC@x.com"}}));
}

TEST(UserClipboard, PrivateFormatRefusesWhatIsNoRecipientList)
{
    ndb::CNdbUserList users;
    users.AddUser(FullUser(QStringLiteral("a@x.com")));
    QMimeData data;
    ASSERT_TRUE(CopyUsersToClipboardPrivate(users, data));
    const QByteArray bytes = data.data(QString::fromLatin1(UserClipboard::UserListMimeType));

    ndb::CNdbUserList target;
    target.AddUser(FullUser(QStringLiteral("kept@x.com")));
    QByteArray otherTag = bytes;
    otherTag.replace("Userlist", "Userlust");
    QByteArray newer = bytes;
    newer[5 + 4 + 8 + 4] = 2; // the minor version after magic, flag, tag
    for (const QByteArray& refused : {otherTag, newer, bytes.left(bytes.size() - 3), QByteArray("junk")})
    {
        EXPECT_FALSE(ReadUsersFromPrivateData(refused, target));
        ASSERT_EQ(target.GetCount(), 1);
        EXPECT_EQ(target.GetUserAt(0)->GetString(ndb::UserEmail), QStringLiteral("kept@x.com"));
    }
    EXPECT_TRUE(ReadUsersFromPrivateData(bytes, target));
    EXPECT_EQ(target.GetUserAt(0)->GetString(ndb::UserEmail), QStringLiteral("a@x.com"));
}

TEST(UserClipboard, CopyInOneListPasteIntoAnotherKeepsEveryField)
{
    ndb::CNdbUserList newsletterList;
    newsletterList.AddUser(FullUser(QStringLiteral("a@x.com")));
    newsletterList.AddUser(FullUser(QStringLiteral("b@x.com")));
    ASSERT_TRUE(CopyUsersToClipboard(newsletterList));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->hasText());

    ndb::CNdbUserList mailingList;
    TextRows table;
    ReadUsersFromClipboard(table, mailingList, NeverAsked);
    EXPECT_TRUE(table.isEmpty());
    ASSERT_EQ(mailingList.GetCount(), 2);
    for (int i = 0; i < 2; ++i)
    {
        const auto& from = newsletterList.GetUserAt(i)->GetFields();
        const auto& to = mailingList.GetUserAt(i)->GetFields();
        ASSERT_EQ(to.size(), from.size());
        for (const auto& [id, value] : from)
        {
            ndb::CNdbFieldValue pasted;
            ASSERT_TRUE(mailingList.GetUserAt(i)->GetField(id, pasted)) << id;
            EXPECT_EQ(pasted.GetType(), value.GetType()) << id;
            EXPECT_EQ(pasted.GetString(), value.GetString()) << id;
            EXPECT_EQ(pasted.GetInt(), value.GetInt()) << id;
        }
    }
    EXPECT_EQ(mailingList.GetUserAt(1)->GetInt(ndb::UserColorLabel), 5);
    EXPECT_TRUE(mailingList.GetUserAt(1)->IsBlocked());
}

TEST(UserClipboard, PasteTakesTheFirstFormatPresent)
{
    ndb::CNdbUserList users;
    TextRows table;
    QMimeData htmlAndText;
    htmlAndText.setHtml(QStringLiteral("<table><tr><td>h@x.com</td><td>H</td></tr></table>"));
    htmlAndText.setText(QStringLiteral("t@x.com"));
    ReadUsersFromMimeData(htmlAndText, table, users, NeverAsked);
    EXPECT_EQ(table, TextRows({{"h@x.com", "H"}}));

    QMimeData address;
    address.setText(QStringLiteral("only@x.com"));
    ReadUsersFromMimeData(address, table, users, NeverAsked);
    EXPECT_EQ(table, TextRows({{"only@x.com"}}));

    QMimeData text;
    text.setText(QStringLiteral("a;b;c\n"));
    ReadUsersFromMimeData(text, table, users, Semicolon);
    EXPECT_EQ(table, TextRows({{"a", "b", "c"}}));
    EXPECT_EQ(users.GetCount(), 0);
}
