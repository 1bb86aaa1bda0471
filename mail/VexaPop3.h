#pragma once

#include "mail/MailSocket.h"

#include <QMap>
#include <QString>

#include <vector>

// Reads a POP3 mailbox: logs in, lists unique ids and retrieves single messages. It never
// deletes a message and never sends QUIT; closing the connection ends the visit. Every
// operation returns a result code and throws nothing.
class CVexaPop3
{
public:
    enum Result
    {
        Success = 0,
        SocketFailure = 1,
        NotOk = 2,
        NotConnected = 3,
        LoginRefused = 4,
        Unparsable = 10,
        OtherFailure = 999,
    };

    enum LoginMethod
    {
        Automatic = 0,
        UserPass = 100,
        Ntlm = 120,
    };

    // A listing or a message beyond these is a socket failure.
    static constexpr qint64 MaxListingBytes = qint64(8) * 1024 * 1024;
    static constexpr qint64 MaxMessageBytes = qint64(32) * 1024 * 1024;

    CVexaPop3() = default;
    virtual ~CVexaPop3();

    CVexaPop3(const CVexaPop3&) = delete;
    CVexaPop3& operator=(const CVexaPop3&) = delete;

    int Login(const QString& server, const QString& domain, const QString& user, const QString& password,
              int method, int port);
    int ListUniqueIds(QMap<int, QString>& ids);
    // Appends the message, its lines ending in CR LF, to text.
    int Retrieve(int number, QString& text);
    int Close();

    int ReadStatus();
    int Command(const QString& text, QString& reply);
    int LoginUserPass(const QString& user, const QString& password);
    int LoginNtlm(const QString& domain, const QString& user, const QString& password);
    int ReadMultiLine(std::vector<QString>& lines);

private:
    bool IsConnected() const { return !m_socket.IsClosed(); }
    // The next line of a listing or message, counted against its byte budget.
    QString ReadCountedLine(qint64& budget);

    CMailSocket m_socket;
};
