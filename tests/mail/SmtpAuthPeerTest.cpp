#include "mail/VexaMail.h"
#include "peers/AiosmtpdPeer.h"

#include <gtest/gtest.h>

TEST(SmtpAuthPeer, PlainAndLoginAgainstARealServer)
{
    const QString user = QStringLiteral("newsletter@example.com");
    const QString password = QStringLiteral("p\u00e4ss w0rd");
    for (const QStringList& mechanisms :
         {QStringList{QStringLiteral("PLAIN")}, QStringList{QStringLiteral("LOGIN")}})
    {
        const AiosmtpdPeer server(user, password, mechanisms);
        ASSERT_TRUE(server.IsRunning());
        CVexaMail mail(QStringLiteral("client.example"), QStringLiteral("127.0.0.1"), server.Port(),
                       QString(), QString());
        const std::string mechanism = mechanisms.first().toStdString();
        EXPECT_EQ(mail.TestServer(user, password, true), 0) << mechanism;
        EXPECT_EQ(mail.TestServer(user, QStringLiteral("p\u00e4ss w0rD"), true), 2) << mechanism;
        EXPECT_EQ(mail.TestServer(QStringLiteral("someone@example.com"), password, true), 2) << mechanism;
        EXPECT_TRUE(server.Messages().isEmpty()) << mechanism << ": a test sends no message";
    }
}
