#include "mail/VexaMail.h"

#include "base/AnsiCodePage.h"
#include "base/Base64.h"
#include "mail/Base64Encode.h"
#include "mail/MailError.h"
#include "mail/MailSocket.h"
#include "mail/NtlmHelper.h"

#include <vector>

namespace
{
constexpr int SendSeconds = 10;

// The mechanisms an EHLO reply advertises on its "AUTH " lines.
struct AuthMechanisms
{
    bool ntlm{false};
    bool plain{false};
    bool login{false};
};

AuthMechanisms ScanCapabilities(const std::vector<QString>& lines)
{
    AuthMechanisms mechanisms;
    for (const QString& line : lines)
    {
        const QString capability = line.toLower().trimmed();
        if (!capability.contains(QLatin1String("auth ")))
            continue;
        mechanisms.ntlm = mechanisms.ntlm || capability.contains(QLatin1String("ntlm"));
        mechanisms.plain = mechanisms.plain || capability.contains(QLatin1String("plain"));
        mechanisms.login = mechanisms.login || capability.contains(QLatin1String("login"));
    }
    return mechanisms;
}

int LastReplyNumber(const std::vector<QString>& lines)
{
    return lines.empty() ? 0 : ReplyNumber(lines.back());
}

QString Base64Of(const QByteArray& bytes)
{
    QString text;
    EncodeBase64(bytes, text);
    return text;
}

QByteArray DecodeChallenge(const QString& text)
{
    return DecodeBase64Bytes(AnsiCodePage::FromText(text));
}

// "DOMAIN\account" names a domain only with something before the backslash and at least two
// characters after it.
void SplitNtlmUser(const QString& userName, QString* domain, QString* account)
{
    const qsizetype backslash = userName.indexOf(u'\\');
    if (backslash >= 1 && userName.size() - backslash - 1 >= 2)
    {
        *domain = userName.left(backslash);
        *account = userName.mid(backslash + 1);
        return;
    }
    domain->clear();
    *account = userName;
}

// Connects the socket to the server; socket failures are thrown.
void Connect(CMailSocket& socket, const QString& server, int port)
{
    socket.Create(SOCK_STREAM);
    socket.Connect(CBlockingSocket::GetHostByName(server, static_cast<unsigned short>(port)));
}

// An authentication attempt that meets a socket failure has failed; the next one may follow.
template <typename Attempt> bool FailsOnSocketFailure(Attempt attempt)
{
    try
    {
        return attempt();
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        return false;
    }
}

void CloseQuietly(CMailSocket& socket)
{
    try
    {
        socket.Close();
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
    }
}
} // namespace

CVexaMail::CVexaMail(const QString& ehloDomain, const QString& server, int port, const QString& userName,
                     const QString& password)
    : m_ehloDomain(ehloDomain), m_server(server), m_port(port), m_userName(userName), m_password(password)
{
}

bool CVexaMail::Authenticate(CMailSocket& socket, const std::vector<QString>& ehloReply,
                             const QString& userName, const QString& password)
{
    const AuthMechanisms advertised = ScanCapabilities(ehloReply);
    return (advertised.ntlm && AuthNtlm(socket, userName, password)) ||
           (advertised.plain && AuthPlain(socket, userName, password)) ||
           (advertised.login && AuthLogin(socket, userName, password));
}

void CVexaMail::StartDialogue(CMailSocket& socket, const QString& fromAddress, const QString& toAddress)
{
    std::vector<QString> greeting;
    socket.ReadReply(greeting);
    if (LastReplyNumber(greeting) != 220)
        throw CMailError(CMailError::GreetingRefused, LastReplyNumber(greeting));

    QString domain = m_ehloDomain;
    if (domain.isEmpty() && fromAddress.contains(u'@'))
        domain = fromAddress.mid(fromAddress.indexOf(u'@') + 1);
    socket.SendString(QStringLiteral("EHLO %1\r\n").arg(domain), SendSeconds);
    std::vector<QString> ehloReply;
    socket.ReadReply(ehloReply);
    if (LastReplyNumber(ehloReply) != 250)
        throw CMailError(CMailError::EhloRefused, LastReplyNumber(ehloReply));

    if (!m_userName.isEmpty() && !Authenticate(socket, ehloReply, m_userName, m_password))
        throw CMailError(CMailError::AuthenticationFailed, 0);

    int reply = socket.SendCommand(QStringLiteral("MAIL FROM:<%1>\r\n").arg(fromAddress));
    if (reply != 250)
        throw CMailError(CMailError::SenderRefused, reply);
    reply = socket.SendCommand(QStringLiteral("RCPT TO:<%1>\r\n").arg(toAddress));
    if (reply != 250)
        throw CMailError(CMailError::RecipientRefused, reply);
    reply = socket.SendCommand(QStringLiteral("DATA\r\n"));
    if (reply != 354)
        throw CMailError(CMailError::DataRefused, reply);
}

