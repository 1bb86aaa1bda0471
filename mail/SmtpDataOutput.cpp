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
    const char* const data = bytes.data();
    const char* const end = data + bytes.size();
    const char* copied = data;
    const char* lineStart = m_atLineStart ? data : nullptr;
    if (!lineStart)
    {
        const void* lineFeed = std::memchr(data, '\n', size_t(end - data));
        lineStart = lineFeed ? static_cast<const char*>(lineFeed) + 1 : end;
    }
    while (lineStart < end)
    {
        if (*lineStart == '.')
        {
            m_pending.append(copied, lineStart - copied);
            m_pending.append('.');
            copied = lineStart;
        }
        const void* lineFeed = std::memchr(lineStart, '\n', size_t(end - lineStart));
        lineStart = lineFeed ? static_cast<const char*>(lineFeed) + 1 : end;
    }
    m_pending.append(copied, end - copied);
    m_atLineStart = end[-1] == '\n';
    if (m_pending.size() >= FlushSize)
        Flush();
}

void CSmtpDataOutput::Flush()
{
    m_socket.SendBytes(m_pending, SendSeconds);
    m_pending.resize(0);
}
