#pragma once

#include "base/PSStream.h"

#include <QString>

#include <cstdio>
#include <memory>

// A stream over a disk file, opened once for reading, appending or writing (replacing).
class CPSStreamFile : public CPSStream
{
public:
    CPSStreamFile() = default;
    CPSStreamFile(const CPSStreamFile&) = delete;
    CPSStreamFile& operator=(const CPSStreamFile&) = delete;
    ~CPSStreamFile() override;

    bool IsOpen() const override { return m_file != nullptr; }
    bool WriteByte(quint8 byte) override;
    qint64 Write(const void* bytes, qint64 count) override;
    bool Flush() override;
    bool ReadByte(quint8& byte) override;
    qint64 Read(void* destination, qint64 count) override;
    int Tell() override;
    bool Seek(int position) override;
    qint64 BytesLeft() override;

    bool Open(const QString& path, bool read, bool append);
    void Close();
    bool IsEof() const;

private:
    bool CanWrite() const { return m_file && !m_read; }
    bool CanRead() const { return m_file && m_read; }

    // The C library's buffer for a file being read: archives ask for 8 KB at a time, and reading
    // ahead in larger blocks saves most of the system calls of a large document.
    static constexpr size_t ReadAheadSize = 256 * 1024;
    std::unique_ptr<char[]> m_readAhead;
    std::FILE* m_file{nullptr};
    // A file being read: its size when it was opened (-1 when it is no regular file) and the
    // position the reads and seeks have reached, so that BytesLeft asks the system nothing.
    qint64 m_size{-1};
    qint64 m_position{0};
};
