#include "mail/MailSocket.h"

#include "base/AnsiCodePage.h"
#include "base/TextHelpers.h"

#include <atomic>
#include <cerrno>

namespace
{
// An SMTP server may take five minutes over its greeting or a command, and ten over the end of a
// message, before a client gives up on it; the ten minutes are also long enough for a POP3
// listing or a retrieved message at modem speed.
constexpr std::chrono::milliseconds DefaultByteWait = std::chrono::minutes(5);
constexpr std::chrono::milliseconds DefaultReplyWait = std::chrono::minutes(10);
constexpr int BlockSize = 4096;
constexpr int CommandSendSeconds = 10;

std::atomic<std::chrono::milliseconds::rep> ByteWait{DefaultByteWait.count()};
std::atomic<std::chrono::milliseconds::rep> ReplyWait{DefaultReplyWait.count()};

// True when the conversion turned every character into the code page's default character.
bool NothingConverted(const QString& text, const QByteArray& bytes)
{
    return !text.contains(QLatin1Char(AnsiCodePage::DefaultCharacter)) &&
           bytes.count(AnsiCodePage::DefaultCharacter) == bytes.size();
}

bool ContinuesReply(const QString& line)
{
    constexpr int MaxDigits = 10;
    int digits = 0;
    while (digits < MaxDigits && digits < line.size() && line[digits].isDigit() &&
           line[digits].unicode() < 0x80)
        ++digits;
    return digits < line.size() && line[digits] == u'-';
}
} // namespace

void CMailSocket::SetWaits(std::chrono::milliseconds byteWait, std::chrono::milliseconds replyWait)
{
    ByteWait = byteWait.count();
    ReplyWait = replyWait.count();
}

void CMailSocket::ResetWaits()
{
    SetWaits(DefaultByteWait, DefaultReplyWait);
}

char CMailSocket::NextByte()
{
    if (m_position < m_block.size())
        return m_block[m_position++];
    const auto now = std::chrono::steady_clock::now();
    if (!m_replyDeadline)
        m_replyDeadline = now + std::chrono::milliseconds(ReplyWait.load());
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*m_replyDeadline - now);
    if (left.count() <= 0)
        throw new CBlockingSocketException(QStringLiteral("Receive timeout"), ETIMEDOUT);
    m_block.resize(BlockSize);
    const auto byteWait = std::chrono::milliseconds(m_slowReply ? ReplyWait.load() : ByteWait.load());
    const int received = Receive(m_block.data(), BlockSize, std::min(left, byteWait));
    m_block.resize(received);
    m_position = 0;
    if (received == 0)
        throw new CBlockingSocketException(QStringLiteral("ReceiveByte: length mismatch"), ECONNRESET);
    return m_block[m_position++];
}

QString CMailSocket::ReadLine()
{
    QByteArray line;
    for (;;)
    {
        if (line.size() >= MaxLineBytes)
            throw new CBlockingSocketException(QStringLiteral("Receive: line too long"), EMSGSIZE);
        const char byte = NextByte();
        if (byte != '\r')
        {
            line.append(byte);
            continue;
        }
        const char next = NextByte();
        if (next == '\n')
            break;
        // A CR that does not end the line stays, and so does the byte after it, unexamined.
        line.append(byte);
        line.append(next);
    }
    return AnsiCodePage::ToText(line);
}

bool CMailSocket::SendString(const QString& text, int seconds)
{
    const QByteArray bytes = AnsiCodePage::FromText(text);
    const bool converted = text.isEmpty() || !NothingConverted(text, bytes);
    SendBytes(converted ? QByteArrayView(bytes) : QByteArrayView(), seconds);
    return converted;
}

void CMailSocket::SendBytes(QByteArrayView bytes, int seconds)
{
    // Whatever arrives after this belongs to the answer of what is sent now.
    m_replyDeadline.reset();
    m_slowReply = false;
    if (!bytes.isEmpty())
        Write(bytes.data(), static_cast<int>(bytes.size()), seconds);
}

bool CMailSocket::ReadReply(std::vector<QString>& lines)
{
    for (int count = 1;; ++count)
    {
        if (count > MaxReplyLines)
            throw new CBlockingSocketException(QStringLiteral("Receive: reply too long"), EMSGSIZE);
        lines.push_back(ReadLine());
        if (!ContinuesReply(lines.back()))
            return true;
    }
}

int CMailSocket::SendCommand(const QString& text)
{
    SendString(text, CommandSendSeconds);
    std::vector<QString> lines;
    ReadReply(lines);
    return lines.empty() ? 0 : ReplyNumber(lines.back());
}

int ReplyNumber(const QString& line)
{
    return ParseIntText(line.trimmed());
}
