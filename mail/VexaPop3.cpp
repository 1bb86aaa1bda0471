#include "mail/VexaPop3.h"

#include "base/AnsiCodePage.h"
#include "base/Base64.h"
#include "base/TextHelpers.h"
#include "mail/Base64Encode.h"
#include "mail/NtlmHelper.h"

#include <cerrno>

namespace
{
constexpr int SendSeconds = 10;

bool IsOk(const QString& line)
{
    return line.size() >= 3 && line.startsWith(QLatin1String("+OK"));
}

QString Base64Line(const QByteArray& bytes)
{
    QString text;
    EncodeBase64(bytes, text);
    return text + QStringLiteral("\r\n");
}

QByteArray DecodeChallenge(const QString& text)
{
    return DecodeBase64Bytes(AnsiCodePage::FromText(text));
}

// Runs a reading operation: a socket failure is result 1, anything else unexpected 999.
template <typename Operation> int Guarded(Operation operation)
{
    try
    {
        return operation();
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        return CVexaPop3::SocketFailure;
    }
    catch (...)
    {
        return CVexaPop3::OtherFailure;
    }
}
} // namespace

CVexaPop3::~CVexaPop3()
{
    Close();
}

int CVexaPop3::Close()
{
    try
    {
        m_socket.Close();
        return Success;
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        return OtherFailure;
    }
}

QString CVexaPop3::ReadCountedLine(qint64& budget)
{
    const QString line = m_socket.ReadLine();
    budget -= line.size() + 2;
    if (budget < 0)
        throw new CBlockingSocketException(QStringLiteral("Receive: reply too long"), EMSGSIZE);
    return line;
}

int CVexaPop3::ReadStatus()
{
    if (!IsConnected())
        return NotConnected;
    return IsOk(m_socket.ReadLine()) ? Success : NotOk;
}

int CVexaPop3::Command(const QString& text, QString& reply)
{
    if (!IsConnected())
        return NotConnected;
    try
    {
        m_socket.SendString(text, SendSeconds);
        reply = m_socket.ReadLine();
        return IsOk(reply) ? Success : NotOk;
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        return OtherFailure;
    }
    catch (...)
    {
        return OtherFailure;
    }
}

int CVexaPop3::Login(const QString& server, const QString& domain, const QString& user,
                     const QString& password, int method, int port)
{
    return Guarded(
        [&]() -> int
        {
            m_socket.Create(SOCK_STREAM);
            m_socket.Connect(CBlockingSocket::GetHostByName(server, static_cast<unsigned short>(port)));
            const int greeting = ReadStatus();
            if (greeting != Success)
                return greeting;
            int result;
            switch (method)
            {
            case Automatic:
                result = LoginNtlm(domain, user, password);
                if (result != Success)
                    result = LoginUserPass(user, password);
                break;
            case UserPass:
                result = LoginUserPass(user, password);
                break;
            case Ntlm:
                result = LoginNtlm(domain, user, password);
                break;
            default:
                return LoginRefused;
            }
            return result == Success ? Success : LoginRefused;
        });
}

int CVexaPop3::LoginUserPass(const QString& user, const QString& password)
{
    QString reply;
    const int result = Command(QStringLiteral("USER %1\r\n").arg(user), reply);
    if (result != Success)
        return result;
    return Command(QStringLiteral("PASS %1\r\n").arg(password), reply) == Success ? Success : LoginRefused;
}

int CVexaPop3::LoginNtlm(const QString& domain, const QString& user, const QString& password)
{
    if (!IsConnected())
        return NotConnected;
    try
    {
        m_socket.SendString(QStringLiteral("AUTH NTLM\r\n"), SendSeconds);
        CNtlmHelper ntlm;
        if (ReadStatus() != Success || !ntlm.Init(domain, user, password) || !ntlm.MakeToken())
            return LoginRefused;
        m_socket.SendString(Base64Line(ntlm.GetToken()), SendSeconds);
        const QString line = m_socket.ReadLine();
        if (line.size() <= 2 || !line.startsWith(QLatin1String("+ ")) ||
            !ntlm.MakeToken(DecodeChallenge(line.mid(2))))
            return LoginRefused;
        m_socket.SendString(Base64Line(ntlm.GetToken()), SendSeconds);
        return ReadStatus() == Success ? Success : LoginRefused;
    }
    catch (CBlockingSocketException* error)
    {
        delete error;
        return LoginRefused;
    }
    catch (...)
    {
        return LoginRefused;
    }
}

int CVexaPop3::ListUniqueIds(QMap<int, QString>& ids)
{
    if (!IsConnected())
        return NotConnected;
    return Guarded(
        [&]() -> int
        {
            m_socket.SendString(QStringLiteral("UIDL\r\n"), SendSeconds);
            const int status = ReadStatus();
            if (status != Success)
                return status;
            qint64 budget = MaxListingBytes;
            for (;;)
            {
                const QString line = ReadCountedLine(budget);
                if (line.startsWith(u'.'))
                    return Success;
                const qsizetype blank = line.indexOf(u' ');
                if (blank < 0)
                    return Unparsable;
                ids[ParseIntText(line)] = line.mid(blank + 1).trimmed();
            }
        });
}

int CVexaPop3::Retrieve(int number, QString& text)
{
    if (!IsConnected())
        return NotConnected;
    return Guarded(
        [&]() -> int
        {
            m_socket.SendString(QStringLiteral("LIST %1\r\n").arg(number), SendSeconds);
            const QString listing = m_socket.ReadLine();
            if (!IsOk(listing))
                return NotOk;
            // "+OK number size"
            const qsizetype first = listing.indexOf(u' ');
            const QString rest = first < 0 ? QString() : listing.mid(first + 1).trimmed();
            const qsizetype second = rest.indexOf(u' ');
            if (first < 0 || ParseIntText(rest) != number || second < 0 ||
                ParseIntText(rest.mid(second + 1).trimmed()) < 1)
                return Unparsable;
            m_socket.SendString(QStringLiteral("RETR %1\r\n").arg(number), SendSeconds);
            const int status = ReadStatus();
            if (status != Success)
                return status;
            std::vector<QString> lines;
            ReadMultiLine(lines);
            for (const QString& line : lines)
                text += line;
            return Success;
        });
}

int CVexaPop3::ReadMultiLine(std::vector<QString>& lines)
{
    if (!IsConnected())
        return NotConnected;
    qint64 budget = MaxMessageBytes;
    for (;;)
    {
        QString line = ReadCountedLine(budget);
        if (line == QLatin1String("."))
            return Success;
        if (line.startsWith(u'.'))
            line.remove(0, 1);
        lines.push_back(line + QStringLiteral("\r\n"));
    }
}
