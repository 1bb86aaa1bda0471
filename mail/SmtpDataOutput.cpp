#include "mail/SmtpDataOutput.h"

#include "mail/MailSocket.h"

#include <cstring>

namespace
{
constexpr int SendSeconds = 10;
constexpr qsizetype FlushSize = 64 * 1024;
} // namespace

void CSmtpDataOutput::Write(const QString& text)
{
    WriteBytes(AnsiCodePage::FromText(text));
}

void CSmtpDataOutput::WriteBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    // Dots are rare in an encoded message, so the search is for them rather than for line starts.
    const char* const data = bytes.data();
    const char* const end = data + bytes.size();
    const char* copied = data;
    for (const char* dot = data; (dot = static_cast<const char*>(std::memchr(dot, '.', size_t(end - dot))));
         ++dot)
    {
        if (dot == data ? !m_atLineStart : dot[-1] != '\n')
            continue;
        Append(QByteArrayView(copied, dot));
        Append(".");
        copied = dot;
    }
    Append(QByteArrayView(copied, end));
    m_atLineStart = end[-1] == '\n';
}

void CSmtpDataOutput::Append(QByteArrayView piece)
{
    // A large piece, such as a picture's part, goes out from where it lies: copied into the
    // buffer first, it would cost a second pass over its bytes.
    if (piece.size() >= FlushSize)
    {
        Flush();
        m_socket.SendBytes(piece, SendSeconds);
        return;
    }
    m_pending += piece;
    if (m_pending.size() >= FlushSize)
        Flush();
}

void CSmtpDataOutput::Flush()
{
    m_socket.SendBytes(m_pending, SendSeconds);
    m_pending.resize(0);
}
