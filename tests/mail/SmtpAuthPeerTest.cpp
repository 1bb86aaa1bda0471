#include "mail/MailError.h"
#include "mail/VexaMail.h"
#include "peers/AiosmtpdServer.h"

#include <gtest/gtest.h>

TEST(SmtpAuthPeer, PlainAndLoginAgainstARealServer)
{
    const QString user = QStringLiteral("newsletter@example.com");
    const QString password = QStringLiteral("p\u00e4ss w0rd");
    for (const QStringList& mechanisms :
         {QStringList{QStringLiteral("PLAIN")}, QStringList{QStringLiteral("LOGIN")}})
    {
        const AiosmtpdServer server(user, password, mechanisms);
        ASSERT_TRUE(server.IsRunning());
        CVexaMail mail(QStringLiteral("client.example"), QStringLiteral("127.0.0.1"), server.Port(),
                       QString(), QString());
        const std::string mechanism = mechanisms.first().toStdString();
        EXPECT_EQ(mail.TestServer(user, password, true), 0) << mechanism;
        EXPECT_EQ(mail.TestServer(user, QStringLiteral("p\u00e4ss w0rD"), true), 2) << mechanism;
        EXPECT_EQ(mail.TestServer(QStringLiteral("someone@example.com"), password, true), 2) << mechanism;
        EXPECT_TRUE(server.Messages().isEmpty()) << mechanism << ": a test sends no message";

        mail.m_userName = user;
        mail.m_password = password;
        mail.SetPlainTextBody(QStringLiteral("Hello"));
        mail.Send(QStringLiteral("newsletter@example.com"), QString(), QStringLiteral("reader@example.org"),
                  QStringLiteral("Issue 1"), 0);
        ASSERT_EQ(server.Messages().size(), 1) << mechanism;
        EXPECT_TRUE(server.Messages().first().contains("Subject: Issue 1\r\n")) << mechanism;
        mail.m_password = QStringLiteral("wrong");
        try
        {
            mail.Send(QStringLiteral("newsletter@example.com"), QString(),
                      QStringLiteral("reader@example.org"), QStringLiteral("Issue 1"), 0);
            ADD_FAILURE() << mechanism << ": sent with a wrong password";
        }
        catch (const CMailError& error)
        {
            EXPECT_EQ(error.GetCode(), CMailError::AuthenticationFailed) << mechanism;
        }
    }
}
