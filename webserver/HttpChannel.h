#pragma once

#include <QtGlobal>

#include <chrono>

// The byte stream of one connection as the HTTP exchange sees it: the accepted socket in the
// server, a block of memory in tests and in the fuzzer.
class CHttpChannel
{
public:
    using Deadline = std::chrono::steady_clock::time_point;

    virtual ~CHttpChannel() = default;

    // The next byte; throws CHttpServiceError when none arrives before the deadline, when the
    // peer has closed and when receiving fails.
    virtual char ReceiveByte(Deadline deadline) = 0;
    // Up to length bytes within the given seconds; returns how many arrived before the time
    // ran out, the peer closed or receiving failed. Never throws.
    virtual qsizetype ReceiveAll(char* buffer, qsizetype length, int seconds) = 0;
    // Writes every byte within the given seconds or throws CHttpServiceError. A channel may
    // hold small writes back to send them together with what follows, within the time of the
    // last of them.
    virtual void Write(const char* bytes, qsizetype length, int seconds) = 0;
    // Sends whatever Write held back, within the time of the last write, or throws
    // CHttpServiceError.
    virtual void Flush() {}
    // Called from another thread while the exchange may be blocked in this channel: makes every
    // pending and later wait fail at once.
    virtual void Abort() {}
    virtual void Close() {}
};
