#pragma once

#include "base/BlockingSocket.h"
#include "webserver/HttpChannel.h"

#include <QByteArray>
#include <QByteArrayView>

// An accepted connection. What arrives is kept in a buffer: the server collects a request head
// there before an exchange reads it, and bytes beyond one request (the next, pipelined one) stay
// for the next exchange. Small writes are held back so that a response head leaves together
// with its body in one send.
class CSocketChannel : public CHttpChannel
{
public:
    // What ReceiveAvailable found: new bytes, nothing yet, or the end of what the peer sends.
    enum class Arrival
    {
        Bytes,
        Nothing,
        Closed,
    };

    // Writes up to this size wait for the next write or Flush.
    static constexpr qsizetype HoldBackBytes = 16 * 1024;

    CSocketChannel() = default;
    ~CSocketChannel() override;
    CSocketChannel(const CSocketChannel&) = delete;
    CSocketChannel& operator=(const CSocketChannel&) = delete;

    // The socket that Accept fills; owned by the channel and closed with it.
    CBlockingSocket& Socket() { return m_socket; }

    // Takes in what has arrived, without waiting, until the buffer holds at least limit bytes.
    Arrival ReceiveAvailable(qsizetype limit);
    // The bytes received and not yet read.
    QByteArrayView Buffered() const { return QByteArrayView(m_input).sliced(m_read); }

    char ReceiveByte(Deadline deadline) override;
    qsizetype ReceiveAll(char* buffer, qsizetype length, int seconds) override;
    void Write(const char* bytes, qsizetype length, int seconds) override;
    void Flush() override;
    void Abort() override;
    void Close() override;

private:
    void DiscardUnread();
    bool WaitUntil(short events, Deadline deadline) const;
    // The held-back bytes and then the given ones, all of them before the deadline.
    void SendWithHeldBack(const char* bytes, qsizetype length, Deadline deadline);

    CBlockingSocket m_socket;
    QByteArray m_input;
    qsizetype m_read{0};
    QByteArray m_heldBack;
    Deadline m_heldBackDeadline{};
};
