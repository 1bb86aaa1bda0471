#pragma once

#include <QString>

#include <vector>

class CMailSocket;

// One message and the SMTP server it goes to. Send runs one SMTP dialogue for one recipient
// over its own connection; TestServer checks that a server takes a connection, a login and a
// sender.
class CVexaMail
{
public:
    // The sender and recipient that TestServer names.
    static constexpr const char* TestSender = "kelvora-test@example.com";
    static constexpr const char* TestRecipient = "postmaster@example.org";

    CVexaMail(const QString& ehloDomain, const QString& server, int port, const QString& userName,
              const QString& password);

    // 0 success, 1 connection, greeting or EHLO failed, 2 authentication failed, 3 sender or
    // recipient refused. Never throws.
    int TestServer(const QString& userName, const QString& password, bool recipientStep);

    // Greeting, EHLO, authentication when a user name is set, MAIL FROM, RCPT TO and DATA.
    // Throws CMailError with the step's code and the server's reply.
    void StartDialogue(CMailSocket& socket, const QString& fromAddress, const QString& toAddress);
    // The end-of-data line and QUIT. Throws CMailError 305 with the server's reply.
    void EndDialogue(CMailSocket& socket);

    // True when the server answered 235. Never throw.
    bool AuthNtlm(CMailSocket& socket, const QString& userName, const QString& password);
    bool AuthPlain(CMailSocket& socket, const QString& userName, const QString& password);
    bool AuthLogin(CMailSocket& socket, const QString& userName, const QString& password);

    // Connection
    QString m_ehloDomain;
    QString m_server;
    int m_port;
    QString m_userName;
    QString m_password;

private:
    // The advertised mechanisms in turn, NTLM, PLAIN, LOGIN, until one succeeds.
    bool Authenticate(CMailSocket& socket, const std::vector<QString>& ehloReply, const QString& userName,
                      const QString& password);
};
