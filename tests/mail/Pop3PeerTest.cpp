#include "base/AnsiCodePage.h"
#include "mail/VexaPop3.h"
#include "peers/DovecotServer.h"

#include <gtest/gtest.h>

namespace
{
const QList<QByteArray> Mailbox = {
    "From: a@example.com\nSubject: first\n\nHello\n",
    "From: b@example.com\nSubject: dots\n\n.starts with a dot\n..two dots\n.\nend\n",
    "From: c@example.com\nSubject: caf\xe9\n\n\nblank lines above and below\n\n",
};

QString AsRetrieved(const QByteArray& file)
{
    return AnsiCodePage::ToText(QByteArray(file).replace("\n", "\r\n"));
}
} // namespace

TEST(Pop3Peer, ListsAndRetrievesTheMaildirAndLeavesItAsItWas)
{
    const DovecotServer server(QStringLiteral("bounces"), QStringLiteral("pa55word"), Mailbox);
    ASSERT_TRUE(server.IsRunning()) << server.Log().toStdString();
    QMap<int, QString> firstIds;
    for (const int method : {CVexaPop3::UserPass, CVexaPop3::Automatic})
    {
        CVexaPop3 client;
        // Automatic tries AUTH NTLM first, which this server does not offer.
        ASSERT_EQ(client.Login(QStringLiteral("127.0.0.1"), QString(), QStringLiteral("bounces"),
                               QStringLiteral("pa55word"), method, server.Port()),
                  CVexaPop3::Success)
            << method << server.Log().toStdString();
        QMap<int, QString> ids;
        ASSERT_EQ(client.ListUniqueIds(ids), CVexaPop3::Success);
        EXPECT_EQ(ids.keys(), (QList<int>{1, 2, 3}));
        EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), 3);
        if (firstIds.isEmpty())
            firstIds = ids;
        EXPECT_EQ(ids, firstIds) << "a second visit sees the same messages";
        for (int number = 1; number <= 3; ++number)
        {
            QString text = QStringLiteral("kept|");
            ASSERT_EQ(client.Retrieve(number, text), CVexaPop3::Success) << number;
            EXPECT_EQ(text, QStringLiteral("kept|") + AsRetrieved(Mailbox[number - 1])) << number;
        }
        QString text;
        EXPECT_EQ(client.Retrieve(4, text), CVexaPop3::NotOk);
        EXPECT_TRUE(text.isEmpty());
        EXPECT_EQ(client.Close(), CVexaPop3::Success);
    }
    EXPECT_EQ(server.MailboxMessages(), Mailbox);
}

TEST(Pop3Peer, RefusedLogins)
{
    const DovecotServer server(QStringLiteral("bounces"), QStringLiteral("pa55word"), Mailbox);
    ASSERT_TRUE(server.IsRunning()) << server.Log().toStdString();
    const struct
    {
        const char* what;
        const char* password;
        int method;
        int expected;
    } cases[] = {
        {"wrong password", "pa55wort", CVexaPop3::UserPass, CVexaPop3::LoginRefused},
        {"NTLM only, not offered", "pa55word", CVexaPop3::Ntlm, CVexaPop3::LoginRefused},
        {"unknown method", "pa55word", 7, CVexaPop3::LoginRefused},
    };
    for (const auto& entry : cases)
    {
        CVexaPop3 client;
        EXPECT_EQ(client.Login(QStringLiteral("127.0.0.1"), QString(), QStringLiteral("bounces"),
                               QString::fromLatin1(entry.password), entry.method, server.Port()),
                  entry.expected)
            << entry.what;
    }
    CVexaPop3 client;
    EXPECT_EQ(client.Login(QStringLiteral("127.0.0.1"), QString(), QStringLiteral("bounces"),
                           QStringLiteral("x"), CVexaPop3::UserPass, PeerProcess::FreePort()),
              CVexaPop3::SocketFailure);
}
