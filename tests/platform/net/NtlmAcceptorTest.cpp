#include "peers/NtlmAcceptor.h"
#include "platform/net/NtlmMessages.h"
#include "platform/net/NtlmResponses.h"

#include <gtest/gtest.h>

namespace
{
// Runs one whole exchange of our client against the acceptor.
bool Authenticates(NtlmAcceptor& acceptor, const QString& domain, const QString& user,
                   const QString& password, QString* verdict)
{
    NtlmChallenge challenge;
    if (!NtlmMessages::ParseChallenge(acceptor.Challenge(NtlmMessages::MakeNegotiate()), &challenge))
    {
        *verdict = QStringLiteral("no challenge");
        return false;
    }
    return acceptor.Accepts(NtlmMessages::MakeAuthenticate(challenge, domain, user, password,
                                                           NtlmResponses::RandomClientChallenge(),
                                                           NtlmResponses::CurrentFileTime()),
                            verdict);
}
} // namespace

TEST(NtlmAcceptor, IndependentAcceptorTakesOurTokensAndRefusesAWrongPassword)
{
    NtlmAcceptor acceptor(QStringLiteral("EXAMPLE"), QStringLiteral("alice"),
                              QStringLiteral("s3cr\u00e9t"));
    ASSERT_TRUE(acceptor.IsRunning());
    QString verdict;
    EXPECT_TRUE(Authenticates(acceptor, QStringLiteral("EXAMPLE"), QStringLiteral("alice"),
                              QStringLiteral("s3cr\u00e9t"), &verdict))
        << verdict.toStdString();
    EXPECT_TRUE(verdict.contains(QStringLiteral("alice"))) << verdict.toStdString();
    EXPECT_FALSE(Authenticates(acceptor, QStringLiteral("EXAMPLE"), QStringLiteral("alice"),
                               QStringLiteral("s3cret"), &verdict))
        << verdict.toStdString();
    EXPECT_FALSE(Authenticates(acceptor, QStringLiteral("EXAMPLE"), QStringLiteral("bob"),
                               QStringLiteral("s3cr\u00e9t"), &verdict))
        << verdict.toStdString();
}