void CVexaMail::EndDialogue(CMailSocket& socket)
{
    const int reply = socket.SendCommand(QStringLiteral("\r\n.\r\n"));
    // The reply travels with the error, so that a temporary refusal of the message itself
    // defers the recipient like one at RCPT does.
    if (reply != 250)
        throw CMailError(CMailError::EndOfDataRefused, reply);
    socket.SendString(QStringLiteral("QUIT\r\n"), SendSeconds);
}

bool CVexaMail::AuthNtlm(CMailSocket& socket, const QString& userName, const QString& password)
{
    return FailsOnSocketFailure(
        [&]
        {
            QString domain;
            QString account;
            SplitNtlmUser(userName, &domain, &account);
            CNtlmHelper ntlm;
            if (!ntlm.Init(domain, account, password) || !ntlm.MakeToken())
                return false;
            socket.SendString(QStringLiteral("AUTH NTLM %1\r\n").arg(Base64Of(ntlm.GetToken())), SendSeconds);
            const QString line = socket.ReadLine();
            const qsizetype blank = line.indexOf(u' ');
            if (ReplyNumber(line) != 334 || blank < 0)
                return false;
            if (!ntlm.MakeToken(DecodeChallenge(line.mid(blank + 1).trimmed())))
                return false;
            return socket.SendCommand(Base64Of(ntlm.GetToken()) + QStringLiteral("\r\n")) == 235;
        });
}

bool CVexaMail::AuthPlain(CMailSocket& socket, const QString& userName, const QString& password)
{
    return FailsOnSocketFailure(
        [&]
        {
            if (socket.SendCommand(QStringLiteral("AUTH PLAIN\r\n")) != 334)
                return false;
            const QByteArray credentials =
                '\0' + AnsiCodePage::FromText(userName) + '\0' + AnsiCodePage::FromText(password);
            return socket.SendCommand(Base64Of(credentials) + QStringLiteral("\r\n")) == 235;
        });
}

bool CVexaMail::AuthLogin(CMailSocket& socket, const QString& userName, const QString& password)
{
    return FailsOnSocketFailure(
        [&]
        {
            if (socket.SendCommand(QStringLiteral("AUTH LOGIN\r\n")) != 334)
                return false;
            if (socket.SendCommand(Base64Of(AnsiCodePage::FromText(userName)) + QStringLiteral("\r\n")) !=
                334)
                return false;
            return socket.SendCommand(Base64Of(AnsiCodePage::FromText(password)) + QStringLiteral("\r\n")) ==
                   235;
        });
}

int CVexaMail::TestServer(const QString& userName, const QString& password, bool recipientStep)
{
    CMailSocket socket;
    int result = 0;
    try
    {
        Connect(socket, m_server, m_port);
        std::vector<QString> greeting;
        socket.ReadReply(greeting);
        std::vector<QString> ehloReply;
        if (LastReplyNumber(greeting) == 220)
        {
            socket.SendString(QStringLiteral("EHLO %1\r\n").arg(m_ehloDomain), SendSeconds);
            socket.ReadReply(ehloReply);
        }
        if (LastReplyNumber(ehloReply) != 250)
            result = 1;
        else if (!userName.isEmpty() && !Authenticate(socket, ehloReply, userName, password))
            result = 2;
        else if (socket.SendCommand(QStringLiteral("MAIL FROM:<%1>\r\n").arg(QLatin1String(TestSender))) !=
                 250)
            result = 3;
        else if (recipientStep &&
                 socket.SendCommand(QStringLiteral("RCPT TO:<%1>\r\n").arg(QLatin1String(TestRecipient))) !=
                     250)
            result = 3;
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        result = 1;
    }
    CloseQuietly(socket);
    return result;
}
