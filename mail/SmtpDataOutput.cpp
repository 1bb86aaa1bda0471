#include "mail/SmtpDataOutput.h"

#include "mail/MailSocket.h"

namespace
{
constexpr int SendSeconds = 10;
constexpr qsizetype FlushSize = 64 * 1024;
} // namespace

void CSmtpDataOutput::Write(const QString& text)
{
    if (text.isEmpty())
        return;
    QString stuffed;
    qsizetype copied = 0;
    bool doubled = false;
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const bool lineStart = i == 0 ? m_atLineStart : text[i - 1] == u'\n';
        if (lineStart && text[i] == u'.')
        {
            stuffed += QStringView(text).mid(copied, i - copied);
            stuffed += u'.';
            copied = i;
            doubled = true;
        }
    }
    m_atLineStart = text.endsWith(u'\n');
    if (doubled)
        stuffed += QStringView(text).mid(copied);
    m_pending += doubled ? stuffed : text;
    if (m_pending.size() >= FlushSize)
        Flush();
}

void CSmtpDataOutput::Flush()
{
    m_socket.SendString(m_pending, SendSeconds);
    m_pending.clear();
}
