#pragma once

#include "base/BlockingSocket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

// The line-oriented connection of the SMTP and POP3 clients. Lines travel in the ANSI code
// page. What a server may send is bounded: a line, the lines of one reply, and the time one
// whole reply may take from the moment the client starts waiting for it; going past any of
// them is a socket failure like a time-out.
class CMailSocket : public CBlockingSocket
{
public:
    static constexpr int MaxLineBytes = 64 * 1024;
    static constexpr int MaxReplyLines = 100;

    CMailSocket() = default;
    virtual ~CMailSocket() = default;

    CMailSocket(const CMailSocket&) = delete;
    CMailSocket& operator=(const CMailSocket&) = delete;

    // The next line without its CR LF.
    virtual QString ReadLine();
    // False, with nothing sent, when not one character of the text exists in the code page.
    virtual bool SendString(const QString& text, int seconds);
    // Bytes that are already in the code page.
    void SendBytes(QByteArrayView bytes, int seconds);
    // Sends the command and reads its reply; the number the reply's last line starts with.
    virtual int SendCommand(const QString& text);
    // Appends the lines of one reply: a line whose number is followed by "-" has a successor.
    bool ReadReply(std::vector<QString>& lines);
    // The reply to what was sent last may keep silent for the whole reply wait, not only the byte
    // wait: a server may think over the end of a message for minutes before it answers.
    void AwaitSlowReply() { m_slowReply = true; }

    // The longest wait for one more byte, and for a whole reply. Tests shorten them to meet
    // silent, trickling and late servers within a test's time.
    static void SetWaits(std::chrono::milliseconds byteWait, std::chrono::milliseconds replyWait);
    static void ResetWaits();

private:
    char NextByte();

    QByteArray m_block;
    qsizetype m_position{0};
    std::optional<std::chrono::steady_clock::time_point> m_replyDeadline;
    bool m_slowReply{false};
};

// The number a reply line starts with, white space around it ignored; 0 without one.
int ReplyNumber(const QString& line);
