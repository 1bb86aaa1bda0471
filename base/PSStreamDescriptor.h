#pragma once

#include "base/PSStream.h"

#include <memory>

// A write-only stream into an open file descriptor that it does not own, through a buffer large
// enough that a save of a large document costs few system calls. A write that the system refuses
// fails the stream: that Write takes nothing and every later Write and Flush fails.
class CPSStreamDescriptor : public CPSStream
{
public:
    static constexpr qint64 BufferCapacity = 256 * 1024;

    explicit CPSStreamDescriptor(int fd);

    bool IsOpen() const override { return m_fd >= 0 && !m_failed; }
    bool WriteByte(quint8 byte) override { return Write(&byte, 1) == 1; }
    qint64 Write(const void* bytes, qint64 count) override;
    // Hands the buffered bytes to the system; syncing them to the disk is the file's owner's.
    bool Flush() override;
    bool ReadByte(quint8&) override { return false; }
    qint64 Read(void*, qint64) override { return 0; }
    int Tell() override { return static_cast<int>(m_written + m_fill); }
    bool Seek(int) override { return false; }

private:
    bool Spill(const char* bytes, qint64 count);

    int m_fd{-1};
    std::unique_ptr<char[]> m_buffer{new char[BufferCapacity]};
    qint64 m_fill{0};
    qint64 m_written{0};
    bool m_failed{false};
};
