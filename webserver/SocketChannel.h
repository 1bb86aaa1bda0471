#pragma once

#include "base/BlockingSocket.h"
#include "webserver/HttpChannel.h"

#include <array>

// An accepted connection. Reads go through a small buffer so that the request head is not
// received one system call per byte; the server answers one request per connection, so bytes
// read beyond the request are never needed.
class CSocketChannel : public CHttpChannel
{
public:
    CSocketChannel() = default;
    ~CSocketChannel() override;
    CSocketChannel(const CSocketChannel&) = delete;
    CSocketChannel& operator=(const CSocketChannel&) = delete;

    // The socket that Accept fills; owned by the channel and closed with it.
    CBlockingSocket& Socket() { return m_socket; }

    char ReceiveByte(Deadline deadline) override;
    qsizetype ReceiveAll(char* buffer, qsizetype length, int seconds) override;
    void Write(const char* bytes, qsizetype length, int seconds) override;
    void Abort() override;
    void Close() override;

private:
    CBlockingSocket m_socket;
    std::array<char, 4096> m_buffer{};
    int m_begin{0};
    int m_end{0};
    bool m_corked{false};
};
